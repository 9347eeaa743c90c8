#pragma once
// The document of an HSEA data-table window: the element it was opened on, the table shown (the
// element itself, or an entry of an RPM-selected function chosen in the bar), the band shown (the
// current subset) and the HSEA options of the project. What the window shows is the table core's.
#include "platform/win/CommandIds.h"
#include "platform/ui/ZuTableDataDoc.h"
#include "views/HSEADataTableCore.h"

#include <string>

class CHSEAOptions;
class CTALVOProject;

class CHSEADataTableDoc : public CZuTableDataDoc
{
public:
    static constexpr int ID_OPTIONS = CommandId::ID_OPTIONS;

    explicit CHSEADataTableDoc(CTALVOProject* project = nullptr);
    ~CHSEADataTableDoc() override;

    // The element the window shows; its table (or first entry) becomes the shown table.
    void SetElement(CZuTableData* element);
    CZuTableData* GetElement() const { return m_core.GetElement(); }
    // Shows another table (an entry of the RPM selector); the band stays when the table has it.
    void SetTableData(CZuTableData* table);
    void SetData(CZuTableData* data) override;

    void SetHSEAOptions(CHSEAOptions* options);
    CHSEAOptions* GetHSEAOptions() const { return m_options; }
    void SetOrderTracking(int on) { m_core.SetOrderTracking(on); }
    int IsOrderTracking() const { return m_core.IsOrderTracking(); }
    std::string GetUnitLabel() { return Core().GetUnitLabel(); }
    CTALVOProject* GetProjectContainer() const { return m_project; }

    // The core, at the band shown.
    CHSEADataTableCore& Core();

    // The options sheet, then every view re-reads the options.
    void OnOptions();
    // The element goes: nothing may reach it any more.
    void ElementGoing();

private:
    CHSEADataTableCore m_core;
    CHSEAOptions* m_options = nullptr;
    CTALVOProject* m_project;
};
