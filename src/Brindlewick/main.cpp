#include "Start/BrindlewickApp.h"

int main(int argc, char **argv)
{
    return BrindlewickApp::run(argc, argv);
}
