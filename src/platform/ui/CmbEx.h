#pragma once
// The combo box that a flex grid shows over the cell being edited: a drop-down list in the
// grid's own font. It tells its grid of every key released and of losing the focus (key 0), and
// hides itself when it loses the focus; the grid decides whether that commits the edit.
#include <QComboBox>

#include <functional>

class CCmbEx : public QComboBox
{
    Q_OBJECT
public:
    // Key codes the grid tells apart.
    static constexpr int kKeyEscape = 27;
    static constexpr int kKeyReturn = 13;

    explicit CCmbEx(QWidget* parent = nullptr);

    // Receives 0x8110's key: the key released, or 0 when the focus went.
    void SetNotify(std::function<void(int key)> notify) { m_notify = std::move(notify); }
    bool HadFocus() const { return m_hadFocus; }
    void ResetFocusFlag() { m_hadFocus = false; }
    // Index of the entry whose text equals text exactly; -1 when none.
    int FindStringExact(const QString& text) const;

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::function<void(int)> m_notify;
    bool m_hadFocus = false;
};
