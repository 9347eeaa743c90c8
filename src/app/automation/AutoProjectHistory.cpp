#include "app/automation/AutoProjectHistory.h"

#include "app/ProjectHistory.h"
#include "app/automation/ObjectModel.h"

CAutoProjectHistory::CAutoProjectHistory(CProjectHistory* history) : CAutoObject(history), m_history(history) {}

const CDispatchTable& CAutoProjectHistory::GetDispatchTable() const
{
    using W = CAutoProjectHistory;
    static const CDispatchTable table(
        nullptr, {
                     {"PathName",
                      DispKind::Property,
                      AutoType::String,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetPathName());)},
                     {"FileName",
                      DispKind::Property,
                      AutoType::String,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetFileName());)},
                     {"CreationDate",
                      DispKind::Property,
                      AutoType::Date,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::Date(TimeToAutoDate(self.m_history->GetCreationTime()));)},
                     {"ModifiedDate",
                      DispKind::Property,
                      AutoType::Date,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::Date(TimeToAutoDate(self.m_history->GetModifiedTime()));)},
                     {"AppName",
                      DispKind::Property,
                      AutoType::String,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetAppName());)},
                     {"AppVersion",
                      DispKind::Property,
                      AutoType::String,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetAppVersion());)},
                     {"MOXModelName",
                      DispKind::Property,
                      AutoType::String,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetMOXModelName());)},
                     {"Note",
                      DispKind::Property,
                      AutoType::String,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::String(self.m_history->GetNote());)},
                 });
    return table;
}
