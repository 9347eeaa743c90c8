#pragma once
// The analysis options of a measured-data project: calculation, local-point, band-average, order
// tracking and band pages over the options of the project's experiments. On OK the values the
// pages edit go to the DAQ project's options and to every experiment's, so that all data sets
// are analysed alike.
class CExpProject;
class QWidget;

// True when the user pressed OK (and the options were written).
bool RunExpAnalysisOptions(CExpProject& project, QWidget* parent = nullptr);

// The band-average page's enable mask for a project's measurement mode and block mode.
int ExpBandAveMask(int mode, int blockMode);
