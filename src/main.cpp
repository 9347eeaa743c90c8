// The program: the Qt application object, numbers in the "C" locale, the windows wired to the core,
// then the application's own start-up, event loop and shutdown.
#include "app/TALVOApp.h"
#include "app/ui/StartupWarmUp.h"
#include "app/ui/TALVOStartup.h"
#include "platform/base/HeapReuse.h"
#include "wiring/WindowServices.h"

#include <QApplication>

#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // Before any thread: measured data blocks are reused rather than mapped afresh each time.
    KeepFreedMemoryForReuse();
    // The fonts and the session bus are made ready on other threads while this one builds the window.
    CStartupWarmUp warmUp;
    QApplication qapp(argc, argv);
    SetUpProgram(warmUp);

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    const int code = RunTALVOApp(qapp, args);
    GetTALVOApp().ReleaseAutomationObject();
    warmUp.Wait();
    return code;
}
