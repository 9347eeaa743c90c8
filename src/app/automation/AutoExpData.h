#pragma once
// One measured channel: its text dump into a file.
#include "platform/automation/AutoObject.h"

class CExpData;

class CAutoExpData : public CAutoObject
{
public:
    explicit CAutoExpData(CExpData* data);
    const CDispatchTable& GetDispatchTable() const override;

private:
    CExpData* m_data;
};
