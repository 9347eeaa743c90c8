#include "platform/ui/ZuControlBar.h"

#include "platform/ui/ZuFlowLayout.h"

#include <QAction>
#include <QFrame>
#include <QToolButton>

CZuControlBar::CZuControlBar(QWidget* parent) : QWidget(parent), m_layout(new CZuFlowLayout(this))
{
    // The height follows the rows its layout needs at the bar's width (height for width), so the
    // bar keeps the preferred policies: a fixed one would hold it at the height of one row.
    m_layout->setContentsMargins(6, 3, 6, 3);
}

void CZuControlBar::AddWidget(QWidget* widget)
{
    widget->setParent(this);
    m_layout->addWidget(widget);
}

QFrame* CZuControlBar::AddSeparator()
{
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    m_layout->addWidget(line);
    return line;
}

QToolButton* CZuControlBar::AddAction(QAction* action)
{
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setObjectName(action->objectName() + QStringLiteral("Button"));
    m_layout->addWidget(button);
    return button;
}

bool CZuControlBar::ShowsEveryControl() const
{
    for (int i = 0; i < m_layout->count(); ++i) {
        QWidget* w = m_layout->itemAt(i)->widget();
        if (!w || w->isHidden())
            continue;
        const QRect at = w->geometry();
        if (!rect().contains(at) || at.width() < w->minimumSizeHint().width())
            return false;
    }
    return true;
}
