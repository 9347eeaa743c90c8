#include "uff/ExtUFDaqProject.h"

#include "app/DAQExperiment.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "models/HSEARegOptions.h"
#include "platform/base/Format.h"
#include "platform/gfx/OctaveManager.h"
#include "uff/UFExpInfo.h"

IMPLEMENT_SERIAL(CExtUFDaqProject, CDaqProject, 0)

CExtUFDaqProject::CExtUFDaqProject()
{
    Init();
}

CExtUFDaqProject::CExtUFDaqProject(const std::string& name) : CDaqProject(name)
{
    Init();
}

CExtUFDaqProject::~CExtUFDaqProject() = default;

void CExtUFDaqProject::Init()
{
    m_ufData = 1;
    m_revSens = static_cast<int32_t>(CHSEARegOptions::GetReverseSensitivity());
}

void CExtUFDaqProject::SetRevSensMode(int mode, int saveAsDefault)
{
    m_revSens = mode;
    if (saveAsDefault)
        CHSEARegOptions::SaveReverseSensitivity(static_cast<uint32_t>(mode));
}

void CExtUFDaqProject::Serialize(CArchive& ar)
{
    CDaqProject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << m_value1 << m_value2 << m_bandValue << m_listSelection;
        ar << m_planMaxChannel << m_revSens;
        ar << m_octaveCheck;
        ar.WriteCount(static_cast<uint32_t>(m_sourceFiles.size()));
        for (const auto& f : m_sourceFiles)
            ar << f;
        m_nodeMap.Serialize(ar);
        m_plans.Serialize(ar);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("universal-file DAQ project of version %d", version));
    ar >> m_value1 >> m_value2 >> m_bandValue >> m_listSelection;
    if (version >= 2)
        ar >> m_planMaxChannel >> m_revSens;
    if (version >= 3)
        ar >> m_octaveCheck;
    const uint32_t files = ar.ReadCount(1);
    m_sourceFiles.assign(files, std::string());
    for (auto& f : m_sourceFiles)
        ar >> f;
    m_nodeMap.Serialize(ar);
    if (version >= 2)
        m_plans.Serialize(ar);
}

std::string CExtUFDaqProject::GetUFFileName(const CDAQExperiment& set)
{
    const CExpInfo* info = set.GetExpInfo();
    return info ? CUFExpInfo::UFFileNameOf(info->GetLabel()) : std::string();
}

CDAQExperiment* CExtUFDaqProject::AddUFExperiment(const CUFExpInfo& info)
{
    const std::string name0 = info.GetName(0);
    const std::string name1 = info.GetName(1);
    CTALVOExp* exp = FindExp(name0, name1);
    if (!exp) {
        exp = AddChild(CreateExp(name0, name1));
        if (!exp)
            return nullptr;
    }
    if (FindUFExperiment(exp, info.GetUFFileName()))
        return nullptr;
    CDAQExperiment* set = exp->AddChild(exp->CreateDAQExperiment(info));
    return set;
}

CDAQExperiment* CExtUFDaqProject::FindUFExperiment(const CTALVOExp* exp, const std::string& fileName) const
{
    if (!exp)
        return nullptr;
    for (int i = 0; i < exp->GetChildCount(); ++i)
        if (auto* set = ElementCast<CDAQExperiment>(exp->GetChild(i)); set && GetUFFileName(*set) == fileName)
            return set;
    return nullptr;
}

void CExtUFDaqProject::RemoveExperimentsOfMissingFiles(CTALVOExp* exp, int index, const std::vector<std::string>& files)
{
    auto* set = exp ? ElementCast<CDAQExperiment>(exp->GetChild(index)) : nullptr;
    if (!set)
        return;
    const std::string name = GetUFFileName(*set);
    for (const auto& file : files) {
        const size_t slash = file.find_last_of("/\\");
        if ((slash == std::string::npos ? file : file.substr(slash + 1)) == name)
            return;
    }
    exp->DeleteChild(set, 1);
}

void CExtUFDaqProject::RemoveAllChildren()
{
    for (int i = GetChildCount() - 1; i >= 0; --i) {
        CMElement* child = GetChild(i);
        DeleteChild(child, 1);
    }
}

std::unique_ptr<COctaveManagerEx> CExtUFDaqProject::BuildLineBands(double start, double step, int count) const
{
    auto bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_USER);
    const COctaveManagerEx* model = GetModelOctaveManager();
    const bool limited = model && model->GetFreqCount() > 0;
    const double low = limited ? model->GetLowerFreq(0) : 0.0;
    const double high = limited ? model->GetUpperFreq(model->GetFreqCount() - 1) : 0.0;
    for (int i = 0; i < count; ++i) {
        const double f = start + i * step;
        const double lower = f - step / 2.0;
        if (limited && f > high && step >= 0.0)
            break; // the lines only rise from here
        if (lower <= 0.0 || (limited && (f < low || f > high)))
            continue;
        bands->AddFreqInfo(f, lower, f + step / 2.0, OCTAVE_BAND_USER);
    }
    return bands;
}

COctaveManagerEx* CExtUFDaqProject::MakeLineBands(double start, double step, int count)
{
    std::unique_ptr<COctaveManagerEx> bands = BuildLineBands(start, step, count);
    COctaveManagerEx* made = bands.get();
    SetOctaveManager(std::move(bands));
    return made;
}

std::unique_ptr<COctaveManagerEx> CExtUFDaqProject::BuildOrderBands(double order, const std::vector<double>& rpms) const
{
    auto bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_USER);
    const double half = GetCalcOptions()->GetOrderBandWidth() / 2.0;
    for (double rpm : rpms) {
        const double f = rpm * order / 60.0;
        if (f - half > 0.0)
            bands->AddFreqInfo(f, f - half, f + half, OCTAVE_BAND_USER);
    }
    return bands;
}

COctaveManagerEx* CExtUFDaqProject::MakeOrderBands(double order, const std::vector<double>& rpms)
{
    std::unique_ptr<COctaveManagerEx> bands = BuildOrderBands(order, rpms);
    COctaveManagerEx* made = bands.get();
    SetOctaveManager(std::move(bands));
    return made;
}

COctaveManagerEx* CExtUFDaqProject::ResetBands()
{
    SetOctaveManager(nullptr);
    return GetOctaveManager();
}

DAQPPCellContext CExtUFDaqProject::MakeCellContext() const
{
    DAQPPCellContext context;
    CTALVOProject* owner = GetOwner();
    context.assignment = owner ? owner->GetSensorAssignment() : nullptr;
    context.globalNode = [this](const std::string& subsystem, int lp) {
        CUFNode node(subsystem, lp);
        return m_nodeMap.FindNode(node) ? node.m_nNode : 0;
    };
    context.isStructure = [this](const std::string& subsystem) { return IsStructure(subsystem); };
    context.revSens = m_revSens;
    context.project = owner;
    return context;
}
