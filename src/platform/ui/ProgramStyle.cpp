#include "platform/ui/ProgramStyle.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QStyleOption>

#include <initializer_list>
#include <memory>
#include <optional>

namespace {
// The toolkit's images of a standard icon: the file stem under its style resources and the numbers
// the files end in.
struct SBuiltInImages
{
    const char* stem;
    std::initializer_list<int> sizes;
};

// Null for an icon the base style makes in its own way.
const SBuiltInImages* BuiltInImages(QStyle::StandardPixmap which, bool rightToLeft)
{
    static const SBuiltInImages kExtH{"toolbar-ext-h", {8, 16, 32}};
    static const SBuiltInImages kExtHRtl{"toolbar-ext-h-rtl", {8, 16, 32}};
    static const SBuiltInImages kExtV{"toolbar-ext-v", {5, 10, 20}};
    static const SBuiltInImages kSkipBack{"media-skip-backward", {16, 32}};
    static const SBuiltInImages kSkipForward{"media-skip-forward", {16, 32}};
    switch (which) {
    case QStyle::SP_ToolBarHorizontalExtensionButton:
        return rightToLeft ? &kExtHRtl : &kExtH;
    case QStyle::SP_ToolBarVerticalExtensionButton:
        return &kExtV;
    case QStyle::SP_MediaSkipBackward:
        return &kSkipBack;
    case QStyle::SP_MediaSkipForward:
        return &kSkipForward;
    default:
        return nullptr;
    }
}

QString ImagePath(const SBuiltInImages& images, int n)
{
    return QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
        .arg(QLatin1String(images.stem))
        .arg(n);
}

// The icon of those images, each added at its own size as the toolkit adds them.
QIcon ReadBuiltInIcon(const SBuiltInImages& images)
{
    QIcon icon;
    for (int n : images.sizes) {
        QImageReader reader(ImagePath(images, n), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

// Reads the images when the icon is first drawn or measured: the tool bar's extension button is
// made with every tool bar but shows only when the bar is too short for its buttons.
class CBuiltInIconEngine : public QIconEngine
{
public:
    explicit CBuiltInIconEngine(const SBuiltInImages& images)
        : m_images(images), m_icon(std::make_shared<std::optional<QIcon>>())
    {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        // As the toolkit's engine of those images paints: their pixmap for the rectangle, in it.
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : qGuiApp->devicePixelRatio();
        painter->drawPixmap(rect, scaledPixmap(rect.size() * dpr, mode, state, dpr));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        // Asked for in device pixels; the icon of the images answers the same in its own terms.
        QPixmap pm = Icon().pixmap(size / scale, scale, mode, state);
        pm.setDevicePixelRatio(1.0);
        return pm;
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new CBuiltInIconEngine(*this); }
    QString key() const override { return QStringLiteral("CBuiltInIconEngine"); }
    bool isNull() override { return false; }

private:
    const QIcon& Icon()
    {
        if (!*m_icon)
            *m_icon = ReadBuiltInIcon(m_images);
        return **m_icon;
    }

    const SBuiltInImages& m_images;
    std::shared_ptr<std::optional<QIcon>> m_icon; // shared by copies
};

// An icon of those images, read when first used; null when a file is missing (a toolkit with
// other images).
QIcon BuiltInIcon(const SBuiltInImages& images)
{
    for (int n : images.sizes)
        if (!QFile::exists(ImagePath(images, n)))
            return {};
    return QIcon(new CBuiltInIconEngine(images));
}
} // namespace

CProgramStyle::CProgramStyle(const QString& baseStyle) : QProxyStyle(baseStyle) {}

QIcon CProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option, const QWidget* widget) const
{
    // The direction as the base style takes it: the option's, else the application's.
    const bool rightToLeft = option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
    if (const SBuiltInImages* images = BuiltInImages(standardIcon, rightToLeft)) {
        const QIcon icon = BuiltInIcon(*images);
        if (!icon.isNull())
            return icon;
    }
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

void CProgramStyle::Install()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        qobject_cast<CProgramStyle*>(QApplication::style()))
        return;
    QApplication::setStyle(new CProgramStyle(QApplication::style()->name()));
}
