#include "platform/ui/ZuDataTipCtrl.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

CZuDataTipCtrl::CZuDataTipCtrl(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), m_owner(owner),
      m_font(QFontDatabase::systemFont(QFontDatabase::GeneralFont))
{
    setObjectName(QStringLiteral("ZuDataTipCtrl"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setPalette(QToolTip::palette());
    setAutoFillBackground(true);
    resize(10, 10);
}

CZuDataTipCtrl::~CZuDataTipCtrl()
{
    if (m_filtering)
        qApp->removeEventFilter(this);
}

void CZuDataTipCtrl::SetTip(const QPoint& clientPoint, const QString& text)
{
    if (!m_owner || !m_owner->rect().contains(clientPoint))
        return;
    m_tipPoint = m_owner->mapToGlobal(clientPoint);
    m_hotRect = QRect(m_tipPoint - QPoint(kMargin, kMargin), m_tipPoint + QPoint(kMargin, kMargin));
    m_text = text;
}

void CZuDataTipCtrl::SetTipFont(const QFont& font)
{
    m_font = font;
}

void CZuDataTipCtrl::Show(int flag)
{
    if (flag != 1) {
        hide();
        if (m_filtering) {
            qApp->removeEventFilter(this);
            m_filtering = false;
        }
        return;
    }
    const QFontMetrics fm(m_font);
    const QRect text = fm.boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignLeft | Qt::TextExpandTabs, m_text);
    QRect box(m_tipPoint, QSize(text.width() + 4 * kMargin, text.height() + 2 * kMargin));
    box.translate(m_offset);
    setGeometry(box);
    show();
    raise();
    update();
    if (m_hideOnInput && !m_filtering) {
        qApp->installEventFilter(this);
        m_filtering = true;
    }
}

bool CZuDataTipCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (m_hideOnInput && isVisible()) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::WindowDeactivate:
            Show(0);
            break;
        case QEvent::MouseMove: {
            const auto* me = static_cast<QMouseEvent*>(event);
            if (!m_hotRect.contains(me->globalPosition().toPoint()))
                Show(0);
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CZuDataTipCtrl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::ToolTipText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(m_font);
    p.drawText(rect().adjusted(2 * kMargin, kMargin, -kMargin, -kMargin), Qt::AlignLeft | Qt::TextExpandTabs, m_text);
}
