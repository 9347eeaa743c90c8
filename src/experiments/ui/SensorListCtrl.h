#pragma once
// The sensors of one category in seven columns; each row keeps the sensor's category number.
#include <QTreeWidget>

class CMElement;

class CSensorListCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CSensorListCtrl(QWidget* parent = nullptr);
    // Rows for the sensors below a category element, in child order.
    void Fill(const CMElement* category);
    // The row of a sensor ID; -1 when none.
    int FindRow(const std::string& id) const;
    // The IDs of the selected rows, in list order.
    std::vector<std::string> SelectedIDs() const;
};
