#include "app/AnalysisProject.h"

#include "app/DaqProject.h"
#include "calculation/CompExpData.h"
#include "calculation/InputEnergyCalculator.h"
#include "calculation/InputEnergyFolder.h"
#include "calculation/InputPowerCalculator.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/ResultCompTable.h"
#include "calculation/SPLsFolder.h"
#include "calculation/Solver.h"
#include "models/HSEADominantPathData.h"
#include "models/HSEAOptions.h"
#include "models/HSEAPowerContribution.h"
#include "models/HSEAResultData.h"
#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OctFreqIndexMap.h"
#include "spectral/OrderBand.h"
#include "spectral/ZuOTDpFunc.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTMultiVecFunc.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmDpFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"

IMPLEMENT_SERIAL(CAnalysisProject, CBaseProject, CAnalysisProject::kSchema | VERSIONABLE_SCHEMA)

namespace {
// Earlier builds wrote this schema, with the narrowed RPM range after the band set.
constexpr uint32_t kSchemaNarrowedRange = 9;
} // namespace

CAnalysisProject::CAnalysisProject() = default;
CAnalysisProject::CAnalysisProject(const std::string& name) : CBaseProject(name) {}
CAnalysisProject::~CAnalysisProject() = default;

void CAnalysisProject::SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands)
{
    m_bands = std::move(bands);
}

CDaqProject* CAnalysisProject::GetDaqProject() const
{
    if (m_daqProjectID < 0 || !GetOwner())
        return nullptr;
    return DynamicDowncast<CDaqProject>(GetOwner()->FindProjectByID(m_daqProjectID));
}

COctaveManagerEx* CAnalysisProject::GetOctaveManager()
{
    if (!m_bands)
        if (CDaqProject* daq = GetDaqProject())
            m_bands = std::make_unique<COctaveManagerEx>(*daq->GetOctaveManager());
    return m_bands.get();
}

double CAnalysisProject::GetDaqConfigValue() const
{
    CDaqProject* daq = GetDaqProject();
    return daq ? daq->GetDAQConfig()->GetFactor3() : 0.0;
}

int CAnalysisProject::CompleteSubsystemName(std::string& name) const
{
    return GetOwner() ? GetOwner()->GetSubsystemType(name, 1) : -1;
}

bool CAnalysisProject::GetSubsystemParam(const std::string& name, double& mass, double& volume) const
{
    const CModelData* model = GetOwner() ? GetOwner()->GetModelData() : nullptr;
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    const CModelSubsystem* subsystem = model ? model->GetSubsystem(plain, 0, 1) : nullptr;
    if (!subsystem)
        return false;
    mass = subsystem->GetMass();
    volume = subsystem->GetVolume();
    return true;
}

const COctaveManager* CAnalysisProject::GetModelOctaveManager() const
{
    return GetOwner() ? GetOwner()->GetOctaveManager() : nullptr;
}

std::vector<int32_t>& CAnalysisProject::GetFreqIndexArray()
{
    if (m_freqIndex.empty())
        BuildFreqIndexArray();
    return m_freqIndex;
}

CHSEAModelData* CAnalysisProject::GetHSEAModelData() const
{
    CModelProject* model = GetOwner() ? GetOwner()->GetModelProject() : nullptr;
    return model ? model->GetHSEAModelData() : nullptr;
}

int CAnalysisProject::GetInputPowerSubsystems(CZuSubsystemTable& table) const
{
    table.Clear();
    CInputPowerFolder* folder = GetInputPowerFolder();
    return folder ? folder->GetSubsystemTable(table) : 0;
}

int CAnalysisProject::GetInputEnergySubsystems(CZuSubsystemTable& table) const
{
    table.Clear();
    CInputEnergyFolder* folder = GetInputEnergyFolder();
    return folder ? folder->GetSubsystemTable(table) : 0;
}

int CAnalysisProject::BuildFreqIndexArray()
{
    m_freqIndex.clear();
    COctaveManagerEx* bands = GetOctaveManager();
    const COctaveManager* model = GetModelOctaveManager();
    if (!bands || !model)
        return 0;
    COctFreqIndexMap map(bands, model);
    if (!map.Build())
        return 0;
    for (int i : map.GetMap())
        m_freqIndex.push_back(i);
    return 1;
}

int CAnalysisProject::Fail(const std::string& why)
{
    m_failure = why;
    return 0;
}

CInputEnergyFolder* CAnalysisProject::GetInputEnergyFolder() const
{
    return DynamicDowncast<CInputEnergyFolder>(FindOne(LoadString(IDS_INPUT_ENERGY_FOLDER), 1, 1));
}

CInputPowerFolder* CAnalysisProject::GetInputPowerFolder() const
{
    return DynamicDowncast<CInputPowerFolder>(FindOne(LoadString(IDS_INPUT_POWER_FOLDER), 1, 1));
}

namespace {
template <class Folder>
Folder* FindOrAddFolder(CAnalysisProject& project, Folder* existing)
{
    if (existing)
        return existing;
    return project.AddChild(std::make_unique<Folder>(&project));
}
} // namespace

int CAnalysisProject::CalcInputEnergy(const CZuSubsystemTable& table, int force, CFeedback* feedback)
{
    m_failure.clear();
    CDaqProject* daq = GetDaqProject();
    if (!daq || !GetOwner())
        return Fail("The analysis project has no DAQ project with measured data to take the input energies from.");
    CInputEnergyFolder* folder = FindOrAddFolder(*this, GetInputEnergyFolder());
    if (!folder)
        return 0;
    CZuSubsystemTable todo(table);
    if (!force)
        for (int i = todo.GetCount() - 1; i >= 0; --i)
            if (folder->FindRpmItem(todo[i]))
                todo.RemoveAt(i);
    if (todo.GetCount() == 0)
        return 1;

    // The energies are calculated over the range before any narrowing, so that a later run
    // narrows from the same range instead of narrowing the narrowed range again.
    if (m_narrowed && m_rpmOptions == m_narrowedRpm)
        m_rpmOptions = m_unnarrowedRpm;
    m_narrowed = false;

    CInputEnergyCalculator calc;
    calc.m_subsystems = &todo;
    calc.m_daqProject = daq;
    calc.m_rpmOptions = &m_rpmOptions;
    calc.m_averaging = GetOwner()->GetHSEAOptions().m_nMeanMethod;
    calc.m_useSymmetric = m_ieOptions.GetUseSymmetric();
    calc.m_smoothingWidth = m_ieOptions.GetRpmMargin();
    calc.m_inputKind = m_projectType;
    calc.m_orders = m_orders;
    calc.m_otSetting = m_otSetting;
    calc.m_bands = GetOctaveManager();
    calc.m_report = 1;
    calc.m_progress = feedback;
    if (!calc.Calculate())
        return Fail("No input energy could be calculated from the measured data: check that the DAQ project's "
                    "experiments of these subsystems are used and hold spectra over the analysis RPM range.");
    CMElementList results;
    calc.TakeResults(results);
    folder->AddItems(results);

    const float margin = m_ieOptions.GetRpmMargin();
    const float step = m_rpmOptions.GetRpmStep();
    if (daq->GetDAQConfig()->GetOption60() == 0 && margin > 0.0f && step > 0.0f) {
        std::vector<double> rpms;
        const int n = m_rpmOptions.MakeRpmArrayD(rpms);
        const int k = static_cast<int>(margin / step);
        // A margin that covers half the axis or more would leave no RPM (or turn the range
        // around): the range stays as it is.
        if (k > 0 && 2 * k < n) {
            m_unnarrowedRpm = m_rpmOptions;
            m_rpmOptions.SetRpmMin(static_cast<float>(rpms[static_cast<size_t>(k)]));
            m_rpmOptions.SetRpmMax(static_cast<float>(rpms[static_cast<size_t>(n - 1 - k)]));
            m_narrowedRpm = m_rpmOptions;
            m_narrowed = true;
        }
    }
    return 1;
}

int CAnalysisProject::CalcInputPower(const CZuSubsystemTable* table, int force, int revise, CFeedback* feedback)
{
    m_failure.clear();
    CInputEnergyFolder* energies = GetInputEnergyFolder();
    if (!energies)
        return Fail("The analysis project has no input energies: calculate them first.");
    if (!GetHSEAModelData())
        return Fail(CInputPowerCalculator::kNoModelReason);
    CInputPowerFolder* folder = FindOrAddFolder(*this, GetInputPowerFolder());
    if (!folder)
        return 0;
    CZuSubsystemTable todo;
    if (table)
        todo = *table;
    else
        energies->GetSubsystemTable(todo);
    if (!force)
        for (int i = todo.GetCount() - 1; i >= 0; --i)
            if (folder->FindRpmItem(todo[i]))
                todo.RemoveAt(i);
    if (todo.GetCount() == 0)
        return 1;
    CMElementList inputs;
    energies->GetItems(todo, inputs);
    if (inputs.GetSize() == 0)
        return Fail("The input-energy folder holds none of the chosen subsystems.");
    for (int i = 0; i < todo.GetCount(); ++i)
        if (!energies->FindRpmItem(todo[i])) {
            feedback->Warning(FormatString(IDS_INPUT_POWER_NOT_CALCULATED, todo[i].c_str()),
                              IDS_INPUT_POWER_NOT_CALCULATED);
            return 0;
        }

    CInputPowerCalculator calc(this);
    calc.SetFeedback(feedback);
    calc.SetInputs(inputs);
    calc.SetModelData(GetHSEAModelData());
    int kind = -1;
    if (DynamicDowncast<CZuRpmFunc>(inputs[0]))
        kind = 0;
    else if (DynamicDowncast<CMultiVectorFunction>(inputs[0]))
        kind = 1;
    calc.SetInputKind(kind);
    calc.SetOrderFactor(static_cast<float>(GetDaqConfigValue()));
    calc.SetBandSet(GetOctaveManager());
    calc.SetRevise(revise);
    if (calc.Calculate())
        return 1;
    return Fail(calc.GetFailureReason());
}

int CAnalysisProject::CalcInputPowerChain(const CZuSubsystemTable& table, int force, int revise, CFeedback* feedback)
{
    if (GetDaqProject() && !CalcInputEnergy(table, force, feedback))
        return 0;
    return CalcInputPower(&table, force, revise, feedback) ? 1 : 0;
}

CZuData* CAnalysisProject::FindEnergyResult(const CZuSubsystemTable& table, CFeedback* feedback) const
{
    for (int i = 0; i < GetChildCount(); ++i) {
        CZuSubsystemTable inputs;
        if (m_projectType == typeRpm) {
            auto* set = DynamicDowncast<CZuRpmResultData>(GetChild(i));
            if (!set)
                continue;
            set->CollectInputPowerSubsystems(inputs, 1, feedback);
        } else if (m_projectType == typeOrder) {
            auto* set = DynamicDowncast<CZuOTResultData>(GetChild(i));
            if (!set)
                continue;
            set->CollectInputPowerSubsystems(inputs, 1, feedback);
        } else {
            return nullptr;
        }
        if (inputs.GetCount() != table.GetCount())
            continue;
        bool all = true;
        for (int k = 0; k < table.GetCount() && all; ++k)
            all = inputs.GetIndex(table[k]) >= 0;
        if (all)
            return static_cast<CZuData*>(GetChild(i));
    }
    return nullptr;
}

CZuData* CAnalysisProject::CalcEnergyResult(const CZuSubsystemTable& table, int force, CFeedback* feedback)
{
    m_failure.clear();
    CZuData* existing = FindEnergyResult(table, feedback);
    if (existing && force != 1)
        return existing;
    if (!GetHSEAModelData()) {
        Fail(CInputPowerCalculator::kNoModelReason);
        return nullptr;
    }
    CInputPowerFolder* folder = GetInputPowerFolder();
    CMElementList functions;
    if (folder)
        folder->GetFunctionsForSubsystems(table, functions);
    // Solving for fewer inputs than were chosen would give a result that looks complete.
    for (int i = 0; i < table.GetCount(); ++i)
        if (!folder || !folder->FindRpmItem(table[i])) {
            feedback->Warning(FormatString(IDS_INPUT_POWER_NOT_CALCULATED, table[i].c_str()),
                              IDS_INPUT_POWER_NOT_CALCULATED);
            return nullptr;
        }
    CSolver solver;
    solver.SetFeedback(feedback);
    solver.SetProject(this);
    solver.SetModelData(GetHSEAModelData());
    solver.SetInputs(functions);
    solver.SetMode(m_projectType == typeOrder ? CSolver::MODE_ORDER : CSolver::MODE_RPM);
    if (!solver.Run()) {
        Fail("The hybrid SEA model could not be solved for these input powers: check that every subsystem "
             "of the model has its modal density, damping and coupling loss factors.");
        return nullptr;
    }
    std::unique_ptr<CZuData> result = solver.TakeResult();
    if (existing)
        DeleteChild(existing, 1);
    return AddChild(std::move(result));
}

CZuData* CAnalysisProject::CalcInputPowerByName(const CZuSubsystemTable& table, int force, CFeedback* feedback)
{
    return CalcEnergyResult(table, force, feedback);
}

CZuData* CAnalysisProject::FindInputPower(const CZuSubsystemTable& table) const
{
    return FindEnergyResult(table);
}

int CAnalysisProject::AddInputEnergyData(const CZuSubsystemTable& table)
{
    CInputEnergyFolder* folder = FindOrAddFolder(*this, GetInputEnergyFolder());
    if (!folder || table.GetCount() == 0)
        return 0;
    CInputEnergyCalculator calc;
    calc.m_subsystems = &table;
    calc.m_rpmOptions = &m_rpmOptions;
    calc.m_inputKind = m_projectType;
    calc.m_orders = m_orders;
    calc.m_otSetting = m_otSetting;
    calc.m_bands = GetOctaveManager();
    calc.m_report = 1;
    const int count = calc.AddData();
    CMElementList results;
    calc.TakeResults(results);
    folder->AddItems(results);
    return count;
}

void CAnalysisProject::DeleteResults()
{
    for (int i = GetChildCount() - 1; i >= 0; --i) {
        CMElement* child = GetChild(i);
        if (DynamicDowncast<CInputEnergyFolder>(child) || DynamicDowncast<CInputPowerFolder>(child))
            continue;
        DeleteChild(child, 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Response functions of one target

namespace {
// The driver's name, or the document's target subsystem when it is empty.
std::string TargetName(const CAnalysisProject& project, const std::string& name)
{
    if (!name.empty() || !project.GetOwner())
        return name;
    return project.GetOwner()->GetTargetSubsystem();
}

// The model's name of the subsystem (with its wave sign); unchanged when the model lacks it.
std::string Completed(const CAnalysisProject& project, const std::string& name)
{
    std::string full = name;
    project.CompleteSubsystemName(full);
    return full;
}

// Progress of a driver over the keys of a result set. On a feedback that shows other work already
// (an order driver over its RPM drivers, the SPL table over its inputs) the driver's range is a
// part of that work's current step, so that it never takes over the range it runs in.
class DriverProgress
{
public:
    DriverProgress(CFeedback* feedback, int count, const char* text)
        : m_feedback(feedback), m_nested(feedback->IsActive())
    {
        if (m_nested)
            m_feedback->BeginPart(0);
        m_feedback->Begin(text, count);
    }
    ~DriverProgress()
    {
        if (m_nested)
            m_feedback->EndPart();
        else
            m_feedback->End();
    }
    DriverProgress(const DriverProgress&) = delete;
    DriverProgress& operator=(const DriverProgress&) = delete;
    void Step() { m_feedback->Step(); }

private:
    CFeedback* m_feedback;
    bool m_nested;
};

double OrderOfEntry(const COrderList& orders, const CZuOTResultData& set, int i)
{
    return i < orders.GetSize() ? orders.GetAt(i) : set.GetKey(i);
}

// A function over RPM of one target with one entry per result of the set, each entry taken from
// the result in the order's band at that RPM (every band for order 0). create makes the function
// for the target; entry gives a result's entry for the completed name and band (null: failure).
template <class Func, class Create, class Entry>
std::unique_ptr<Func> BandDriver(CAnalysisProject& project, CZuRpmResultData* set, const std::string& name,
                                 double order, const char* text, CFeedback* feedback, Create create, Entry entry)
{
    if (!set)
        return nullptr;
    const std::string target = TargetName(project, name);
    std::unique_ptr<Func> func = create(*set, target);
    if (!func)
        return nullptr;
    const std::string full = Completed(project, target);
    const double factor = project.GetDaqConfigValue();
    COctaveManagerEx* bands = project.GetOctaveManager();
    DriverProgress progress(feedback, set->GetResultCount(), text);
    for (int i = 0; i < set->GetResultCount(); ++i) {
        const double rpm = set->GetKey(i);
        const int band = order > 0.0 ? GetOrderBandIndexInt(rpm, order, factor, bands) : -1;
        auto* result = DynamicDowncast<CHSEAResultData>(set->GetResult(i));
        auto value = result ? entry(*result, full, band, feedback) : nullptr;
        if (!value)
            return nullptr;
        func->AddRpmData(rpm, std::move(value));
        progress.Step();
    }
    return func;
}

// A function over orders with one per-order function for each entry of the set: orderAt gives an
// entry's order, perOrder its function (null: failure).
template <class Func, class OrderAt, class PerOrder>
std::unique_ptr<Func> OrderDriver(CZuOTResultData& set, std::unique_ptr<Func> func, const char* text,
                                  CFeedback* feedback, OrderAt orderAt, PerOrder perOrder)
{
    if (!func)
        return nullptr;
    DriverProgress progress(feedback, set.GetResultCount(), text);
    for (int i = 0; i < set.GetResultCount(); ++i) {
        const double order = orderAt(i);
        auto value = perOrder(set.GetResult(i), order);
        if (!value)
            return nullptr;
        func->AddOrder(order, std::move(value));
        progress.Step();
    }
    return func;
}
} // namespace

std::unique_ptr<CZuRpmFunc> CAnalysisProject::CalcVibrationLevel(CZuRpmResultData* set, const std::string& name,
                                                                 CFeedback* feedback)
{
    if (!set)
        return nullptr;
    const std::string target = TargetName(*this, name);
    std::unique_ptr<CZuRpmFunc> func = set->CreateVibrationFunc(target);
    if (!func)
        return nullptr;
    const std::string full = Completed(*this, target);
    DriverProgress progress(feedback, set->GetResultCount(), "Calculating Vibration Level...");
    for (int i = 0; i < set->GetResultCount(); ++i) {
        auto* result = DynamicDowncast<CHSEAResultData>(set->GetResult(i));
        std::unique_ptr<CZuFunc> row = result ? result->CreateVibrationLevelFunc(full, feedback) : nullptr;
        if (!row)
            return nullptr;
        func->AddRow(set->GetKey(i), std::move(row));
        progress.Step();
    }
    return func;
}

std::unique_ptr<CZuOTFunc> CAnalysisProject::CalcVibrationLevelOT(CZuOTResultData* set, const std::string& name,
                                                                  CFeedback* feedback)
{
    if (!set)
        return nullptr;
    return OrderDriver(
        *set, set->CreateVibrationFunc(TargetName(*this, name)), "Calculating Vibration Level...", feedback,
        [&](int i) { return OrderOfEntry(m_orders, *set, i); },
        [&](CZuRpmResultData* perSet, double) { return CalcVibrationLevel(perSet, name, feedback); });
}

CZuRpmMultiVecFunc* CAnalysisProject::FindSPL(CZuRpmResultData* set, const std::string& name) const
{
    const std::string target = set ? Completed(*this, TargetName(*this, name)) : std::string();
    if (target.empty())
        return nullptr;
    return DynamicDowncast<CZuRpmMultiVecFunc>(set->FindOne(FormatString(IDS_SPL_NAME, target.c_str()), 1, 1));
}

std::unique_ptr<CZuRpmMultiVecFunc> CAnalysisProject::CalcSPL(CZuRpmResultData* set, const std::string& name,
                                                              CFeedback* feedback)
{
    if (!set)
        return nullptr;
    const std::string target = Completed(*this, TargetName(*this, name));
    if (target.empty())
        return nullptr;
    const std::string title = FormatString(IDS_SPL_NAME, target.c_str());
    std::unique_ptr<CZuRpmMultiVecFunc> func = set->CreateSplFunc(target, title, ElementType::Spl);
    if (!func)
        return nullptr;
    DriverProgress progress(feedback, set->GetResultCount(), "Calculating SPL...");
    for (int i = 0; i < set->GetResultCount(); ++i) {
        auto* result = DynamicDowncast<CHSEAResultData>(set->GetResult(i));
        std::unique_ptr<CZuFunc> row = result ? result->CreateSPLFunc(target, feedback) : nullptr;
        if (!row)
            return nullptr;
        func->AddRpmData(set->GetKey(i), std::move(row));
        progress.Step();
    }
    return func;
}

std::unique_ptr<CZuOTFunc> CAnalysisProject::CalcSPLOT(CZuOTResultData* set, const std::string& name, int recalculate,
                                                       CFeedback* feedback)
{
    if (!set)
        return nullptr;
    const std::string target = Completed(*this, TargetName(*this, name));
    return OrderDriver(
        *set, set->CreateSplFunc(target), "Calculating SPL...", feedback,
        [&](int i) { return OrderOfEntry(m_orders, *set, i); },
        [&](CZuRpmResultData* perSet, double) {
            // With recalculate 0 a function the order's set keeps is taken: as a copy.
            std::unique_ptr<CZuRpmMultiVecFunc> own;
            if (CZuRpmMultiVecFunc* kept = recalculate ? nullptr : FindSPL(perSet, name)) {
                auto copy = kept->Duplicate();
                if (DynamicDowncast<CZuRpmMultiVecFunc>(copy.get()))
                    own.reset(static_cast<CZuRpmMultiVecFunc*>(copy.release()));
            } else {
                own = CalcSPL(perSet, name, feedback);
            }
            if (!own)
                return std::unique_ptr<CZuRpmFunc>();
            // The order map holds spectrum maps over RPM: one row per RPM entry of the SPL table, over
            // the bands of its rows.
            auto* firstRow = DynamicDowncast<CZuFunc>(own->GetRpmData(0));
            const int points = firstRow ? firstRow->GetDataCount() : 0;
            auto map = std::make_unique<CZuRpmFunc>(own->GetName(), points, nullptr, ElementType::Spl);
            for (int b = 0; b < points; ++b)
                map->SetFreq(b, firstRow->DataIndex(b));
            map->SetLabel(target);
            for (int k = 0; k < own->GetRpmCount(); ++k) {
                auto* row = DynamicDowncast<CZuFunc>(own->GetRpmData(k));
                if (!row)
                    return std::unique_ptr<CZuRpmFunc>();
                map->AddRow(own->GetRpm(k),
                            std::unique_ptr<CZuFunc>(static_cast<CZuFunc*>(row->Duplicate().release())));
            }
            return std::unique_ptr<CZuRpmFunc>(std::move(map));
        });
}

std::unique_ptr<CZuRpmDpFunc> CAnalysisProject::SearchDominantPath(CZuRpmResultData* set, const std::string& name,
                                                                   double order, CFeedback* feedback)
{
    return BandDriver<CZuRpmDpFunc>(
        *this, set, name, order, "Searching Dominant Path...", feedback,
        [](CZuRpmResultData& s, const std::string& target) { return s.CreateDominantPathFunc(target); },
        [](CHSEAResultData& r, const std::string& full, int band, CFeedback* f) {
            return r.CreateDominantPathData(full, band, f);
        });
}

std::unique_ptr<CZuRpmPcFunc> CAnalysisProject::CalcPowerContribution(CZuRpmResultData* set, const std::string& name,
                                                                      double order, CFeedback* feedback)
{
    return BandDriver<CZuRpmPcFunc>(
        *this, set, name, order, "Calculating Power Contribution...", feedback,
        [](CZuRpmResultData& s, const std::string& target) { return s.CreatePowerContributionFunc(target); },
        [](CHSEAResultData& r, const std::string& full, int band, CFeedback* f) {
            return r.CreatePowerContribution(full, band, f);
        });
}

std::unique_ptr<CZuOTDpFunc> CAnalysisProject::SearchDominantPathOT(CZuOTResultData* set, const std::string& name,
                                                                    CFeedback* feedback)
{
    if (!set)
        return nullptr;
    return OrderDriver(
        *set, set->CreateDominantPathFunc(TargetName(*this, name)), "Searching Dominant Path...", feedback,
        [&](int i) { return set->GetKey(i); },
        [&](CZuRpmResultData* perSet, double order) { return SearchDominantPath(perSet, name, order, feedback); });
}

std::unique_ptr<CZuOTPcFunc> CAnalysisProject::CalcPowerContributionOT(CZuOTResultData* set, const std::string& name,
                                                                       CFeedback* feedback)
{
    if (!set)
        return nullptr;
    return OrderDriver(
        *set, set->CreatePowerContributionFunc(Completed(*this, TargetName(*this, name))),
        "Calculating Power Contribution...", feedback, [&](int i) { return OrderOfEntry(m_orders, *set, i); },
        [&](CZuRpmResultData* perSet, double order) { return CalcPowerContribution(perSet, name, order, feedback); });
}

void CAnalysisProject::Serialize(CArchive& ar)
{
    if (ar.IsLoading()) {
        const uint32_t stored = ar.GetObjectSchema();
        const uint32_t schema = stored == 0xFFFFFFFFu ? kSchema : stored;
        if (schema < 8) {
            if (CFeedback* feedback = ar.GetFeedback())
                feedback->Error(MessageTextOf(IDS_ANALYSIS_TOO_OLD), IDS_ANALYSIS_TOO_OLD);
            CArchive::ThrowBadSchema(Format("analysis project of schema %u", schema));
        }
        if (schema > kSchemaNarrowedRange)
            CArchive::ThrowBadSchema(Format("analysis project of schema %u", schema));
    }
    CBaseProject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(&m_rpmOptions);
        ar.WriteObject(&m_ieOptions);
        ar << m_projectType;
        m_orders.Serialize(ar);
        ar << m_otSetting << m_daqProjectID;
        ar << static_cast<int32_t>(m_freqIndex.size());
        for (int32_t i : m_freqIndex)
            ar << i;
        if (COctaveManagerEx* bands = GetOctaveManager()) {
            bands->Serialize(ar);
        } else {
            // Without a DAQ project there is no band set to copy; an empty one keeps the layout.
            COctaveManagerEx(OCTAVE_BAND_USER).Serialize(ar);
        }
        return;
    }
    const uint32_t storedSchema = ar.GetObjectSchema();
    if (auto rpm = ar.ReadOwned<CRPMOptions>())
        m_rpmOptions = *rpm;
    if (auto ie = ar.ReadOwned<CCalcIEOptions>())
        m_ieOptions = *ie;
    ar >> m_projectType;
    m_orders.Serialize(ar);
    ar >> m_otSetting >> m_daqProjectID;
    const int32_t count = ar.ReadSignedCount(4, "band indexes in an analysis project");
    m_freqIndex.assign(static_cast<size_t>(count), 0);
    for (auto& i : m_freqIndex)
        ar >> i;
    auto bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_USER);
    bands->Serialize(ar);
    m_bands = std::move(bands);
    m_narrowed = false;
    if (storedSchema == kSchemaNarrowedRange) {
        uint8_t narrowed = 0;
        ar >> narrowed;
        if (narrowed > 1)
            CArchive::ThrowBadSchema("analysis project: narrowed-range marker");
        if (narrowed) {
            m_unnarrowedRpm.Serialize(ar);
            m_narrowedRpm.Serialize(ar);
            m_narrowed = true;
            return;
        }
    }
    DeriveNarrowing();
}

void CAnalysisProject::DeriveNarrowing()
{
    // An input-energy run over a range with a margin of k steps gives energies over the range less
    // k steps at either end, and narrows the project's range to just that. So when the stored
    // energies span exactly the stored range, that range is the narrowed one, and the range the
    // energies were calculated over is it widened again by k steps.
    m_narrowed = false;
    const float margin = m_ieOptions.GetRpmMargin();
    const float step = m_rpmOptions.GetRpmStep();
    if (m_rpmOptions.GetMode() != 0 || !(margin > 0.0f) || !(step > 0.0f))
        return;
    const int k = static_cast<int>(margin / step);
    std::vector<double> rpms;
    const int n = m_rpmOptions.MakeRpmArrayD(rpms);
    CInputEnergyFolder* energies = GetInputEnergyFolder();
    if (k <= 0 || n == 0 || !energies)
        return;
    for (int i = 0; i < energies->GetChildCount(); ++i) {
        auto* energy = DynamicDowncast<CZuRpmFunc>(energies->GetChild(i));
        if (!energy)
            continue;
        if (energy->GetRpmCount() != n || static_cast<float>(energy->GetRpm(0)) != static_cast<float>(rpms.front()) ||
            static_cast<float>(energy->GetRpm(n - 1)) != static_cast<float>(rpms.back()))
            return;
        m_narrowedRpm = m_rpmOptions;
        m_unnarrowedRpm = m_rpmOptions;
        m_unnarrowedRpm.SetRpmMin(static_cast<float>(rpms.front() - k * static_cast<double>(step)));
        m_unnarrowedRpm.SetRpmMax(static_cast<float>(rpms.back() + k * static_cast<double>(step)));
        m_narrowed = true;
        return;
    }
}

void CAnalysisProject::GetModelDataParams(int* kind, double* start, double* end) const
{
    *kind = -1;
    *start = *end = 0.0;
    CTALVOProject* owner = GetOwner();
    if (CModelProject* model = owner ? owner->GetModelProject() : nullptr)
        model->GetModelDataParams(kind, start, end);
}

IDaqProjectAccess* CAnalysisProject::GetDaqProjectAccess() const
{
    return GetDaqProject();
}

// ---------------------------------------------------------------------------------------------
// SPL of a target by single input powers

CSPLsFolder* CAnalysisProject::GetSPLsFolder() const
{
    const std::string name = LoadString(IDS_SPL_FOLDER);
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* folder = DynamicDowncast<CSPLsFolder>(GetChild(i)); folder && folder->GetName() == name)
            return folder;
    return nullptr;
}

std::unique_ptr<CSPLsFolder> CAnalysisProject::CreateSPLsFolder()
{
    return std::make_unique<CSPLsFolder>(LoadString(IDS_SPL_FOLDER), nullptr, ElementType::SplFolder);
}

namespace {
// The SPLs (calc) of the result sets, of one input each: those of the sets with input powers are
// kept, each with the set's input subsystem added to columns. False when an SPL cannot be made.
template <class Set, class Calc, class Func>
bool SplsOfInputs(const std::vector<CZuData*>& results, Calc calc, CZuSubsystemTable& columns,
                  std::vector<std::unique_ptr<Func>>& kept, CFeedback* feedback)
{
    for (CZuData* result : results) {
        auto* set = DynamicDowncast<Set>(result);
        std::unique_ptr<Func> spl(calc(set));
        if (!spl)
            return false;
        CZuSubsystemTable inputs;
        if (set->CollectInputPowerSubsystems(inputs, 1, feedback) > 0) {
            columns.Add(inputs[0]);
            kept.push_back(std::move(spl));
        }
    }
    return true;
}

template <class T, class Owned>
std::vector<T*> Pointers(const std::vector<std::unique_ptr<Owned>>& owned)
{
    std::vector<T*> pointers;
    for (const auto& p : owned)
        pointers.push_back(p.get());
    return pointers;
}
} // namespace

CZuRpmSelFunc* CAnalysisProject::BuildSPLByInputPowers(const std::string& target, const CZuSubsystemTable& table,
                                                       int force, CFeedback* progress)
{
    CSPLsFolder* folder = GetSPLsFolder();
    if (!folder)
        folder = AddChild(CreateSPLsFolder());
    if (!folder)
        return nullptr;
    if (CZuRpmSelFunc* stored = folder->FindSPL(target, table))
        return stored;

    // Each input may need its energy result solved first: the bar moves once per input.
    struct ProgressScope
    {
        CFeedback* p;
        ~ProgressScope() { p->End(); }
    } scope{progress};
    progress->Begin(FormatString(IDS_SPL_BY_INPUT_TITLE, target.c_str()), table.GetCount());
    std::vector<CZuData*> results;
    for (int i = 0; i < table.GetCount(); ++i) {
        progress->SetPos(i);
        CZuSubsystemTable one;
        one.Add(table[i]);
        CZuData* result = FindEnergyResult(one, progress);
        if (!result || force == 1) {
            // A missing input power is named by the energy calculation itself.
            CInputPowerFolder* powers = GetInputPowerFolder();
            const bool hasPower = powers && powers->FindRpmItem(table[i]);
            // The solve shows its own range inside this input's step.
            progress->BeginPart(0);
            result = CalcEnergyResult(one, force, progress);
            progress->EndPart();
            if (!result) {
                if (hasPower)
                    progress->Warning(FormatString(IDS_INPUT_POWER_NOT_CALCULATED, table[i].c_str()),
                                      IDS_INPUT_POWER_NOT_CALCULATED);
                return nullptr;
            }
        }
        results.push_back(result);
    }

    const std::string title = FormatString(IDS_SPL_BY_INPUT_TITLE, target.c_str());
    CZuSubsystemTable columns;
    std::unique_ptr<CZuRpmSelFunc> built;
    if (m_projectType == typeRpm) {
        std::vector<std::unique_ptr<CZuRpmMultiVecFunc>> kept;
        if (!SplsOfInputs<CZuRpmResultData>(
                results, [&](CZuRpmResultData* set) { return CalcSPL(set, target, progress); }, columns, kept,
                progress))
            return nullptr;
        built = CSPLsFolder::BuildRpmTable(target, title, columns, Pointers<const CMElement>(kept));
    } else if (m_projectType == typeOrder) {
        std::vector<std::unique_ptr<CZuOTFunc>> kept;
        if (!SplsOfInputs<CZuOTResultData>(
                results, [&](CZuOTResultData* set) { return CalcSPLOT(set, target, 1, progress); }, columns, kept,
                progress))
            return nullptr;
        built = CSPLsFolder::BuildOrderTable(target, title, columns, Pointers<const CZuOTFunc>(kept),
                                             GetDaqConfigValue(), GetOctaveManager());
    }
    if (!built)
        return nullptr;
    return folder->AddChild(std::move(built));
}

CZuRpmSelFunc* CAnalysisProject::BuildSPLByInputPowers2(const std::string& target, const CZuSubsystemTable& table,
                                                        int force, CFeedback* progress)
{
    return BuildSPLByInputPowers(target, table, force, progress);
}

// ---------------------------------------------------------------------------------------------
// Comparison tables

namespace {
// The first child of the set of one of the two kinds that is a table labelled so.
CMElement* FindTable(const CMElement& set, int kind1, int kind2, const std::string& label)
{
    for (int i = 0; i < set.GetChildCount(); ++i) {
        auto* table = DynamicDowncast<CZuRpmMultiVecFunc>(set.GetChild(i));
        if (table && (table->GetType() == kind1 || table->GetType() == kind2) && table->GetLabel() == label)
            return table;
    }
    return nullptr;
}

CZuRpmMultiVecFunc* PutTable(CMElement& set, std::unique_ptr<CZuRpmMultiVecFunc> table, int kind1, int kind2)
{
    if (!table)
        return nullptr;
    if (CMElement* old = FindTable(set, kind1, kind2, table->GetLabel()))
        set.DeleteChild(old, 1);
    return set.AddChild(std::move(table));
}

// The analysis project that holds a result set; null when none does.
CAnalysisProject* OwningProject(CMElement* element)
{
    for (CMElement* e = element; e; e = e->GetParent())
        if (auto* project = DynamicDowncast<CAnalysisProject>(e))
            return project;
    return nullptr;
}

std::string PlainLabel(const CMElement* func)
{
    std::string label;
    if (const auto* rpm = DynamicDowncast<CZuRpmFunc>(func))
        label = rpm->GetLabel();
    else if (const auto* multi = DynamicDowncast<CZuRpmMultiVecFunc>(func))
        label = multi->GetLabel();
    else if (const auto* ot = DynamicDowncast<CZuOTFunc>(func))
        label = ot->GetLabel();
    CGfxUtil::RemoveWaveSign(label);
    return label;
}
} // namespace

CZuRpmMultiVecFunc* CAnalysisProject::AddRpmResultData(CMElement* func, CFeedback* feedback)
{
    auto* set = func ? DynamicDowncast<CZuRpmResultData>(func->GetParent()) : nullptr;
    if (!set)
        return nullptr;
    CCompExpData comparison;
    comparison.SetResultFunc(func);
    comparison.SetAnalysisProject(this);
    return PutTable(*set, comparison.CreateRpmComparison(feedback), ElementType::VibrationComparison,
                    ElementType::SplComparison);
}

CZuRpmMultiVecFunc* CAnalysisProject::AddOTResultData(CMElement* func)
{
    auto* set = func ? DynamicDowncast<CZuOTResultData>(func->GetParent()) : nullptr;
    if (!set)
        return nullptr;
    CCompExpData comparison;
    comparison.SetResultFunc(func);
    comparison.SetAnalysisProject(this);
    return PutTable(*set, comparison.CreateOrderComparison(), ElementType::VibrationComparison,
                    ElementType::SplComparison);
}

CZuRpmMultiVecFunc* CAnalysisProject::AddResultTable(CMElement* func, CZuRpmResultData* second)
{
    auto* first = func ? DynamicDowncast<CZuRpmResultData>(func->GetParent()) : nullptr;
    CAnalysisProject* secondProject = OwningProject(second);
    // The second calculation replaces the selected function when both come from one set.
    if (!first || !secondProject || second == first)
        return nullptr;
    const std::string label = PlainLabel(func);
    CMElement* other = nullptr;
    if (func->GetType() == ElementType::Spl)
        other = AddResult(second, secondProject->CalcSPL(second, label));
    else if (func->GetType() == ElementType::VibrationLevel)
        other = AddResult(second, secondProject->CalcVibrationLevel(second, label));
    if (!other)
        return nullptr;
    const CResultCompTable::Columns columns{CResultCompTable::ColumnName(second->GetName(), secondProject->GetName()),
                                            CResultCompTable::ColumnName(first->GetName(), GetName())};
    return PutTable(*first, CResultCompTable::BuildRpm(func, other, columns), ElementType::VibrationResultComparison,
                    ElementType::SplResultComparison);
}

CZuRpmMultiVecFunc* CAnalysisProject::AddResultTableOT(CMElement* func, CZuOTResultData* second)
{
    auto* first = func ? DynamicDowncast<CZuOTResultData>(func->GetParent()) : nullptr;
    auto* selected = DynamicDowncast<CZuOTFunc>(func);
    CAnalysisProject* secondProject = OwningProject(second);
    if (!first || !selected || !secondProject || second == first)
        return nullptr;
    const std::string label = PlainLabel(func);
    CZuOTFunc* other = nullptr;
    if (func->GetType() == ElementType::Spl)
        other = AddResult(second, secondProject->CalcSPLOT(second, label, 1));
    else if (func->GetType() == ElementType::VibrationLevel)
        other = AddResult(second, secondProject->CalcVibrationLevelOT(second, label));
    if (!other)
        return nullptr;
    const CResultCompTable::Columns columns{CResultCompTable::ColumnName(second->GetName(), secondProject->GetName()),
                                            CResultCompTable::ColumnName(first->GetName(), GetName())};
    return PutTable(*first,
                    CResultCompTable::BuildOrder(selected, other, columns, GetDaqConfigValue(), GetOctaveManager()),
                    ElementType::VibrationResultComparison, ElementType::SplResultComparison);
}

bool CAnalysisProject::CanCompareWithMeasured(const CMElement* selected) const
{
    return GetDaqProject() && selected &&
           (selected->GetType() == ElementType::Spl || selected->GetType() == ElementType::VibrationLevel);
}

CZuRpmMultiVecFunc* CAnalysisProject::CompareWithMeasured(CMElement* selected, CFeedback* feedback)
{
    if (!CanCompareWithMeasured(selected))
        return nullptr;
    if (m_projectType == typeRpm)
        return AddRpmResultData(selected, feedback);
    if (m_projectType == typeOrder)
        return AddOTResultData(selected);
    return nullptr;
}

CZuRpmMultiVecFunc* CAnalysisProject::CompareWithResult(CMElement* selected, CZuData* second)
{
    if (m_projectType == typeRpm)
        return AddResultTable(selected, DynamicDowncast<CZuRpmResultData>(second));
    if (m_projectType == typeOrder)
        return AddResultTableOT(selected, DynamicDowncast<CZuOTResultData>(second));
    return nullptr;
}
