#include "platform/ui/AppIconEngine.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

CAppIconEngine::CAppIconEngine(QString svgPath, std::shared_ptr<const Images> images)
    : m_svgPath(std::move(svgPath)), m_images(std::move(images)), m_scalable(std::make_shared<QIcon>())
{}

const QIcon& CAppIconEngine::Scalable()
{
    if (m_scalable->isNull())
        *m_scalable = QIcon(m_svgPath);
    return *m_scalable;
}

QPixmap CAppIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    const auto it = size.width() == size.height() ? m_images->find(size.width()) : m_images->end();
    if (it == m_images->end())
        return Scalable().pixmap(size, 1.0, mode, state);
    const QString key = QStringLiteral("orvex-icon:%1:%2:%3").arg(m_svgPath).arg(size.width()).arg(int(mode));
    QPixmap pm;
    if (QPixmapCache::find(key, &pm))
        return pm;
    const int side = it->first;
    pm = QPixmap::fromImage(QImage(it->second, side, side, side * 4, QImage::Format_ARGB32_Premultiplied).copy());
    // Other modes as the toolkit's engines derive them: from the normal image, by the style.
    if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QStyleOption option(0);
        option.palette = QGuiApplication::palette();
        const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        if (!generated.isNull())
            pm = generated;
    }
    QPixmapCache::insert(key, pm);
    return pm;
}

QPixmap CAppIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    // A scaled screen asks for sizes between the rendered ones: the SVG draws them sharp.
    if (scale != 1.0)
        return Scalable().pixmap(size / scale, scale, mode, state);
    return pixmap(size, mode, state);
}

void CAppIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    if (scale != 1.0) {
        Scalable().paint(painter, rect, Qt::AlignCenter, mode, state);
        return;
    }
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
}

QSize CAppIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    // The icons are square and scale to any size.
    const int side = std::min(size.width(), size.height());
    return side > 0 ? QSize(side, side) : QSize();
}

QIconEngine* CAppIconEngine::clone() const
{
    return new CAppIconEngine(*this);
}

QString CAppIconEngine::key() const
{
    return QStringLiteral("CAppIconEngine");
}
