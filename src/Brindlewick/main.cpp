#include "App/BrindlewickApp.h"
#include "App/HugeHeap.h"

int main(int argc, char **argv)
{
    HugeHeap::restartWithHugePages(argv);
    return BrindlewickApp::run(argc, argv);
}
