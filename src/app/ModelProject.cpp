#include "app/ModelProject.h"

#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuFuncElement.h"
#include "platform/win/PromptService.h"

IMPLEMENT_SERIAL(CModelProject, CBaseProject, 0)

namespace {
constexpr uint32_t IDS_NO_MODEL = 6014;
constexpr uint32_t IDS_NO_SEA_DATA = 7100;

struct KindName
{
    int kind;
    const char* name;
};
constexpr KindName kKindNames[] = {
    {MODEL_TYPE_ASEA, "Analytical SEA Model"},
    {MODEL_TYPE_HSEA, "Hybrid SEA Model"},
    {MODEL_TYPE_CLF_TOTAL_DLF, "CLFs/Total DLFs Data"},
    {MODEL_TYPE_CLF, "CLFs Data"},
    {MODEL_TYPE_TOTAL_DLF, "Total DLFs Data"},
    {MODEL_TYPE_INTRINSIC_DLF, "Intrinsic DLFs Data"},
    {MODEL_TYPE_INPUT_POWER, "Input Power Data"},
    {MODEL_TYPE_EXP_TARGET_ERS, "Exp. Target ERs"},
    {MODEL_TYPE_MODEL_TARGET_ERS, "Model Target ERs"},
    {MODEL_TYPE_TRANSMISSION_CLFS, "Model Transmission CLFs"},
};
} // namespace

CModelProject::CModelProject() = default;
CModelProject::CModelProject(const std::string& name) : CBaseProject(name) {}
CModelProject::~CModelProject() = default;

int CModelProject::GetModelDataKind(const std::string& name)
{
    for (const auto& k : kKindNames)
        if (name == k.name)
            return k.kind;
    return 0;
}

std::string CModelProject::GetModelDataKindName(int kind)
{
    for (const auto& k : kKindNames)
        if (k.kind == kind)
            return k.name;
    return {};
}

CZuData* CModelProject::GetModelShell(int warn) const
{
    auto* shell = DynamicDowncast<CZuData>(FindOne(MODEL_TYPE_ASEA, 1));
    if (!shell && warn)
        AfxMessageBox(IDS_NO_MODEL);
    return shell;
}

CASEAModelData* CModelProject::GetASEAModelData() const
{
    return nullptr; // TODO(projects): the model element's class comes with the model library
}

int CModelProject::IsSymmetricModel() const
{
    return 0;
}

CHSEAModelData* CModelProject::ApplyModelUpdate(const std::string&, const CZuSubsystemTable&)
{
    return nullptr;
}

CModelData* CModelProject::GetModelData(int warn) const
{
    if (!GetModelShell(warn))
        return nullptr;
    return nullptr;
}

CModelSubsystem* CModelProject::GetSubsystem(const std::string&, int warn, int) const
{
    if (!GetModelData(warn))
        return nullptr;
    return nullptr;
}

CModelSubsystemSet* CModelProject::GetSubsystemSet() const
{
    return nullptr;
}

int CModelProject::GetSubsystemType(std::string& name, int addSuffix)
{
    (void)name;
    (void)addSuffix;
    return -1;
}

int CModelProject::IsStructure(const std::string& name) const
{
    std::string n = name;
    const int type = const_cast<CModelProject*>(this)->GetSubsystemType(n, 0);
    return type >= 0 && type < 5 ? 1 : 0;
}

int CModelProject::IsAcoustic(const std::string& name) const
{
    std::string n = name;
    return const_cast<CModelProject*>(this)->GetSubsystemType(n, 0) >= 5 ? 1 : 0;
}

std::string CModelProject::GetSubsystemDisplayName(const std::string& name) const
{
    const int i = m_subsystems.GetIndex(name);
    if (i >= 0 && i < m_displayNames.GetCount())
        return m_displayNames.At(i);
    return name;
}

CHSEAModelData* CModelProject::GetHSEAModelData() const
{
    return nullptr;
}

CSEAModelData* CModelProject::FindSEAModelData(int serial, int warn) const
{
    if (warn)
        AfxFormatMessageBox(IDS_NO_SEA_DATA, MB_OK, serial);
    return nullptr;
}

void CModelProject::GetModelDataParams(int* a, double* b, double* c) const
{
    if (a)
        *a = -1;
    if (b)
        *b = 0.0;
    if (c)
        *c = 0.0;
}

int CModelProject::IsSubsystemConnected(const std::string& a, const std::string& b)
{
    CZuData* shell = GetModelShell(0);
    return shell ? shell->IsConnected(a, b) : 0;
}

int CModelProject::IsInputSubsystem(const std::string& name)
{
    return GetOwner() ? GetOwner()->IsInputSubsystem(name) : 0;
}

CZuFuncElement* CModelProject::FindRatioIn(int, const std::string&, const std::string&) const
{
    return nullptr;
}

CZuFuncElement* CModelProject::FindEnergyRatioFunc(const std::string& a, const std::string& b) const
{
    return FindRatioIn(MODEL_TYPE_MODEL_TARGET_ERS, a, b);
}

CZuFuncElement* CModelProject::FindExpEnergyRatioFunc(const std::string& a, const std::string& b) const
{
    return FindRatioIn(MODEL_TYPE_EXP_TARGET_ERS, a, b);
}

CZuFuncElement* CModelProject::FindClf(const std::string&, const std::string&) const
{
    return nullptr;
}

CASEAModelData* CModelProject::ShowModelInformation(CASEAModelData*)
{
    return nullptr;
}

CASEAModelData* CModelProject::CreateASEAModelData(int)
{
    return nullptr;
}

CASEAModelData* CModelProject::CreateASEAModelDataFromFile(const std::string&)
{
    return nullptr;
}

void CModelProject::UpdateSubsystemTables() {}

void CModelProject::ReadTargetEnergyRatios(const std::string&) {}

void CModelProject::ReadTransmissionClfs(const std::string&) {}

void CModelProject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        CBaseProject::Serialize(ar);
        ar << static_cast<int32_t>(CZuData::GetCreationCount());
        CZuSubsystemTable().Serialize(ar);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("model project of version %d", version));
    CBaseProject::Serialize(ar);
    if (version == 0)
        SetID(0);
    int32_t count = 0;
    ar >> count;
    CZuData::SetCreationCount(static_cast<uint32_t>(count));
    UpdateSubsystemTables();
    if (version == 2 || version >= 5) {
        CZuSubsystemTable discarded;
        discarded.Serialize(ar);
    }
}
