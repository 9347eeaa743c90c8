#pragma once
// The measured-data tree of a data set: its excitations by subsystem and its experiments.
#include "platform/automation/AutoObject.h"

class CExpProject;

class CAutoExpProject : public CAutoObject
{
public:
    explicit CAutoExpProject(CExpProject* project);
    const CDispatchTable& GetDispatchTable() const override;

private:
    CExpProject* m_project;
};
