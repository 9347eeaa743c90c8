#include "models/ASEAModelData.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "models/HSEAAnalyticalDataFiles.h"
#include "models/ModelStrings.h"
#include "models/TextFields.h"
#include "platform/archive/Archive.h"
#include "platform/base/MemoryBudget.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelShell.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"

IMPLEMENT_SERIAL(CASEAModelData, CSEAModelData, 30 | VERSIONABLE_SCHEMA)

CASEAModelData::CASEAModelData() : CSEAModelData("", nullptr, ElementType::AseaModel, -1, 0.0, 0.0)
{
    SetName(kElementName);
}

CASEAModelData::CASEAModelData(CMElement* parent) : CSEAModelData("", parent, ElementType::AseaModel, -1, 0.0, 0.0)
{
    SetName(kElementName);
}

CASEAModelData::~CASEAModelData() = default;

void CASEAModelData::SetDataFiles(std::unique_ptr<CHSEAAnalyticalDataFiles> files)
{
    m_dataFiles = std::move(files);
}

// ---------------------------------------------------------------------------------------------
// Building from the model file

int CASEAModelData::BuildFromModel(const std::string& modelFile, CFeedback* feedback)
{
    // The model just read, never one left from an earlier build: a file that cannot be read fails
    // the build instead of quietly rebuilding from the old model.
    CModelData* model = LoadModelData(modelFile, feedback);
    if (!model)
        return 0;
    SetFreqInfo(model->GetBandType(), model->GetStartFreq(), model->GetEndFreq());
    if (ReadCompanionFile(model))
        return 1;
    if (!m_lastError.empty())
        feedback->Warning(m_lastError, m_lastErrorId);
    return 0;
}

CModelData* CASEAModelData::LoadModelData(const std::string& modelFile, CFeedback* feedback)
{
    CWaitCursor wait;
    auto model = std::make_unique<CModelData>(this);
    if (!model->ReadModelInfo(modelFile)) {
        m_lastError = model->GetLastError();
        // The reader's own words name the line and what is wrong with it.
        feedback->Warning(ModelText(IDS_MODEL_FILE_UNREADABLE, "The model file cannot be read.") + "\n\n" + m_lastError,
                          IDS_MODEL_FILE_UNREADABLE);
        return nullptr;
    }
    // One 3D model per analytical model: the look-ups take the first, so a new one replaces it.
    return DynamicDowncast<CModelData>(ReplaceTypedChild(std::move(model)));
}

CModelData* CASEAModelData::GetModelData(int warn, CFeedback* feedback) const
{
    auto* model = DynamicDowncast<CModelData>(FindOne(ElementType::ModelData, 1));
    if (!model && warn)
        feedback->Warning(MessageTextOf(IDS_NO_3D_MODEL), IDS_NO_3D_MODEL);
    return model;
}

int CASEAModelData::PrepareFromModel(CModelData* model)
{
    CModelSubsystemSet* set = model ? model->GetSubsystemSet(1) : nullptr;
    if (!set)
        return 0;
    CZuSubsystemTable names, table;
    set->GetShellsList(names);
    for (int i = 0; i < names.GetCount(); ++i)
        table.Add(names[i] + "-F");
    names.Clear();
    set->GetSubsystemsList(names, CModelSubsystem::TYPE_CAVITY, 0);
    for (int i = 0; i < names.GetCount(); ++i)
        table.Add(names[i] + "-");
    // The eta matrix holds a value per band for every pair of subsystems, and the energy solve
    // holds about three such matrices at once: a model file of some hundred kilobytes can ask for
    // more memory than the computer has. Refused before anything is allocated.
    const int bands = GetFreqCount();
    const uint64_t bytes = SolvePeakBytes(table.GetCount(), bands);
    if (!CMemoryBudget::Fits(bytes)) {
        m_lastError = Format("The model has %d subsystems and %d bands: its energy solve needs %.1f GB, more than "
                             "this computer can hold.",
                             table.GetCount(), bands, static_cast<double>(bytes) / 1e9);
        return 0;
    }
    SetSubsystemTable(&table);

    const CZuSubsystemTable* own = GetSubsystemTable();
    auto density = std::make_unique<CZuVecFunc>(ModelText(IDS_MODAL_DENSITY_NAME, "Modal Density"), own, bands, this,
                                                ElementType::ModalDensity);
    auto wave = std::make_unique<CZuVecFunc>(ModelText(IDS_WAVE_NUMBER_NAME, "Wave Number"), own, bands, this,
                                             ElementType::WaveNumber);
    auto eta = std::make_unique<CZuMatFunc>(ModelText(IDS_ETA_MATRIX_NAME, "Eta Matrix"), own, own, bands, this,
                                            ElementType::EtaMatrix);
    for (int b = 0; b < bands; ++b) {
        density->DataIndex(b) = GetFreq(b);
        wave->DataIndex(b) = GetFreq(b);
        eta->DataIndex(b) = GetFreq(b);
    }
    ReplaceTypedChild(std::move(density));
    ReplaceTypedChild(std::move(wave));
    ReplaceTypedChild(std::move(eta));
    return 1;
}

std::string CASEAModelData::CompanionFileName(const std::string& modelFile, int fileKind)
{
    const std::string ext = fileKind == CModelData::FILE_KIND_XML ? ".xml" : ".ntf";
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    if (modelFile.size() >= ext.size() && lower(modelFile.substr(modelFile.size() - ext.size())) == ext)
        return modelFile.substr(0, modelFile.size() - ext.size()) + ".dat";
    // Another extension: the companion still sits beside the model file under its name.
    const size_t slash = modelFile.find_last_of('/');
    const size_t dot = modelFile.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return modelFile.substr(0, dot) + ".dat";
    return modelFile + ".dat";
}

namespace {

// The line kinds of the companion file, tested in this order.
enum class LineKind
{
    Title,
    Shell,
    Cavity,
    ModalDensity,
    WaveNumber,
    IntrinsicDlf,
    Clf,
    Other
};

LineKind KindOf(const std::string& line)
{
    if (line.rfind("#@", 0) == 0)
        return LineKind::Title;
    if (line.find("<Shell>") != std::string::npos)
        return LineKind::Shell;
    if (line.find("<Cavity>") != std::string::npos)
        return LineKind::Cavity;
    if (line.find("<Modal Density") != std::string::npos)
        return LineKind::ModalDensity;
    if (line.find("<Wave Number>") != std::string::npos)
        return LineKind::WaveNumber;
    if (line.find("<Intrinsic DLF") != std::string::npos)
        return LineKind::IntrinsicDlf;
    if (line.find("<CLF>") != std::string::npos)
        return LineKind::Clf;
    return LineKind::Other;
}

const char* TagOf(LineKind kind)
{
    switch (kind) {
    case LineKind::Shell:
        return "<Shell>";
    case LineKind::Cavity:
        return "<Cavity>";
    case LineKind::ModalDensity:
        return "<Modal Density";
    case LineKind::WaveNumber:
        return "<Wave Number>";
    case LineKind::IntrinsicDlf:
        return "<Intrinsic DLF";
    case LineKind::Clf:
        return "<CLF>";
    default:
        return "";
    }
}

bool IsMainWave(const std::string& key)
{
    return CGfxUtil::GetWaveType(key, 0) == CGfxUtil::WAVE_FLEXURAL;
}

// The fields of one line after the field that holds its tag. Each reader below takes them and
// returns the reason when the line fails the file, empty when it was taken (or ignored).
struct CompanionLine
{
    std::vector<std::string> fields;
    size_t first = 0;

    size_t Count() const { return fields.size() - first; }
    const std::string& At(size_t i) const { return fields[first + i]; }
    std::string Need(size_t n) const
    {
        return Count() >= n ? std::string() : Format("%zu fields after the tag, %zu expected", Count(), n);
    }
    // A measure of the 3D model: the same rule as the project file applies when it reads one.
    std::string Measure(size_t i, const char* what, double& v) const
    {
        if (!model_text::ParseNumber(At(i), v))
            return Format("\"%s\" is not a number", At(i).c_str());
        return CModelSubsystem::CheckMeasure(v, what);
    }
};

std::string MissingKey(const std::string& key)
{
    return Format("the model has no subsystem \"%s\"", key.c_str());
}

std::string ReadShellLine(const CompanionLine& l, CModelData& model)
{
    if (std::string why = l.Need(6); !why.empty())
        return why;
    auto* shell = dynamic_cast<CModelShell*>(model.GetSubsystem(l.At(0), 0, 1));
    if (!shell)
        return Format("the model has no shell \"%s\"", l.At(0).c_str());
    double area = 0, perimeter = 0, mass = 0;
    for (std::string why :
         {l.Measure(2, "area", area), l.Measure(4, "perimeter", perimeter), l.Measure(5, "mass", mass)})
        if (!why.empty())
            return why;
    shell->SetArea(area);
    shell->SetPerimeter(perimeter);
    shell->SetMass(mass);
    return {};
}

std::string ReadCavityLine(const CompanionLine& l, CModelData& model)
{
    if (std::string why = l.Need(4); !why.empty())
        return why;
    auto* cavity = dynamic_cast<CModelCavity*>(model.GetSubsystem(l.At(0), 0, 1));
    if (!cavity)
        return Format("the model has no cavity \"%s\"", l.At(0).c_str());
    double surface = 0, volume = 0;
    for (std::string why : {l.Measure(2, "surface area", surface), l.Measure(3, "volume", volume)})
        if (!why.empty())
            return why;
    cavity->SetSurfaceArea(surface);
    cavity->SetVolume(volume);
    return {};
}

// The band values of a keyed line; false when the line is of another wave and is skipped.
std::string ReadBandValues(const CompanionLine& l, bool twoKeys, int bands, std::vector<double>& values, bool& skip)
{
    if (std::string why = l.Need(2); !why.empty())
        return why;
    skip = !IsMainWave(l.At(0)) || (twoKeys && !IsMainWave(l.At(1)));
    if (skip)
        return {};
    std::string why;
    if (!model_text::ParseValues(l.fields, l.first + 2, static_cast<size_t>(bands), values, why))
        return why;
    return {};
}

// A modal density or wave number line: the vector's row of the key gets the band values.
std::string ReadVectorLine(const CompanionLine& l, CZuVecFunc& vec, int bands)
{
    std::vector<double> values;
    bool skip = false;
    if (std::string why = ReadBandValues(l, false, bands, values, skip); !why.empty() || skip)
        return why;
    const int k = vec.GetIndex(l.At(0));
    if (k < 0)
        return MissingKey(l.At(0));
    for (int b = 0; b < bands; ++b)
        vec.DataValue(b, k) = values[static_cast<size_t>(b)];
    return {};
}

// An intrinsic DLF line adds DLF times modal density to the key's diagonal element.
std::string ReadIntrinsicDlfLine(const CompanionLine& l, CZuMatFunc& eta, const CZuVecFunc& density, int bands)
{
    std::vector<double> values;
    bool skip = false;
    if (std::string why = ReadBandValues(l, false, bands, values, skip); !why.empty() || skip)
        return why;
    const int k = eta.GetRowIndex(l.At(0));
    const int nk = density.GetIndex(l.At(0));
    if (k < 0 || nk < 0)
        return MissingKey(l.At(0));
    for (int b = 0; b < bands; ++b)
        eta.DataValue(b, k, k) += values[static_cast<size_t>(b)] * density.DataValue(b, nk);
    return {};
}

// A CLF line couples its source and target key in loss-factor form.
std::string ReadClfLine(const CompanionLine& l, CZuMatFunc& eta, const CZuVecFunc& density, int bands)
{
    std::vector<double> values;
    bool skip = false;
    if (std::string why = ReadBandValues(l, true, bands, values, skip); !why.empty() || skip)
        return why;
    const int s = eta.GetRowIndex(l.At(0));
    const int t = eta.GetRowIndex(l.At(1));
    const int ns = density.GetIndex(l.At(0));
    if (s < 0 || ns < 0)
        return MissingKey(l.At(0));
    if (t < 0)
        return MissingKey(l.At(1));
    // Bands without a value take the value of their neighbour: first from above, then from below,
    // so a single given band spreads to all.
    for (int b = bands - 2; b >= 0; --b)
        if (values[static_cast<size_t>(b)] == 0.0)
            values[static_cast<size_t>(b)] = values[static_cast<size_t>(b) + 1];
    for (int b = 1; b < bands; ++b)
        if (values[static_cast<size_t>(b)] == 0.0)
            values[static_cast<size_t>(b)] = values[static_cast<size_t>(b) - 1];
    for (int b = 0; b < bands; ++b) {
        const double p = density.DataValue(b, ns) * values[static_cast<size_t>(b)];
        eta.DataValue(b, s, t) -= p;
        eta.DataValue(b, t, s) -= p;
        eta.DataValue(b, s, s) += p;
        eta.DataValue(b, t, t) += p;
    }
    return {};
}

} // namespace

int CASEAModelData::ReadCompanionFile(CModelData* model)
{
    m_lastError.clear();
    m_lastErrorId = 0;
    if (!PrepareFromModel(model))
        return 0;
    CZuVecFunc* density = GetModalDensity(0);
    CZuVecFunc* wave = GetWaveNumber(0);
    CZuMatFunc* eta = GetEtaMatrix(0);
    if (!density || !wave || !eta)
        return 0;

    const std::string path = CompanionFileName(model->GetFileName(), model->GetFileKind());
    CStdioFile file;
    if (!file.Open(path, CStdioFile::modeRead)) {
        m_lastError = ModelFormat(IDS_DATA_FILE_UNOPENABLE, "The data file %s cannot be opened.", path.c_str());
        m_lastErrorId = IDS_DATA_FILE_UNOPENABLE;
        return 0;
    }

    const int bands = GetFreqCount();
    std::string title = ModelText(IDS_NO_TITLE, "No Title");
    std::string line;
    CompanionLine fields;
    try {
        while (file.ReadString(line)) {
            const LineKind kind = KindOf(line);
            if (kind == LineKind::Other)
                continue;
            if (kind == LineKind::Title) {
                title = line.substr(2, model_text::kMaxField);
                continue;
            }
            std::string why;
            if (model_text::SplitFields(line, fields.fields, why)) {
                fields.first = 0;
                while (fields.first < fields.fields.size() &&
                       fields.fields[fields.first].find(TagOf(kind)) == std::string::npos)
                    ++fields.first;
                ++fields.first;
                switch (kind) {
                case LineKind::Shell:
                    why = ReadShellLine(fields, *model);
                    break;
                case LineKind::Cavity:
                    why = ReadCavityLine(fields, *model);
                    break;
                case LineKind::ModalDensity:
                    why = ReadVectorLine(fields, *density, bands);
                    break;
                case LineKind::WaveNumber:
                    why = ReadVectorLine(fields, *wave, bands);
                    break;
                case LineKind::IntrinsicDlf:
                    why = ReadIntrinsicDlfLine(fields, *eta, *density, bands);
                    break;
                case LineKind::Clf:
                    why = ReadClfLine(fields, *eta, *density, bands);
                    break;
                default:
                    break;
                }
            }
            if (!why.empty()) {
                m_lastError = Format("%s, line %d: %s", path.c_str(), file.GetLineNumber(), why.c_str());
                return 0;
            }
        }
    } catch (const CFileException& e) {
        m_lastError = e.what();
        return 0;
    }
    GetZuStdDataList()->Add(std::make_unique<CZuStdStringData>(kTitleKey, title));
    return 1;
}

int CASEAModelData::IsSymmetricModel() const
{
    CZuSubsystemTable fallback;
    const CZuSubsystemTable* all = GetAllSubsystems();
    if (!all || all->IsEmpty()) {
        // Before the model project handed over its table: the 3D model's subsystems.
        if (CModelData* model = GetModelData(0))
            if (CModelSubsystemSet* set = model->GetSubsystemSet(1))
                set->GetAllSubsystemsList(fallback);
        all = &fallback;
    }
    int counted = 0;
    for (int i = 0; i < all->GetCount(); ++i) {
        const std::string& name = (*all)[i];
        if (CGfxUtil::GetLeftRight(name) != CGfxUtil::SIDE_LEFT)
            continue;
        ++counted;
        std::string mirror;
        if (!CGfxUtil::GetSymmetricSubsystem(name, &mirror) || all->GetIndex(mirror) < 0)
            return 0;
    }
    return counted > 0 ? 1 : 0;
}

void CASEAModelData::Serialize(CArchive& ar)
{
    CSEAModelData::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_dataFiles.get());
        return;
    }
    m_dataFiles.reset();
    m_dataFiles = ar.ReadOwned<CHSEAAnalyticalDataFiles>();
}
