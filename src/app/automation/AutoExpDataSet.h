#pragma once
// A data set of an excitation: its channel records by local point.
#include "platform/automation/AutoObject.h"

class CExpDataSet;

class CAutoExpDataSet : public CAutoObject
{
public:
    explicit CAutoExpDataSet(CExpDataSet* set);
    const CDispatchTable& GetDispatchTable() const override;

private:
    CExpDataSet* m_set;
};
