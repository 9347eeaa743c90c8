#include "spectral/ZuOTResultData.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/BandSetOwner.h"
#include "spectral/KeyedResults.h"
#include "spectral/ZuOTDpFunc.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"

IMPLEMENT_SERIAL(CZuOTResultData, CZuData, 15 | VERSIONABLE_SCHEMA)

namespace {
// A function over orders of one subsystem, named by the language module's format id.
template <class Func>
std::unique_ptr<Func> MakeOrderFunc(const CZuOTResultData& set, uint32_t id, const char* fallback,
                                    const std::string& subsystem, int kind)
{
    if (subsystem.empty())
        return nullptr;
    auto f = std::make_unique<Func>(keyed_results::NameOf(id, fallback, subsystem), const_cast<CZuOTResultData*>(&set),
                                    kind);
    f->SetSubsystem(subsystem);
    f->SetOrderFactor(set.GetOrderFactor());
    return f;
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
    return keyed_results::Add(this, m_records, order, std::move(result));
}

double CZuOTResultData::GetKey(int i) const
{
    return keyed_results::KeyAt(m_records, i);
}

CZuRpmResultData* CZuOTResultData::GetResult(int i) const
{
    return keyed_results::ResultAt(m_records, i);
}

float CZuOTResultData::GetOrderFactor() const
{
    const IBandSetOwner* owner = IBandSetOwner::FindOwner(GetParent());
    return owner ? static_cast<float>(owner->GetDaqConfigValue()) : 1.0f;
}

std::unique_ptr<CZuOTFunc> CZuOTResultData::CreateVibrationFunc(const std::string& subsystem) const
{
    return MakeOrderFunc<CZuOTFunc>(*this, IDS_VIBRATION_LEVEL_NAME, "Vibration Level [%s]", subsystem,
                                    ElementType::VibrationLevel);
}

std::unique_ptr<CZuOTFunc> CZuOTResultData::CreateSplFunc(const std::string& subsystem) const
{
    return MakeOrderFunc<CZuOTFunc>(*this, IDS_SPL_NAME, "SPL [%s]", subsystem, ElementType::Spl);
}

std::unique_ptr<CZuOTDpFunc> CZuOTResultData::CreateDominantPathFunc(const std::string& subsystem)
{
    return MakeOrderFunc<CZuOTDpFunc>(*this, IDS_DOMINANT_PATH_NAME, "Dominant Path [%s]", subsystem,
                                      ElementType::DominantPath);
}

std::unique_ptr<CZuOTPcFunc> CZuOTResultData::CreatePowerContributionFunc(const std::string& subsystem)
{
    return MakeOrderFunc<CZuOTPcFunc>(*this, IDS_POWER_CONTRIBUTION_NAME, "Power Contribution [%s]", subsystem,
                                      ElementType::PowerContribution);
}

int CZuOTResultData::CollectInputPowerSubsystems(CZuSubsystemTable& table, int strip, CFeedback* feedback) const
{
    for (const Record& r : m_records)
        if (r.result)
            r.result->CollectInputPowerSubsystems(table, strip, feedback);
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
    keyed_results::Serialize<CZuRpmResultData, CZuOTPcFunc>(*this, ar, m_records, kOldestSchema, "order result set",
                                                            "orders of a result set");
}
