// The program: the Qt application object, numbers in the "C" locale, then the application's own
// start-up, event loop and shutdown. The automation server is set up here: over the main window in
// a plain start, without a window when the program is started by automation.
#include "app/automation/AutomationHost.h"
#include "app/automation/AutomationService.h"
#include "app/ui/MainFrameAutomationHost.h"
#include "app/ui/TALVOStartup.h"
#include "platform/base/HeapReuse.h"
#include "uff/ui/UFImportDialogs.h"

#include <QApplication>

#include <clocale>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // Before any thread: measured data blocks are reused rather than mapped afresh each time.
    KeepFreedMemoryForReuse();
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("orvex"));
    // Qt sets the user's locale; our texts and files format numbers the one way.
    std::setlocale(LC_NUMERIC, "C");
    // The universal-file import asks its questions with the program's dialogs.
    InstallUFImportDialogs();

    std::unique_ptr<IAutomationHost> host;
    std::unique_ptr<CAutomationService> service;
    SetAutomationStartHook([&] {
        host = std::make_unique<CWindowlessAutomationHost>();
        service = std::make_unique<CAutomationService>(*host, true);
        service->SetQuitHandler([] { QCoreApplication::quit(); });
        // Without the name no client can reach this instance: it ends.
        return service->RegisterAppActiveObject();
    });
    SetRunningObjectHook([&](CMainFrame& frame) {
        host = std::make_unique<CMainFrameAutomationHost>(frame);
        service = std::make_unique<CAutomationService>(*host, false);
        // A second running instance leaves the name to the first one.
        service->RegisterAppActiveObject();
    });

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    const int code = RunTALVOApp(qapp, args);
    if (service)
        service->RevokeAppActiveObject();
    service.reset();
    host.reset();
    return code;
}
