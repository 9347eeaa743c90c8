#pragma once
// The subsystems whose SPL curves a graph shows: each can be hidden (0), shown (1) or shown and
// marked (2). A click on a tick only switches between hidden and shown; the Mark button marks or
// unmarks the selected subsystem; the Show All button shows or hides every subsystem that is not
// marked. The owner hears of each change, synchronously: 1234 (table index, new state) after a
// tick changed, 1234 (0, 0) after all ticks changed, 1235 (table index) when the selection moved,
// 1236 when it was cleared. Only one is open at a time; closing the window only hides it.
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Messages.h"
#include "platform/ui/SingleInstance.h"

#include <cstdint>
#include <vector>

class IMessageTarget;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class CDlgSelectSPLsSrc : public CZuDialog, public CSingleInstance<CDlgSelectSPLsSrc>
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4093;
    enum State
    {
        kHidden = 0,
        kShown = 1,
        kMarked = 2,
    };

    static CDlgSelectSPLsSrc* CreateInstance(IMessageTarget* owner, QWidget* parent = nullptr);

    // Refills the list (every subsystem shown) and sets Show All.
    void SetSubsystemTable(const CZuSubsystemTable* table);
    int GetSubsystemCount() const;
    // The state of subsystem i of the table; 0 outside the table.
    int GetCheck(int i) const;
    void SetCurSel(int i);

    // The user's actions.
    void ClickTick(int i);
    void OnShowAll(bool show);
    void OnMark(bool mark);
    void OnClearSelection();

    QListWidget* List() const { return m_list; }
    QPushButton* ShowAllButton() const { return m_showAll; }
    QPushButton* MarkButton() const { return m_mark; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void OnCancel() override;

private:
    CDlgSelectSPLsSrc(IMessageTarget* owner, QWidget* parent);
    ~CDlgSelectSPLsSrc() override;
    void SetState(int i, int state);
    void Notify(uint32_t msg, uintptr_t w, intptr_t l);
    void OnSelectionChanged();

    IMessageTarget* m_owner;
    CZuSubsystemTable m_table;
    std::vector<int> m_states;
    bool m_filling = false;
    QListWidget* m_list;
    QPushButton* m_showAll;
    QPushButton* m_mark;
    QPushButton* m_clear;
};
