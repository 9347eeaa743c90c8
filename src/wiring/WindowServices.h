#pragma once
// The one place that wires the windows to the core. The core and the lower window libraries reach
// dialogs and windows through hooks (openers, editors, choosers, factories); this installs all of
// them, once, at start-up: main() calls it before the application starts, and the tests' set-up
// calls it where they run the whole program. Hooks that need the main window find it as the main
// window target, so they do nothing while there is none (a start by automation, or after it closed).
void InstallWindowServices();

class CStartupWarmUp;
// The program's set-up once its application object exists, the same for the program and for the
// start-up benchmark that times it: the session bus begun on another thread, the names its settings
// live under, its icon before any window, numbers in the "C" locale, then the window services and
// the desktop's questions, file choosers, clipboard and wait cursor (taken back with the application
// object).
void SetUpProgram(CStartupWarmUp& warmUp);
