#include "models/ASEAModelData.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "models/HSEAAnalyticalDataFiles.h"
#include "models/ModelStrings.h"
#include "models/TextFields.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelShell.h"
#include "platform/win/PromptService.h"
#include "platform/win/WaitCursor.h"

IMPLEMENT_SERIAL(CASEAModelData, CSEAModelData, 30 | VERSIONABLE_SCHEMA)

CASEAModelData::CASEAModelData() : CSEAModelData("", nullptr, kElementType, -1, 0.0, 0.0)
{
    SetName(kElementName);
}

CASEAModelData::CASEAModelData(CMElement* parent) : CSEAModelData("", parent, kElementType, -1, 0.0, 0.0)
{
    SetName(kElementName);
}

CASEAModelData::~CASEAModelData() = default;

void CASEAModelData::SetDataFiles(std::unique_ptr<CHSEAAnalyticalDataFiles> files) { m_dataFiles = std::move(files); }

// ---------------------------------------------------------------------------------------------
// Building from the model file

int CASEAModelData::BuildFromModel(const std::string& modelFile)
{
    // The model just read, never one left from an earlier build: a file that cannot be read fails
    // the build instead of quietly rebuilding from the old model.
    CModelData* model = LoadModelData(modelFile);
    if (!model)
        return 0;
    SetFreqInfo(model->GetBandType(), model->GetStartFreq(), model->GetEndFreq());
    return ReadCompanionFile(model);
}

CModelData* CASEAModelData::LoadModelData(const std::string& modelFile)
{
    CWaitCursor wait;
    auto model = std::make_unique<CModelData>(this);
    if (!model->ReadModelInfo(modelFile))
    {
        m_lastError = model->GetLastError();
        AfxMessageBox(IDS_MODEL_FILE_UNREADABLE, MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    // One 3D model per analytical model: the look-ups take the first, so a new one replaces it.
    return DynamicDowncast<CModelData>(ReplaceTypedChild(std::move(model)));
}

CModelData* CASEAModelData::GetModelData(int warn) const
{
    auto* model = DynamicDowncast<CModelData>(FindOne(CModelData::kElementType, 1));
    if (!model && warn)
        AfxMessageBox(IDS_NO_3D_MODEL, MB_OK | MB_ICONEXCLAMATION);
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
    SetSubsystemTable(&table);

    const int bands = GetFreqCount();
    const CZuSubsystemTable* own = GetSubsystemTable();
    auto density = std::make_unique<CZuVecFunc>(ModelText(IDS_MODAL_DENSITY_NAME, "Modal Density"), own, bands, this,
                                                kModalDensityType);
    auto wave = std::make_unique<CZuVecFunc>(ModelText(IDS_WAVE_NUMBER_NAME, "Wave Number"), own, bands, this,
                                             kWaveNumberType);
    auto eta = std::make_unique<CZuMatFunc>(ModelText(IDS_ETA_MATRIX_NAME, "Eta Matrix"), own, own, bands, this,
                                            kEtaMatrixType);
    for (int b = 0; b < bands; ++b)
    {
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
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
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
enum class LineKind { Title, Shell, Cavity, ModalDensity, WaveNumber, IntrinsicDlf, Clf, Other };

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
    switch (kind)
    {
    case LineKind::Shell: return "<Shell>";
    case LineKind::Cavity: return "<Cavity>";
    case LineKind::ModalDensity: return "<Modal Density";
    case LineKind::WaveNumber: return "<Wave Number>";
    case LineKind::IntrinsicDlf: return "<Intrinsic DLF";
    case LineKind::Clf: return "<CLF>";
    default: return "";
    }
}

bool IsMainWave(const std::string& key) { return CGfxUtil::GetWaveType(key, 0) == CGfxUtil::WAVE_FLEXURAL; }

} // namespace

int CASEAModelData::ReadCompanionFile(CModelData* model)
{
    m_lastError.clear();
    if (!PrepareFromModel(model))
        return 0;
    CZuVecFunc* density = GetModalDensity(0);
    CZuVecFunc* wave = GetWaveNumber(0);
    CZuMatFunc* eta = GetEtaMatrix(0);
    if (!density || !wave || !eta)
        return 0;

    const std::string path = CompanionFileName(model->GetFileName(), model->GetFileKind());
    CStdioFile file;
    if (!file.Open(path, CStdioFile::modeRead))
    {
        AfxFormatMessageBox(IDS_DATA_FILE_UNOPENABLE, MB_OK | MB_ICONEXCLAMATION, path.c_str());
        return 0;
    }

    const int bands = GetFreqCount();
    std::string title = ModelText(IDS_DEFAULT_DATA_TITLE, "No Title");
    std::string line, error;
    std::vector<std::string> fields;
    std::vector<double> values;
    int lineNumber = 0;

    // One line; false with error set when it fails the file.
    auto handle = [&](LineKind kind) -> bool {
        if (!model_text::SplitFields(line, fields, error))
            return false;
        // The fields after the one that holds the tag.
        size_t at = 0;
        while (at < fields.size() && fields[at].find(TagOf(kind)) == std::string::npos)
            ++at;
        const size_t first = at + 1;
        auto need = [&](size_t n) {
            if (fields.size() >= first + n)
                return true;
            error = Format("%zu fields after the tag, %zu expected", fields.size() - first, n);
            return false;
        };
        auto number = [&](size_t i, double& v) {
            if (model_text::ParseNumber(fields[first + i], v))
                return true;
            error = Format("\"%s\" is not a number", fields[first + i].c_str());
            return false;
        };

        if (kind == LineKind::Shell || kind == LineKind::Cavity)
        {
            const bool shell = kind == LineKind::Shell;
            if (!need(shell ? 6 : 4))
                return false;
            const std::string& name = fields[first];
            CModelSubsystem* sub = model->GetSubsystem(name, 0, 1);
            double a = 0, b = 0, c = 0;
            if (shell)
            {
                auto* s = dynamic_cast<CModelShell*>(sub);
                if (!s)
                {
                    error = Format("the model has no shell \"%s\"", name.c_str());
                    return false;
                }
                if (!number(2, a) || !number(4, b) || !number(5, c))
                    return false;
                s->SetArea(a);
                s->SetPerimeter(b);
                s->SetMass(c);
            }
            else
            {
                auto* cav = dynamic_cast<CModelCavity*>(sub);
                if (!cav)
                {
                    error = Format("the model has no cavity \"%s\"", name.c_str());
                    return false;
                }
                if (!number(2, a) || !number(3, b))
                    return false;
                cav->SetSurfaceArea(a);
                cav->SetVolume(b);
            }
            return true;
        }

        if (!need(2))
            return false;
        const std::string& key = fields[first];
        const std::string& key2 = fields[first + 1];
        // Keys of other waves than the main one are not part of this model.
        if (!IsMainWave(key) || (kind == LineKind::Clf && !IsMainWave(key2)))
            return true;
        if (!model_text::ParseValues(fields, first + 2, static_cast<size_t>(bands), values, error))
            return false;
        auto index = [&](const std::string& k, int i) {
            if (i >= 0)
                return true;
            error = Format("the model has no subsystem \"%s\"", k.c_str());
            return false;
        };

        switch (kind)
        {
        case LineKind::ModalDensity:
        case LineKind::WaveNumber: {
            CZuVecFunc* v = kind == LineKind::ModalDensity ? density : wave;
            const int k = v->GetIndex(key);
            if (!index(key, k))
                return false;
            for (int b = 0; b < bands; ++b)
                v->DataValue(b, k) = values[static_cast<size_t>(b)];
            return true;
        }
        case LineKind::IntrinsicDlf: {
            const int k = eta->GetRowIndex(key);
            const int nk = density->GetIndex(key);
            if (!index(key, k < 0 || nk < 0 ? -1 : k))
                return false;
            for (int b = 0; b < bands; ++b)
                eta->DataValue(b, k, k) += values[static_cast<size_t>(b)] * density->DataValue(b, nk);
            return true;
        }
        case LineKind::Clf: {
            const int s = eta->GetRowIndex(key);
            const int t = eta->GetRowIndex(key2);
            const int ns = density->GetIndex(key);
            if (!index(key, s < 0 || ns < 0 ? -1 : s) || !index(key2, t))
                return false;
            // Bands without a value take the value of their neighbour: first from above, then
            // from below, so a single given band spreads to all.
            for (int b = bands - 2; b >= 0; --b)
                if (values[static_cast<size_t>(b)] == 0.0)
                    values[static_cast<size_t>(b)] = values[static_cast<size_t>(b) + 1];
            for (int b = 1; b < bands; ++b)
                if (values[static_cast<size_t>(b)] == 0.0)
                    values[static_cast<size_t>(b)] = values[static_cast<size_t>(b) - 1];
            for (int b = 0; b < bands; ++b)
            {
                const double p = density->DataValue(b, ns) * values[static_cast<size_t>(b)];
                eta->DataValue(b, s, t) -= p;
                eta->DataValue(b, t, s) -= p;
                eta->DataValue(b, s, s) += p;
                eta->DataValue(b, t, t) += p;
            }
            return true;
        }
        default:
            return true;
        }
    };

    try
    {
        while (file.ReadString(line))
        {
            ++lineNumber;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const LineKind kind = KindOf(line);
            if (kind == LineKind::Other)
                continue;
            if (kind == LineKind::Title)
            {
                title = line.substr(2, model_text::kMaxField);
                continue;
            }
            error.clear();
            if (!handle(kind))
            {
                m_lastError = Format("%s, line %d: %s", path.c_str(), lineNumber, error.c_str());
                AfxMessageBox(m_lastError, MB_OK | MB_ICONEXCLAMATION);
                return 0;
            }
        }
    }
    catch (const CFileException& e)
    {
        m_lastError = e.what();
        AfxMessageBox(m_lastError, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    GetZuStdDataList()->Add(std::make_unique<CZuStdStringData>(kTitleKey, title));
    return 1;
}

int CASEAModelData::IsSymmetricModel() const
{
    CZuSubsystemTable fallback;
    const CZuSubsystemTable* all = GetAllSubsystems();
    if (!all || all->IsEmpty())
    {
        // Before the model project handed over its table: the 3D model's subsystems.
        if (CModelData* model = GetModelData(0))
            if (CModelSubsystemSet* set = model->GetSubsystemSet(1))
                set->GetAllSubsystemsList(fallback);
        all = &fallback;
    }
    int counted = 0;
    for (int i = 0; i < all->GetCount(); ++i)
    {
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
    if (ar.IsStoring())
    {
        ar.WriteObject(m_dataFiles.get());
        return;
    }
    m_dataFiles.reset();
    m_dataFiles = ar.ReadOwned<CHSEAAnalyticalDataFiles>();
}
