// The program's icons drawn from their build-time pixels look exactly as the toolkit draws the SVG
// files themselves, at every size, mode and screen scale.
#include "app/ui/AppIcons.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {
QImage Image(const QPixmap& pm)
{
    return pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Painted(const QIcon& icon, int side, qreal scale, QIcon::Mode mode)
{
    QImage image(QSize(side + 8, side + 8) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(4, 4, side, side), Qt::AlignCenter, mode);
    return image;
}
} // namespace

TEST(AppIcons, BuiltInPixelsMatchTheSvgRendering)
{
    // Sizes rendered at build time (16, 24, 32) and sizes between them.
    for (const char* name : {"new", "folder", "project-daq", "about"}) {
        const QIcon ours = AppIcon(name);
        const QIcon svg(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
        ASSERT_FALSE(ours.isNull()) << name;
        ASSERT_FALSE(svg.isNull()) << name;
        for (int side : {16, 20, 24, 32, 64})
            for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected})
                for (qreal scale : {1.0, 2.0}) {
                    const auto where = ::testing::Message()
                                       << name << " " << side << " mode " << int(mode) << " scale " << scale;
                    const QImage expected = Image(svg.pixmap(QSize(side, side), scale, mode));
                    ASSERT_FALSE(expected.isNull()) << where;
                    EXPECT_EQ(Image(ours.pixmap(QSize(side, side), scale, mode)), expected) << where;
                    EXPECT_EQ(ours.actualSize(QSize(side, side), mode), svg.actualSize(QSize(side, side), mode))
                        << where;
                    EXPECT_EQ(Painted(ours, side, scale, mode), Painted(svg, side, scale, mode)) << where;
                }
    }
}
