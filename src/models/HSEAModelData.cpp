#include "models/HSEAModelData.h"

#include <cmath>
#include <vector>

#include "models/GClfData.h"
#include "models/GClfGroup.h"
#include "models/HSEAGeneralData.h"
#include "models/LossFactorFuncs.h"
#include "models/ModelProjectLink.h"
#include "models/ModelStrings.h"
#include "models/UpdateLog.h"
#include "models/ZuStringList.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CHSEAModelData, CSEAModelData, 30 | VERSIONABLE_SCHEMA)

namespace {

// A global coupling of one direction only still couples a little: an exact zero would cut the
// path in the solve.
constexpr double kTinyCoupling = 1e-20;
// Element type of CLF data that can stand in for global CLF data.

std::string Plain(std::string name)
{
    CGfxUtil::RemoveWaveSign(name);
    return name;
}

// Every CLF function of the store, its own and those of its groups.
std::vector<CZuClfFunc*> AllClfs(const CGClfData* g)
{
    std::vector<CZuClfFunc*> out;
    if (!g)
        return out;
    CMElementList list;
    g->Find(RUNTIME_CLASS(CZuClfFunc), list, -1);
    for (int i = 0; i < list.GetSize(); ++i)
        if (auto* f = DynamicDowncast<CZuClfFunc>(list[i]))
            out.push_back(f);
    return out;
}

} // namespace

CHSEAModelData::CHSEAModelData() : CHSEAModelData(nullptr, nullptr, 1, 1, 0, 0) {}

CHSEAModelData::CHSEAModelData(CZuData* source, CMElement* parent, int clfConstraint, int dlfConstraint,
                               int reciprocity, int symmetricCopy)
    : CSEAModelData("", parent, ElementType::HseaModel, -1, 0.0, 0.0), m_nClfConstraint(clfConstraint),
      m_nDlfConstraint(dlfConstraint), m_nReciprocity(reciprocity), m_nSymmetricCopy(symmetricCopy),
      m_strings(std::make_unique<CZuStringList>())
{
    SetName(ModelFormat(IDS_SERIAL_NAME, "%s #%d", kBaseName, static_cast<int>(GetSerialNumber())));
    m_nModified = 1;
    if (source)
        CopyModelData(source);
    m_nClfConstraint = 1;
    m_nDlfConstraint = 1;
}

CHSEAModelData::~CHSEAModelData() = default;

// ---------------------------------------------------------------------------------------------
// Model copy and global CLF data

int CHSEAModelData::CopyModelData(CZuData* source)
{
    if (!CSEAModelData::CopyModelData(source))
        return 0;
    SetupGClfData(source);
    PrepareEtaMatrix("");
    return 1;
}

CGClfData* CHSEAModelData::GetGClfData() const
{
    return DynamicDowncast<CGClfData>(FindOneChild(ElementType::GClfData));
}

void CHSEAModelData::SetupGClfData(CZuData* source)
{
    std::unique_ptr<CMElement> copy;
    if (auto* g = source ? DynamicDowncast<CGClfData>(source->FindOneChild(ElementType::GClfData)) : nullptr) {
        copy = g->Duplicate();
    } else if (auto* clfs =
                   source ? DynamicDowncast<CHSEAGeneralData>(source->FindOneChild(ElementType::ClfData)) : nullptr) {
        // CLF data become the store's own functions, so that the look-ups of the store find them.
        auto store = std::make_unique<CGClfData>(this, clfs->GetDomainType(), clfs->GetStartFreq(), clfs->GetEndFreq());
        for (int i = 0; i < clfs->GetChildCount(); ++i)
            if (auto* f = DynamicDowncast<CZuClfFunc>(clfs->GetChild(i)))
                if (auto dup = f->Duplicate())
                    store->AddChild(std::move(dup));
        copy = std::move(store);
    }
    while (CMElement* old = FindOneChild(ElementType::GClfData))
        DeleteChild(old, 1);
    if (!copy)
        copy = std::make_unique<CGClfData>(this, GetDomainType(), GetStartFreq(), GetEndFreq());
    AddChild(std::move(copy));
}

// ---------------------------------------------------------------------------------------------
// The prepared matrix

CZuMatFunc* CHSEAModelData::PrepareEtaMatrix(const std::string& name)
{
    if (!GetSavedEtaMatrix()) {
        std::unique_ptr<CZuMatFunc> copy = CloneMatFunc(this, ElementType::EtaMatrix);
        if (!copy)
            return nullptr;
        SetSavedEtaMatrix(std::move(copy));
    } else {
        CZuMatFunc* eta = GetEtaMatrix(1);
        if (!eta)
            return nullptr;
        GetSavedEtaMatrix()->Assign(*eta);
    }
    if (CGClfData* g = GetGClfData()) {
        ApplyGClf(name, g, 1);
        if (CGClfGroup* group = name.empty() ? nullptr : g->FindGroup(name, 1))
            ApplyGClf(name, group, 0);
        if (CGClfGroup* common = g->FindCommonGroup())
            ApplyGClf(name, common, 0);
    }
    return GetSavedEtaMatrix();
}

std::string CHSEAModelData::EtaMatrixVariant(const std::string& name)
{
    CGClfData* g = GetGClfData();
    if (!g || name.empty())
        return {};
    const std::string target = Plain(name);
    if (g->FindGroup(name, 1))
        return target;
    // The filter of ApplyGClf: a side that is an input subsystem counts only for that input.
    IModelProjectLink* project = IModelProjectLink::Find(this);
    bool named = false;
    for (int c = 0; c < g->GetChildCount() && !named; ++c)
        if (auto* f = DynamicDowncast<CZuClfFunc>(g->GetChild(c)); f && f->GetSubsystemCount() >= 2)
            named = Plain(f->GetSubsystem(0)) == target || Plain(f->GetSubsystem(1)) == target;
    return named && project && project->IsInputSubsystem(target) ? target : std::string();
}

void CHSEAModelData::ApplyGClf(const std::string& name, CMElement* set, int filter)
{
    CZuMatFunc* M = GetSavedEtaMatrix();
    CZuVecFunc* D = GetModalDensity(0);
    if (!M || !D || !set)
        return;
    IModelProjectLink* project = filter ? IModelProjectLink::Find(this) : nullptr;
    const std::string target = Plain(name);
    auto used = [&](const std::string& side) {
        if (!filter)
            return true;
        const std::string plain = Plain(side);
        return plain == target || !(project && project->IsInputSubsystem(plain));
    };
    for (int c = 0; c < set->GetChildCount(); ++c) {
        auto* f = DynamicDowncast<CZuClfFunc>(set->GetChild(c));
        if (!f || f->GetSubsystemCount() < 2)
            continue;
        const std::string s0 = f->GetSubsystem(0), s1 = f->GetSubsystem(1);
        const int i = M->GetRowIndex(s0), j = M->GetRowIndex(s1);
        const int di = D->GetIndex(s0), dj = D->GetIndex(s1);
        if (i < 0 || j < 0 || di < 0 || dj < 0 || i >= M->GetColSubsystemCount() || j >= M->GetColSubsystemCount())
            continue;
        const bool use0 = used(s0), use1 = used(s1);
        int bands = M->GetDataCount();
        if (bands > f->GetDataCount())
            bands = f->GetDataCount();
        if (bands > D->GetDataCount())
            bands = D->GetDataCount();
        for (int b = 0; b < bands; ++b) {
            double eta01 = use0 ? f->DataValue(b, 0) : 0.0;
            double eta10 = use1 ? f->DataValue(b, 1) : 0.0;
            if (eta01 == 0.0 && eta10 != 0.0)
                eta01 = kTinyCoupling;
            else if (eta10 == 0.0 && eta01 != 0.0)
                eta10 = kTinyCoupling;
            M->DataValue(b, j, i) -= eta01 * D->DataValue(b, di);
            M->DataValue(b, i, j) -= eta10 * D->DataValue(b, dj);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Entry edits

int CHSEAModelData::SetDlfEntry(CZuMatFunc* M, CZuVecFunc* D, int b, int i, double value)
{
    if (!M || !D || b < 0 || b >= M->GetDataCount() || b >= D->GetDataCount() || i < 0 ||
        i >= M->GetRowSubsystemCount() || i >= M->GetColSubsystemCount())
        return 0;
    const std::string name = M->GetRowSubsystem(i);
    const int di = D->GetIndex(name);
    if (di < 0)
        return 0;
    const bool block = m_nDlfConstraint == 0 && CGfxUtil::GetWaveType(name, 1) == CGfxUtil::WAVE_FLEXURAL;
    // The three waves of a subsystem stand next to each other, this one last; a subsystem at the
    // start of the table has no two waves before it, so the edit is refused rather than reaching
    // outside the matrix.
    if (block && i < 2)
        return 0;

    M->DataValue(b, i, i) = value * D->DataValue(b, di);
    if (block) {
        const int rows = M->GetRowSubsystemCount();
        double sum = 0.0;
        for (int r = 0; r < rows; ++r)
            sum += M->DataValue(b, r, i);
        const double s = sum / D->DataValue(b, di);
        for (int u = i - 2; u <= i - 1; ++u) {
            const int du = D->GetIndex(M->GetRowSubsystem(u));
            if (du < 0)
                continue;
            double others = 0.0;
            for (int r = 0; r < rows; ++r)
                if (r != u)
                    others += M->DataValue(b, r, u);
            M->DataValue(b, u, u) = s * D->DataValue(b, du) - others;
        }
    }
    m_nModified = 1;
    return 1;
}

int CHSEAModelData::SetClfEntry(CZuMatFunc* M, int b, int r, int c, double value, CFeedback* feedback)
{
    if (!M || b < 0 || b >= M->GetDataCount() || r < 0 || r >= M->GetRowSubsystemCount() || c < 0 ||
        c >= M->GetColSubsystemCount())
        return 0;
    // Only a coupling (a negative entry) can be set. A CLF of 0 or below would empty the entry, and
    // an empty entry can never be edited again: the matrix keeps the coupling, the edit is accepted
    // so that the record asking for it is kept (and the model counts as changed by it).
    if (!(value < 0.0))
        return 1;
    const double current = M->DataValue(b, r, c);
    if (current == 0.0) {
        feedback->Warning(FormatString(IDS_CLF_ENTRY_ZERO, M->DataIndex(b), M->GetRowSubsystem(r).c_str(),
                                       M->GetColSubsystem(c).c_str()),
                          IDS_CLF_ENTRY_ZERO);
        return 0;
    }
    const bool block = m_nClfConstraint == 0 &&
                       CGfxUtil::GetWaveType(M->GetRowSubsystem(r), 1) == CGfxUtil::WAVE_FLEXURAL &&
                       CGfxUtil::GetWaveType(M->GetColSubsystem(c), 1) == CGfxUtil::WAVE_FLEXURAL;
    if (block) {
        // The block of the two subsystems' three waves each ends at (r, c).
        if (r < 2 || c < 2)
            return 0;
        const double factor = value / current;
        for (int rr = r - 2; rr <= r; ++rr)
            for (int cc = c - 2; cc <= c; ++cc)
                M->DataValue(b, rr, cc) *= factor;
    } else {
        M->DataValue(b, r, c) = value;
    }
    m_nModified = 1;
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Update records

bool CHSEAModelData::MirrorPair(const std::string& a, const std::string& b, std::string& ma, std::string& mb)
{
    ma = a;
    mb = b;
    const bool hasA = CGfxUtil::GetSymmetricSubsystem(a, &ma) != 0;
    const bool hasB = !b.empty() && CGfxUtil::GetSymmetricSubsystem(b, &mb) != 0;
    return hasA || hasB;
}

int CHSEAModelData::ApplyOne(tagUPDATE& record, const std::string& a, const std::string& b, bool primary,
                             CFeedback* feedback)
{
    const CZuSubsystemTable* table = GetSubsystemTable();
    const int band = record.m_band;
    if (band < 0)
        return 0;
    const unsigned ub = static_cast<unsigned>(band);
    const double value = record.m_newValue;
    auto keep = [&](double old) {
        if (primary)
            record.m_oldValue = old;
        return value != old;
    };

    switch (record.m_type) {
    case UPDATE_CLF:
    case UPDATE_CLF_ALT: {
        CZuMatFunc* M = GetEtaMatrix(1);
        CZuVecFunc* D = GetModalDensity(1);
        const int ia = table->GetIndex(a), ib = table->GetIndex(b);
        if (!M || !D || a == b || ia < 0 || ib < 0)
            return 0;
        const int col = M->GetColIndex(a), row = M->GetRowIndex(b), da = D->GetIndex(a);
        if (col < 0 || row < 0 || da < 0 || band >= D->GetDataCount())
            return 0;
        const double old = ExtractClf(a, b, ub, feedback);
        if (old == kNoValue || !keep(old))
            return 0;
        return SetClfEntry(M, band, row, col, -(value * D->DataValue(band, da)), feedback);
    }
    case UPDATE_GCLF: {
        CGClfData* g = GetGClfData();
        if (!g || a == b)
            return 0;
        CZuClfFunc* f = g->FindGlobalClf(a, b, "", 1);
        if (!f)
            f = g->AddGlobalClf(a, b, 0, nullptr);
        const int k = f ? f->GetIndex(a) : -1;
        if (k < 0 || band >= f->GetDataCount())
            return 0;
        if (!keep(f->DataValue(band, k)))
            return 0;
        f->DataValue(band, k) = value;
        return 1;
    }
    case UPDATE_TOTAL_DLF: {
        CZuMatFunc* M = GetEtaMatrix(1);
        CZuVecFunc* D = GetModalDensity(1);
        const int i = M ? M->GetRowIndex(a) : -1;
        if (!M || !D || i < 0)
            return 0;
        const double old = ExtractTotalDlf(a, ub, feedback);
        if (old == kNoValue || !keep(old))
            return 0;
        return SetDlfEntry(M, D, band, i, value);
    }
    case UPDATE_MATRIX_ENTRY: {
        CZuMatFunc* M = GetEtaMatrix(1);
        const int row = M ? M->GetRowIndex(b) : -1, col = M ? M->GetColIndex(a) : -1;
        if (!M || row < 0 || col < 0 || band >= M->GetDataCount())
            return 0;
        if (!keep(M->DataValue(band, row, col)))
            return 0;
        M->DataValue(band, row, col) = value;
        return 1;
    }
    default:
        return 0;
    }
}

int CHSEAModelData::ApplyUpdate(tagUPDATE* record, CFeedback* feedback)
{
    if (!record)
        return 0;
    if (!ApplyOne(*record, record->m_name1, record->m_name2, true, feedback))
        return 0;
    std::string ma, mb;
    if (m_nSymmetricCopy && MirrorPair(record->m_name1, record->m_name2, ma, mb))
        ApplyOne(*record, ma, mb, false, feedback);
    m_nModified = 1;
    return 1;
}

int CHSEAModelData::ApplyUpdateLog(CUpdateLog* log, CFeedback* feedback)
{
    if (!log)
        return 0;
    if (log->GetCount() == 0)
        return 1;
    int applied = 0;
    for (int i = 0; i < log->GetCount();) {
        if (ApplyUpdate(log->GetAt(i), feedback)) {
            applied = 1;
            ++i;
        } else {
            log->RemoveAt(i); // the next record takes its index
        }
    }
    return applied;
}

// ---------------------------------------------------------------------------------------------
// Connection information

int CHSEAModelData::UpdateConnectionInfo(CFeedback* feedback)
{
    const int base = CSEAModelData::UpdateConnectionInfo(feedback);
    CGClfData* g = GetGClfData();
    if (!g)
        return 0;
    const CZuSubsystemTable* all = GetAllSubsystems();
    auto index = [all](const std::string& name) {
        if (!all)
            return -1;
        const std::string plain = Plain(name);
        for (int k = 0; k < all->GetCount(); ++k)
            if (Plain((*all)[k]) == plain)
                return k;
        return -1;
    };
    const int bands = GetFreqCount();
    for (CZuClfFunc* f : AllClfs(g)) {
        if (f->GetSubsystemCount() < 2)
            continue;
        const int p = index(f->GetSubsystem(0)), q = index(f->GetSubsystem(1));
        if (p < 0 || q < 0)
            continue;
        int state = 0;
        for (int b = 0; b < f->GetDataCount() && b < bands; ++b) {
            if (std::fabs(f->DataValue(b, 0)) >= kTinyCoupling)
                SetConnection(p, q, b, static_cast<uint8_t>(GetConnection(p, q, b) | 16));
            if (std::fabs(f->DataValue(b, 1)) >= kTinyCoupling)
                SetConnection(q, p, b, static_cast<uint8_t>(GetConnection(q, p, b) | 16));
            state |= GetConnection(p, q, b);
        }
        CGClfData::NameClfFunc(f, state);
    }
    return base;
}

// ---------------------------------------------------------------------------------------------
// Text

int CHSEAModelData::Export(CStdioFile& file)
{
    if (!CSEAModelData::Export(file))
        return 0;
    if (CGClfData* g = GetGClfData())
        return g->Export(file);
    // A model without global CLFs writes an empty store, so that its text reads back.
    CGClfData empty(this, GetDomainType(), GetStartFreq(), GetEndFreq());
    return empty.Export(file);
}

int CHSEAModelData::Import(CStdioFile& file)
{
    if (!CSEAModelData::Import(file))
        return 0;
    auto g = std::make_unique<CGClfData>(this, GetDomainType(), GetStartFreq(), GetEndFreq());
    if (!g->Import(file))
        return 0;
    while (CMElement* old = FindOneChild(ElementType::GClfData))
        DeleteChild(old, 1);
    AddChild(std::move(g));
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Model update

int CHSEAModelData::ApplyModelUpdate(const std::string& name, const CZuSubsystemTable&, CFeedback* feedback)
{
    return ApplyModelUpdate(name, feedback);
}

int CHSEAModelData::ApplyModelUpdate(const std::string& name, CFeedback* feedback)
{
    CGClfData* g = GetGClfData();
    if (!g)
        return 0;
    IModelProjectLink* project = IModelProjectLink::Find(this);
    const CZuSubsystemTable* table = GetSubsystemTable();
    const std::string target = Plain(name);

    std::vector<std::string> names;
    for (int k = 0; k < table->GetCount(); ++k) {
        const std::string key = (*table)[k];
        std::string plain = Plain(key);
        if (project) {
            std::string typed = plain;
            if (project->GetSubsystemType(typed, 0) == 5 && project->IsSubsystemConnected(plain, target))
                continue;
        }
        names.push_back(key);
    }

    const int bands = GetFreqCount();
    std::vector<double> values(static_cast<size_t>(bands > 0 ? bands : 0));
    CUpdateLog log;
    auto collect = [&](const std::string& a, const std::string& b) {
        if (bands <= 0)
            return;
        if (ExtractClf(a, b, values.data(), static_cast<unsigned>(bands), feedback))
            for (int k = 0; k < bands; ++k)
                if (values[static_cast<size_t>(k)] > 0.0)
                    log.Add(a, b, UPDATE_CLF, k, kTinyCoupling);
        if (g->ExtractGlobalClf(a, b, values.data(), bands, ""))
            for (int k = 0; k < bands; ++k)
                if (values[static_cast<size_t>(k)] > 0.0)
                    log.Add(a, b, UPDATE_GCLF, k, kTinyCoupling);
    };
    for (size_t i = 0; i < names.size(); ++i)
        for (size_t j = i + 1; j < names.size(); ++j) {
            collect(names[i], names[j]);
            collect(names[j], names[i]);
        }
    ApplyUpdateLog(&log, feedback);
    UpdateConnectionInfo(feedback);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Developer dump

int CHSEAModelData::WriteDump(CStdioFile& file, const std::string&)
{
    static const char* const kNames[] = {"Dpr Housing Up -L-F",    "Dpr Housing Up -R-F", "Side Frame Fr Btm -L-F",
                                         "Side Frame Fr Btm -R-F", "Sub Frame Fr Back-F", "Sub Frame Fr Ctr-F"};
    try {
        auto header = [&file]() {
            for (const char* n : kNames)
                file.WriteString(Format("\t%s", n));
            file.WriteString("\n");
        };
        if (CZuMatFunc* M = GetEtaMatrix(0)) {
            file.WriteString("##### ETA MATRIX #####\n\n");
            header();
            for (const char* row : kNames) {
                file.WriteString(Format("%s", row));
                const int r = M->GetRowIndex(row);
                for (const char* col : kNames) {
                    const int c = M->GetColIndex(col);
                    const double v = r >= 0 && c >= 0 && M->GetDataCount() > 0 ? M->DataValue(0, r, c) : 0.0;
                    file.WriteString(Format("\t%e", v));
                }
                file.WriteString("\n");
            }
        }
        if (CGClfData* g = GetGClfData()) {
            file.WriteString("\n##### GCLF MATRIX #####\n\n");
            header();
            for (const char* row : kNames) {
                file.WriteString(Format("%s", row));
                for (const char* col : kNames) {
                    CZuClfFunc* f = g->FindGlobalClf(row, col, "", 1);
                    const int k = f ? f->GetIndex(row) : -1;
                    if (k >= 0 && f->GetDataCount() > 0)
                        file.WriteString(Format("\t%e", f->DataValue(0, k)));
                }
                file.WriteString("\n");
            }
        }
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Persistence

void CHSEAModelData::Serialize(CArchive& ar)
{
    CSEAModelData::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_strings.get());
        ar << m_nClfConstraint << m_nDlfConstraint << m_nReciprocity << m_nSymmetricCopy << m_nStored;
        return;
    }
    m_strings.reset();
    m_strings = ar.ReadOwned<CZuStringList>();
    if (!m_strings)
        m_strings = std::make_unique<CZuStringList>();
    ar >> m_nClfConstraint >> m_nDlfConstraint >> m_nReciprocity >> m_nSymmetricCopy >> m_nStored;
}
