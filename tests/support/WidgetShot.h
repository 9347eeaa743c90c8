#pragma once
// Shows a window offscreen, saves an image of it into the test's temporary folder and checks its
// layout: every visible control must have a size and lie inside the window.
#include <QString>
#include <QStringList>

class QWidget;

// The folder the images go to (created on first use): <gtest temp dir>/<folder>.
QString ShotFolder(const QString& folder);
// Shows the window (resized to its size hint when smaller), grabs it to <folder>/<name>.png and
// returns the controls that failed the check ("objectName (class) WxH at x,y"); empty when fine.
QStringList GrabAndCheckLayout(QWidget& window, const QString& folder, const QString& name);
