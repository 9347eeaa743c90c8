#include "platform/ui/ProgramStyle.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QLinearGradient>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QStyleOption>

#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace {
// The toolkit's images of a standard icon: the file stem under its style resources and the numbers
// the files end in.
struct SBuiltInImages
{
    const char* stem;
    std::initializer_list<int> sizes;
};

// The translucent edge colours of the Fusion style's bars: a light line and a dark one.
constexpr QColor kBarLight(255, 255, 255, 90);
constexpr QColor kBarShadow(0, 0, 0, 60);

// Paints a horizontal tool bar of a main window's top area as the Fusion style does: a gradient
// from a little lighter than the window colour down to it, a light top row, and a bottom row that
// is dark, or light over a dark row above it when the bar is the last (or only) line of bars.
// False when the bar or the painter is one this does not cover (a scaled painter widens a pen line
// otherwise than a filled row).
bool PaintTopToolBar(const QStyleOption* option, QPainter* painter, const QWidget* widget)
{
    const auto* bar = qstyleoption_cast<const QStyleOptionToolBar*>(option);
    if (!bar || !widget || !qobject_cast<const QMainWindow*>(widget->parentWidget()) ||
        bar->toolBarArea != Qt::TopToolBarArea || !(option->state & QStyle::State_Horizontal) ||
        painter->deviceTransform().type() > QTransform::TxTranslate)
        return false;
    const QRect& r = option->rect;
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, option->palette.window().color().lighter(104));
    gradient.setColorAt(1, option->palette.window().color());
    painter->fillRect(r, gradient);
    const auto row = [&](int y, const QColor& colour) { painter->fillRect(QRect(r.left(), y, r.width(), 1), colour); };
    if (bar->positionOfLine == QStyleOptionToolBar::End || bar->positionOfLine == QStyleOptionToolBar::OnlyOne) {
        row(r.bottom(), kBarLight);
        row(r.bottom() - 1, kBarShadow);
    } else {
        row(r.bottom(), kBarShadow);
    }
    row(r.top(), kBarLight);
    return true;
}

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

// An image file read once per process, by whichever thread asks first: a start reads the tool
// bar's ahead on another thread, and the window's first paint finds them read.
QImage ReadImage(const QString& path)
{
    static std::mutex mutex;
    static std::map<QString, QImage> images;
    {
        const std::lock_guard lock(mutex);
        if (auto it = images.find(path); it != images.end())
            return it->second;
    }
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    const std::lock_guard lock(mutex);
    return images.emplace(path, std::move(image)).first->second;
}

// The icon of those images, each added at its own size as the toolkit adds them.
QIcon ReadBuiltInIcon(const SBuiltInImages& images)
{
    QIcon icon;
    for (int n : images.sizes) {
        const QImage image = ReadImage(ImagePath(images, n));
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

void CProgramStyle::ReadFirstPaintImagesAhead()
{
    for (QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSkipForward})
        if (const SBuiltInImages* images = BuiltInImages(which, false))
            for (int n : images->sizes)
                ReadImage(ImagePath(*images, n));
}

void CProgramStyle::Install()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        qobject_cast<CProgramStyle*>(QApplication::style()))
        return;
    QApplication::setStyle(new CProgramStyle(QApplication::style()->name()));
}

void CProgramStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const
{
    if (element == CE_ToolBar && baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0 &&
        PaintTopToolBar(option, painter, widget))
        return;
    QProxyStyle::drawControl(element, option, painter, widget);
}
