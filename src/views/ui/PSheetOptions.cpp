#include "views/ui/PSheetOptions.h"

#include "models/HSEAOptions.h"

CPSheetOptions::CPSheetOptions(const std::string& caption, CHSEAOptions* options, CTALVOProject* project, int firstPage)
    : CZuPropertySheet(caption, nullptr, firstPage), m_pageDaqEnv(project), m_pOptions(options)
{
    setObjectName(QStringLiteral("PSheetOptions"));
    AddPage(&m_pageDataView);
    m_pageDataView.m_pSheet = this;
    AddPage(&m_pageMeanMethod);
    m_pageMeanMethod.m_pSheet = this;
    if (m_pOptions) {
        m_pageDataView.m_nDecimalPlaces = m_pOptions->HSS_DecimalPlaces;
        m_pageDataView.m_nCellWidth = m_pOptions->HSS_TableCellWidth;
        m_pageDataView.m_nPlotAllData = m_pOptions->HSS_PlotAllData;
        m_pageDataView.m_bShowDataInDB = m_pOptions->HSS_ShowDataInDB;
        m_pageDataView.m_nWeightingFilter = m_pOptions->WeightingFilter;
        m_pageMeanMethod.m_nMeanMethod = m_pOptions->m_nMeanMethod;
    }
    // Not a child of the sheet: it is never shown.
    m_pageDaqEnv.setParent(nullptr);
}

CPSheetOptions::~CPSheetOptions()
{
    // The member pages go before the sheet's children are deleted; they must leave it first.
    RemovePage(&m_pageDataView);
    RemovePage(&m_pageMeanMethod);
}

void CPSheetOptions::SaveOptions()
{
    if (m_pOptions) {
        m_pageDataView.StoreOptions(*m_pOptions);
        m_pOptions->m_nMeanMethod = m_pageMeanMethod.m_nMeanMethod;
    }
    m_pageDaqEnv.StoreOptions();
}
