#pragma once
// The dialogs and operations of the main frame's project commands that take several steps (new
// analysis and DAQ projects, the acquisition settings and calculation options, renaming, the model
// window), and the selection the commands' rules see. The commands themselves are entries of the
// command registry (CommandRegistry.h), which call these.
#include "app/CommandContext.h"
#include "app/FrameCommands.h"

#include <QString>

#include <functional>

class CMainFrame;
class QMdiArea;
class QWidget;

class CFrameCommandHandler : public IProjectOperations
{
public:
    explicit CFrameCommandHandler(CMainFrame& frame);

    // The selection of the open document and the project window now.
    CFrameSelection CurrentSelection() const;

    // The builder of an analysis project from outside data (the universal-file import installs
    // it); it returns the new project or null when cancelled.
    using ExtAnalysisBuilder = std::function<class CAnalysisProject*(class CTALVODoc&, QWidget* parent)>;
    static void SetExtAnalysisBuilder(ExtAnalysisBuilder builder);
    // Its second half, when the subsystems were chosen: the RPM set-up; 1 when the project was
    // kept, 0 when it was withdrawn.
    using ExtAnalysisConfigurer = std::function<int(class CTALVODoc&, class CAnalysisProject& project,
                                                    const class CZuSubsystemTable& selection, QWidget* parent)>;
    static void SetExtAnalysisConfigurer(ExtAnalysisConfigurer configurer);
    // Whether both halves are installed.
    static bool HasExtAnalysisServices();
    // The answer of the subsystem dialog of such a project: nothing (0) when either is missing or
    // the project is not one of the open document's.
    int ConfigureExtAnalysis(const class CZuSubsystemTable* selection, class CAnalysisProject* project);

    // The parts of the commands that others run too.
    // New analysis project: DAQ project choice, the project, its analysis options, then the input
    // powers (1033). The new project or null.
    class CAnalysisProject* NewAnalysisProject() override;
    // New DAQ project (1156): the acquisition system, then a DAQ project with a copy of the
    // document's acquisition configuration through its settings, calculation options and engine
    // rotation; any of them cancelled removes it again. Universal files instead make a universal-
    // file DAQ project (with its planning wizard) and go on to their import. The new project or
    // null.
    class CDaqProject* NewDaqProject() override;
    // The calculation options of a DAQ project (1035; with recalc the target local points and the
    // recalculation of 1095). True when OK was pressed.
    bool RunDaqCalcOptions(class CDaqProject& project, bool withRecalc) override;
    // The acquisition settings of a DAQ project in edit mode (1126). True when a value changed.
    bool EditDaqSettings(class CDaqProject& project) override;
    // The model window of the document's model (1189); false when there is none to show.
    bool OpenModelView() override;
    // CDlgRename with the project's name; on OK the project and its tab take the new name.
    void RenameProject(class CBaseProject* project) override;

private:
    QWidget* Parent() const;
    // The acquisition settings of a new DAQ project, every field editable, after the hardware
    // connection is made sure of. True on OK.
    bool NewDaqSettings(class CDaqProject& project);

    CMainFrame& m_frame;
};
