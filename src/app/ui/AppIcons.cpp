#include "app/ui/AppIcons.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "platform/elements/MElement.h"

#include <QFile>
#include <QHash>
#include <QString>

// Outside any namespace: the resource registration is a global function of that name.
static void InitIconResources()
{
    // The resources live in a static library: their registration is asked for once by name.
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)done;
}

QIcon AppIcon(const char* name)
{
    InitIconResources();
    static QHash<QString, QIcon> cache;
    const QString key = QString::fromLatin1(name);
    auto it = cache.find(key);
    if (it == cache.end()) {
        const QString path = QStringLiteral(":/icons/%1.svg").arg(key);
        it = cache.insert(key, QFile::exists(path) ? QIcon(path) : QIcon());
    }
    return *it;
}

QIcon ElementIcon(const CMElement* element, bool hasChildren)
{
    if (dynamic_cast<const CModelProject*>(element))
        return AppIcon("project-model");
    if (dynamic_cast<const CDaqProject*>(element))
        return AppIcon("project-daq");
    if (dynamic_cast<const CAnalysisProject*>(element))
        return AppIcon("project-analysis");
    return AppIcon(hasChildren ? "folder" : "data");
}
