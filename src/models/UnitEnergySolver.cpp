#include "models/UnitEnergySolver.h"

#include <cstring>
#include <vector>

#include "models/SEAModelData.h"
#include "platform/elements/CGMSolver.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"

namespace {
void Mix(uint64_t& h, uint64_t w)
{
    h = (h ^ w) * 1099511628211ull;
    h ^= h >> 29;
}

void MixDouble(uint64_t& h, double v)
{
    uint64_t w;
    std::memcpy(&w, &v, sizeof w);
    Mix(h, w);
}

// Fingerprint of band b of the prepared matrix: its values, its band frequency and the row and
// column names. Never 0, which marks a band that was never solved. The values are mixed into eight
// running hashes side by side, which the processor overlaps, and these are mixed into one at the
// end: every run checks every input's matrix this way, and one long chain of multiplications made
// that check the larger part of a large model's energy result.
uint64_t Fingerprint(const CZuMatFunc& m, int b, uint64_t names)
{
    constexpr size_t kLanes = 8;
    uint64_t lanes[kLanes];
    for (size_t k = 0; k < kLanes; ++k)
        lanes[k] = names ^ (0x9e3779b97f4a7c15ull * (k + 1));
    MixDouble(lanes[0], m.DataIndex(b));
    const int rows = m.GetRowSubsystemCount(), cols = m.GetColSubsystemCount();
    if (const double* v = m.GetPointValues(b)) {
        const size_t n = static_cast<size_t>(rows) * cols;
        size_t i = 0;
        for (; i + kLanes <= n; i += kLanes)
            for (size_t k = 0; k < kLanes; ++k)
                MixDouble(lanes[k], v[i + k]);
        for (; i < n; ++i)
            MixDouble(lanes[i % kLanes], v[i]);
    }
    uint64_t h = lanes[0];
    for (size_t k = 1; k < kLanes; ++k)
        Mix(h, lanes[k]);
    return h | 1u;
}

uint64_t NamesFingerprint(const CZuMatFunc& m)
{
    uint64_t h = 1469598103934665603ull;
    for (const CZuSubsystemTable* t : {&m.GetRowTable(), &m.GetColTable()}) {
        Mix(h, static_cast<uint64_t>(t->GetCount()));
        for (int i = 0; i < t->GetCount(); ++i)
            for (char c : (*t)[i])
                Mix(h, static_cast<unsigned char>(c));
    }
    return h;
}
} // namespace

CUnitEnergySolver::CUnitEnergySolver(CSEAModelData* model)
    : m_model(model), m_cache(std::make_unique<CMatrixFactorCache>())
{}

CUnitEnergySolver::~CUnitEnergySolver() = default;

void CUnitEnergySolver::BeginBatch()
{
    m_batch = true;
    m_havePrepared = false;
}

void CUnitEnergySolver::EndBatch()
{
    m_batch = false;
    m_havePrepared = false;
}

CZuMatFunc* CUnitEnergySolver::Prepared(const std::string& plain)
{
    std::string variant = m_model->EtaMatrixVariant(plain);
    if (m_batch && m_havePrepared && variant == m_preparedVariant)
        return m_prepared;
    m_havePrepared = false;
    CZuMatFunc* M = m_model->PrepareEtaMatrix(plain);
    if (!M)
        return nullptr;
    m_prepared = M;
    m_preparedVariant = std::move(variant);
    m_preparedNames = NamesFingerprint(*M);
    m_fingerprints.assign(static_cast<size_t>(M->GetDataCount()), 0);
    m_havePrepared = m_batch;
    return M;
}

uint64_t CUnitEnergySolver::BandFingerprint(int b)
{
    uint64_t& f = m_fingerprints[static_cast<size_t>(b)];
    if (f == 0)
        f = Fingerprint(*m_prepared, b, m_preparedNames);
    return f;
}

CZuVecFunc* CUnitEnergySolver::SolveUnitPowerEnergies(const std::string& name, int modelBand, int recompute)
{
    if (!m_model || name.empty())
        return nullptr;
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    CZuMatFunc* M = Prepared(plain);
    if (!M)
        return nullptr;
    const int bands = M->GetDataCount();
    const int input = M->GetRowIndex(name);
    if (input < 0 || M->GetColIndex(name) != input || M->GetRowSubsystemCount() != M->GetColSubsystemCount())
        return nullptr;
    if (modelBand >= bands)
        return nullptr;

    // Which bands are wanted, and which of them the kept vector already holds.
    CZuVecFunc* kept = m_model->FindVecFunc(name);
    std::vector<uint64_t>& stamps = m_model->GetUnitEnergyStamps()[name];
    if (!kept || kept->GetDataCount() < bands)
        stamps.assign(static_cast<size_t>(bands), 0);
    stamps.resize(static_cast<size_t>(bands), 0);
    std::vector<uint64_t> current(static_cast<size_t>(bands), 0);
    std::vector<int> mask(static_cast<size_t>(bands), 0);
    int toSolve = 0;
    for (int b = 0; b < bands; ++b) {
        if (modelBand >= 0 && b != modelBand)
            continue;
        current[static_cast<size_t>(b)] = BandFingerprint(b);
        if (recompute || !kept || stamps[static_cast<size_t>(b)] != current[static_cast<size_t>(b)]) {
            mask[static_cast<size_t>(b)] = 1;
            ++toSolve;
        }
    }
    if (toSolve == 0)
        return kept;

    const CZuSubsystemTable& rows = M->GetRowTable();
    CZuVecFunc rhs("Unit Power", &rows, bands, nullptr, ElementType::InputPower);
    CZuVecFunc solution("Unit Energy", &rows, bands, nullptr, ElementType::ModalEnergy);
    for (int b = 0; b < bands; ++b) {
        rhs.DataIndex(b) = solution.DataIndex(b) = M->DataIndex(b);
        rhs.DataValue(b, input) = 1.0;
    }
    CCGMSolver solver(M, &rhs, &solution);
    solver.SetCalcFreq(mask.data(), bands);
    solver.ShowProgress(0, 1, nullptr);
    solver.SetFactorCache(m_cache.get());
    if (!solver.Solve())
        return nullptr;

    // Into the kept vector by name, so that a model table in another order still gets its values.
    CZuVecFunc* target = m_model->GetOrCreateVecFunc(name);
    if (!target)
        return nullptr;
    if (target != kept)
        stamps.assign(static_cast<size_t>(bands), 0); // a new vector holds nothing yet
    const int targetBands = target->GetDataCount() < bands ? target->GetDataCount() : bands;
    for (int b = 0; b < targetBands; ++b) {
        if (!mask[static_cast<size_t>(b)])
            continue;
        for (int k = 0; k < target->GetSubsystemCount(); ++k) {
            const int r = rows.GetIndex(target->GetSubsystem(k));
            target->DataValue(b, k) = r >= 0 ? solution.DataValue(b, r) : 0.0;
        }
        stamps[static_cast<size_t>(b)] = current[static_cast<size_t>(b)];
        ++m_solvedBands;
    }
    return m_model->FindVecFunc(name);
}

int CUnitEnergySolver::SolveUnitEnergies(const CZuSubsystemTable& names, int modelBand, int recompute)
{
    BeginBatch();
    int ok = 1;
    for (int i = 0; i < names.GetCount() && ok; ++i)
        ok = SolveUnitPowerEnergies(names[i], modelBand, recompute) != nullptr;
    EndBatch();
    return ok;
}
