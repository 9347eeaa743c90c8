#pragma once
// Shows a window offscreen, saves an image of it into the test's temporary folder and checks its
// layout: every visible control must have a size and lie inside the window.
#include <QString>
#include <QStringList>

class QWidget;

// The folder the images go to (created on first use): <build>/window-images/<folder>, to look at
// after a run.
QString ShotFolder(const QString& folder);
// Shows the window (resized to its size hint when smaller), grabs it to <folder>/<name>.png and
// returns the controls that failed the check ("objectName (class) WxH at x,y"); empty when fine.
// The language is then switched live, as the program switches it, with the window left open: in
// Japanese its image goes to <folder>/<name>-jpn.png, and every visible text (titles, labels,
// buttons, tabs, drop-down lists, column headings, menu items) that the Japanese tables give
// otherwise but the window still shows in English is a fault ("English text: ..."). The language
// the test ran in is then switched back live, and a text left in Japanese is a fault too.
QStringList GrabAndCheckLayout(QWidget& window, const QString& folder, const QString& name);
// The language switch of GrabAndCheckLayout alone, for a window whose layout is checked otherwise:
// its Japanese image goes to <folder>/<name>-jpn.png; returns the texts left in either language.
QStringList CheckLanguageSwitch(QWidget& window, const QString& folder, const QString& name);
// The charts of a window whose title, axes, axis labels or legend do not fit at the size they are
// shown at: cut, squeezed or cut short with an ellipsis.
QStringList CutChartTexts(QWidget& window);
// The visible texts of a window (and its menus' actions) that the current language's tables
// give otherwise but that are still shown in English.
QStringList UntranslatedTexts(QWidget& window);
// The visible texts of a window in Japanese script (after a switch back to English).
QStringList JapaneseTexts(QWidget& window);
