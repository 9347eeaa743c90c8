#pragma once
// Chooses the bundles that make up a group; on OK (after a question) the group is rebuilt from
// the checked bundles, their sensors on consecutive channels.
#include "platform/ui/ZuDialog.h"

class CSensorGroup;
class CSensorProject;
class QListWidget;

class CDlgSensorGroup : public CZuDialog
{
    Q_OBJECT
public:
    CDlgSensorGroup(CSensorProject* project, CSensorGroup* group, QWidget* parent = nullptr);
    QListWidget* BundleList() const { return m_list; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CSensorProject* m_project;
    CSensorGroup* m_group;
    QListWidget* m_list;
};
