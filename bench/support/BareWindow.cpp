// A bare Qt main window in an executable of its own, linked with Qt Widgets alone: the start-up
// benchmark's second yardstick, which loads none of the program's libraries.
#include "IdleWatch.h"

int main(int argc, char** argv)
{
    return benchsupport::RunBareWindow(argc, argv);
}
