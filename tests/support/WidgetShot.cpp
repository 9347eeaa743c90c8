#include "support/WidgetShot.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QPixmap>
#include <QScrollArea>
#include <QWidget>

#include <gtest/gtest.h>

QString ShotFolder(const QString& folder)
{
    const QString path = QDir(QString::fromStdString(::testing::TempDir())).filePath(folder);
    QDir().mkpath(path);
    return path;
}

QStringList GrabAndCheckLayout(QWidget& window, const QString& folder, const QString& name)
{
    window.adjustSize();
    window.show();
    QApplication::processEvents();
    const QPixmap image = window.grab();
    image.save(QDir(ShotFolder(folder)).filePath(name + ".png"));

    QStringList faults;
    if (image.isNull() || window.width() <= 0 || window.height() <= 0)
        faults << QStringLiteral("window has no size");
    const QRect inside = window.rect();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        // The controls a user works with; the parts Qt builds inside them are theirs to lay out.
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                             qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                             qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QGroupBox*>(w) ||
                             (qobject_cast<QLabel*>(w) && !qobject_cast<QLabel*>(w)->text().isEmpty());
        if (!control || !w->isVisibleTo(&window) || qobject_cast<QLineEdit*>(w->parentWidget()) ||
            qobject_cast<QAbstractSpinBox*>(w->parentWidget()) || qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        // A control in a scroll area need only lie inside the area's content: the user scrolls to it.
        QWidget* frame = &window;
        for (QWidget* p = w->parentWidget(); p && p != &window; p = p->parentWidget())
            if (auto* area = qobject_cast<QScrollArea*>(p); area && area->widget() && area->widget()->isAncestorOf(w)) {
                frame = area->widget();
                break;
            }
        const QRect r(w->mapTo(frame, QPoint(0, 0)), w->size());
        if (r.width() <= 1 || r.height() <= 1 || !(frame == &window ? inside : frame->rect()).contains(r))
            faults << QStringLiteral("%1 (%2) %3x%4 at %5,%6")
                          .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()))
                          .arg(r.width())
                          .arg(r.height())
                          .arg(r.x())
                          .arg(r.y());
    }
    return faults;
}
