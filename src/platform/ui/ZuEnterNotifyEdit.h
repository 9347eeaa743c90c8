#pragma once
// A one-line edit that tells its owner when Enter is pressed (notification 0x700) and when it
// loses the focus (0x200), with its control id; the key is then handled as usual.
#include <QLineEdit>

#include <functional>

class CZuEnterNotifyEdit : public QLineEdit
{
    Q_OBJECT
public:
    static constexpr int kNotifyEnter = 0x700;
    static constexpr int kNotifyKillFocus = 0x200;
    using Notify = std::function<void(int id, int code)>;

    CZuEnterNotifyEdit(int id, QWidget* parent = nullptr);
    int GetId() const { return m_id; }
    void SetNotify(Notify notify) { m_notify = std::move(notify); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int m_id;
    Notify m_notify;
};
