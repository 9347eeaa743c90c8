#pragma once
// The program's own icon, the one every window and dialog carries: set on the application object
// once it exists, so that no window falls back to the toolkit's logo, whoever made it.
#include <QIcon>

class CApplicationIcon
{
public:
    static QIcon Icon();
    // Makes the icon the application's window icon (once a GUI application object exists; later
    // calls do nothing). The program's start-up and the GUI tests' start-up call it.
    static void Install();
};
