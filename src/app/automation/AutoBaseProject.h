#pragma once
// Any project: its ID. The analysis and DAQ projects add their members on top of this table.
#include "platform/automation/AutoObject.h"

class CBaseProject;

class CAutoBaseProject : public CAutoObject
{
public:
    explicit CAutoBaseProject(CBaseProject* project);
    const CDispatchTable& GetDispatchTable() const override { return BaseTable(); }
    static const CDispatchTable& BaseTable();
    CBaseProject& Project() const { return *m_project; }

private:
    CBaseProject* m_project;
};
