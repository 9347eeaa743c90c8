#pragma once
// An analysis project: its RPM options, orders, DAQ project and the text exports of its
// input-energy and input-power results.
#include "app/automation/AutoBaseProject.h"

#include <functional>
#include <string>

class CAnalysisProject;
class CStdioFile;

class CAutoAnalysisProject : public CAutoBaseProject
{
public:
    explicit CAutoAnalysisProject(CAnalysisProject* project);
    const CDispatchTable& GetDispatchTable() const override;
    CAnalysisProject& Analysis() const { return *m_analysis; }

    // Writes the input-power data text file: the header lines, then what export adds. False when
    // the file cannot be written or export reports failure; a failed file leaves no partial file.
    static bool WriteInputPowerData(const std::string& path, const std::function<int(CStdioFile&)>& export_);

private:
    CAnalysisProject* m_analysis;
};
