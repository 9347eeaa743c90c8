// The program's style hands out the same icons as the style it stands over.
#include "platform/ui/ProgramStyle.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <memory>

TEST(ProgramStyle, BuiltInIconsAreThoseOfTheBaseStyleInEitherDirection)
{
    ASSERT_NE(qobject_cast<CProgramStyle*>(QApplication::style()), nullptr) << "the tests draw in the program's style";
    const std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("Fusion")));
    CProgramStyle ours(QStringLiteral("Fusion"));
    auto image = [](const QIcon& icon, QSize size, QIcon::Mode mode) {
        return icon.pixmap(size, 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
                    EXPECT_EQ(image(icon, size, mode), image(expected, size, mode))
                        << where << " size " << size.width();
        }
    }
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}
