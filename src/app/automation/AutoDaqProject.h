#pragma once
// A DAQ project: its measured data sets by subsystem and serial, their averaged results and the
// RPM range and bands of its acquisition settings.
#include "app/automation/AutoBaseProject.h"

class CDaqProject;

class CAutoDaqProject : public CAutoBaseProject
{
public:
    explicit CAutoDaqProject(CDaqProject* project);
    const CDispatchTable& GetDispatchTable() const override;
    CDaqProject& Daq() const { return *m_daq; }

private:
    CDaqProject* m_daq;
};
