#include "common/ui/MoveChildWindow.h"

#include <QWidget>

#include <gtest/gtest.h>

TEST(MoveChildWindow, NegativeOrEmptyArgumentsKeepTheCurrentValue)
{
    QWidget parent;
    parent.resize(400, 300);
    struct Case
    {
        int x, y, cx, cy;
        QRect expected;
    } cases[] = {
        {50, 60, 70, 80, QRect(50, 60, 70, 80)}, {-1, 60, 70, 80, QRect(10, 60, 70, 80)},
        {50, -1, 70, 80, QRect(50, 20, 70, 80)}, {50, 60, 0, 80, QRect(50, 60, 30, 80)},
        {50, 60, 70, 0, QRect(50, 60, 70, 40)},  {-5, -5, -5, -5, QRect(10, 20, 30, 40)},
        {0, 0, 1, 1, QRect(0, 0, 1, 1)},
    };
    for (const Case& c : cases) {
        QWidget child(&parent);
        child.setGeometry(10, 20, 30, 40);
        MoveChildWindow(&parent, &child, c.x, c.y, c.cx, c.cy);
        EXPECT_EQ(child.geometry(), c.expected) << c.x << " " << c.y << " " << c.cx << " " << c.cy;
    }
    MoveChildWindow(&parent, nullptr, 1, 2, 3, 4); // no child: nothing happens
}

TEST(MoveChildWindow, PositionIsInTheNamedParentsCoordinates)
{
    QWidget parent;
    parent.resize(400, 300);
    QWidget frame(&parent);
    frame.setGeometry(100, 50, 200, 200);
    QWidget child(&frame);
    child.setGeometry(5, 5, 10, 10);
    MoveChildWindow(&parent, &child, 120, -1, -1, -1);
    EXPECT_EQ(child.geometry(), QRect(20, 5, 10, 10));
}
