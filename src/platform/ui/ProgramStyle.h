#pragma once
// The program's style: the platform's own style, drawing exactly as it does, except that the
// toolkit's built-in images it hands out as icons (the tool bar's extension button, the skip
// buttons) are read as the PNG files they are. The style itself reads them with image-type
// detection, which loads every image plugin of the system before the first window shows. Over
// the Fusion style, the main window's top tool bar is painted with the same pixels as that style
// paints it, its edge lines as filled rows: drawn as pen lines of translucent colours they are
// blended pixel by pixel on the toolkit's worker threads, which the first paint of the window
// would otherwise wait to start.
#include <QProxyStyle>

class CProgramStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // Over the style of the given name (the application's current style when empty).
    explicit CProgramStyle(const QString& baseStyle = {});

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

    // Makes this style the application's style over the one it has (once a widget application
    // object exists; later calls do nothing).
    static void Install();
    // Reads, on any thread, the built-in images a main window's first paint shows: the extension
    // button of a tool bar longer than the window and the skip buttons beside a row of tabs.
    static void ReadFirstPaintImagesAhead();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
