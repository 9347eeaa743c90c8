#pragma once
// A measured data set of an experiment: the path of its measurement file.
#include "platform/automation/AutoObject.h"

class CDAQExperiment;

class CAutoDAQExperiment : public CAutoObject
{
public:
    explicit CAutoDAQExperiment(CDAQExperiment* set);
    const CDispatchTable& GetDispatchTable() const override;
    CDAQExperiment* Set() const { return m_set; }

private:
    CDAQExperiment* m_set;
};
