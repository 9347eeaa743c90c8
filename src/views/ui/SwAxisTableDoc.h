#pragma once
// The document of a switchable-axis table window: the RPM-selected function it was opened on,
// shown through its table core (the shown table; its table index is the first index), the view
// type and the HSEA options of the project.
#include "platform/ui/ZuTableDataDoc.h"
#include "views/SwAxisTableCore.h"

class CHSEAOptions;
class CTALVOProject;
class CZuRpmSelFunc;

class CSwAxisTableDoc : public CZuTableDataDoc
{
public:
    explicit CSwAxisTableDoc(CTALVOProject* project = nullptr);
    ~CSwAxisTableDoc() override;

    // The function (view type 0, first index 0).
    void SetRpmSelFunc(CZuRpmSelFunc* function);
    CZuRpmSelFunc* GetRpmSelFunc() const { return m_function; }
    void SetHSEAOptions(CHSEAOptions* options);
    CHSEAOptions* GetHSEAOptions() const { return m_options; }
    int GetProjectType() const { return m_core.GetProjectType(); }
    CTALVOProject* GetProjectContainer() const { return m_project; }

    // The axis (view type) and the first index; the current subset follows the first index.
    void SetViewType(int viewType);
    void SetCurSel1stIndex(int i);
    // The core, at the first index shown (the current subset).
    CSwAxisTableCore& Core();

    void OnOptions();
    // The function goes: the window shows nothing more.
    void FunctionGoing();

private:
    CSwAxisTableCore m_core;
    CZuRpmSelFunc* m_function = nullptr;
    CHSEAOptions* m_options = nullptr;
    CTALVOProject* m_project;
};
