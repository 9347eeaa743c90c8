#pragma once
// An entry of the project history: the file it stands for and the application that wrote it.
#include "platform/automation/AutoObject.h"

class CProjectHistory;

class CAutoProjectHistory : public CAutoObject
{
public:
    explicit CAutoProjectHistory(CProjectHistory* history);
    const CDispatchTable& GetDispatchTable() const override;

    // Seconds of the C library's time as an automation date (days since 30 December 1899, local).
    static double TimeToDate(int64_t seconds);
    static int64_t DateToTime(double date);

private:
    CProjectHistory* m_history;
};
