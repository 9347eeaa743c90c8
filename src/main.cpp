// The program: the Qt application object, numbers in the "C" locale, then the application's own
// start-up, event loop and shutdown.
#include "app/ui/TALVOStartup.h"

#include <QApplication>

#include <clocale>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("orvex"));
    // Qt sets the user's locale; our texts and files format numbers the one way.
    std::setlocale(LC_NUMERIC, "C");

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return RunTALVOApp(qapp, args);
}
