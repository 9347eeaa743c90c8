#include "app/ui/ProgressStatusBar.h"

#include <QLabel>
#include <QProgressBar>

CProgressStatusBar::CProgressStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar"));
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("ProgressText"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Progress"));
    m_progress->setMaximumWidth(220);
    m_progress->setTextVisible(false);
    addPermanentWidget(m_text);
    addPermanentWidget(m_progress);
    // The lock indicators; their state is not shown by the platforms we run on.
    m_caps = new QLabel(QStringLiteral("CAP"), this);
    m_num = new QLabel(QStringLiteral("NUM"), this);
    m_scroll = new QLabel(QStringLiteral("SCRL"), this);
    for (QLabel* l : {m_caps, m_num, m_scroll}) {
        l->setEnabled(false);
        addPermanentWidget(l);
    }
    m_text->hide();
    m_progress->hide();
}

void CProgressStatusBar::SetProgressRange(int first, int last, int step)
{
    // A range given backwards still makes a usable control.
    m_progress->setRange(std::min(first, last), std::max(first, last));
    m_progress->setValue(first);
    m_step = step;
    PaintNow(true);
}

void CProgressStatusBar::SetProgressText(const QString& text)
{
    m_text->setText(text);
    PaintNow(true);
}

void CProgressStatusBar::ShowProgress()
{
    m_text->show();
    m_progress->show();
    PaintNow(true);
}

void CProgressStatusBar::HideProgress()
{
    m_text->hide();
    m_progress->hide();
    m_text->clear();
}

void CProgressStatusBar::StepProgress()
{
    // Like the platform's control, stepping past the end wraps to the start.
    int value = m_progress->value() + m_step;
    if (value > m_progress->maximum())
        value = m_progress->minimum() + (value - m_progress->maximum() - 1);
    if (value < m_progress->minimum())
        value = m_progress->minimum();
    m_progress->setValue(value);
    PaintNow();
}

bool CProgressStatusBar::IsProgressVisible() const
{
    return !m_progress->isHidden();
}

void CProgressStatusBar::PaintNow(bool force)
{
    if (!isVisible() || m_progress->isHidden())
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - m_lastPaint < std::chrono::milliseconds(40))
        return;
    m_lastPaint = now;
    m_text->repaint();
    m_progress->repaint();
}
