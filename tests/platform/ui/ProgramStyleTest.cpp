// The program's style hands out the same icons as the style it stands over.
#include "platform/ui/ProgramStyle.h"

#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>
#include <QStyleOptionToolBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

TEST(ProgramStyle, BuiltInIconsAreThoseOfTheBaseStyleInEitherDirection)
{
    ASSERT_NE(qobject_cast<CProgramStyle*>(QApplication::style()), nullptr) << "the tests draw in the program's style";
    const std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("Fusion")));
    CProgramStyle ours(QStringLiteral("Fusion"));
    auto image = [](const QIcon& icon, QSize size, QIcon::Mode mode, qreal scale) {
        const QPixmap pm = icon.pixmap(size, scale, mode);
        return std::make_pair(pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), pm.devicePixelRatio());
    };
    auto painted = [](const QIcon& icon, QSize size, QIcon::Mode mode, qreal scale) {
        QImage image((size + QSize(8, 8)) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        icon.paint(&painter, QRect(QPoint(4, 4), size), Qt::AlignCenter, mode);
        return image;
    };
    for (Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        QGuiApplication::setLayoutDirection(direction);
        for (QStyle::StandardPixmap which :
             {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
              QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSkipForward, QStyle::SP_TitleBarCloseButton}) {
            const QIcon expected = base->standardIcon(which);
            const QIcon icon = ours.standardIcon(which);
            const auto where = ::testing::Message() << "pixmap " << int(which) << " direction " << int(direction);
            ASSERT_FALSE(expected.isNull()) << where;
            EXPECT_EQ(icon.availableSizes(), expected.availableSizes()) << where;
            for (QSize size : expected.availableSizes() + QList<QSize>{{12, 12}, {24, 24}})
                for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
                    for (qreal scale : {1.0, 2.0}) {
                        EXPECT_EQ(image(icon, size, mode, scale), image(expected, size, mode, scale))
                            << where << " size " << size.width() << " scale " << scale;
                        EXPECT_EQ(icon.actualSize(size, mode), expected.actualSize(size, mode)) << where;
                        EXPECT_EQ(painted(icon, size, mode, scale), painted(expected, size, mode, scale)) << where;
                    }
        }
    }
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

// The tool bars look as the base style paints them, in every area and place of a line, at any
// height, on screens of any scale, and outside a main window too.
TEST(ProgramStyle, ToolBarsArePaintedAsTheBaseStylePaintsThem)
{
    const std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("Fusion")));
    CProgramStyle ours(QStringLiteral("Fusion"));
    QMainWindow window;
    auto* inWindow = new QToolBar(&window);
    QToolBar loose;
    auto paint = [](const QStyle& style, const QStyleOptionToolBar& option, const QWidget* widget, qreal scale) {
        QImage image((option.rect.size() + QSize(6, 6)) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(QColor(90, 120, 150));
        QPainter painter(&image);
        style.drawControl(QStyle::CE_ToolBar, &option, &painter, widget);
        return image;
    };
    for (const QWidget* widget : {static_cast<const QWidget*>(inWindow), static_cast<const QWidget*>(&loose)})
        for (Qt::ToolBarArea area :
             {Qt::TopToolBarArea, Qt::BottomToolBarArea, Qt::LeftToolBarArea, Qt::RightToolBarArea})
            for (auto line : {QStyleOptionToolBar::Beginning, QStyleOptionToolBar::Middle, QStyleOptionToolBar::End,
                              QStyleOptionToolBar::OnlyOne})
                for (int height : {1, 2, 3, 36})
                    for (qreal scale : {1.0, 1.5, 2.0}) {
                        QStyleOptionToolBar option;
                        option.initFrom(inWindow);
                        option.toolBarArea = area;
                        option.positionOfLine = line;
                        const bool horizontal = area == Qt::TopToolBarArea || area == Qt::BottomToolBarArea;
                        option.state = horizontal ? QStyle::State_Horizontal : QStyle::State_None;
                        option.rect = horizontal ? QRect(3, 2, 200, height) : QRect(2, 3, height, 120);
                        EXPECT_EQ(paint(ours, option, widget, scale), paint(*base, option, widget, scale))
                            << "area " << int(area) << " line " << int(line) << " height " << height << " scale "
                            << scale << (widget == &loose ? " outside a main window" : "");
                    }
}
