#pragma once
// A spectrum map over RPM: its axes, its values and their smoothed values.
#include "platform/automation/AutoObject.h"

class CZuRpmFunc;

class CAutoZuRpmFunc : public CAutoObject
{
public:
    explicit CAutoZuRpmFunc(CZuRpmFunc* map);
    const CDispatchTable& GetDispatchTable() const override;
    CZuRpmFunc& Map() const { return *m_map; }

private:
    CZuRpmFunc* m_map;
};
