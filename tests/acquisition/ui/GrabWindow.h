#pragma once
// Shows a window, checks that its visible controls have a size and saves its image into pictures
// (and into $ORVEX_KEEP_PNG when set, to look at); then switches the language live both ways and
// expects no text left in the other language.
#include "support/WidgetShot.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

inline void GrabWindow(QWidget& w, const QTemporaryDir& pictures, const char* name)
{
    w.show();
    QApplication::processEvents();
    for (QWidget* child : w.findChildren<QWidget*>()) {
        if (child->isVisible()) {
            EXPECT_FALSE(child->size().isEmpty()) << name << ": " << child->objectName().toStdString();
        }
    }
    EXPECT_TRUE(w.grab().save(pictures.filePath(QString::fromLatin1(name) + ".png")));
    if (qEnvironmentVariableIsSet("ORVEX_KEEP_PNG"))
        w.grab().save(QDir(qEnvironmentVariable("ORVEX_KEEP_PNG")).filePath(QString::fromLatin1(name) + ".png"));
    EXPECT_EQ(CheckLanguageSwitch(w, QStringLiteral("acquisition_ui"), QString::fromLatin1(name))
                  .join(QLatin1Char('\n'))
                  .toStdString(),
              "")
        << name;
}
