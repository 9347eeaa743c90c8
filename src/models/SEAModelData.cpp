#include "models/SEAModelData.h"

#include <cmath>
#include <vector>

#include "models/LossFactorFuncs.h"
#include "models/ModelProjectLink.h"
#include "models/ModelStrings.h"
#include "platform/archive/Archive.h"
#include "platform/base/MemoryBudget.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CSEAModelData, CZuData, 30 | VERSIONABLE_SCHEMA)

namespace {

// Couplings below this normalised size count as absent.
constexpr double kCouplingThreshold = 1e-15;

// The DLFs of a subsystem at band b from the loss-factor matrix E (its column i) and the modal
// densities n (entry ni): the intrinsic one is the column summed over the rows, the total one the
// diagonal entry, each over the modal density.
double IntrinsicDlfAt(CZuMatFunc* E, CZuVecFunc* n, int b, int i, int ni)
{
    double sum = 0.0;
    for (int r = 0; r < E->GetRowSubsystemCount(); ++r)
        sum += E->DataValue(b, r, i);
    return sum / n->DataValue(b, ni);
}

double TotalDlfAt(CZuMatFunc* E, CZuVecFunc* n, int b, int i, int ni)
{
    return E->DataValue(b, i, i) / n->DataValue(b, ni);
}

} // namespace

CSEAModelData::CSEAModelData() : CZuData("", nullptr, -1, -1, 0.0, 0.0) {}

CSEAModelData::CSEAModelData(const std::string& name, CMElement* parent, int type, int domainType, double startFreq,
                             double endFreq)
    : CZuData(name, parent, type, domainType, startFreq, endFreq)
{
    SetMergeOrder(0);
}

CSEAModelData::~CSEAModelData()
{
    m_properties.DeleteAll();
}

void CSEAModelData::ReportMissingSubsystem(const std::string& name, CFeedback* feedback)
{
    feedback->Warning(FormatString(IDS_SUBSYSTEM_NOT_IN_MATRIX, name.c_str()), IDS_SUBSYSTEM_NOT_IN_MATRIX);
}

bool CSEAModelData::LookUpColumn(CZuMatFunc* E, CZuVecFunc* n, const std::string& name, int& col, int& nIndex,
                                 CFeedback* feedback)
{
    col = E->GetColIndex(name);
    nIndex = n->GetIndex(name);
    if (col < 0 || nIndex < 0 || col >= E->GetRowSubsystemCount()) {
        ReportMissingSubsystem(name, feedback);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// CLF

double CSEAModelData::ExtractClf(const std::string& from, const std::string& to, unsigned band, CFeedback* feedback)
{
    CZuMatFunc* E = GetEtaMatrix(1);
    CZuVecFunc* n = GetModalDensity(1);
    if (!E || !n || band >= static_cast<unsigned>(E->GetDataCount()) ||
        band >= static_cast<unsigned>(n->GetDataCount()))
        return kNoValue;
    const int i = E->GetColIndex(from);
    const int j = E->GetRowIndex(to);
    const int ni = n->GetIndex(from);
    if (i < 0 || ni < 0) {
        ReportMissingSubsystem(from, feedback);
        return kNoValue;
    }
    if (j < 0) {
        ReportMissingSubsystem(to, feedback);
        return kNoValue;
    }
    const int b = static_cast<int>(band);
    return -E->DataValue(b, j, i) / n->DataValue(b, ni);
}

int CSEAModelData::ExtractClf(const std::string& from, const std::string& to, double* out, unsigned count,
                              CFeedback* feedback)
{
    CZuMatFunc* E = GetEtaMatrix(1);
    CZuVecFunc* n = GetModalDensity(1);
    if (!E || !n || !out || count > static_cast<unsigned>(E->GetDataCount()) ||
        count > static_cast<unsigned>(n->GetDataCount()))
        return 0;
    const int i = E->GetColIndex(from);
    const int j = E->GetRowIndex(to);
    const int ni = n->GetIndex(from);
    if (i < 0 || ni < 0) {
        ReportMissingSubsystem(from, feedback);
        return 0;
    }
    if (j < 0) {
        ReportMissingSubsystem(to, feedback);
        return 0;
    }
    for (unsigned u = 0; u < count; ++u) {
        const int b = static_cast<int>(u);
        out[u] = -E->DataValue(b, j, i) / n->DataValue(b, ni);
    }
    return 1;
}

CMElement* CSEAModelData::ExtractClf(const std::string& a, const std::string& b, CFeedback* feedback)
{
    CZuMatFunc* E = GetEtaMatrix(1);
    if (a == b || !E)
        return nullptr;
    const int N = E->GetDataCount();
    std::vector<double> ab(static_cast<size_t>(N)), ba(static_cast<size_t>(N));
    if (!ExtractClf(a, b, ab.data(), static_cast<unsigned>(N), feedback) ||
        !ExtractClf(b, a, ba.data(), static_cast<unsigned>(N), feedback))
        return nullptr;

    // The look-up may exchange its names when it finds the pair the other way round; the values
    // are written by the names as asked.
    std::string first = a, second = b;
    auto* f = DynamicDowncast<CZuClfFunc>(GetClf(first, second, 0));
    if (!f) {
        f = AddChild(std::make_unique<CZuClfFunc>(ModelFormat(IDS_CLF_NAME, "CLF(%s, %s)", a.c_str(), b.c_str()), a, b,
                                                  N, this, ElementType::Clf));
        if (!f)
            return nullptr;
    }
    if (f->GetDataCount() != N)
        f->SetDataCount(N);
    const int ia = f->GetIndex(a);
    const int ib = f->GetIndex(b);
    if (ia < 0 || ib < 0)
        return nullptr;
    for (int k = 0; k < N; ++k) {
        f->DataIndex(k) = E->DataIndex(k);
        f->DataValue(k, ia) = ab[static_cast<size_t>(k)];
        f->DataValue(k, ib) = ba[static_cast<size_t>(k)];
    }
    return f;
}

// ---------------------------------------------------------------------------------------------
// DLF

double CSEAModelData::ExtractIntrinsicDlf(const std::string& subsystem, unsigned band, CFeedback* feedback)
{
    CZuMatFunc* E = GetEtaMatrix(1);
    CZuVecFunc* n = GetModalDensity(1);
    if (!E || !n || band >= static_cast<unsigned>(E->GetDataCount()) ||
        band >= static_cast<unsigned>(n->GetDataCount()))
        return kNoValue;
    int i = 0, ni = 0;
    if (!LookUpColumn(E, n, subsystem, i, ni, feedback))
        return kNoValue;
    return IntrinsicDlfAt(E, n, static_cast<int>(band), i, ni);
}

int CSEAModelData::ExtractIntrinsicDlf(const std::string& subsystem, double* out, unsigned count, CFeedback* feedback)
{
    return ExtractDlfBands(subsystem, out, count, IntrinsicDlfAt, feedback);
}

double CSEAModelData::ExtractTotalDlf(const std::string& subsystem, unsigned band, CFeedback* feedback)
{
    CZuMatFunc* E = GetEtaMatrix(1);
    CZuVecFunc* n = GetModalDensity(1);
    // Unlike the other single-band extractions, a model without data (or a band beyond it) reads
    // as no damping, 0.0; only a subsystem the matrix lacks gives the failure value. Callers that
    // must tell the two apart check the matrix first, as the update records do.
    if (!E || !n || band >= static_cast<unsigned>(E->GetDataCount()) ||
        band >= static_cast<unsigned>(n->GetDataCount()))
        return 0.0;
    int i = 0, ni = 0;
    if (!LookUpColumn(E, n, subsystem, i, ni, feedback))
        return kNoValue;
    return TotalDlfAt(E, n, static_cast<int>(band), i, ni);
}

int CSEAModelData::ExtractTotalDlf(const std::string& subsystem, double* out, unsigned count, CFeedback* feedback)
{
    return ExtractDlfBands(subsystem, out, count, TotalDlfAt, feedback);
}

int CSEAModelData::ExtractDlfBands(const std::string& subsystem, double* out, unsigned count, DlfAt dlfAt,
                                   CFeedback* feedback)
{
    CZuMatFunc* E = GetEtaMatrix(1);
    CZuVecFunc* n = GetModalDensity(1);
    if (!E || !n || !out || count > static_cast<unsigned>(E->GetDataCount()) ||
        count > static_cast<unsigned>(n->GetDataCount()))
        return 0;
    int i = 0, ni = 0;
    if (!LookUpColumn(E, n, subsystem, i, ni, feedback))
        return 0;
    for (unsigned u = 0; u < count; ++u)
        out[u] = dlfAt(E, n, static_cast<int>(u), i, ni);
    return 1;
}

CMElement* CSEAModelData::ExtractDlfFunction(const std::string& subsystem, bool intrinsic, CFeedback* feedback)
{
    CZuMatFunc* E = GetEtaMatrix(1);
    if (!E)
        return nullptr;
    const int N = E->GetDataCount();
    std::vector<double> values(static_cast<size_t>(N));
    const int ok = intrinsic ? ExtractIntrinsicDlf(subsystem, values.data(), static_cast<unsigned>(N), feedback)
                             : ExtractTotalDlf(subsystem, values.data(), static_cast<unsigned>(N), feedback);
    if (!ok)
        return nullptr;
    auto* f = DynamicDowncast<CZuDlfFunc>(intrinsic ? GetIntrinsicDlf(subsystem) : GetTotalDlf(subsystem));
    if (!f) {
        std::string name = intrinsic ? ModelFormat(IDS_INTRINSIC_DLF_NAME, "Intrinsic DLF(%s)", subsystem.c_str())
                                     : ModelFormat(IDS_TOTAL_DLF_NAME, "Total DLF(%s)", subsystem.c_str());
        f = AddChild(std::make_unique<CZuDlfFunc>(name, subsystem, N, this,
                                                  intrinsic ? ElementType::IntrinsicDlf : ElementType::TotalDlf));
        if (!f)
            return nullptr;
    }
    if (f->GetDataCount() != N)
        f->SetDataCount(N);
    int k = f->GetIndex(subsystem);
    if (k < 0)
        k = 0;
    if (f->GetSubsystemCount() <= k)
        return nullptr;
    for (int b = 0; b < N; ++b) {
        f->DataIndex(b) = E->DataIndex(b);
        f->DataValue(b, k) = values[static_cast<size_t>(b)];
    }
    return f;
}

CMElement* CSEAModelData::ExtractIntrinsicDlf(const std::string& subsystem, CFeedback* feedback)
{
    return ExtractDlfFunction(subsystem, true, feedback);
}

CMElement* CSEAModelData::ExtractTotalDlf(const std::string& subsystem, CFeedback* feedback)
{
    return ExtractDlfFunction(subsystem, false, feedback);
}

// ---------------------------------------------------------------------------------------------
// Modal density and wave number

namespace {

double VectorValue(CZuVecFunc* v, const std::string& name, unsigned band)
{
    if (!v)
        return CZuData::kNoValue;
    const int k = v->GetIndex(name);
    if (k < 0 || band >= static_cast<unsigned>(v->GetDataCount()))
        return CZuData::kNoValue;
    return v->DataValue(static_cast<int>(band), k);
}

int VectorValues(CZuVecFunc* v, const std::string& name, double* out, unsigned count)
{
    if (!v || !out)
        return 0;
    const int k = v->GetIndex(name);
    if (k < 0 || count > static_cast<unsigned>(v->GetDataCount()))
        return 0;
    for (unsigned u = 0; u < count; ++u)
        out[u] = v->DataValue(static_cast<int>(u), k);
    return 1;
}

} // namespace

double CSEAModelData::ExtractModalDensity(const std::string& subsystem, unsigned band)
{
    return VectorValue(GetModalDensity(1), subsystem, band);
}

int CSEAModelData::ExtractModalDensity(const std::string& subsystem, double* out, unsigned count)
{
    return VectorValues(GetModalDensity(1), subsystem, out, count);
}

double CSEAModelData::ExtractWaveNumber(const std::string& subsystem, unsigned band)
{
    return VectorValue(GetWaveNumber(1), subsystem, band);
}

int CSEAModelData::ExtractWaveNumber(const std::string& subsystem, double* out, unsigned count)
{
    return VectorValues(GetWaveNumber(1), subsystem, out, count);
}

// ---------------------------------------------------------------------------------------------
// Connection flags

int CSEAModelData::UpdateConnectionInfo(CFeedback* feedback)
{
    auto* project = dynamic_cast<IModelProjectLink*>(GetParent());
    CZuMatFunc* E = GetEtaMatrix(0);
    CZuVecFunc* n = GetModalDensity(0);
    const CZuSubsystemTable* all = GetAllSubsystems();
    if (!project || !E || !n || !all)
        return 0;
    const CZuSubsystemTable* table = GetSubsystemTable();

    // Each subsystem of the connection table by its key in the matrix and in the vector.
    const int count = all->GetCount();
    std::vector<int> row(static_cast<size_t>(count)), col(static_cast<size_t>(count)), vec(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        std::string key = (*all)[k];
        project->GetSubsystemType(key, 1);
        const int t = table->GetIndex(key);
        const int r = E->GetRowIndex(key);
        const int c = E->GetColIndex(key);
        const int v = n->GetIndex(key);
        if (t < 0 || r < 0 || c < 0 || v < 0) {
            ReportMissingSubsystem(key, feedback);
            return 0;
        }
        row[static_cast<size_t>(k)] = r;
        col[static_cast<size_t>(k)] = c;
        vec[static_cast<size_t>(k)] = v;
    }

    int bands = GetFreqCount();
    if (bands > E->GetDataCount())
        bands = E->GetDataCount();
    if (bands > n->GetDataCount())
        bands = n->GetDataCount();
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < count; ++j)
            for (int b = 0; b < bands; ++b) {
                const double e = E->DataValue(b, row[static_cast<size_t>(i)], col[static_cast<size_t>(j)]);
                const double d = n->DataValue(b, vec[static_cast<size_t>(j)]);
                SetConnection(i, j, b, std::fabs(e / d) >= kCouplingThreshold ? 1 : 0);
            }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Copy and clones

std::unique_ptr<CZuMatFunc> CSEAModelData::CloneMatFunc(CZuData* source, int type)
{
    auto* found = source ? DynamicDowncast<CZuMatFunc>(source->FindOne(type, 1)) : nullptr;
    if (!found)
        return nullptr;
    auto f =
        std::make_unique<CZuMatFunc>(found->GetName(), GetSubsystemTable(), nullptr, found->GetDataCount(), this, type);
    f->Assign(*found);
    return f;
}

std::unique_ptr<CZuVecFunc> CSEAModelData::CloneVecFunc(CZuData* source, int type)
{
    auto* found = source ? DynamicDowncast<CZuVecFunc>(source->FindOne(type, 1)) : nullptr;
    if (!found)
        return nullptr;
    auto f = std::make_unique<CZuVecFunc>(found->GetName(), GetSubsystemTable(), found->GetDataCount(), this, type);
    f->Assign(*found);
    return f;
}

CMElement* CSEAModelData::ReplaceTypedChild(std::unique_ptr<CMElement> element)
{
    if (!element)
        return nullptr;
    // A model keeps one child of each kind: the look-ups by type take the first one.
    while (CMElement* old = FindOneChild(element->GetType()))
        DeleteChild(old, 1);
    return AddChild(std::move(element));
}

int CSEAModelData::CopyModelData(CZuData* source)
{
    if (!source)
        return 0;
    // The whole band set travels, so user-defined bands are kept too.
    SetOctaveManager(source->GetOctaveManager());
    SetSubsystemTable(source->GetSubsystemTable());
    ReplaceTypedChild(CloneMatFunc(source, ElementType::EtaMatrix));
    ReplaceTypedChild(CloneVecFunc(source, ElementType::ModalDensity));
    ReplaceTypedChild(CloneVecFunc(source, ElementType::WaveNumber));
    return 1;
}

CZuMatFunc* CSEAModelData::PrepareEtaMatrix(const std::string&)
{
    return GetEtaMatrix(1);
}

std::string CSEAModelData::EtaMatrixVariant(const std::string&)
{
    return {};
}

uint64_t CSEAModelData::SolvePeakBytes(int subsystems, int bands)
{
    const uint64_t n = subsystems > 0 ? static_cast<uint64_t>(subsystems) : 0;
    const uint64_t b = bands > 0 ? static_cast<uint64_t>(bands) : 0;
    const uint64_t whole = CMemoryBudget::Product(n, n, b, 3 * sizeof(double));
    const uint64_t working = CMemoryBudget::Product(n, n, 2 * sizeof(double));
    // The vectors over the subsystems: modal densities, wave numbers, the right-hand sides,
    // solutions and kept energies of the inputs.
    const uint64_t vectors = CMemoryBudget::Product(n, b, 16 * sizeof(double));
    uint64_t sum = 0;
    if (__builtin_add_overflow(whole, working, &sum) || __builtin_add_overflow(sum, vectors, &sum))
        return UINT64_MAX;
    return sum;
}

int CSEAModelData::ApplyUpdateLog(CUpdateLog*, CFeedback*)
{
    return 0;
}

void CSEAModelData::SetSavedEtaMatrix(std::unique_ptr<CZuMatFunc> matrix)
{
    m_savedEta = std::move(matrix);
}

// ---------------------------------------------------------------------------------------------
// Parameter vectors

CMElement* CSEAModelData::FindParameterFolder() const
{
    const std::string name = ModelText(IDS_PARAMETER_FOLDER, "Parameters");
    for (int i = 0; i < GetChildCount(); ++i) {
        CMElement* c = GetChild(i);
        if (c->GetName() == name && c->GetType() == ElementType::FunctionGroup)
            return c;
    }
    return nullptr;
}

CMElement* CSEAModelData::GetParameterFolder()
{
    if (CMElement* folder = FindParameterFolder())
        return folder;
    return AddChild(
        std::make_unique<CMElement>(ModelText(IDS_PARAMETER_FOLDER, "Parameters"), this, ElementType::FunctionGroup));
}

CZuVecFunc* CSEAModelData::FindVecFunc(const std::string& name)
{
    // A look-up must not change the model: no folder, no vector.
    CMElement* folder = FindParameterFolder();
    return folder ? DynamicDowncast<CZuVecFunc>(folder->FindOne(name, 1, 1)) : nullptr;
}

CZuVecFunc* CSEAModelData::GetOrCreateVecFunc(const std::string& name)
{
    if (CZuVecFunc* f = FindVecFunc(name))
        return f;
    const int bands = GetFreqCount();
    CMElement* folder = GetParameterFolder();
    auto f = std::make_unique<CZuVecFunc>(name, GetSubsystemTable(), bands, folder, ElementType::ModalEnergy);
    for (int b = 0; b < bands; ++b)
        f->DataIndex(b) = GetFreq(b);
    return folder->AddChild(std::move(f));
}

int CSEAModelData::SetVecFuncValues(const std::string& name, const CZuVecFunc* source, int band)
{
    if (name.empty() || !source)
        return 0;
    CZuVecFunc* target = GetOrCreateVecFunc(name);
    if (!target)
        return 0;
    if (target == source)
        return 1;
    if (target->GetDataCount() != source->GetDataCount() || target->GetSubsystemCount() != source->GetSubsystemCount())
        return 0;
    if (band >= 0 && band < target->GetDataCount()) {
        for (int k = 0; k < target->GetSubsystemCount(); ++k)
            target->DataValue(band, k) = source->DataValue(band, k);
    } else {
        target->Assign(*source);
    }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Text exchange

int CSEAModelData::Export(CStdioFile& file)
{
    try {
        if (!CZuData::Export(file))
            return 0;
        if (CZuMatFunc* E = GetEtaMatrix(0); E && !E->Export(file))
            return 0;
        if (CZuVecFunc* n = GetModalDensity(0); n && !n->Export(file))
            return 0;
        if (CZuVecFunc* k = GetWaveNumber(0); k && !k->Export(file))
            return 0;
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

int CSEAModelData::Import(CStdioFile& file)
{
    try {
        if (!CZuData::Import(file))
            return 0;
        // Only the main wave of each subsystem takes part in the model.
        CZuSubsystemTable* table = GetSubsystemTable();
        for (int i = table->GetCount() - 1; i >= 0; --i)
            if (CGfxUtil::GetWaveType((*table)[i], 0) != CGfxUtil::WAVE_FLEXURAL)
                table->RemoveAt(i);

        const int bands = GetFreqCount();
        auto eta = std::make_unique<CZuMatFunc>("", table, table, bands, this, ElementType::EtaMatrix);
        auto density = std::make_unique<CZuVecFunc>("", table, bands, this, ElementType::ModalDensity);
        auto wave = std::make_unique<CZuVecFunc>("", table, bands, this, ElementType::WaveNumber);
        // A function of another band count than the model's does not belong to it.
        if (!eta->Import(file) || eta->GetDataCount() != bands)
            return 0;
        if (!density->Import(file) || density->GetDataCount() != bands)
            return 0;
        if (!wave->Import(file) || wave->GetDataCount() != bands)
            return 0;
        eta->SetSubsystemTable(table, table);
        density->SetSubsystemTable(table);
        wave->SetSubsystemTable(table);
        for (int b = 0; b < bands; ++b) {
            eta->DataIndex(b) = GetFreq(b);
            density->DataIndex(b) = GetFreq(b);
            wave->DataIndex(b) = GetFreq(b);
        }
        ReplaceTypedChild(std::move(eta));
        ReplaceTypedChild(std::move(density));
        ReplaceTypedChild(std::move(wave));
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Persistence

void CSEAModelData::Serialize(CArchive& ar)
{
    // The schema belongs to this object's record; reading the children below replaces it.
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    CZuData::Serialize(ar);
    if (ar.IsStoring()) {
        m_properties.Serialize(ar);
        return;
    }
    if (schema >= 20) // 0xFFFFFFFF (no class record) is the current schema
    {
        m_properties.DeleteAll();
        m_properties.Serialize(ar);
    }
    // Reading leaves the tree as it was stored: rebind the vectors of a folder that was read, and
    // make none.
    const CZuSubsystemTable* table = GetSubsystemTable();
    CMElement* folder = FindParameterFolder();
    for (int i = 0; folder && i < folder->GetChildCount(); ++i)
        if (auto* v = DynamicDowncast<CZuVecFunc>(folder->GetChild(i)))
            v->SetSubsystemTable(table);
}
