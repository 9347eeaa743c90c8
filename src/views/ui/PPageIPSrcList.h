#pragma once
// Information page: the subsystems into which input power is fed, names without their wave sign.
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuPropertyPage.h"

class CMElement;
class QListWidget;

class CPPageIPSrcList : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4048;

    CPPageIPSrcList();

    // The result set (by RPM or by order, not owned) whose input-power subsystems the page lists:
    // those with an input power above 0 in any of its results. Any other element lists nothing.
    void SetResultData(CMElement* result) { m_result = result; }
    // A table given directly, for a host without a result set; a bound result set comes first.
    void SetSourceTable(const CZuSubsystemTable& table) { m_sources = table; }
    QListWidget* List() const { return m_list; }

protected:
    bool OnInitDialog() override;

private:
    CMElement* m_result = nullptr;
    CZuSubsystemTable m_sources;
    QListWidget* m_list;
};
