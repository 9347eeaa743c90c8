#include "acquisition/ui/PSheetDAQOptions.h"

#include "experiments/DAQConfig.h"
#include "experiments/ExpProject.h"

CPSheetDAQOptions::CPSheetDAQOptions(const std::string& caption, CExpProject* project, CExpOptions* options,
                                     int startPage, QWidget* parent)
    : CZuPropertySheet(caption, parent, startPage), m_pProject(project)
{
    setObjectName(QStringLiteral("PSheetDAQOptions"));
    // Wide enough for the four tabs side by side.
    setMinimumWidth(480);
    CCalcOptions* calc = project ? project->GetCalcOptionsData() : nullptr;
    m_pageCalc.SetCalcOptions(calc);
    if (const CDAQConfig* config = project ? project->GetDAQConfig() : nullptr) {
        m_pageBandAve.SetFreqRange(config->GetMaxFreq());
        m_pageBandAve.SetAverageParam(config->GetSamplingFreq());
    }
    m_pageBandAve.SetCalcOptions(calc);
    m_pageBandAve.SetEnableMask(
        BandAveMask(project ? project->GetBlockMode() : 0, project ? project->GetMeasurementMode() : 0));
    AddPage(&m_pageCalc);
    AddPage(&m_pageBandAve);
    AddPage(&m_page1);
    AddPage(&m_page2);
    m_page1.m_pSheet = this;
    m_page2.m_pSheet = this;
    m_page1.LoadFromExpOptions(options);
    m_page2.LoadFromExpOptions(options);
}

CPSheetDAQOptions::~CPSheetDAQOptions()
{
    // The pages are members: they leave the sheet before its widgets go.
    for (CZuPropertyPage* page :
         std::initializer_list<CZuPropertyPage*>{&m_page2, &m_page1, &m_pageBandAve, &m_pageCalc})
        if (GetPageIndex(page) >= 0)
            RemovePage(page);
}

int CPSheetDAQOptions::BandAveMask(int blockMode, int measurementMode)
{
    return (blockMode != 0 ? 0x20 : 0x10) | (measurementMode != 0 ? 0x200 : 0x100);
}
