#include "app/ModelProject.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/TALVOProject.h"
#include "models/ASEAModelData.h"
#include "models/EnergyRatioFunction.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "models/SEAModelData.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/base/TabSplitter.h"
#include "platform/base/NameIndex.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuFuncElement.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "platform/modeldb/ModelSubsystemSet.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CModelProject, CBaseProject, 0)

namespace {

struct KindName
{
    int kind;
    const char* name;
};
constexpr KindName kKindNames[] = {
    {ElementType::AseaModel, "Analytical SEA Model"},       {ElementType::HseaModel, "Hybrid SEA Model"},
    {ElementType::ClfTotalDlfData, "CLFs/Total DLFs Data"}, {ElementType::ClfData, "CLFs Data"},
    {ElementType::TotalDlfData, "Total DLFs Data"},         {ElementType::IntrinsicDlfData, "Intrinsic DLFs Data"},
    {ElementType::InputPowerData, "Input Power Data"},      {ElementType::ExpTargetErs, "Exp. Target ERs"},
    {ElementType::ModelTargetErs, "Model Target ERs"},      {ElementType::TransmissionClfs, "Model Transmission CLFs"},
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

CZuData* CModelProject::GetModelShell(int warn, CFeedback* feedback) const
{
    auto* shell = DynamicDowncast<CZuData>(FindOne(ElementType::AseaModel, 1));
    if (!shell && warn)
        feedback->Warning(MessageTextOf(IDS_NO_MODEL), IDS_NO_MODEL);
    return shell;
}

CASEAModelData* CModelProject::GetASEAModelData() const
{
    return DynamicDowncast<CASEAModelData>(GetModelShell(0));
}

int CModelProject::IsSymmetricModel() const
{
    CASEAModelData* model = GetASEAModelData();
    return model ? model->IsSymmetricModel() : 0;
}

int CModelProject::ApplyModelUpdate(const std::string& target, const CZuSubsystemTable& sources, CFeedback* feedback)
{
    CHSEAModelData* model = GetHSEAModelData();
    return model ? model->ApplyModelUpdate(target, sources, feedback) : 0;
}

CModelData* CModelProject::GetModelData(int warn, CFeedback* feedback) const
{
    CASEAModelData* model = DynamicDowncast<CASEAModelData>(GetModelShell(warn, feedback));
    return model ? model->GetModelData(0) : nullptr;
}

CModelSubsystem* CModelProject::GetSubsystem(const std::string& name, int warn, int exact) const
{
    CModelData* model = GetModelData(warn);
    return model ? model->GetSubsystem(name, warn, exact) : nullptr;
}

CModelSubsystemSet* CModelProject::GetSubsystemSet() const
{
    CModelData* model = GetModelData(0);
    return model ? model->GetSubsystemSet(1) : nullptr;
}

int CModelProject::GetSubsystemType(std::string& name, int addSuffix)
{
    CModelSubsystem* subsystem = GetSubsystem(name, 0, 1);
    if (!subsystem)
        return -1;
    const int type = subsystem->GetType();
    if (addSuffix)
        name += type < CModelSubsystem::TYPE_FIRST_ACOUSTIC ? "-F" : "-";
    return type;
}

int CModelProject::IsStructure(const std::string& name) const
{
    std::string n = name;
    const int type = const_cast<CModelProject*>(this)->GetSubsystemType(n, 0);
    return type >= 0 && type < CModelSubsystem::TYPE_FIRST_ACOUSTIC ? 1 : 0;
}

int CModelProject::IsAcoustic(const std::string& name) const
{
    std::string n = name;
    return const_cast<CModelProject*>(this)->GetSubsystemType(n, 0) >= CModelSubsystem::TYPE_FIRST_ACOUSTIC ? 1 : 0;
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
    return DynamicDowncast<CHSEAModelData>(FindOne(ElementType::HseaModel, 1));
}

CSEAModelData* CModelProject::FindSEAModelData(int serial, int warn, CFeedback* feedback) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* data = DynamicDowncast<CSEAModelData>(GetChild(i)))
            if (serial >= 0 && data->GetSerialNumber() == static_cast<uint32_t>(serial))
                return data;
    if (warn)
        feedback->Warning(FormatString(IDS_NO_SEA_MODEL_DATA, serial), IDS_NO_SEA_MODEL_DATA);
    return nullptr;
}

void CModelProject::GetModelDataParams(int* a, double* b, double* c) const
{
    if (CModelData* model = GetModelData(0)) {
        int type = -1;
        double start = 0.0, end = 0.0;
        model->GetModelDataParams(&type, &start, &end);
        if (a)
            *a = type;
        if (b)
            *b = start;
        if (c)
            *c = end;
        return;
    }
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

CZuFuncElement* CModelProject::FindRatioIn(int type, const std::string& a, const std::string& b) const
{
    auto* data = DynamicDowncast<CHSEAGeneralData>(FindOne(type, -1));
    if (!data)
        return nullptr;
    if (CZuFuncElement* f = data->FindEnergyRatioFunc(a, b))
        return f;
    // Symmetric models keep the ratios of one side only: the pair of the other side stands for it.
    std::string ma = a, mb = b;
    const int mirroredA = CGfxUtil::GetSymmetricSubsystem(a, &ma);
    const int mirroredB = CGfxUtil::GetSymmetricSubsystem(b, &mb);
    if (!mirroredA && !mirroredB)
        return nullptr;
    return data->FindEnergyRatioFunc(ma, mb);
}

CZuFuncElement* CModelProject::FindEnergyRatioFunc(const std::string& a, const std::string& b) const
{
    return FindRatioIn(ElementType::ModelTargetErs, a, b);
}

CZuFuncElement* CModelProject::FindExpEnergyRatioFunc(const std::string& a, const std::string& b) const
{
    return FindRatioIn(ElementType::ExpTargetErs, a, b);
}

CZuFuncElement* CModelProject::FindClf(const std::string& a, const std::string& b) const
{
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* data = DynamicDowncast<CHSEAGeneralData>(GetChild(i));
        if (!data || data->GetKind() != CHSEAGeneralData::KIND_CLF)
            continue;
        std::string first = a, second = b;
        if (CZuFuncElement* f = data->GetClf(first, second, 0))
            return f;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// the model element

std::string CModelProject::ModelFileOfKind(int kind, const std::string& besideFile)
{
    const char* ext = kind == CModelData::FILE_KIND_XML    ? ".xml"
                      : kind == CModelData::FILE_KIND_TEXT ? ".ntf"
                                                           : nullptr;
    if (!ext || besideFile.empty())
        return {};
    const size_t slash = besideFile.find_last_of('/');
    const size_t dot = besideFile.find_last_of('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExt ? besideFile.substr(0, dot) : besideFile) + ext;
}

int CModelProject::ModelKindOfFile(const std::string& modelFile)
{
    std::string lower = modelFile;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".xml") == 0 ? CModelData::FILE_KIND_XML
                                                                                : CModelData::FILE_KIND_TEXT;
}

namespace {
CModelProject::ModelFileAsker& ModelFileAskerSlot()
{
    static CModelProject::ModelFileAsker asker;
    return asker;
}
} // namespace

void CModelProject::SetModelFileAsker(ModelFileAsker asker)
{
    ModelFileAskerSlot() = std::move(asker);
}

CASEAModelData* CModelProject::ShowModelInformation(CASEAModelData* existing, CFeedback* feedback)
{
    std::string start;
    if (existing)
        if (CModelData* model = existing->GetModelData(0))
            start = model->GetFileName();
    if (start.empty())
        start = m_modelFile;
    std::string path;
    const ModelFileAsker& asker = ModelFileAskerSlot();
    if (!asker || !asker(existing, start, path) || path.empty())
        return nullptr;
    m_modelFile = path;
    return CreateASEAModelData(ModelKindOfFile(path), feedback);
}

CASEAModelData* CModelProject::CreateASEAModelData(int kind, CFeedback* feedback)
{
    if ((kind != CModelData::FILE_KIND_TEXT && kind != CModelData::FILE_KIND_XML) || m_modelFile.empty())
        return nullptr;
    if (ModelKindOfFile(m_modelFile) != kind)
        return nullptr;
    auto model = std::make_unique<CASEAModelData>(this);
    if (!model->BuildFromModel(m_modelFile, feedback))
        return nullptr;
    CASEAModelData* added = AddChild(std::move(model));
    if (added)
        UpdateSubsystemTables(feedback);
    return added;
}

CZuData* CModelProject::ReplaceModel(std::unique_ptr<CZuData> data, CFeedback* feedback)
{
    if (!data)
        return nullptr;
    if (CZuData* old = GetModelShell(0)) {
        DeleteChild(old);
    }
    data->SetParent(this);
    CZuData* added = AddChild(std::move(data));
    if (!added)
        return nullptr;
    UpdateSubsystemTables(feedback);
    return added;
}

CHSEAModelData* CModelProject::ReplaceHSEAModel(std::unique_ptr<CHSEAModelData> model)
{
    if (!model)
        return nullptr;
    CHSEAModelData* old = GetHSEAModelData();
    model->SetParent(this);
    CHSEAModelData* added = AddChild(std::move(model));
    if (!added)
        return nullptr;
    GiveSubsystemTable(added);
    if (old) {
        DeleteChild(old);
    }
    return added;
}

void CModelProject::GiveSubsystemTable(CZuData* data, CFeedback* feedback)
{
    if (!data)
        return;
    if (!DynamicDowncast<CSEAModelData>(data)) {
        data->CreateConnectionInfo(&m_subsystems);
        data->UpdateConnectionInfo(feedback);
        return;
    }
    // An SEA model leaves some subsystems of the 3D model out (acoustic spaces); it derives its
    // couplings over the subsystems its matrix holds, the others are uncoupled.
    CZuSubsystemTable held;
    for (int i = 0; i < m_subsystems.GetCount(); ++i) {
        std::string key = m_subsystems[i];
        GetSubsystemType(key, 1);
        if (data->GetSubsystemTable()->GetIndex(key) >= 0)
            held.Add(m_subsystems[i]);
    }
    data->CreateConnectionInfo(&held);
    data->UpdateConnectionInfo(feedback);
}

void CModelProject::UpdateSubsystemTables(CFeedback* feedback)
{
    CZuData* shell = GetModelShell(0);
    if (!shell)
        return;
    m_subsystems.Clear();
    if (CModelSubsystemSet* set = GetSubsystemSet())
        set->GetAllSubsystemsList(m_subsystems);
    // The model element first: the other data ask it which subsystems are coupled.
    GiveSubsystemTable(shell, feedback);
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* data = DynamicDowncast<CZuData>(GetChild(i));
        if (data && data != shell)
            GiveSubsystemTable(data, feedback);
    }
}

// ---------------------------------------------------------------------------------------------
// the optional sections of a model data text file

namespace {

// The tab-separated fields of a section row, each at most 255 characters as the rows were always
// read; views into line, kept in fields (reused from row to row).
void SplitRow(std::string_view line, std::vector<std::string_view>& fields)
{
    CTabSplitter().CutFieldsAt(255).Split(line, fields);
}

// A decimal number as the rows hold them; text that is no number counts 0.
double RowValue(std::string_view text)
{
    char buffer[256]; // a field holds at most 255 characters
    const size_t n = std::min(text.size(), sizeof buffer - 1);
    text.copy(buffer, n);
    buffer[n] = '\0';
    char* end = nullptr;
    const double v = std::strtod(buffer, &end);
    return end == buffer || !std::isfinite(v) ? 0.0 : v;
}

// The energy-ratio functions of one set by their name and the set's subsystems, so that a file of
// many rows reads in time linear in its size (the set's own look-ups search its children).
class CRatioRows
{
public:
    // rowsHint: about how many rows the file may hold, so that the look-ups are sized once rather
    // than regrown as a large file is read.
    CRatioRows(CHSEAGeneralData& data, size_t rowsHint)
        : m_data(data), m_functions(FunctionNameAt{&m_list}, rowsHint),
          m_names(SubsystemAt{data.GetSubsystemTable()}, rowsHint)
    {
        m_list.reserve(rowsHint);
        const CZuSubsystemTable* table = data.GetSubsystemTable();
        for (int i = 0; i < table->GetCount(); ++i)
            m_names.Insert(table->At(i), static_cast<size_t>(i));
        for (int i = 0; i < data.GetChildCount(); ++i)
            if (auto* f = DynamicDowncast<CEnergyRatioFunction>(data.GetChild(i)))
                if (m_functions.Insert(f->GetName(), m_list.size()).second)
                    m_list.push_back(f);
    }
    CRatioRows(const CRatioRows&) = delete;
    CRatioRows& operator=(const CRatioRows&) = delete;

    // Adds the energy-ratio function of the pair (or takes the one there is) and fills it from
    // the values; a pair of one subsystem with itself is skipped.
    void Add(std::string_view source, std::string_view target, const std::vector<std::string_view>& fields,
             size_t firstValue)
    {
        std::string a(source), b(target);
        CGfxUtil::RemoveWaveSign(a);
        CGfxUtil::RemoveWaveSign(b);
        if (a == b)
            return;
        const int bands = m_data.GetFreqCount();
        const std::string name = CHSEAGeneralData::EnergyRatioName(a, b);
        CEnergyRatioFunction* f = nullptr;
        if (const size_t at = m_functions.Find(name); at != m_functions.npos) {
            f = m_list[at];
        } else if ((f = m_data.AddChild(std::make_unique<CEnergyRatioFunction>(name, a, b, bands, &m_data,
                                                                               ElementType::EnergyRatio)))) {
            m_functions.Insert(name, m_list.size());
            m_list.push_back(f);
        }
        CZuSubsystemTable* table = m_data.GetSubsystemTable();
        for (const std::string* s : {&a, &b})
            if (m_names.Find(*s) == m_names.npos)
                m_names.Insert(*s, static_cast<size_t>(table->Add(*s)));
        m_data.SetKind(CHSEAGeneralData::KIND_ENERGY_RATIO);
        if (!f)
            return;
        const int count = std::min(bands, f->GetDataCount());
        for (int i = 0; i < count; ++i) {
            const size_t k = firstValue + static_cast<size_t>(i);
            f->DataIndex(i) = m_data.GetFreq(i);
            f->DataValue(i) = k < fields.size() ? RowValue(fields[k]) : 0.0;
        }
    }

private:
    struct FunctionNameAt
    {
        const std::vector<CEnergyRatioFunction*>* list;
        std::string_view operator()(size_t i) const { return (*list)[i]->GetName(); }
    };
    struct SubsystemAt
    {
        const CZuSubsystemTable* table;
        std::string_view operator()(size_t i) const { return table->At(static_cast<int>(i)); }
    };

    CHSEAGeneralData& m_data;
    std::vector<CEnergyRatioFunction*> m_list; // the functions the index holds, by position
    CNameIndex<FunctionNameAt> m_functions;
    CNameIndex<SubsystemAt> m_names;
};

} // namespace

std::unique_ptr<CHSEAGeneralData> CModelProject::NewGeneralData(const std::string& name, int type, int kind) const
{
    CZuData* shell = GetModelShell(0);
    const COctaveManagerEx* bands = shell ? shell->GetOctaveManager() : nullptr;
    const int count = bands ? bands->GetFreqCount() : 0;
    const double start = count > 0 ? bands->GetFreq(0) : 0.0;
    const double end = count > 0 ? bands->GetFreq(count - 1) : 0.0;
    auto data = std::make_unique<CHSEAGeneralData>(name, const_cast<CModelProject*>(this), type,
                                                   bands ? bands->GetBandType() : -1, start, end);
    data->SetName(name);
    data->SetKind(kind);
    if (bands)
        data->SetOctaveManager(std::make_unique<COctaveManagerEx>(*bands));
    return data;
}

void CModelProject::ReadTargetEnergyRatios(const std::string& path)
{
    ReadTargetEnergyRatios(CStdioFile::ReadAll(path), path);
}

void CModelProject::ReadTargetEnergyRatios(std::shared_ptr<const std::string> text, const std::string& path,
                                           CFeedback* feedback)
{
    CHSEAGeneralData* oldExp = DynamicDowncast<CHSEAGeneralData>(FindOne(ElementType::ExpTargetErs, -1));
    CHSEAGeneralData* oldModel = DynamicDowncast<CHSEAGeneralData>(FindOne(ElementType::ModelTargetErs, -1));

    std::unique_ptr<CHSEAGeneralData> modelERs, expERs;
    // A row holds two names and a value at least (about 8 bytes); bounded so that a huge file of
    // other sections does not reserve more than a few MB up front.
    const size_t rowsHint = text ? std::min<size_t>(text->size() / 8, size_t(1) << 18) : 0;
    if (GetModelShell(0) && text) {
        CStdioFile file;
        file.OpenShared(std::move(text), path);
        try {
            std::string line;
            bool found = false;
            while (!found && file.ReadString(line))
                found = line == "#Target ERs";
            if (found) {
                modelERs = NewGeneralData(GetModelDataKindName(ElementType::ModelTargetErs),
                                          ElementType::ModelTargetErs, CHSEAGeneralData::KIND_ENERGY_RATIO);
                file.ReadString(line); // the heading
                CRatioRows modelRows(*modelERs, rowsHint);
                std::vector<std::string_view> fields;
                while (file.ReadString(line) && !line.empty()) {
                    SplitRow(line, fields);
                    if (fields.size() >= 2)
                        modelRows.Add(fields[0], fields[1], fields, 2);
                }
                expERs = NewGeneralData(GetModelDataKindName(ElementType::ExpTargetErs), ElementType::ExpTargetErs,
                                        CHSEAGeneralData::KIND_ENERGY_RATIO);
                CRatioRows expRows(*expERs, rowsHint);
                while (file.ReadString(line) && (line.empty() || line[0] != '#')) {
                    const size_t open = line.find('[');
                    const size_t close = line.rfind(']');
                    if (open == std::string::npos || close == std::string::npos || close < open)
                        continue;
                    std::string key;
                    for (char c : line.substr(open + 1, close - open - 1))
                        if (c != '[' && c != ']')
                            key += c;
                    while (file.ReadString(line) && !line.empty()) {
                        SplitRow(line, fields);
                        expRows.Add(key, fields[0], fields, 1);
                    }
                }
            }
        } catch (const CFileException&) {
            // A file that cannot be read on has no (further) ratios; what was read stands.
        }
    }
    if (modelERs && expERs) {
        // Like every data of the project they take the subsystem table now, as a project read
        // back from its file gives it them: otherwise the reopened project differs from the saved.
        for (auto* ratios : {&modelERs, &expERs})
            if (CHSEAGeneralData* added = AddChild(std::move(*ratios))) {
                GiveSubsystemTable(added, feedback);
            }
    }
    for (CHSEAGeneralData* old : {oldExp, oldModel}) {
        if (!old)
            continue;
        if (CMElement* parent = old->GetParent())
            parent->DeleteChild(old);
    }
}

void CModelProject::ReadTransmissionClfs(const std::string& path)
{
    ReadTransmissionClfs(CStdioFile::ReadAll(path), path);
}

void CModelProject::ReadTransmissionClfs(std::shared_ptr<const std::string> text, const std::string& path,
                                         CFeedback* feedback)
{
    CMElementList old;
    CMElement::Find(ElementType::TransmissionClfs, old, 1);
    for (CMElement* element : old) {
        DeleteChild(element);
    }
    if (!GetModelShell(0) || !text)
        return;
    CStdioFile file;
    file.OpenShared(std::move(text), path);
    try {
        std::string line;
        while (file.ReadString(line)) {
            if (line != "#Transmission CLFs")
                continue;
            std::unique_ptr<CHSEAGeneralData> clfs =
                NewGeneralData(GetModelDataKindName(ElementType::TransmissionClfs), ElementType::TransmissionClfs,
                               CHSEAGeneralData::KIND_CLF);
            // A section that does not read is left out rather than added half-filled.
            if (!clfs->Import(file))
                continue;
            clfs->SetName(GetModelDataKindName(ElementType::TransmissionClfs));
            clfs->SetType(ElementType::TransmissionClfs);
            clfs->SetKind(CHSEAGeneralData::KIND_CLF);
            CHSEAGeneralData* added = AddChild(std::move(clfs));
            GiveSubsystemTable(added, feedback);
        }
    } catch (const CFileException&) {
        // The sections read so far stay.
    }
}

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
    // A subsystem the model lacks is told where the reader of the file hears of what it reads.
    UpdateSubsystemTables(ar.GetFeedback() ? ar.GetFeedback() : SilentFeedback());
    if (version == 2 || version >= 5) {
        CZuSubsystemTable discarded;
        discarded.Serialize(ar);
    }
}
