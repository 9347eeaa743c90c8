#pragma once
// Makes an analysis project that works on external data instead of a DAQ project, in two halves:
// the bands and the project, then the subsystem dialog (modeless; its OK hands the ticked
// subsystems to the answer CreateProject was given), and on that answer the subsystems and the RPM
// set-up. Cancel in the second half removes the project again.
#include "platform/win/CommandIds.h"

#include <functional>
#include <string>

#include "platform/elements/ZuSubsystemTable.h"

class CAnalysisProject;
class CTALVODoc;
class QWidget;

class CMkExtAnaProject
{
public:
    static constexpr int kCmdAfterSubsystems = CommandId::ID_MODEL_VIEW;

    explicit CMkExtAnaProject(CTALVODoc& doc, CAnalysisProject* project = nullptr, QWidget* parent = nullptr);

    // Where the subsystem dialog's OK goes on: the chosen subsystems and the project it was opened for.
    using SubsystemsAnswer = std::function<void(const CZuSubsystemTable& selection, CAnalysisProject* project)>;

    // Bands (a sheet with the octave page), the project, the subsystem dialog; 0 when cancelled.
    int CreateProject(SubsystemsAnswer answer = {});
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
