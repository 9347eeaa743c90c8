#include "platform/ui/ProgramStyle.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QStyleOption>

#include <initializer_list>

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

// The icon of those images, each added at its own size as the toolkit adds them; null when any of
// them cannot be read as PNG (a toolkit with other images).
QIcon ReadBuiltInIcon(const SBuiltInImages& images)
{
    QIcon icon;
    for (int n : images.sizes) {
        QImageReader reader(QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                                .arg(QLatin1String(images.stem))
                                .arg(n),
                            "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (image.isNull())
            return {};
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
} // namespace

CProgramStyle::CProgramStyle(const QString& baseStyle) : QProxyStyle(baseStyle) {}

QIcon CProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option, const QWidget* widget) const
{
    // The direction as the base style takes it: the option's, else the application's.
    const bool rightToLeft = option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
    if (const SBuiltInImages* images = BuiltInImages(standardIcon, rightToLeft)) {
        const QIcon icon = ReadBuiltInIcon(*images);
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
