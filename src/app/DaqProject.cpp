#include "app/DaqProject.h"

#include <chrono>

#include "acquisition/DAQIO.h"
#include "app/DAQExperiment.h"
#include "app/DAQSystemDocument.h"
#include "app/TALVOApp.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "common/WorkFolder.h"
#include "experiments/AveExpData.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "models/HSEAOptions.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"

namespace {
std::function<std::unique_ptr<IDAQRecalculator>(CDaqProject&)>& RecalculatorFactory()
{
    static std::function<std::unique_ptr<IDAQRecalculator>(CDaqProject&)> factory;
    return factory;
}
std::function<bool(CRPMOptions&)>& RpmOptionsEditor()
{
    static std::function<bool(CRPMOptions&)> editor;
    return editor;
}
// Air density (kg/m³) and speed of sound (m/s) of the acoustic energy.
constexpr double kAirDensity = 1.21;
constexpr double kSoundSpeed = 343.0;
} // namespace

IMPLEMENT_SERIAL(CDaqProject, CBaseProject, 0)

CDaqProject::CDaqProject() = default;
CDaqProject::CDaqProject(const std::string& name) : CBaseProject(name) {}
CDaqProject::~CDaqProject() = default;

COctaveManagerEx* CDaqProject::GetModelOctaveManager() const
{
    return GetOwner() ? GetOwner()->GetOctaveManager() : nullptr;
}

COctaveManagerEx* CDaqProject::GetOctaveManager()
{
    if (!m_bands) {
        const COctaveManagerEx* model = GetModelOctaveManager();
        const double upper = m_daqConfig.GetMaxFreq();
        if (model && model->GetFreqCount() > 0)
            m_bands = std::make_unique<COctaveManagerEx>(model->GetBandType(), model->GetFreq(0), upper);
        else
            m_bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_THIRD, COctaveManager::kDefaultStartFreq, upper);
    }
    return m_bands.get();
}

void CDaqProject::SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands)
{
    m_bands = std::move(bands);
}

std::string CDaqProject::GetTargetSubsystemName() const
{
    return GetOwner() ? GetOwner()->GetTargetSubsystem() : std::string();
}

void CDaqProject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        CBaseProject::Serialize(ar);
        m_daqConfig.Serialize(ar);
        ar.WriteObject(&m_calcOptions);
        ar << m_maxChannel;
        GetOctaveManager()->Serialize(ar);
        ar << m_extraText << m_extraValue1 << m_extraValue2;
        ar << static_cast<int32_t>(m_extraList.size());
        for (int32_t v : m_extraList)
            ar << v;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("DAQ project of version %d", version));
    CBaseProject::Serialize(ar);
    m_daqConfig.Serialize(ar);
    if (version < kOldestVersion)
        CArchive::ThrowBadSchema(Format("DAQ project \"%s\" of version %d", GetName().c_str(), version));
    auto options = ar.ReadOwned<CCalcOptions>();
    if (options)
        m_calcOptions = *options;
    if (version >= 6)
        ar >> m_maxChannel;
    if (version >= 7) {
        auto bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_USER);
        bands->Serialize(ar);
        m_bands = std::move(bands);
    }
    if (version >= 8) {
        ar >> m_extraText >> m_extraValue1 >> m_extraValue2;
        const int32_t count = ar.ReadSignedCount(4, "values in a DAQ project");
        m_extraList.assign(static_cast<size_t>(count), 0);
        for (auto& v : m_extraList)
            ar >> v;
    }
}

// ---- experiments ----

int CDaqProject::ExpTypeCode(const std::string& name0, const std::string& name1) const
{
    if (name0.empty() || name1.empty())
        return -1;
    const bool s0 = IsStructure(name0) != 0;
    const bool s1 = IsStructure(name1) != 0;
    if (s0 && s1)
        return ElementType::ExpStructureStructure;
    if (s0)
        return ElementType::ExpStructureAcoustic;
    if (s1)
        return ElementType::ExpAcousticStructure;
    return ElementType::ExpAcousticAcoustic;
}

CTALVOExp* CDaqProject::FindExp(const std::string& name0, const std::string& name1) const
{
    if (name0.empty() || name1.empty())
        return nullptr;
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* exp = ElementCast<CTALVOExp>(GetChild(i));
            exp && exp->GetSecondSubsystem() == name0 && exp->GetFirstSubsystem() == name1)
            return exp;
    return nullptr;
}

std::unique_ptr<CTALVOExp> CDaqProject::CreateExp(const std::string& name0, const std::string& name1) const
{
    const CZuSubsystemTable* table = GetOwner() ? GetOwner()->GetModelSubsystemTable() : nullptr;
    const int i0 = table ? table->GetIndex(name0) : -1;
    const int i1 = table ? table->GetIndex(name1) : -1;
    if (i0 < 0 || i1 < 0)
        return nullptr;
    const std::string name = FormatString(IDS_AVERAGE_EXP_NAME, i0, i1);
    auto exp = std::make_unique<CTALVOExp>(name, const_cast<CDaqProject*>(this), ExpTypeCode(name0, name1));
    exp->SetDescription(FormatString(IDS_AVERAGE_EXP_DESCRIPTION, name.c_str(), name0.c_str(), name1.c_str()));
    exp->SetSecondSubsystem(name0);
    exp->SetFirstSubsystem(name1);
    exp->SetUseFlag(1);
    return exp;
}

int CDaqProject::AddMeasuredData(const std::vector<CExpInfo*>& list, std::vector<CDAQExperiment*>& out)
{
    int all = 1;
    const int64_t now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    for (CExpInfo* info : list) {
        if (!info) {
            all = 0;
            continue;
        }
        info->SetTime(now);
        if (CDAQExperiment* set = AddDataSet(*info))
            out.push_back(set);
        else
            all = 0;
    }
    return all;
}

CDAQExperiment* CDaqProject::AddDataSet(const CExpInfo& info)
{
    const std::string name0 = info.GetName(0);
    const std::string name1 = info.GetName(1);
    CTALVOExp* exp = FindExp(name0, name1);
    if (!exp) {
        exp = AddChild(CreateExp(name0, name1));
        if (!exp)
            return nullptr;
    }
    CDAQExperiment* set = exp->AddChild(exp->CreateDAQExperiment(info));
    return set;
}

int CDaqProject::GetUsedDAQExperiments(CMElementList& list) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* exp = ElementCast<CTALVOExp>(GetChild(i)))
            exp->GetUsedChildren(list);
    return list.GetSize();
}

int CDaqProject::GetUsedDAQExperimentsOf(const std::string& name, CMElementList& list) const
{
    list.Clear();
    // Experiments are named by the indices of their pair; the one of a subsystem is the one that
    // excites it.
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* exp = ElementCast<CTALVOExp>(GetChild(i));
            exp && (exp->GetName() == name || exp->GetSecondSubsystem() == name))
            exp->GetUsedChildren(list);
    return list.GetSize();
}

int CDaqProject::FindDAQExperimentsBySubsystem(const std::string& name, CMElementList& list)
{
    list.Clear();
    CMElementList all;
    Find(RUNTIME_CLASS(CDAQExperiment), all, -1);
    for (CMElement* e : all) {
        auto* set = static_cast<CDAQExperiment*>(e);
        if (set->GetUseFlag() == 1 && set->GetInfoNameIndex(name) >= 0)
            list.Add(set);
    }
    return list.GetSize();
}

int CDaqProject::CollectResponseSubsystems(CZuSubsystemTable& table) const
{
    CMElementList all;
    Find(RUNTIME_CLASS(CDAQExperiment), all, -1);
    for (CMElement* e : all) {
        auto* set = static_cast<CDAQExperiment*>(e);
        const std::string name1 = set->GetSecondInfoName();
        if (set->FindRpmFuncByName(name1))
            table.AddUnique(name1);
    }
    return table.GetCount();
}

int CDaqProject::CollectExcitationSubsystems(CZuSubsystemTable& table) const
{
    table.Clear();
    if (!GetOwner())
        return 0;
    const CZuSubsystemTable& sources = GetOwner()->GetSourceSubsystems();
    for (int i = 0; i < sources.GetCount(); ++i) {
        CMElementList used;
        if (GetUsedDAQExperimentsOf(sources[i], used) > 0)
            table.Add(sources[i]);
    }
    return table.GetCount();
}

int CDaqProject::CollectForRecalc(CMElementList& out, const CCalcOptions* newOptions, int force)
{
    if (newOptions)
        m_calcOptions = *newOptions;
    CMElementList used;
    GetUsedDAQExperiments(used);
    const CCalcOptions& p = m_calcOptions;
    for (CMElement* e : used) {
        auto* set = static_cast<CDAQExperiment*>(e);
        CCalcOptions* o = set->GetCalcOptions();
        bool copied = false;
        auto sync = [&](auto get, auto put) {
            if (force || (o->*get)() != (p.*get)()) {
                (o->*put)((p.*get)());
                copied = true;
            }
        };
        sync(&CCalcOptions::GetHighPassFreq, &CCalcOptions::SetHighPassFreq);
        sync(&CCalcOptions::GetOrderBandWidth, &CCalcOptions::SetOrderBandWidth);
        sync(&CCalcOptions::GetLineCount, &CCalcOptions::SetLineCount);
        sync(&CCalcOptions::GetResolution, &CCalcOptions::SetResolution);
        sync(&CCalcOptions::GetWindowType, &CCalcOptions::SetWindowType);
        if (force || !o->GetOrderList().IsEqual(p.GetOrderList())) {
            o->SetOrderList(p.GetOrderList());
            copied = true;
        }
        if (copied || !set->FindRpmFuncOfFirstName() || !set->FindRpmFuncOfSecondName())
            out.Add(set);
    }
    return out.GetSize();
}

int CDaqProject::SetTargetLocalPoints(const CSubsystemLPInfo& target, CMElementList* changed)
{
    if (target.GetName().empty() && target.GetSize() == 0)
        return 0;
    CMElementList used;
    GetUsedDAQExperiments(used);
    int count = 0;
    for (CMElement* e : used) {
        CSubsystemLPInfoList& list = static_cast<CDAQExperiment*>(e)->GetCalcOptions()->GetSubsystemLPInfoList();
        if (list.GetSize() < 2)
            list.SetSize(2);
        if (list[1] == target)
            continue;
        list[1] = target;
        ++count;
        if (changed)
            changed->Add(e);
    }
    return count;
}

void CDaqProject::SetRecalculatorFactory(std::function<std::unique_ptr<IDAQRecalculator>(CDaqProject&)> factory)
{
    RecalculatorFactory() = std::move(factory);
}

bool CDaqProject::HasRecalculatorFactory()
{
    return static_cast<bool>(RecalculatorFactory());
}

int CDaqProject::Recalculate(CMElementList& list, CFeedback* feedback)
{
    std::unique_ptr<IDAQRecalculator> calculator = RecalculatorFactory() ? RecalculatorFactory()(*this) : nullptr;
    if (!calculator)
        return 0;
    if (calculator->Calculate(list, feedback)) {
        feedback->Information(MessageTextOf(IDS_CALCULATION_FINISHED), IDS_CALCULATION_FINISHED);
        return 1;
    }
    // A failed run is never reported as finished: the user gets the error report instead.
    const std::string path = Format("%s/_daq_recalc.err", GetWorkFolderPath(GetOwner()).c_str());
    calculator->ReportErrors(path);
    std::string text = FormatString(IDS_RECALC_ERRORS, path.c_str());
    if (const std::string reasons = calculator->DescribeErrors(); !reasons.empty())
        text += "\n\n" + reasons;
    feedback->Warning(text, IDS_RECALC_ERRORS);
    return 0;
}

CMElement* CDaqProject::AverageRpmFuncs(const std::string& name, int message, const CRPMOptions* options,
                                        CFeedback* feedback)
{
    m_averagedData.reset();
    CAveExpData average(this);
    m_averagedData = average.AverageRpmFuncs(name, nullptr, message, options, feedback);
    if (m_averagedData)
        m_averagedData->SetParent(this); // the project's own, as the experiment's map is the experiment's
    return m_averagedData.get();
}

CMElement* CDaqProject::AverageRpmVecFuncs(const std::string& name, int flag)
{
    m_averagedData.reset();
    CAveExpData average(this);
    m_averagedData = average.AverageRpmVecFuncs(name, nullptr, flag);
    if (m_averagedData)
        m_averagedData->SetParent(this); // the project's own, as the experiment's map is the experiment's
    return m_averagedData.get();
}

// ---- what the measured data ask of the project ----

int CDaqProject::GetAveragingMode() const
{
    return GetOwner() ? GetOwner()->GetHSEAOptions().m_nMeanMethod : 2;
}

double CDaqProject::GetSubsystemEnergyFactor(const std::string& name) const
{
    const CModelData* model = GetOwner() ? GetOwner()->GetModelData() : nullptr;
    const CModelSubsystem* subsystem = model ? model->GetSubsystem(name, 0, 1) : nullptr;
    if (!subsystem)
        return 0.0;
    if (subsystem->IsAcoustic())
        return subsystem->GetVolume() / (kSoundSpeed * kSoundSpeed * kAirDensity);
    return subsystem->GetMass();
}

bool CDaqProject::EditRpmOptions(CRPMOptions& options)
{
    return RpmOptionsEditor() ? RpmOptionsEditor()(options) : false;
}

void CDaqProject::SetModified()
{
    if (IProjectContainerSite* site = GetOwner() ? GetOwner()->GetSite() : nullptr)
        site->OnContainerModified();
}

void CDaqProject::SetRpmOptionsEditor(std::function<bool(CRPMOptions&)> editor)
{
    RpmOptionsEditor() = std::move(editor);
}

bool CDaqProject::HasRpmOptionsEditor()
{
    return static_cast<bool>(RpmOptionsEditor());
}

int CDaqProject::OpenDAQSystemDoc(IDAQSystemDocument* doc, const std::vector<CExpInfo*>& list)
{
    if (!doc || list.empty())
        return 0;
    std::vector<CDAQExperiment*> added;
    AddMeasuredData(list, added);
    CMElementList dataSets;
    for (CDAQExperiment* set : added)
        dataSets.Add(set);
    doc->SetMeasuredData(this, dataSets);
    doc->SetTitle("DAQ System");
    doc->SendInitialUpdate();
    doc->UpdateAllViews();
    return 1;
}

int CDaqProject::OpenStoredData(const CMElementList& dataSets, const std::string& title, CFeedback* feedback)
{
    if (dataSets.IsEmpty())
        return 0;
    IDAQSystemDocument* doc = GetTALVOApp().OpenDAQSystemView(0);
    if (!doc)
        return 0;
    CDAQIO reader(dataSets);
    reader.SetMode(1);
    reader.SetFeedback(feedback);
    std::unique_ptr<CExpProject> project = reader.MergeProjects();
    if (!project || !reader.GetErrorList().empty()) {
        for (const tagERRORINFO& error : reader.GetErrorList())
            feedback->Warning(CDAQIO::FormatError(error));
        if (project)
            project->SetExperiments(CMElementList());
        doc->CloseDocument();
        return 0;
    }
    project->SetDAQProject(this);
    doc->SetReadData(std::move(project), reader.ReleaseRead());
    doc->SetTitle(title);
    doc->SendInitialUpdate();
    doc->UpdateAllViews();
    return 1;
}

int CDaqProject::OpenRawData(const std::string& path, CFeedback* feedback)
{
    IDAQSystemDocument* doc = GetTALVOApp().OpenDAQSystemView(0);
    if (!doc)
        return 0;
    CDAQIO reader(CMElementList{});
    reader.SetFeedback(feedback);
    std::unique_ptr<CExpProject> project = reader.LoadFile(path);
    if (!project) {
        for (const tagERRORINFO& error : reader.GetErrorList())
            feedback->Warning(CDAQIO::FormatFileError(error, path));
        doc->CloseDocument();
        return 0;
    }
    project->SetDAQProject(this);
    doc->SetReadData(std::move(project), reader.ReleaseRead());
    doc->SetTitle(path);
    doc->SendInitialUpdate();
    doc->UpdateAllViews();
    return 1;
}
