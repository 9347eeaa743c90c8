#pragma once
// The target local points of a DAQ project, ticked in a tree. The page's own selection is its
// result; the host gives it to the project's experiments after OK.
#include "experiments/SubsystemLPInfo.h"
#include "platform/ui/ZuPropertyPage.h"

class CDaqProject;
class QTreeWidget;

class CPPageTargetLP : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4049;

    CPPageTargetLP();

    void SetDaqProject(CDaqProject* project) { m_pProject = project; }
    CSubsystemLPInfo m_info; // the result

    QTreeWidget* Tree() const { return m_tree; }
    void OnOK() override;

protected:
    bool OnInitDialog() override;

private:
    CDaqProject* m_pProject = nullptr;
    QTreeWidget* m_tree;
};
