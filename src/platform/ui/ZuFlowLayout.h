#pragma once
// A layout that lines its widgets up in a row and wraps them onto further rows where the width
// runs out, so that a bar of controls in a narrow window shows every control instead of hiding
// some behind a scroll arrow. Items keep their size hints; rows take the height of their tallest.
#include <QLayout>
#include <QList>

class CZuFlowLayout : public QLayout
{
public:
    explicit CZuFlowLayout(QWidget* parent = nullptr, int spacing = 6);
    ~CZuFlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in rect (only measures with place false); returns the height used.
    int Arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> m_items;
};
