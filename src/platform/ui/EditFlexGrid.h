#pragma once
// A flex grid whose body cells are typed into directly (a line editor in the cell); the text of
// the last edit is kept for the owner.
#include "platform/ui/MSFlexGrid.h"

#include <string>

class CEditFlexGrid : public CMSFlexGrid
{
    Q_OBJECT
public:
    explicit CEditFlexGrid(QWidget* parent = nullptr);
    const std::string& GetEditText() const { return m_editText; }

signals:
    // A cell took a typed text (grid coordinates).
    void CellEdited(int row, int col);

private:
    std::string m_editText;
};
