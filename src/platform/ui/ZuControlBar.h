#pragma once
// The control bar of a data window: a row of controls that wraps onto further rows where the
// window is too narrow, so that every control stays in sight at any width instead of hiding behind
// a scroll arrow or a toolbar's extension button. Buttons for commands show their action: its text,
// enabled and checked state follow the action.
#include <QWidget>

class CZuFlowLayout;
class QAction;
class QFrame;
class QToolButton;

class CZuControlBar : public QWidget
{
    Q_OBJECT

public:
    explicit CZuControlBar(QWidget* parent = nullptr);

    void AddWidget(QWidget* widget);
    // A thin upright line between groups of controls.
    QFrame* AddSeparator();
    // A flat button that triggers the action and shows its state.
    QToolButton* AddAction(QAction* action);

    // Every visible control lies whole inside the bar (nothing cut off at its right or bottom).
    bool ShowsEveryControl() const;

private:
    CZuFlowLayout* m_layout;
};
