#pragma once
// A small modal dialog with a month calendar for stamping a date. Each selection in the calendar
// becomes the chosen date (the start of that day, local time); OK keeps the last selection.
#include "platform/ui/ZuDialog.h"

#include <ctime>

class QCalendarWidget;
class QDate;

class CDlgCalender : public CZuDialog
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4004,
        IDC_CALENDAR = 3071
    };

    explicit CDlgCalender(QWidget* parent = nullptr);

    // The chosen date; 0 until a day is selected (or set before the dialog runs).
    std::time_t m_date = 0;

    QCalendarWidget* Calendar() const { return m_calendar; }
    // As a click on the day: makes it the calendar's selection and the chosen date.
    void SelectDay(const QDate& day);

    // The start of a day in local time (daylight saving as the system decides).
    static std::time_t DayStart(const QDate& day);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void OnSelectionChanged();

    QCalendarWidget* m_calendar = nullptr;
};
