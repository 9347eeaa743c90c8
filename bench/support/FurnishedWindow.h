#pragma once
// A Qt main window furnished with the kinds of controls the program's main window has, and nothing
// of the program: eight menus of ten items, a tool bar of twelve icons, a status bar with three
// labels, a dock with a tree of thirty-five rows and a client area for child windows. The start-up
// benchmark's third yardstick: what a window of that furniture costs in Qt alone, against a bare
// one. Its icons are drawn in memory, so no image file is read.
#include "IdleWatch.h"

#include <QColor>
#include <QDockWidget>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace benchsupport {

inline int RunFurnishedWindow(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QMainWindow window;
    for (const char* title : {"&File", "&Edit", "&View", "&Model", "&Analysis", "&Measure", "&Window", "&Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 0; i < 10; ++i)
            menu->addAction(QStringLiteral("Command %1").arg(i));
    }
    QToolBar* tools = window.addToolBar(QStringLiteral("Standard"));
    for (int i = 0; i < 12; ++i) {
        QPixmap image(16, 16);
        image.fill(QColor::fromHsv(i * 30, 200, 200));
        tools->addAction(QIcon(image), QStringLiteral("Command %1").arg(i));
    }
    for (const char* text : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(QString::fromLatin1(text));
        label->setEnabled(false);
        window.statusBar()->addPermanentWidget(label);
    }
    auto* dock = new QDockWidget(QStringLiteral("Project"), &window);
    auto* tree = new QTreeWidget(dock);
    tree->setHeaderHidden(true);
    for (int i = 0; i < 5; ++i) {
        auto* top = new QTreeWidgetItem(tree, {QStringLiteral("Project %1").arg(i)});
        for (int j = 0; j < 6; ++j)
            new QTreeWidgetItem(top, {QStringLiteral("Element %1").arg(j)});
        top->setExpanded(true);
    }
    dock->setWidget(tree);
    window.addDockWidget(Qt::LeftDockWidgetArea, dock);
    window.setCentralWidget(new QMdiArea);
    window.resize(1100, 760);
    window.show();
    CIdleWatch watch(window);
    return qapp.exec();
}

} // namespace benchsupport
