#include "app/ui/TALVOStartup.h"

#include "app/TALVOApp.h"
#include "app/LastVersionRequest.h"
#include "app/ProjectReadAhead.h"
#include "app/ui/MainFrame.h"
#include "app/ui/SplashWnd.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringIds.h"
#include "platform/win/ZuRegOptions.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include <filesystem>
#include <optional>

namespace {

// Ends a loop when the window it watches is exposed; the loop ends after the window handled the
// expose, and so painted.
class CExposeWatch : public QObject
{
public:
    explicit CExposeWatch(QEventLoop& loop) : m_loop(loop) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            m_loop.quit();
        return false;
    }

private:
    QEventLoop& m_loop;
};

std::function<bool()>& AutomationHook()
{
    static std::function<bool()> hook;
    return hook;
}

std::function<void(CMainFrame&)>& RunningObjectHook()
{
    static std::function<void(CMainFrame&)> hook;
    return hook;
}
// Lays the just shown window out whole before its first paint: the layouts still pending and the
// rows of its item views, which a view otherwise lays out as it paints. Their scroll bars then
// change the docks around them and the window paints a second time, after the window system has
// taken the first.
void SettleLayout(QWidget& window)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (QAbstractItemView* view : window.findChildren<QAbstractItemView*>())
        if (view->isVisible())
            view->doItemsLayout();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// Lets the window system show widget (bounded: a window system that never exposes it holds up
// nothing for long); only the events that show it are handled, no input.
void WaitUntilExposed(QWidget& widget)
{
    QWindow* window = widget.windowHandle();
    if (!window || window->isExposed())
        return;
    QEventLoop loop;
    CExposeWatch watch(loop);
    window->installEventFilter(&watch);
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    window->removeEventFilter(&watch);
}
} // namespace

void SetAutomationStartHook(std::function<bool()> hook)
{
    AutomationHook() = std::move(hook);
}

void SetRunningObjectHook(std::function<void(CMainFrame&)> hook)
{
    RunningObjectHook() = std::move(hook);
}

bool HasAutomationStartHook()
{
    return static_cast<bool>(AutomationHook());
}

bool HasRunningObjectHook()
{
    return static_cast<bool>(RunningObjectHook());
}

CTALVOStartup InitTALVOApp(const std::vector<std::string>& args, const std::string& programFolder, bool show)
{
    CTALVOStartup startup;
    CTALVOApp& app = GetTALVOApp();

    // Language table first: every later text comes from it. Its failure has already been shown.
    if (!app.InitLanguageAndName(&*CStatusBarFallback(nullptr)))
        return startup;
    app.RegisterDocTemplates();

    const CTALVOCommandLine cmd = CTALVOApp::ParseCommandLine(args);
    if (cmd.RunsByAutomation()) {
        // The automation server makes its own objects; no window, no document, no checks.
        startup.automation = true;
        startup.ok = AutomationHook() ? AutomationHook()() : true;
        return startup;
    }

    // A project small enough to need no progress is read while the window is made and shown.
    std::optional<CProjectReadAhead> readAhead;
    std::error_code sizeError;
    if (!cmd.fileName.empty() &&
        std::filesystem::file_size(cmd.fileName, sizeError) < CMainFrame::LoadProgressFromBytes() && !sizeError)
        readAhead.emplace(cmd.fileName);

    startup.mainFrame = std::make_unique<CMainFrame>(programFolder);
    if (RunningObjectHook())
        RunningObjectHook()(*startup.mainFrame);
    app.SetRunningObjectRegistered(true);
    // Enabled only now, after the main frame asked for it: no splash window at start.
    CSplashWnd::EnableSplashScreen(true);

    // No empty project at start. A small project, read while the window was made, is in the window
    // when it first shows: one paint instead of an empty window and then its tree. Any other file
    // is opened once the window is on the screen, so a large one shows its progress there and a
    // read that has something to tell shows it over the window.
    bool openAfterShow = !cmd.fileName.empty();
    if (readAhead && readAhead->WaitReadWithoutReports()) {
        startup.mainFrame->OpenReadAhead(*readAhead);
        openAfterShow = false;
    }
    if (show) {
        startup.mainFrame->show();
        SettleLayout(*startup.mainFrame);
        WaitUntilExposed(*startup.mainFrame);
    }
    if (openAfterShow && readAhead)
        startup.mainFrame->OpenReadAhead(*readAhead);
    else if (openAfterShow)
        startup.mainFrame->OpenDocumentFile(cmd.fileName);
    // A shown program checks the sibling it works with; it never holds up the start.
    if (show) {
        // The warning comes later, on the event loop: the status bar that shows it lives on.
        static CStatusBarFeedback versionWarning;
        app.CheckPlovaVersionInBackground(&versionWarning);
    }

    // The automatic update check runs on the event loop and never holds up the start.
    CheckLastVersionAuto(GetUpdateCheckAddress(), app.IsRunningObjectRegistered() && GetAutoCheckLastVerOption() != 0,
                         GetRunningBuildVersionText(), [](const std::string& page) {
                             if (AfxMessageBox(IDS_NEWER_VERSION, MB_YESNO | MB_ICONQUESTION) == IDYES)
                                 CMainFrame::OpenWebPage(page);
                         });
    startup.ok = true;
    return startup;
}

void ExitTALVOApp(CTALVOStartup& startup)
{
    // The automation server works through the main window: it goes first, with the event loop
    // over, so no client's call is being served.
    GetTALVOApp().ReleaseAutomationObject();
    startup.mainFrame.reset();
    CSplashWnd::HideSplashScreen();
    GetTALVOApp().ExitInstance();
    CZuRegOptions::Flush(); // what the last moments wrote
}

int RunTALVOApp(QApplication& qapp, const std::vector<std::string>& args)
{
    CTALVOStartup startup = InitTALVOApp(args);
    int code = 1;
    if (startup.ok) {
        if (startup.automation && !AutomationHook())
            code = 0; // nothing serves automation clients yet
        else
            code = qapp.exec();
    }
    ExitTALVOApp(startup);
    return code;
}
