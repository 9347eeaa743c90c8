#pragma once
// Options of an experiment window's graphs and calculations: the FFT and band-averaging pages
// over the DAQ project's calculation options, and the two graph pages over the window's display
// options. The opener calls the graph pages' SaveToExpOptions when the sheet ends with OK.
#include "acquisition/ui/PPageDaqGraph1.h"
#include "acquisition/ui/PPageDaqGraph2.h"
#include "platform/ui/ZuPropertySheet.h"
#include "calculation/ui/PPageBandAve.h"
#include "calculation/ui/PPageCalcOptions.h"

class CExpOptions;
class CExpProject;

class CPSheetDAQOptions : public CZuPropertySheet
{
    Q_OBJECT

public:
    // project and options: the window's, not owned.
    CPSheetDAQOptions(const std::string& caption, CExpProject* project, CExpOptions* options, int startPage = 0,
                      QWidget* parent = nullptr);
    ~CPSheetDAQOptions() override;

    // The band-averaging page's enable mask: full layout for whole-block measurement (block mode 0),
    // the resolution only otherwise; the RPM-mode bits follow the project's measurement mode.
    static int BandAveMask(int blockMode, int measurementMode);

    CPPageDaqGraph1 m_page1;
    CPPageDaqGraph2 m_page2;
    CPPageCalcOptions m_pageCalc;
    CPPageBandAve m_pageBandAve;
    CExpProject* m_pProject;
    int m_nReserved = 0;
};
