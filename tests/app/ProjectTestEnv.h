#pragma once
// Settings of the app tests go to a temporary folder; the English strings are loaded.
#include <filesystem>
#include <string>

class CFeedback;

std::filesystem::path AppTestTempDir();
// The feedback the windows give core work (the main window's status bar): what the work reports
// shows as the boxes the prompt hooks record.
CFeedback* StatusBarBoxes();
