// The start-up benchmark's yardsticks in an executable of their own, linked with Qt Widgets alone
// and loading none of the program's libraries: a bare Qt main window (--child-bare) and one
// furnished with the kinds of controls the program's main window has (--child-furnished).
#include "FurnishedWindow.h"
#include "IdleWatch.h"

#include <cstring>

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--child-furnished") == 0)
        return benchsupport::RunFurnishedWindow(argc, argv);
    return benchsupport::RunBareWindow(argc, argv);
}
