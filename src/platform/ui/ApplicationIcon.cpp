#include "platform/ui/ApplicationIcon.h"

#include <QGuiApplication>

// Outside any namespace: the resource registration is a global function of that name.
static void InitAppIconResource()
{
    // The resource lives in a static library: its registration is asked for once by name.
    static const bool done = [] {
        Q_INIT_RESOURCE(appicon);
        return true;
    }();
    (void)done;
}

QIcon CApplicationIcon::Icon()
{
    InitAppIconResource();
    static const QIcon icon(QStringLiteral(":/icons/orvex.svg"));
    return icon;
}

void CApplicationIcon::Install()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (QGuiApplication::windowIcon().cacheKey() != Icon().cacheKey())
        QGuiApplication::setWindowIcon(Icon());
}
