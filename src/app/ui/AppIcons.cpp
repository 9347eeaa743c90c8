#include "app/ui/AppIcons.h"

#include "platform/ui/AppIconEngine.h"
#include "platform/ui/PrerenderedIcons.h"

#include "platform/elements/MElement.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QString>

#include <cstring>
#include <memory>

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

// The program's icons rendered at build time.
extern const SPrerenderedIcon kPrerenderedIcons[];

namespace {

struct IconOf
{
    const char* key; // class name
    const char* icon;
};

// Classes that say what they hold. Looked up along the element's class line, nearest first, so a
// derived class without an entry shows its base's icon.
const IconOf kClassIcons[] = {
    {"CModelProject", "project-model"},
    {"CDaqProject", "project-daq"},
    {"CAnalysisProject", "project-analysis"},
    // model project
    {"CModelData", "model-view"},
    {"CSEAModelData", "model-data"},
    {"CHSEAGeneralData", "model-data"},
    {"CGClfData", "coupling"},
    {"CGClfGroup", "group"},
    {"CZuClfFunc", "coupling"},
    // measured data
    {"CTALVOExp", "experiment"},
    {"CExpProject", "experiment"},
    {"CExcitation", "excitation"},
    {"CCalcExcit", "excitation"},
    {"CExpDataSet", "dataset"},
    {"CCalcDataSet", "dataset"},
    {"CDAQExperiment", "dataset"},
    {"CExpData", "channel"},
    {"CCalcData", "channel"},
    {"CRPMSignalData", "rpm"},
    {"CSensorProject", "sensor"},
    {"CSensor", "sensor"},
    {"CCalcProjectManager", "calculation"},
    {"CCalcProject", "calculation"},
    {"CProjectHistory", "history"},
    {"CPictureElement", "picture"},
    // analysis results
    {"CHSEAResultData", "result-folder"},
    {"CInputEnergyFolder", "input-energy"},
    {"CInputPowerFolder", "input-power"},
    {"CZuPowerFunc", "power"},
    {"CZuRpmResultData", "rpm-map"},
    {"CZuOTResultData", "order-map"},
    {"CHSEADominantPathData", "path"},
    {"CZuRpmDpFunc", "path"},
    {"CHSEAPowerContribution", "contribution"},
    {"CZuRpmPcFunc", "contribution"},
    {"COTMultiVecFunc", "order-map"},
    {"CZuOTMultiVecFunc", "order-map"},
    {"CZuOTFunc", "order-map"},
    {"CMultiVectorFunction", "rpm-map"},
    {"CZuRpmMultiVecFunc", "rpm-map"},
    {"CZuRpmSelFunc", "rpm-map"},
    {"CZuRpmFunc", "rpm-map"},
};

// General tables whose type code tells the result kind they hold.
struct TypeIcon
{
    int type;
    const char* icon;
};
const TypeIcon kResultTypeIcons[] = {
    {3, "power"},      // input powers
    {5, "energy"},     // subsystem energies
    {53, "vibration"}, // vibration levels
    {54, "spl"},       // sound pressure levels
};

// The general tables themselves.
const IconOf kGeneralIcons[] = {
    {"CZuMatFunc", "matrix"},
    {"CZuFuncElement", "function"},
    {"CZuTableData", "function"},
};

template <size_t N>
const char* ByClassLine(const CRuntimeClass* cls, const IconOf (&table)[N])
{
    for (; cls; cls = cls->m_pBaseClass)
        for (const IconOf& entry : table)
            if (std::strcmp(entry.key, cls->m_lpszClassName) == 0)
                return entry.icon;
    return nullptr;
}

} // namespace

QIcon AppIcon(const char* name)
{
    InitIconResources();
    static QHash<QString, QIcon> cache;
    const QString key = QString::fromLatin1(name);
    auto it = cache.find(key);
    if (it == cache.end()) {
        // The images rendered at build time, by icon name.
        static const QHash<QString, std::shared_ptr<CAppIconEngine::Images>> prerendered = [] {
            QHash<QString, std::shared_ptr<CAppIconEngine::Images>> byName;
            for (const SPrerenderedIcon* p = kPrerenderedIcons; p->name; ++p) {
                auto& images = byName[QString::fromLatin1(p->name)];
                if (!images)
                    images = std::make_shared<CAppIconEngine::Images>();
                (*images)[p->size] = p->pixels;
            }
            return byName;
        }();
        const QString path = QStringLiteral(":/icons/%1.svg").arg(key);
        QIcon icon;
        if (const auto images = prerendered.value(key))
            icon = QIcon(new CAppIconEngine(path, images));
        else if (QFile::exists(path))
            icon = QIcon(path);
        it = cache.insert(key, icon);
    }
    return *it;
}

const char* ElementIconName(const CMElement* element, bool hasChildren)
{
    const CRuntimeClass* cls = element ? element->GetRuntimeClass() : nullptr;
    if (const char* icon = ByClassLine(cls, kClassIcons))
        return icon;
    if (const char* general = ByClassLine(cls, kGeneralIcons)) {
        for (const TypeIcon& entry : kResultTypeIcons)
            if (entry.type == element->GetType())
                return entry.icon;
        return general;
    }
    // The categories a sensor project sorts its sensors into are folders even while empty.
    if (const CMElement* parent = element ? element->GetParent() : nullptr;
        parent && std::strcmp(parent->GetRuntimeClass()->m_lpszClassName, "CSensorProject") == 0)
        return "folder";
    return hasChildren ? "folder" : "data";
}

QIcon ElementIcon(const CMElement* element, bool hasChildren)
{
    return AppIcon(ElementIconName(element, hasChildren));
}
