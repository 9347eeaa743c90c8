#pragma once
// A small round dial with a needle: the value of an instrument between a low and a high end,
// with labelled ticks and the value as text below the needle's hub.
#include <QWidget>

class CMeter : public QWidget
{
    Q_OBJECT

public:
    explicit CMeter(QWidget* parent = nullptr);

    void SetRange(double low, double high);
    // Values outside the range put the needle at its end.
    void SetValue(double value);
    double Value() const { return m_value; }
    double Low() const { return m_low; }
    double High() const { return m_high; }
    // The unit written on the dial ("x1000 RPM").
    void SetUnitText(const QString& text);
    QString UnitText() const { return m_unit; }
    // Number of tick intervals over the range.
    void SetTicks(int n) { m_ticks = n > 0 ? n : 1; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_low = 0.0;
    double m_high = 10.0;
    double m_value = 0.0;
    int m_ticks = 10;
    QString m_unit;
};
