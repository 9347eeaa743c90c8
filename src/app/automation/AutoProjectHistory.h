#pragma once
// An entry of the project history: the file it stands for and the application that wrote it.
#include "platform/automation/AutoObject.h"

class CProjectHistory;

class CAutoProjectHistory : public CAutoObject
{
public:
    explicit CAutoProjectHistory(CProjectHistory* history);
    const CDispatchTable& GetDispatchTable() const override;

private:
    CProjectHistory* m_history;
};
