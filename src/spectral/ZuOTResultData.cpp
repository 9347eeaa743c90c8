#include "spectral/ZuOTResultData.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringTable.h"
#include "spectral/BandSetOwner.h"
#include "spectral/ZuOTDpFunc.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"

IMPLEMENT_SERIAL(CZuOTResultData, CZuData, 15 | VERSIONABLE_SCHEMA)

namespace {
std::string NameOf(uint32_t id, const char* fallback, const std::string& subsystem)
{
    std::string format;
    if (!LoadString(id, format) || format.empty())
        format = fallback;
    return Format(format.c_str(), subsystem.c_str());
}
} // namespace

CZuOTResultData::CZuOTResultData() = default;

CZuOTResultData::CZuOTResultData(const std::string& name, CMElement* parent, int type, int domainType, double startFreq,
                                 double endFreq, const CZuSubsystemTable* table)
    : CZuData(name, parent, type, domainType, startFreq, endFreq)
{
    if (table)
        SetSubsystemTable(table);
    SetName(Format("Result #%d", static_cast<int>(GetSerialNumber())));
}

CZuOTResultData::~CZuOTResultData() = default;

int CZuOTResultData::AddResult(double order, std::unique_ptr<CZuRpmResultData> result)
{
    if (!result)
        return -1;
    result->SetParent(this);
    m_records.push_back({order, std::move(result)});
    return GetResultCount() - 1;
}

double CZuOTResultData::GetKey(int i) const
{
    return i >= 0 && i < GetResultCount() ? m_records[static_cast<size_t>(i)].key : 0.0;
}

CZuRpmResultData* CZuOTResultData::GetResult(int i) const
{
    return i >= 0 && i < GetResultCount() ? m_records[static_cast<size_t>(i)].result.get() : nullptr;
}

float CZuOTResultData::GetOrderFactor() const
{
    const IBandSetOwner* owner = IBandSetOwner::FindOwner(GetParent());
    return owner ? static_cast<float>(owner->GetDaqConfigValue()) : 1.0f;
}

std::unique_ptr<CZuOTFunc> CZuOTResultData::CreateVibrationFunc(const std::string& subsystem) const
{
    if (subsystem.empty())
        return nullptr;
    auto f = std::make_unique<CZuOTFunc>(NameOf(7041, "Vibration Level [%s]", subsystem),
                                         const_cast<CZuOTResultData*>(this), 53);
    f->SetSubsystem(subsystem);
    f->SetOrderFactor(GetOrderFactor());
    return f;
}

std::unique_ptr<CZuOTFunc> CZuOTResultData::CreateSplFunc(const std::string& subsystem) const
{
    if (subsystem.empty())
        return nullptr;
    auto f = std::make_unique<CZuOTFunc>(NameOf(7038, "SPL [%s]", subsystem), const_cast<CZuOTResultData*>(this), 54);
    f->SetSubsystem(subsystem);
    f->SetOrderFactor(GetOrderFactor());
    return f;
}

std::unique_ptr<CZuOTDpFunc> CZuOTResultData::CreateDominantPathFunc(const std::string& subsystem)
{
    if (subsystem.empty())
        return nullptr;
    auto f = std::make_unique<CZuOTDpFunc>(NameOf(7023, "Dominant Path [%s]", subsystem), this, CZuOTDpFunc::kKind);
    f->SetSubsystem(subsystem);
    f->SetOrderFactor(GetOrderFactor());
    return f;
}

std::unique_ptr<CZuOTPcFunc> CZuOTResultData::CreatePowerContributionFunc(const std::string& subsystem)
{
    if (subsystem.empty())
        return nullptr;
    auto f =
        std::make_unique<CZuOTPcFunc>(NameOf(7036, "Power Contribution [%s]", subsystem), this, CZuOTPcFunc::kKind);
    f->SetSubsystem(subsystem);
    f->SetOrderFactor(GetOrderFactor());
    return f;
}

int CZuOTResultData::CollectInputPowerSubsystems(CZuSubsystemTable& table, int strip) const
{
    for (const Record& r : m_records)
        if (r.result)
            r.result->CollectInputPowerSubsystems(table, strip);
    return table.GetCount();
}

int CZuOTResultData::WriteDump(CStdioFile& file, const std::string& param)
{
    for (const Record& r : m_records) {
        file.WriteString(Format("===== Order# %g =====\n\n", r.key));
        if (r.result)
            r.result->WriteDump(file, param);
    }
    return 1;
}

void CZuOTResultData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CZuData::Serialize(ar);
        ar << static_cast<int32_t>(m_records.size());
        for (const Record& r : m_records) {
            ar << r.key;
            ar.WriteObject(r.result.get());
        }
        return;
    }
    uint32_t schema = ar.GetObjectSchema();
    if (schema == 0xFFFFFFFFu)
        schema = 15;
    if (schema < kOldestSchema)
        CArchive::ThrowBadSchema(Format("order result set of schema %u", schema));
    CZuData::Serialize(ar);
    const int32_t count = ar.ReadSignedCount(sizeof(double) + 2, "orders of a result set");
    m_records.clear();
    for (int32_t i = 0; i < count; ++i) {
        double key = 0.0;
        ar >> key;
        std::unique_ptr<CZuRpmResultData> result = ar.ReadOwned<CZuRpmResultData>();
        if (result)
            result->SetParent(this);
        m_records.push_back({key, std::move(result)});
    }
    // The power-contribution tables name their rows by this set's table, which they do not store.
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* pc = DynamicDowncast<CZuOTPcFunc>(GetChild(i)))
            pc->BindSubsystemTable(GetSubsystemTable());
    if (schema == 13 || schema == 14) {
        auto bands = std::make_unique<COctaveManagerEx>(3);
        bands->Serialize(ar);
        SetOctaveManager(std::move(bands));
    }
}
