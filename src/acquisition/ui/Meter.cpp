#include "acquisition/ui/Meter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
// The dial sweeps 240 degrees, from lower left (210) clockwise to lower right (-30).
constexpr double kStartDeg = 210.0;
constexpr double kSweepDeg = 240.0;
} // namespace

CMeter::CMeter(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CMeter::SetRange(double low, double high)
{
    if (!(high > low))
        return;
    m_low = low;
    m_high = high;
    update();
}

void CMeter::SetValue(double value)
{
    if (!std::isfinite(value))
        return;
    m_value = value;
    update();
}

void CMeter::SetUnitText(const QString& text)
{
    m_unit = text;
    update();
}

QSize CMeter::sizeHint() const
{
    return {200, 180};
}

QSize CMeter::minimumSizeHint() const
{
    return {140, 126};
}

void CMeter::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height() * 10 / 9);
    const QPointF centre(width() / 2.0, side * 0.52 + (height() - side * 0.9) / 2.0);
    const double r = side * 0.45;

    p.setPen(QPen(palette().color(QPalette::Mid), 1.5));
    p.setBrush(palette().color(QPalette::Base));
    p.drawEllipse(centre, r, r);

    auto at = [&](double fraction, double radius) {
        const double a = (kStartDeg - kSweepDeg * fraction) * M_PI / 180.0;
        return QPointF(centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a));
    };
    QFont small = font();
    small.setPointSizeF(std::max(6.0, r / 11.0));
    p.setFont(small);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1.2));
    for (int i = 0; i <= m_ticks; ++i) {
        const double f = static_cast<double>(i) / m_ticks;
        p.drawLine(at(f, r * 0.80), at(f, r * 0.93));
        const double v = m_low + (m_high - m_low) * f;
        const QPointF t = at(f, r * 0.66);
        const QString label = QString::number(v, 'g', 3);
        const QRectF box(t.x() - r * 0.2, t.y() - r * 0.1, r * 0.4, r * 0.2);
        p.drawText(box, Qt::AlignCenter, label);
    }
    p.drawText(QRectF(centre.x() - r, centre.y() + r * 0.25, 2 * r, r * 0.22), Qt::AlignCenter, m_unit);

    const double f = std::clamp((m_value - m_low) / (m_high - m_low), 0.0, 1.0);
    p.setPen(QPen(QColor(200, 30, 30), std::max(2.0, r / 40.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, at(f, r * 0.85));
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(QPalette::WindowText));
    p.drawEllipse(centre, r * 0.06, r * 0.06);
}
