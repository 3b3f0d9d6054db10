#include "AlertSound.h"

#include <canberra.h>

namespace {

// One context for the process: it connects to the sound server on first use and stays connected.
ca_context *context()
{
    static ca_context *const shared = [] {
        ca_context *made = nullptr;
        return ca_context_create(&made) == CA_SUCCESS ? made : nullptr;
    }();
    return shared;
}

} // namespace

namespace AlertSound {

void play()
{
    if (ca_context *c = context())
        ca_context_play(c, 0, CA_PROP_EVENT_ID, "complete", CA_PROP_EVENT_DESCRIPTION, "Alert", nullptr);
}

} // namespace AlertSound
