#include "views/ui/DataViewOpeners.h"

#include "app/BaseProject.h"
#include "app/TALVOApp.h"
#include "common/Quantity.h"
#include "experiments/ExpData.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpProject.h"
#include "experiments/SensorInfo.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/ExpDataTable.h"
#include "views/ui/HSEADataTableFrame.h"
#include "views/ui/RMVDataFrame.h"
#include "views/ui/SwAxisTableFrame.h"
#include "views/ui/TALDataFrame.h"
#include "platform/elements/ElementType.h"
#include "platform/elements/ShownElementName.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/win/StringIds.h"
#include "platform/win/ZuRegOptions.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <map>
#include <memory>

namespace {
// True when a window of kind Frame shows element (the frame records itself in its element).
template <class Frame>
bool ShowsElement(CMElement* element)
{
    auto* data = dynamic_cast<CZuTableData*>(element);
    return data && dynamic_cast<Frame*>(CZuTableDataFrame::FindFrame(data)) != nullptr;
}
// The subsystem whose data an element holds, for its quantity's name (pressure or velocity).
std::string SubsystemOf(const CMElement* element)
{
    if (const auto* map = dynamic_cast<const CZuRpmFunc*>(element))
        return map->GetSubsystem();
    if (const auto* multi = dynamic_cast<const CZuRpmMultiVecFunc*>(element))
        return multi->GetLabel();
    if (const auto* vec = dynamic_cast<const CMultiVectorFunction*>(element))
        return vec->GetLabel();
    return std::string();
}

// The tables of the channels opened from the tree, one per channel. A table goes with its channel,
// and its window closes with it.
std::map<const void*, std::unique_ptr<CExpDataTable>>& ChannelTables()
{
    static std::map<const void*, std::unique_ptr<CExpDataTable>> tables;
    return tables;
}

// The table shown for a channel: the one of its open window, else one taken from the samples now.
CExpDataTable* ChannelTable(CExpData& channel)
{
    static const int listener = AddObjectGoingListener([](const void* object) {
        auto& all = ChannelTables();
        const auto it = all.find(object);
        if (it == all.end())
            return;
        const std::unique_ptr<CExpDataTable> going = std::move(it->second);
        all.erase(it);
    });
    (void)listener;
    std::unique_ptr<CExpDataTable>& table = ChannelTables()[static_cast<const CMElement*>(&channel)];
    if (!table || !table->GetThisFrameWnd()) {
        tagSENSORINFO info;
        const std::string unit =
            channel.GetSensorInfo(info) ? GetQuantityUnitName(info.ChannelInfo.DataType, info.ChannelInfo.Unit) : "";
        const CSampleArray& samples = channel.GetSamples();
        table = std::make_unique<CExpDataTable>(channel.GetName(), unit, channel.GetSamplingFrequency(),
                                                std::vector<float>(samples.begin(), samples.end()));
    }
    return table.get();
}

// The table window over a table element, or over a channel's table.
CZuTableData* TableOf(CMElement* element)
{
    if (auto* channel = dynamic_cast<CExpData*>(element))
        return ChannelTable(*channel);
    return dynamic_cast<CZuTableData*>(element);
}

// Tables by RPM open in the switchable-axis window when the option asks for it.
bool AltDataViews()
{
    return GetRegOptionByStringId(IDS_OPT_ALT_DATA_VIEWS) == 1;
}

bool IsChannel(const CMElement& e)
{
    return dynamic_cast<const CExpData*>(&e) != nullptr;
}

// Titles a data window again when the language changes: the title names the quantity.
class CRetitle : public QObject
{
public:
    CRetitle(QWidget* frame, QMdiArea* area, const CMElement* element)
        : QObject(frame), m_frame(frame), m_area(area), m_element(element)
    {
        frame->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_frame && event->type() == QEvent::LanguageChange)
            SetDataWindowTitle(m_frame, m_area, m_element);
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_frame;
    QPointer<QMdiArea> m_area;
    const CMElement* m_element; // the window closes before its element goes
};

// Opens through open and titles the window it gives.
template <class Open>
QWidget* OpenTitled(QMdiArea* area, CMElement* element, Open open)
{
    QWidget* frame = open();
    if (frame) {
        SetDataWindowTitle(frame, area, element);
        if (!frame->property("orvexRetitled").toBool()) {
            frame->setProperty("orvexRetitled", true);
            new CRetitle(frame, area, element);
        }
    }
    return frame;
}
} // namespace

std::string DataWindowTitle(const CMElement* element)
{
    if (!element)
        return std::string();
    // The names the program gave read in the language loaded, as the tree shows them.
    std::string title = ShownElementName(element->GetName());
    const std::string subsystem = SubsystemOf(element);
    const int structure = subsystem.empty() ? 0 : SpectrumIsStructure(element, subsystem);
    std::string kind = GetShownQuantityName(element, structure);
    const CBaseProject* project = nullptr;
    for (const CMElement* e = element->GetParent(); e && !project; e = e->GetParent())
        project = dynamic_cast<const CBaseProject*>(e);
    // A function made from a data set (a solved result, a result set) has its quantity in its own
    // name; the data set it was made from is what tells it from its namesakes of another solve.
    const CMElement* parent = element->GetParent();
    if (kind.empty() || kind == title || dynamic_cast<const CZuData*>(parent))
        kind = parent && parent != project ? ShownElementName(parent->GetName()) : std::string();
    if (!kind.empty() && kind != title)
        title += " - " + kind;
    if (project && !project->GetName().empty())
        title += " - " + project->GetName();
    return title;
}

void SetDataWindowTitle(QWidget* frame, QMdiArea* area, const CMElement* element)
{
    if (!frame || !element)
        return;
    const QString base = QString::fromStdString(DataWindowTitle(element));
    QStringList taken;
    if (area)
        for (QMdiSubWindow* sub : area->subWindowList())
            if (sub->widget() && sub->widget() != frame)
                taken << sub->widget()->windowTitle();
    QString title = base;
    for (int n = 2; taken.contains(title); ++n)
        title = QStringLiteral("%1 (%2)").arg(base).arg(n);
    frame->setWindowTitle(title);
}

const std::vector<CDataViewEntry>& DataViewEntries()
{
    static const std::vector<CDataViewEntry> entries = {
        {IDR_TALDATA, "CTALDataDoc", [](const CMElement& e) { return dynamic_cast<const CZuRpmFunc*>(&e) != nullptr; },
         [](QMdiArea* area, CMElement* e) -> QWidget* {
             return OpenTitled(area, e, [&] { return CTALDataFrame::Open(area, dynamic_cast<CZuRpmFunc*>(e)); });
         },
         ShowsElement<CTALDataFrame>},
        {IDR_RMVDATA, "CRMVDataDoc",
         [](const CMElement& e) {
             const int type = e.GetType();
             return !IsChannel(e) && (type == ElementType::ChannelLevels || type == ElementType::SplComparison ||
                                      type == ElementType::VibrationComparison);
         },
         [](QMdiArea* area, CMElement* e) -> QWidget* {
             return OpenTitled(area, e,
                               [&] { return CRMVDataFrame::Open(area, dynamic_cast<CZuRpmMultiVecFunc*>(e)); });
         },
         ShowsElement<CRMVDataFrame>},
        {IDR_SWAXISTABLE, "CSwAxisTableDoc",
         [](const CMElement& e) {
             const int type = e.GetType();
             // Order data and the contributions keep the plain table.
             return AltDataViews() && dynamic_cast<const CZuRpmSelFunc*>(&e) && type != ElementType::OrderData &&
                    type != ElementType::PowerContribution && type != ElementType::DominantPath;
         },
         [](QMdiArea* area, CMElement* e) -> QWidget* {
             return OpenTitled(area, e, [&] { return CSwAxisTableFrame::Open(area, dynamic_cast<CZuRpmSelFunc*>(e)); });
         },
         ShowsElement<CSwAxisTableFrame>},
        // Every other table, and a channel's samples.
        {IDR_HSEADATATABLE, "CHSEADataTableDoc",
         [](const CMElement& e) {
             const int type = e.GetType();
             return IsChannel(e) || type == ElementType::OrderData ||
                    (AltDataViews() && (type == ElementType::PowerContribution || type == ElementType::DominantPath)) ||
                    dynamic_cast<const CZuTableData*>(&e) != nullptr;
         },
         [](QMdiArea* area, CMElement* e) -> QWidget* {
             // A channel's table stands apart from the tree: the channel names its container.
             return OpenTitled(area, e,
                               [&] { return CHSEADataTableFrame::Open(area, TableOf(e), FindProjectContainer(e)); });
         },
         [](CMElement* e) {
             if (auto* channel = dynamic_cast<CExpData*>(e)) {
                 const auto found = ChannelTables().find(static_cast<const CMElement*>(channel));
                 return found != ChannelTables().end() && found->second && found->second->GetThisFrameWnd();
             }
             return ShowsElement<CHSEADataTableFrame>(e);
         }},
    };
    return entries;
}

void InstallDataViewOpeners(QMdiArea* area)
{
    InstallDataViewOpeners([area] { return area; }, false);
}

void InstallDataViewOpeners(std::function<QMdiArea*()> area, bool needsArea)
{
    for (const CDataViewEntry& entry : DataViewEntries())
        GetTALVOApp().AddResultWindow({entry.templateId, entry.documentClass, entry.takes,
                                       [area, needsArea, open = entry.open](CMElement* element) {
                                           QMdiArea* where = area();
                                           return (where || !needsArea) && open(where, element) != nullptr;
                                       },
                                       entry.isOpen});
}

void RemoveDataViewOpeners()
{
    for (const CDataViewEntry& entry : DataViewEntries())
        GetTALVOApp().AddResultWindow({entry.templateId, entry.documentClass, entry.takes, {}, {}});
}

CTALVOProject* FindProjectContainer(CMElement* element)
{
    for (CMElement* e = element; e; e = e->GetParent()) {
        if (auto* project = dynamic_cast<CBaseProject*>(e); project && project->GetOwner())
            return project->GetOwner();
        // The measured data of a measurement window belong to the DAQ project they were measured for.
        if (auto* measured = dynamic_cast<CExpProject*>(e))
            if (auto* daq = dynamic_cast<CBaseProject*>(measured->GetDAQProject()))
                return daq->GetOwner();
    }
    return nullptr;
}
