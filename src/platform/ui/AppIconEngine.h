#pragma once
// The engine of the program's own icons: the sizes rendered at build time come from their pixels;
// any other size, and a scaled screen, from the SVG file, which is parsed only when first needed.
// Both give the image the toolkit's SVG engine gives, so a window looks the same either way.
#include <QIcon>
#include <QIconEngine>
#include <QString>

#include <map>
#include <memory>

class CAppIconEngine : public QIconEngine
{
public:
    // size -> size * size premultiplied ARGB32 pixels that live as long as the program.
    using Images = std::map<int, const unsigned char*>;

    CAppIconEngine(QString svgPath, std::shared_ptr<const Images> images);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
    bool isNull() override { return false; }

private:
    // The icon the toolkit makes of the SVG file; made on first use.
    const QIcon& Scalable();

    QString m_svgPath;
    std::shared_ptr<const Images> m_images;
    std::shared_ptr<QIcon> m_scalable;
};
