#include "acquisition/ui/DlgCalender.h"

#include "platform/ui/DialogButtons.h"

#include <QCalendarWidget>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CDlgCalender::CDlgCalender(QWidget* parent) : CZuDialog(parent, IDD)
{
    auto* layout = new QVBoxLayout(this);
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("3071"));
    layout->addWidget(m_calendar);
    auto* buttons = CDialogButtons::OkCancel(
        this, [this] { OnOK(); }, [this] { OnCancel(); });
    layout->addWidget(buttons);
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, [this] { OnSelectionChanged(); });
}

std::time_t CDlgCalender::DayStart(const QDate& day)
{
    return std::time_t(day.startOfDay().toSecsSinceEpoch());
}

bool CDlgCalender::OnInitDialog()
{
    // The calendar shows the chosen date; before one is chosen it shows today.
    QSignalBlocker block(m_calendar);
    if (m_date != 0)
        m_calendar->setSelectedDate(QDateTime::fromSecsSinceEpoch(qint64(m_date)).date());
    else
        m_calendar->setSelectedDate(QDate::currentDate());
    return true;
}

void CDlgCalender::SelectDay(const QDate& day)
{
    EnsureInitialized();
    if (m_calendar->selectedDate() == day)
        OnSelectionChanged();
    else
        m_calendar->setSelectedDate(day);
}

void CDlgCalender::OnSelectionChanged()
{
    QDate day = m_calendar->selectedDate();
    if (day.isValid())
        m_date = DayStart(day);
}

void CDlgCalender::OnOK()
{
    // The chosen date is the last selection; nothing further is read from the controls.
    EndDialog(IDOK);
}
