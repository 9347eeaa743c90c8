#pragma once
// The bundles of the sensor project: one grid row per bundle with its eight sensor slots, and a
// closing "*" row.
#include "platform/win/CommandTable.h"

#include <QWidget>

#include <string>

class CSensorBundle;
class CSensorDoc;
class CSensor;
class QTableWidget;

class CSensorBundleView : public QWidget
{
    Q_OBJECT
public:
    explicit CSensorBundleView(CSensorDoc* doc, QWidget* parent = nullptr);

    void OnUpdate(CSensor* hint, int code);
    // The grid's commands on the current row (a bundle) and column (a sensor slot), each enabled
    // while the document has a sensor project and the bundles allow it.
    using CommandTable = TCommandTable<CSensorBundleView, CSensorBundleView>;
    static const CommandTable& Commands();
    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    // Grid click (the bundle dialog follows the row) and double click (rename on column 0).
    void OnClick(int row, int col);
    void OnDoubleClick(int row, int col);

    QTableWidget* Grid() const { return m_grid; }
    // The bundle of a grid row; null for the "*" row and outside the grid.
    CSensorBundle* BundleOfRow(int row) const;

private:
    void Rebuild();
    // False (after message 7101 naming the groups) when a group uses the bundle.
    bool CheckNotInUse(const CSensorBundle* bundle) const;
    void Follow(int row, int col);

    CSensorDoc* m_doc;
    QTableWidget* m_grid;
};
