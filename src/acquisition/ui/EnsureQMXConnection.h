#pragma once
// The application's connection check before a measurement, and the unit status window.
class CDlgBlixStatus;
class IProjectLookups;
class QWidget;

// With units connected: initialises them when force is 1, or after asking when confirm is 1
// (a failed initialisation shows IDS_HARDWARE_INIT_FAILED and gives 0). Without units: runs the connection
// dialog, 0 when still none is connected. Then records the interface's channel count as the
// system channel count of the project the caller works on (none: nothing recorded) and rebuilds
// the merged inventory. Callers go on only on 1.
int EnsureQMXConnection(IProjectLookups* project, int force, int confirm, QWidget* parent = nullptr);

// The one modeless unit status window over the program's acquisition interface.
CDlgBlixStatus* ShowBlixStatusDialog(QWidget* parent = nullptr);
