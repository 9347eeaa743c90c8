#pragma once
// Names the bundle that sensors double-clicked in the sensor list are added to. Modeless; at most
// one is open.
#include "platform/ui/SingleInstance.h"
#include "platform/ui/ZuDialog.h"

#include <string>

class QLineEdit;

class CDlgSensorBundle : public CZuDialog, public CSingleInstance<CDlgSensorBundle>
{
    Q_OBJECT
public:
    explicit CDlgSensorBundle(QWidget* parent = nullptr);
    ~CDlgSensorBundle() override;

    // A new one, not yet shown; null when one is open.
    static CDlgSensorBundle* CreateInstance(QWidget* parent);
    void SetBundleID(const std::string& id);
    std::string GetBundleID() const;

private:
    QLineEdit* m_edit;
};
