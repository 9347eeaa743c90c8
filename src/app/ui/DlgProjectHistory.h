#pragma once
// Shows a project history as a tree: one row per file, children under the file made from them,
// with version, creation and modification time and path.
#include "platform/ui/ZuDialog.h"

#include <string>

class CProjectHistory;
class QTreeWidget;

class CDlgProjectHistory : public CZuDialog
{
    Q_OBJECT
public:
    CDlgProjectHistory(CProjectHistory* history, QWidget* parent = nullptr);
    QTreeWidget* Tree() const { return m_tree; }

    // The row label of an entry: its file name, for MOX entries "%s [%s]" with the model name.
    static std::string RowLabel(const CProjectHistory& entry);
    // "%Y/%m/%d [%H:%M:%S]" of a time in seconds since 1970 (local time).
    static std::string FormatTime(int64_t seconds);

protected:
    bool OnInitDialog() override;

private:
    CProjectHistory* m_history;
    QTreeWidget* m_tree;
};
