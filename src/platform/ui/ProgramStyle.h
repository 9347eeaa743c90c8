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
    // Reads the images of a horizontal tool bar's extension button, on any thread: a main window's
    // tool bar that is longer than the window shows that button in the window's first paint.
    static void ReadToolBarImagesAhead();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
