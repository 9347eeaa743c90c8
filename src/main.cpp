// The program: the Qt application object, numbers in the "C" locale, then the application's own
// start-up, event loop and shutdown. The automation server is set up here: over the main window in
// a plain start, without a window when the program is started by automation.
#include "app/automation/AutomationHost.h"
#include "app/automation/AutomationService.h"
#include "app/TALVOApp.h"
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

    // The application object holds the server with the host it works through (the host outlives
    // the server); releasing it withdraws the server's name from the bus.
    struct AutomationObject
    {
        std::unique_ptr<IAutomationHost> host;
        std::unique_ptr<CAutomationService> service; // goes first
    };
    auto hold = [](std::unique_ptr<IAutomationHost> host, bool windowless) {
        auto object = std::make_shared<AutomationObject>();
        object->host = std::move(host);
        object->service = std::make_unique<CAutomationService>(*object->host, windowless);
        CAutomationService* service = object->service.get();
        GetTALVOApp().HoldAutomationObject(object, [service] { service->RevokeAppActiveObject(); });
        return service;
    };
    SetAutomationStartHook([&] {
        CAutomationService* service = hold(std::make_unique<CWindowlessAutomationHost>(), true);
        service->SetQuitHandler([] { QCoreApplication::quit(); });
        // Without the name no client can reach this instance: it ends.
        return service->RegisterAppActiveObject();
    });
    SetRunningObjectHook([&](CMainFrame& frame) {
        // A second running instance leaves the name to the first one.
        hold(std::make_unique<CMainFrameAutomationHost>(frame), false)->RegisterAppActiveObject();
    });

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    const int code = RunTALVOApp(qapp, args);
    GetTALVOApp().ReleaseAutomationObject();
    return code;
}
