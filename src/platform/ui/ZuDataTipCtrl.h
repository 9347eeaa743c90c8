#pragma once
// A small tip window that shows a value beside the mouse over a chart or grid. The owner sets the
// tip's point and text; the tip is placed at the point plus an offset and, while the hide-on-input
// flag is set, goes away on any key, on a mouse button pressed anywhere, or when the mouse leaves
// a small hot rectangle around the point.
#include <QFont>
#include <QPointer>
#include <QWidget>

class CZuDataTipCtrl : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMargin = 2;

    // The tip belongs to owner (its tips are shown over the owner's client area).
    explicit CZuDataTipCtrl(QWidget* owner);
    ~CZuDataTipCtrl() override;

    void SetOffset(int x, int y) { m_offset = QPoint(x, y); }
    QPoint GetOffset() const { return m_offset; }
    void SetHideOnKey(bool hide) { m_hideOnInput = hide; }
    bool GetHideOnKey() const { return m_hideOnInput; }
    // A point of the owner's client area and the text; a point outside the owner moves nothing.
    void SetTip(const QPoint& clientPoint, const QString& text);
    // 1 shows the tip, anything else hides it.
    void Show(int show);
    void SetTipFont(const QFont& font);

    QString GetText() const { return m_text; }
    QPoint GetTipPoint() const { return m_tipPoint; }
    QRect GetHotRect() const { return m_hotRect; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QWidget> m_owner;
    QPoint m_tipPoint; // screen coordinates
    QPoint m_offset{10, 5};
    QRect m_hotRect; // screen coordinates
    QString m_text;
    QFont m_font;
    bool m_hideOnInput = true;
    bool m_filtering = false;
};
