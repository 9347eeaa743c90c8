#include "support/WidgetShot.h"

#include "platform/ui/UiTextTranslator.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QGroupBox>
#include <QPixmap>
#include <QScrollArea>
#include <QWidget>

#include <gtest/gtest.h>

QString ShotFolder(const QString& folder)
{
    const QString path = QDir(QStringLiteral(ORVEX_BINARY_DIR "/window-images")).filePath(folder);
    QDir().mkpath(path);
    return path;
}

namespace {

// A text the table translates, shown as it is: still English.
bool StillEnglish(const QString& text)
{
    if (text.isEmpty())
        return false;
    const std::string s = text.toStdString();
    return HasTextTranslation(s) && TranslateText(s) != s;
}

void CheckActions(const QList<QAction*>& actions, QStringList& out)
{
    for (QAction* a : actions) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        if (StillEnglish(a->text()))
            out << QStringLiteral("English text: %1 (menu item)").arg(a->text());
        if (a->menu())
            CheckActions(a->menu()->actions(), out);
    }
}

// The window in Japanese: its image, and the texts still English.
// Lists the drop-down lists too narrow for the item they show: a translated item may be wider than
// the one the list was sized for.
QStringList CutComboTexts(QWidget& window)
{
    QStringList out;
    for (QComboBox* combo : window.findChildren<QComboBox*>()) {
        if (!combo->isVisibleTo(&window) || combo->isEditable() || combo->currentText().isEmpty())
            continue;
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.currentText = combo->currentText();
        const QSize text(combo->fontMetrics().horizontalAdvance(combo->currentText()), combo->fontMetrics().height());
        const int needed = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, combo).width();
        // The style's own estimate may round a pixel or two wider than the list's.
        if (combo->width() + 2 < needed)
            out << QStringLiteral("drop-down list cut: %1 needs %2, is %3")
                       .arg(combo->currentText())
                       .arg(needed)
                       .arg(combo->width());
    }
    return out;
}

QStringList CheckJapanese(QWidget& window, const QString& folder, const QString& name)
{
    const uint32_t before = GetLoadedLanguage();
    const std::string tables = GetStringTableFolder(); // a test's own tables, put back below
    SetStringTableFolder({});
    QStringList faults;
    if (!LoadLanguageStrings(LANG_JAPANESE)) {
        SetStringTableFolder(tables);
        return {QStringLiteral("the Japanese tables do not load")};
    }
    CUiTextTranslator::Translate(&window);
    QApplication::processEvents();
    window.grab().save(QDir(ShotFolder(folder)).filePath(name + "-jpn.png"));
    faults << UntranslatedTexts(window);
    faults << CutComboTexts(window);
    SetStringTableFolder(tables);
    if (before == 0)
        UnloadLanguageStrings();
    else
        LoadLanguageStrings(before);
    CUiTextTranslator::Translate(&window);
    return faults;
}

} // namespace

QStringList UntranslatedTexts(QWidget& window)
{
    QStringList out;
    auto check = [&out](const QString& text, QWidget* w) {
        if (StillEnglish(text))
            out << QStringLiteral("English text: %1 (%2 %3)")
                       .arg(text, QString::fromLatin1(w->metaObject()->className()), w->objectName());
    };
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        if (w != &window && !w->isVisibleTo(&window) && !qobject_cast<QMenu*>(w))
            continue;
        if (w == &window)
            check(w->windowTitle(), w);
        if (auto* label = qobject_cast<QLabel*>(w))
            check(label->text(), w);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            check(button->text(), w);
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            check(group->title(), w);
        else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                check(tabs->tabText(i), w);
        } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < table->columnCount(); ++c)
                if (QTableWidgetItem* item = table->horizontalHeaderItem(c))
                    check(item->text(), w);
        } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            if (QTreeWidgetItem* header = tree->headerItem())
                for (int c = 0; c < header->columnCount(); ++c)
                    check(header->text(c), w);
        } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            CheckActions(bar->actions(), out);
        }
    }
    return out;
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
    faults << CheckJapanese(window, folder, name);
    return faults;
}
