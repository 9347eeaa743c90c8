#pragma once
// The application's options: the display options and the mean method of the project's HSEA
// options. The DAQ environment page is made with the sheet but not shown; saving still gives the
// project its maximum channel number again.
#include "platform/ui/ZuPropertySheet.h"
#include "views/ui/PPageDaqEnv.h"
#include "views/ui/PPageDataView.h"
#include "views/ui/PPageMeanMethod.h"

#include <string>

class CHSEAOptions;
class CTALVOProject;

class CPSheetOptions : public CZuPropertySheet
{
    Q_OBJECT
public:
    // options: what the pages edit (not owned); project: whose maximum channel number the DAQ
    // environment page keeps (may be null).
    CPSheetOptions(const std::string& caption, CHSEAOptions* options, CTALVOProject* project = nullptr,
                   int firstPage = 0);
    ~CPSheetOptions() override;

    CHSEAOptions* GetOptions() const { return m_pOptions; }
    // After OK: the data-view page, the mean-method page, then the DAQ environment page.
    void SaveOptions();

    CPPageDataView m_pageDataView;
    CPPageMeanMethod m_pageMeanMethod;
    CPPageDaqEnv m_pageDaqEnv;

private:
    CHSEAOptions* m_pOptions;
};
