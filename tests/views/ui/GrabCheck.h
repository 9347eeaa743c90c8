#pragma once
// Grabs a window as a user would see it (kept in ORVEX_GRAB_DIR when that is set) and checks that
// its visible controls have a size; then switches the language live both ways and expects no text
// left in the other language.
#include "support/WidgetShot.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

inline void GrabAndCheck(QWidget& window, const char* name, QSize size = QSize(480, 360))
{
    window.resize(window.sizeHint().expandedTo(size));
    window.show();
    QApplication::processEvents();
    QTemporaryDir temp;
    const QString dir =
        qEnvironmentVariableIsSet("ORVEX_GRAB_DIR") ? qEnvironmentVariable("ORVEX_GRAB_DIR") : temp.path();
    EXPECT_TRUE(window.grab().save(QDir(dir).filePath(QString(name) + ".png")));
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->isVisible()) {
            EXPECT_FALSE(child->size().isEmpty()) << child->metaObject()->className();
        }
    }
    EXPECT_EQ(CheckLanguageSwitch(window, QStringLiteral("views"), QString::fromLatin1(name))
                  .join(QLatin1Char('\n'))
                  .toStdString(),
              "")
        << name;
}
