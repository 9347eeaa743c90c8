#pragma once
// Start-up and shutdown of the program on top of the application object: language table and name,
// settings key, document templates, the main window, the command line, and the automatic update
// check. main() calls RunTALVOApp after it made the QApplication.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class QApplication;

// What start-up made; the main frame is null for a start by automation.
struct CTALVOStartup
{
    bool ok = false;
    bool automation = false;
    std::unique_ptr<CMainFrame> mainFrame;
};

// A start with /Embedding or /Automation hands over here (the automation server registers itself);
// without a hook such a start ends at once.
void SetAutomationStartHook(std::function<bool()> hook);

// A plain start publishes the program's own automation object over its main window here.
void SetRunningObjectHook(std::function<void(CMainFrame&)> hook);

// Whether the hooks above are installed.
bool HasAutomationStartHook();
bool HasRunningObjectHook();

// Runs the start-up sequence without entering the event loop. args are the command-line arguments
// after the program name. programFolder: where "hidden_menu.flg" is looked for (empty: the
// program's folder). When show is false the main window is created but not shown (tests).
CTALVOStartup InitTALVOApp(const std::vector<std::string>& args, const std::string& programFolder = {},
                           bool show = true);
// Releases the application's state after the event loop ended.
void ExitTALVOApp(CTALVOStartup& startup);

// The whole run: start-up, event loop, shutdown; the process exit code.
int RunTALVOApp(QApplication& qapp, const std::vector<std::string>& args);
