// Every window carries the program's own icon, also one that no part of the program set it on.
#include "platform/ui/ApplicationIcon.h"
#include "platform/ui/ZuDialog.h"
#include "support/WidgetShot.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>

#include <gtest/gtest.h>

TEST(ApplicationIcon, EveryWindowAndMdiChildShowsTheProgramsIcon)
{
    const QIcon icon = CApplicationIcon::Icon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_FALSE(icon.pixmap(32, 32).isNull()) << "the icon draws";

    QMdiArea area;
    area.resize(420, 260);
    auto* child = new QWidget;
    child->setWindowTitle(QStringLiteral("A child window"));
    QMdiSubWindow* sub = area.addSubWindow(child);
    sub->resize(300, 160);
    CZuDialog dialog;
    for (QWidget* w : {static_cast<QWidget*>(&area), static_cast<QWidget*>(sub), static_cast<QWidget*>(&dialog)})
        EXPECT_EQ(w->windowIcon().cacheKey(), icon.cacheKey()) << w->metaObject()->className();

    area.show();
    sub->show();
    QApplication::processEvents();
    EXPECT_TRUE(area.grab().save(QDir(ShotFolder("orvex_platform_ui")).filePath("mdi-child-icon.png")));
}

TEST(ApplicationIcon, BuiltInPixelsMatchTheSvgAtEverySizeTheWindowSystemAsksFor)
{
    const QIcon ours = CApplicationIcon::Icon();
    const QIcon svg(QStringLiteral(":/icons/orvex.svg"));
    ASSERT_FALSE(svg.isNull());
    auto image = [](const QIcon& icon, int side, qreal scale, QIcon::Mode mode) {
        return icon.pixmap(QSize(side, side), scale, mode)
            .toImage()
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    // The window system's sizes, sizes between them, and a scaled screen.
    for (int side : {16, 20, 24, 32, 48, 64, 100, 128, 256})
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
            for (qreal scale : {1.0, 2.0}) {
                const QImage expected = image(svg, side, scale, mode);
                ASSERT_FALSE(expected.isNull()) << side;
                EXPECT_EQ(image(ours, side, scale, mode), expected)
                    << side << " mode " << int(mode) << " scale " << scale;
            }
}
