#include "app/automation/AutoProjectHistory.h"

#include "app/ProjectHistory.h"
#include "app/automation/ObjectModel.h"

#include <cmath>
#include <ctime>

namespace
{
// Days from the automation date's origin to 1 January 1970.
constexpr double kEpochDays = 25569.0;

// The local time's offset from UTC at a moment, in seconds.
long LocalOffset(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}
} // namespace

double CAutoProjectHistory::TimeToDate(int64_t seconds)
{
    const auto t = static_cast<std::time_t>(seconds);
    return kEpochDays + static_cast<double>(seconds + LocalOffset(t)) / 86400.0;
}

int64_t CAutoProjectHistory::DateToTime(double date)
{
    const auto localSeconds = static_cast<int64_t>(std::llround((date - kEpochDays) * 86400.0));
    return localSeconds - LocalOffset(static_cast<std::time_t>(localSeconds));
}

CAutoProjectHistory::CAutoProjectHistory(CProjectHistory* history) : CAutoObject(history), m_history(history) {}

const CDispatchTable& CAutoProjectHistory::GetDispatchTable() const
{
    using W = CAutoProjectHistory;
    static const CDispatchTable table(
        nullptr,
        {
            {"PathName", DispKind::Property, AutoType::String, {},
             AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetPathName());)},
            {"FileName", DispKind::Property, AutoType::String, {},
             AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetFileName());)},
            {"CreationDate", DispKind::Property, AutoType::Date, {},
             AUTO_MEMBER(W, return CAutoValue::Date(TimeToDate(self.m_history->GetCreationTime()));)},
            {"ModifiedDate", DispKind::Property, AutoType::Date, {},
             AUTO_MEMBER(W, return CAutoValue::Date(TimeToDate(self.m_history->GetModifiedTime()));)},
            {"AppName", DispKind::Property, AutoType::String, {},
             AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetAppName());)},
            {"AppVersion", DispKind::Property, AutoType::String, {},
             AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetAppVersion());)},
            {"MOXModelName", DispKind::Property, AutoType::String, {},
             AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetMOXModelName());)},
            {"Note", DispKind::Property, AutoType::String, {},
             AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetNote());)},
        });
    return table;
}
