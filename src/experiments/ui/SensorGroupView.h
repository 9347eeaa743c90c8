#pragma once
// The groups of the sensor project: one grid row per group with one column per acquisition
// channel; a channel cell is edited by choosing a bundle sensor from a list.
#include "platform/win/CommandTable.h"

#include <QStringList>
#include <QWidget>

#include <string>

class CSensor;
class CSensorDoc;
class CSensorGroup;
class QTableWidget;

class CSensorGroupView : public QWidget
{
    Q_OBJECT
public:
    explicit CSensorGroupView(CSensorDoc* doc, QWidget* parent = nullptr);

    void OnUpdate(CSensor* hint, int code);
    // The grid's commands on the current row (a group) and column (a channel), each enabled
    // while the document has a sensor project and the groups allow it.
    using CommandTable = TCommandTable<CSensorGroupView, CSensorGroupView>;
    static const CommandTable& Commands();
    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;

    // The choices of a channel cell: an empty entry, then each sensor slot of the group's bundles.
    QStringList CellChoices(int row) const;
    // A channel cell was given a choice: the channel's member is replaced (empty text clears it).
    void OnCellEdited(int row, int col, const std::string& text);

    QTableWidget* Grid() const { return m_grid; }
    CSensorGroup* GroupOfRow(int row) const;

private:
    void Rebuild();
    void Follow(int row, int col);

    CSensorDoc* m_doc;
    QTableWidget* m_grid;
};
