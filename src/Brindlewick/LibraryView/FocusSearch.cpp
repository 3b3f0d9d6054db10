#include "FocusSearch.h"

FocusSearch &FocusSearch::instance()
{
    static FocusSearch *signal = new FocusSearch;
    return *signal;
}

void FocusSearch::post()
{
    emit instance().posted();
}
