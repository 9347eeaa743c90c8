#include "platform/elements/ZuData.h"

#include "platform/archive/Archive.h"
#include "platform/archive/Collections.h"
#include "platform/base/Format.h"
#include "platform/elements/SchemaGuard.h"
#include "platform/elements/ElementText.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuFuncElement.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"

IMPLEMENT_SERIAL(CZuData, CMElement, 1)

std::atomic<uint32_t> CZuData::s_creationCount{0};

namespace {
constexpr uint8_t kDataVersion = 1;
constexpr int kDataTextVersion = 1;

// Direct children of a type code that are of class T.
template <class T>
T* ChildOfType(const CMElement& parent, int type)
{
    for (int i = 0; i < parent.GetChildCount(); ++i) {
        CMElement* child = parent.GetChild(i);
        if (child->GetType() == type)
            if (T* typed = DynamicDowncast<T>(child))
                return typed;
    }
    return nullptr;
}
} // namespace

CZuData::CZuData() : m_table(std::make_unique<CZuSubsystemTable>()) {}

CZuData::CZuData(const std::string& name, CMElement* parent, int type, int domainType, double startFreq, double endFreq)
    : CMElement(name, parent, type), m_serial(++s_creationCount), m_table(std::make_unique<CZuSubsystemTable>())
{
    if (domainType >= 0)
        m_bands = std::make_unique<COctaveManagerEx>(domainType, startFreq, endFreq);
}

CZuData::~CZuData() = default;

uint32_t CZuData::GetCreationCount()
{
    return s_creationCount.load();
}

void CZuData::SetCreationCount(uint32_t count)
{
    s_creationCount.store(count);
}

void CZuData::SetFreqInfo(int domainType, double startFreq, double endFreq)
{
    m_bands = std::make_unique<COctaveManagerEx>(domainType, startFreq, endFreq);
}

void CZuData::SetOctaveManager(const COctaveManager* bands)
{
    if (bands == m_bands.get())
        return;
    m_bands = bands ? std::make_unique<COctaveManagerEx>(*bands) : nullptr;
}

void CZuData::SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands)
{
    m_bands = std::move(bands);
}

int CZuData::GetFreqCount() const
{
    return m_bands ? m_bands->GetFreqCount() : 0;
}

double CZuData::GetFreq(int i) const
{
    return m_bands ? m_bands->GetFreq(i) : 0.0;
}

double CZuData::GetStartFreq() const
{
    return m_bands ? m_bands->GetStartFreq() : 0.0;
}

double CZuData::GetEndFreq() const
{
    return m_bands ? m_bands->GetEndFreq() : 0.0;
}

int CZuData::GetDomainType() const
{
    return m_bands ? m_bands->GetDomainType() : -1;
}

void CZuData::SetSubsystemTable(const CZuSubsystemTable* table)
{
    if (table == m_table.get())
        return;
    m_table = std::make_unique<CZuSubsystemTable>(table ? *table : CZuSubsystemTable());
}

// ---- connections ----

int CZuData::CreateConnectionInfo(const CZuSubsystemTable* table)
{
    if (table == nullptr)
        return 0;
    auto all = std::make_unique<CZuSubsystemTable>(*table);
    size_t n = static_cast<size_t>(all->GetCount());
    m_connectionBands = GetFreqCount();
    m_connections.assign(n * n * static_cast<size_t>(m_connectionBands), 0);
    m_allSubsystems = std::move(all);
    return 1;
}

int CZuData::UpdateConnectionInfo(CFeedback*)
{
    return 0;
}

size_t CZuData::ConnectionOffset(int i, int j, int band) const
{
    int n = m_allSubsystems ? m_allSubsystems->GetCount() : 0;
    if (i < 0 || i >= n || j < 0 || j >= n || band < 0 || band >= m_connectionBands)
        return static_cast<size_t>(-1);
    return (static_cast<size_t>(i) * n + j) * m_connectionBands + band;
}

uint8_t CZuData::GetConnection(int i, int j, int band) const
{
    size_t at = ConnectionOffset(i, j, band);
    return at == static_cast<size_t>(-1) ? 0 : m_connections[at];
}

void CZuData::SetConnection(int i, int j, int band, uint8_t flag)
{
    size_t at = ConnectionOffset(i, j, band);
    if (at != static_cast<size_t>(-1))
        m_connections[at] = flag;
}

int CZuData::IsConnected(const std::string& a, const std::string& b, int band) const
{
    if (!m_allSubsystems)
        return 0;
    int i = m_allSubsystems->GetIndex(a);
    int j = m_allSubsystems->GetIndex(b);
    if (i < 0 || j < 0)
        return 0;
    if (band >= 0)
        return GetConnection(i, j, band) == 1 ? 1 : 0;
    for (int k = 0; k < m_connectionBands; ++k)
        if (GetConnection(i, j, k) == 1)
            return 1;
    return 0;
}

int CZuData::GetConnections(const std::string& a, CZuSubsystemTable& out, int band) const
{
    out.Clear();
    if (!m_allSubsystems)
        return 0;
    for (int j = 0; j < m_allSubsystems->GetCount(); ++j)
        if (IsConnected(a, (*m_allSubsystems)[j], band))
            out.Add((*m_allSubsystems)[j]);
    return out.GetCount();
}

// ---- model quantities ----

CZuMatFunc* CZuData::GetEtaMatrix(int)
{
    return ChildOfType<CZuMatFunc>(*this, ElementType::EtaMatrix);
}

CZuVecFunc* CZuData::GetModalDensity(int)
{
    return ChildOfType<CZuVecFunc>(*this, ElementType::ModalDensity);
}

CZuVecFunc* CZuData::GetWaveNumber(int)
{
    return ChildOfType<CZuVecFunc>(*this, ElementType::WaveNumber);
}

CZuMatFunc* CZuData::GetClfDlfMatrix(int)
{
    return ChildOfType<CZuMatFunc>(*this, ElementType::ClfDlfMatrix);
}

CZuFuncElement* CZuData::GetClf(std::string& a, std::string& b, int retried)
{
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* f = DynamicDowncast<CZuFuncElement>(GetChild(i));
        if (f && f->GetType() == ElementType::Clf && f->GetSubsystemCount() >= 2 && f->GetSubsystem(0) == a &&
            f->GetSubsystem(1) == b)
            return f;
    }
    if (retried)
        return nullptr;
    CZuFuncElement* swapped = GetClf(b, a, 1);
    if (swapped)
        std::swap(a, b);
    return swapped;
}

CZuFuncElement* CZuData::GetTotalDlf(const std::string& subsystem)
{
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* f = DynamicDowncast<CZuFuncElement>(GetChild(i));
        if (f && f->GetType() == ElementType::TotalDlf && f->GetSubsystemCount() >= 1 &&
            f->GetSubsystem(0) == subsystem)
            return f;
    }
    return nullptr;
}

CZuFuncElement* CZuData::GetIntrinsicDlf(const std::string& subsystem)
{
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* f = DynamicDowncast<CZuFuncElement>(GetChild(i));
        if (f && f->GetType() == ElementType::IntrinsicDlf && f->GetSubsystemCount() >= 1 &&
            f->GetSubsystem(0) == subsystem)
            return f;
    }
    return nullptr;
}

// ---- extraction: model data override these ----

double CZuData::ExtractClf(const std::string&, const std::string&, unsigned, CFeedback*)
{
    return kNoValue;
}
int CZuData::ExtractClf(const std::string&, const std::string&, double*, unsigned, CFeedback*)
{
    return 0;
}
CMElement* CZuData::ExtractClf(const std::string&, const std::string&, CFeedback*)
{
    return nullptr;
}
double CZuData::ExtractIntrinsicDlf(const std::string&, unsigned, CFeedback*)
{
    return kNoValue;
}
int CZuData::ExtractIntrinsicDlf(const std::string&, double*, unsigned, CFeedback*)
{
    return 0;
}
CMElement* CZuData::ExtractIntrinsicDlf(const std::string&, CFeedback*)
{
    return nullptr;
}
double CZuData::ExtractTotalDlf(const std::string&, unsigned, CFeedback*)
{
    return kNoValue;
}
int CZuData::ExtractTotalDlf(const std::string&, double*, unsigned, CFeedback*)
{
    return 0;
}
CMElement* CZuData::ExtractTotalDlf(const std::string&, CFeedback*)
{
    return nullptr;
}
double CZuData::ExtractModalDensity(const std::string&, unsigned)
{
    return kNoValue;
}
int CZuData::ExtractModalDensity(const std::string&, double*, unsigned)
{
    return 0;
}
double CZuData::ExtractWaveNumber(const std::string&, unsigned)
{
    return kNoValue;
}
int CZuData::ExtractWaveNumber(const std::string&, double*, unsigned)
{
    return 0;
}

int CZuData::UpdateAllData(CZuData*, long, CObject*)
{
    return 1;
}

// ---- text ----

int CZuData::Export(CStdioFile& file)
{
    try {
        file.WriteString(Format("#ZuData\t%d\n", kDataTextVersion));
        if (m_bands) {
            int n = m_bands->GetFreqCount();
            file.WriteString(Format("#Bands\t%d\t%s\t%s\t%d\n", m_bands->GetDomainType(),
                                    zu_text::Number(m_bands->GetStartFreq()).c_str(),
                                    zu_text::Number(m_bands->GetEndFreq()).c_str(), n));
            for (int i = 0; i < n; ++i) {
                const CFreqInfo& band = m_bands->GetFreqInfo(i);
                file.WriteString(Format("%s\t%s\t%s\t%d\n", zu_text::Number(band.GetCenterFreq()).c_str(),
                                        zu_text::Number(band.GetLowerFreq()).c_str(),
                                        zu_text::Number(band.GetUpperFreq()).c_str(),
                                        static_cast<int>(band.GetDomainType())));
            }
        } else {
            file.WriteString("#Bands\t-1\t0\t0\t0\n");
        }
        std::string line = "#Subsystems";
        for (const std::string& name : m_table->Names()) {
            line += '\t';
            line += zu_text::Escape(name);
        }
        file.WriteString(line + "\n");
        file.WriteString("#EndData\n");
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

int CZuData::Import(CStdioFile& file)
{
    try {
        std::string line;
        std::vector<std::string> head;
        if (!zu_text::ReadHeadFields(file, head))
            return 0;
        int version = 0;
        if (head.size() != 2 || head[0] != "#ZuData" || !zu_text::ParseInt(head[1], version) || version < 1 ||
            version > kDataTextVersion)
            return 0;
        if (!file.ReadString(line))
            return 0;
        std::vector<std::string> bandHead = zu_text::Split(line);
        int kind = 0, count = 0;
        double start = 0, end = 0;
        if (bandHead.size() != 5 || bandHead[0] != "#Bands" || !zu_text::ParseInt(bandHead[1], kind) ||
            !zu_text::ParseDouble(bandHead[2], start) || !zu_text::ParseDouble(bandHead[3], end) ||
            !zu_text::ParseInt(bandHead[4], count) || count < 0)
            return 0;
        // The band set must be one the project file can hold and read back: the same checks as
        // the binary reader, and a range that bands can be built from.
        if (kind >= 0) {
            std::string why = COctaveManager::CheckKind(kind);
            if (why.empty())
                why = COctaveManager::CheckRange(start, end);
            if (why.empty() && kind != OCTAVE_BAND_USER)
                why = COctaveManager::CheckBuildRange(kind, start, end);
            if (!why.empty()) {
                file.SetReadError(why);
                return 0;
            }
        }
        std::vector<CFreqInfo> bands;
        for (int i = 0; i < count; ++i) {
            if (!file.ReadString(line))
                return 0;
            std::vector<std::string> f = zu_text::Split(line);
            double c = 0, lo = 0, hi = 0;
            int domain = 0;
            if (f.size() != 4 || !zu_text::ParseDouble(f[0], c) || !zu_text::ParseDouble(f[1], lo) ||
                !zu_text::ParseDouble(f[2], hi) || !zu_text::ParseInt(f[3], domain) || domain < 0 || domain > 255)
                return 0;
            if (std::string why = CFreqInfo::CheckEdges(c, lo, hi); !why.empty()) {
                file.SetReadError(why);
                return 0;
            }
            bands.emplace_back(c, lo, hi, static_cast<uint8_t>(domain));
        }
        if (!file.ReadString(line))
            return 0;
        std::vector<std::string> names = zu_text::Split(line);
        if (names[0] != "#Subsystems")
            return 0;
        if (!file.ReadString(line) || line != "#EndData")
            return 0;

        std::unique_ptr<COctaveManagerEx> set;
        if (kind >= 0) {
            set = std::make_unique<COctaveManagerEx>(kind, start, end);
            // The stored bands are what the data were made on; a set rebuilt from its kind could
            // differ (user-defined sets, changed band tables), so the stored ones win.
            bool same = set->GetFreqCount() == count;
            for (int i = 0; same && i < count; ++i)
                same = set->GetFreqInfo(i) == bands[static_cast<size_t>(i)];
            if (!same) {
                set->RemoveAll();
                for (const CFreqInfo& band : bands)
                    set->AddFreqInfo(band);
            }
        }
        auto table = std::make_unique<CZuSubsystemTable>();
        for (size_t k = 1; k < names.size(); ++k)
            table->Add(zu_text::Unescape(names[k]));
        m_bands = std::move(set);
        m_table = std::move(table);
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

std::unique_ptr<CMElement> CZuData::Duplicate() const
{
    std::unique_ptr<CMElement> copy = CMElement::Duplicate();
    if (auto* data = DynamicDowncast<CZuData>(copy.get()))
        data->m_serial = ++s_creationCount;
    return copy;
}

void CZuData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kDataVersion;
        CMElement::Serialize(ar);
        ar << m_serial << m_mergeOrder;
        ar.WriteObject(m_bands.get());
        m_table->Serialize(ar);
        ar << static_cast<uint8_t>(m_allSubsystems ? 1 : 0);
        if (m_allSubsystems) {
            m_allSubsystems->Serialize(ar);
            ar << static_cast<int32_t>(m_connectionBands);
            ar << static_cast<uint64_t>(m_connections.size());
            WriteValues(ar, m_connections);
        }
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kDataVersion)
        CArchive::ThrowBadSchema(Format("data version %u", static_cast<unsigned>(version)));
    CSchemaGuard schema(ar);
    CMElement::Serialize(ar);
    uint32_t serial = 0;
    int32_t mergeOrder = 0;
    ar >> serial >> mergeOrder;
    std::unique_ptr<COctaveManagerEx> bands = ar.ReadOwned<COctaveManagerEx>();
    auto table = std::make_unique<CZuSubsystemTable>();
    table->Serialize(ar);
    uint8_t hasAll = 0;
    ar >> hasAll;
    std::unique_ptr<CZuSubsystemTable> all;
    int32_t connectionBands = 0;
    std::vector<uint8_t> connections;
    if (hasAll > 1)
        CArchive::Throw(CArchiveException::genericException, "data: bad connection marker");
    if (hasAll) {
        all = std::make_unique<CZuSubsystemTable>();
        all->Serialize(ar);
        uint64_t count = 0;
        ar >> connectionBands >> count;
        const uint64_t n = static_cast<uint64_t>(all->GetCount());
        // Checked without a product that could wrap round: a forged table and band count whose
        // product wraps to the stored count would leave flags that the look-ups index past.
        uint64_t expected = 0;
        if (connectionBands < 0 || __builtin_mul_overflow(n * n, static_cast<uint64_t>(connectionBands), &expected) ||
            count != expected)
            CArchive::Throw(CArchiveException::genericException,
                            Format("data \"%s\": connection flags do not match their table", GetName().c_str()));
        connections = ReadValues<uint8_t>(ar, count);
    }
    m_serial = serial;
    m_mergeOrder = mergeOrder;
    m_bands = std::move(bands);
    m_table = std::move(table);
    m_allSubsystems = std::move(all);
    m_connectionBands = connectionBands;
    m_connections = std::move(connections);
}
