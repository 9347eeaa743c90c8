#include "platform/ui/ApplicationIcon.h"

#include "platform/ui/AppIconEngine.h"
#include "platform/ui/PrerenderedIcons.h"

#include <QGuiApplication>

#include <memory>

// The icon's pixels at the sizes the window system asks for, rendered at build time.
extern const SPrerenderedIcon kApplicationIconImages[];

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
    // A window's icon is drawn from the built-in pixels: the start neither loads the toolkit's SVG
    // engine nor renders the file for every size the window system asks for. Other sizes and scaled
    // screens still come from the SVG.
    static const QIcon icon = [] {
        auto images = std::make_shared<CAppIconEngine::Images>();
        for (const SPrerenderedIcon* p = kApplicationIconImages; p->name; ++p)
            (*images)[p->size] = p->pixels;
        return QIcon(new CAppIconEngine(QStringLiteral(":/icons/orvex.svg"), images));
    }();
    return icon;
}

void CApplicationIcon::Install()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (QGuiApplication::windowIcon().cacheKey() != Icon().cacheKey())
        QGuiApplication::setWindowIcon(Icon());
}
