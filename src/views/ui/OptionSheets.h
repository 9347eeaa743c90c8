#pragma once
// The option sheets the main window's commands open.
class CAnalysisProject;
class CTALVOProject;
class QWidget;

// The application's options (display options and mean method of the project's HSEA options);
// saved on OK. True when the user pressed OK.
bool RunOptionsSheet(CTALVOProject& project, QWidget* parent = nullptr);

// The analysis options of an analysis project: its RPM axis (view only in mode 3, the range
// editable in mode 1), its reference DAQ project and, for an analysis by order while order
// tracking is offered, its orders (view only). True when the user pressed OK.
bool RunAnalysisOptionsSheet(CAnalysisProject& project, int rpmPageMode = 3, QWidget* parent = nullptr);
