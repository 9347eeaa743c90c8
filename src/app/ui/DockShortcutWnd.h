#pragma once
// The shortcut bar: groups of icon buttons. A click on a button opens the command menu of that
// button beside it; the commands go to the main frame.
#include <QDockWidget>

#include <functional>
#include <vector>

class QMenu;
class QToolBox;
class QToolButton;

class CDockShortcutWnd : public QDockWidget
{
    Q_OBJECT
public:
    struct Item
    {
        unsigned groupCaptionId;
        unsigned captionId;
        int image;
        int itemId;
    };
    // The groups and buttons, in order.
    static const std::vector<Item>& Table();

    explicit CDockShortcutWnd(QWidget* parent = nullptr);

    // Builds the command menu of a button; null when the button has none. Set by the main frame.
    using MenuProvider = std::function<QMenu*(int itemId, QWidget* parent)>;
    void SetMenuProvider(MenuProvider provider) { m_menuProvider = std::move(provider); }

    // Re-creates the groups and buttons from the table (after a change of language).
    void Rebuild();
    QToolBox* ToolBox() const { return m_toolBox; }
    // A button by its item id; its group's buttons are made if they were not yet.
    QToolButton* Button(int itemId);
    // A button only when its group's buttons are made already.
    QToolButton* MadeButton(int itemId) const;

    // The menu a click on a button shows (tests look at it without running it).
    QMenu* MenuFor(int itemId);

signals:
    // A group's buttons were made; their enabled states are to be set.
    void ButtonsMade();

private:
    // The table rows of a group, first to last.
    struct Group
    {
        size_t first;
        size_t last;
    };
    void MakeGroupButtons(int group);
    void OnItemClicked(int itemId, QToolButton* button);

    QToolBox* m_toolBox;
    MenuProvider m_menuProvider;
    std::vector<Group> m_groups;
    std::vector<int> m_groupOfItem;
    std::vector<QToolButton*> m_buttons; // null until the group's buttons are made
};
