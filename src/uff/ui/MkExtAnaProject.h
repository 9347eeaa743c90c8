#pragma once
// Makes an analysis project that works on external data instead of a DAQ project, in two halves:
// the bands and the project, then the subsystem dialog (modeless; it answers the main window with
// WM_ZU_CONFIGURE_EXT_ANALYSIS), and on that answer the subsystems and the RPM set-up. Cancel in the second half
// removes the project again.
#include "platform/win/CommandIds.h"

#include <string>

#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/Messages.h"

class CAnalysisProject;
class CTALVODoc;
class QWidget;

class CMkExtAnaProject
{
public:
    static constexpr uint32_t kNotifyMessage = WM_ZU_CONFIGURE_EXT_ANALYSIS;
    static constexpr int kCmdAfterSubsystems = CommandId::ID_MODEL_VIEW;

    explicit CMkExtAnaProject(CTALVODoc& doc, CAnalysisProject* project = nullptr, QWidget* parent = nullptr);

    // Bands (a sheet with the octave page), the project, the subsystem dialog; 0 when cancelled.
    int CreateProject();
    // The selection plus the target become the subsystems; the RPM set-up sheet; OK keeps the
    // project (IDS_PROJECT_MADE), Cancel removes it. 0 without a project or on Cancel.
    int Configure(const CZuSubsystemTable& selection);

    CAnalysisProject* GetProject() const { return m_project; }
    const CZuSubsystemTable& GetSubsystems() const { return m_subsystems; }

private:
    CTALVODoc& m_doc;
    std::string m_targetName;
    CAnalysisProject* m_project; // not owned
    CZuSubsystemTable m_subsystems;
    QWidget* m_parent;
};
