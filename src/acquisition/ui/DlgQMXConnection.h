#pragma once
// Connects, orders, initialises and disconnects the acquisition units of the several-units
// interface. Each unit connects to the address in the address field (kept in the profile, "QMX"
// "IP"), so units of different addresses can be added one after the other.
#include "platform/ui/ZuDialog.h"

class CMultiQMXInterface;
class QLineEdit;
class QPushButton;
class QTableWidget;

class CDlgQMXConnection : public CZuDialog
{
    Q_OBJECT

public:
    explicit CDlgQMXConnection(CMultiQMXInterface* units, QWidget* parent = nullptr);

    void OnConnect();
    void OnDisconnect();
    void OnStatus();
    void OnMoveUp();
    void OnMoveDown();
    void OnInitialize();
    void Refill();

    QTableWidget* UnitList() const { return m_list; }
    QLineEdit* AddressEdit() const { return m_address; }
    QPushButton* Button(int id) const;
    // The first selected row, -1 when none.
    int SelectedRow() const;

protected:
    bool OnInitDialog() override;

private:
    bool Confirm();
    QPushButton* AddButton(const QString& text, int id);

    QPushButton* m_moveUp = nullptr;   // 3020
    QPushButton* m_moveDown = nullptr; // 3019
    QTableWidget* m_list;              // 3163
    CMultiQMXInterface* m_units;
    QLineEdit* m_address;
};
