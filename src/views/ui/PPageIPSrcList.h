#pragma once
// Information page: the subsystems into which input power is fed, names without their wave sign.
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuPropertyPage.h"

class QListWidget;

class CPPageIPSrcList : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4048;

    CPPageIPSrcList();

    // The input-power subsystems of the shown result (the host collects them from it).
    void SetSourceTable(const CZuSubsystemTable& table) { m_sources = table; }
    QListWidget* List() const { return m_list; }

protected:
    bool OnInitDialog() override;

private:
    CZuSubsystemTable m_sources;
    QListWidget* m_list;
};
