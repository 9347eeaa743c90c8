#include "support/WidgetShot.h"

#include "platform/ui/UiTextTranslator.h"
#include "platform/ui/ZuChart.h"
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
#include <QHeaderView>
#include <QPixmap>
#include <QRegularExpression>
#include <QScrollArea>
#include <QWidget>

#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <set>
#include <string>
#include <vector>

QString ShotFolder(const QString& folder)
{
    const QString path = QDir(QStringLiteral(ORVEX_BINARY_DIR "/window-images")).filePath(folder);
    QDir().mkpath(path);
    return path;
}

namespace {

// The English texts of the string ids that read differently in Japanese.
std::vector<std::string> EnglishTextsWithOtherJapanese()
{
    std::vector<std::string> out;
    CStringTable english, japanese;
    if (!english.LoadFile(":/lang/" + GetStringTableFileName(LANG_ENGLISH)) ||
        !japanese.LoadFile(":/lang/" + GetStringTableFileName(LANG_JAPANESE)))
        return out;
    for (const auto& [id, text] : english.Strings()) {
        std::string other;
        if (japanese.Find(id, other) && other != text)
            out.push_back(text);
    }
    return out;
}

// The texts of string ids that read differently in Japanese: shown in Japanese, they were set from
// the English table and never set again.
const std::set<std::string>& EnglishStringTexts()
{
    static const std::set<std::string> texts = [] {
        std::set<std::string> out;
        // Formats are filled in before they are shown, so they never show as they stand.
        for (const std::string& text : EnglishTextsWithOtherJapanese())
            if (text.find('%') == std::string::npos)
                out.insert(text);
        return out;
    }();
    return texts;
}

// A printf format as a pattern of the texts it makes ("Unit group %d" finds "Unit group 3"); empty
// for a format with too few letters of its own to tell its texts from data.
QString FormatPattern(const std::string& format)
{
    static const QRegularExpression conversion(QStringLiteral("%([-+ #0]*\\d*(?:\\.\\d+)?)(l{0,2}|h)([diuxXfgeEcs%])"));
    const QString text = QString::fromStdString(format);
    QString pattern;
    int letters = 0, at = 0;
    for (auto it = conversion.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString literal = text.mid(at, m.capturedStart() - at);
        for (QChar c : literal)
            letters += c.isLetter() ? 1 : 0;
        pattern += QRegularExpression::escape(literal);
        const QChar kind = m.captured(3).at(0);
        pattern += kind == QLatin1Char('%')   ? QStringLiteral("%")
                   : kind == QLatin1Char('s') ? QStringLiteral(".*")
                                              : QStringLiteral("[-+0-9.eExX]+");
        at = m.capturedEnd();
    }
    const QString rest = text.mid(at);
    for (QChar c : rest)
        letters += c.isLetter() ? 1 : 0;
    if (at == 0 || letters < 4)
        return {};
    return QStringLiteral("^") + pattern + QRegularExpression::escape(rest) + QStringLiteral("$");
}

// The texts made from formats of string ids that read differently in Japanese.
const std::vector<QRegularExpression>& EnglishFormats()
{
    static const std::vector<QRegularExpression> formats = [] {
        std::vector<QRegularExpression> out;
        for (const std::string& text : EnglishTextsWithOtherJapanese()) {
            if (text.find('%') == std::string::npos)
                continue;
            if (const QString pattern = FormatPattern(text); !pattern.isEmpty())
                out.emplace_back(pattern, QRegularExpression::DotMatchesEverythingOption);
        }
        return out;
    }();
    return formats;
}

bool MadeFromEnglishFormat(const QString& text)
{
    for (const QRegularExpression& format : EnglishFormats())
        if (format.match(text).hasMatch())
            return true;
    return false;
}

// A text the tables translate, shown as it is: still English.
bool StillEnglish(const QString& text)
{
    if (text.isEmpty())
        return false;
    const std::string s = text.toStdString();
    return (HasTextTranslation(s) && TranslateText(s) != s) || EnglishStringTexts().count(s) != 0 ||
           MadeFromEnglishFormat(text);
}

// Back in English, a text in Japanese script was left from the switch.
bool StillJapanese(const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

using TextFault = bool (*)(const QString&);

void CheckActions(const QList<QAction*>& actions, TextFault fault, const QString& kind, QStringList& out)
{
    for (QAction* a : actions) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        if (fault(a->text()))
            out << QStringLiteral("%1 text: %2 (menu item)").arg(kind, a->text());
        if (a->menu())
            CheckActions(a->menu()->actions(), fault, kind, out);
    }
}

// The visible texts of a window that fault finds wrong for the language loaded.
QStringList WrongTexts(QWidget& window, TextFault fault, const QString& kind)
{
    QStringList out;
    auto check = [&](const QString& text, QWidget* w) {
        if (fault(text))
            out << QStringLiteral("%1 text: %2 (%3 %4)")
                       .arg(kind, text, QString::fromLatin1(w->metaObject()->className()), w->objectName());
    };
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        if (w != &window && !w->isVisibleTo(&window) && !qobject_cast<QMenu*>(w))
            continue;
        if (w->property(CUiTextTranslator::kDataTexts).toBool())
            continue;
        if (w == &window)
            check(w->windowTitle(), w);
        check(w->toolTip(), w);
        if (auto* label = qobject_cast<QLabel*>(w))
            check(label->text(), w);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            check(button->text(), w);
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            check(group->title(), w);
        else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                check(tabs->tabText(i), w);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (!combo->isEditable())
                check(combo->currentText(), w);
        } else if (auto* table = qobject_cast<QTableWidget*>(w); table && fault == StillEnglish) {
            // Cells hold data, which may read like a text of ours; only texts made from our
            // formats ("Unit group 2") are ours for sure.
            for (int r = 0; r < std::min(table->rowCount(), 200); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    if (QTableWidgetItem* item = table->item(r, c); item && MadeFromEnglishFormat(item->text()))
                        out << QStringLiteral("English text: %1 (cell of %2)").arg(item->text(), table->objectName());
        } else if (auto* header = qobject_cast<QHeaderView*>(w)) {
            // Column headings as the view draws them, item widgets' and item models' alike.
            if (header->orientation() == Qt::Horizontal && header->model())
                for (int c = 0; c < header->count(); ++c)
                    if (!header->isSectionHidden(c))
                        check(header->model()->headerData(c, Qt::Horizontal).toString(), header->parentWidget());
        } else if (auto* plot = qobject_cast<QCustomPlot*>(w)) {
            // Axis labels, the legend's names and the text lines above the plot (a title's lines).
            for (QCPAxisRect* rect : plot->axisRects())
                for (QCPAxis* axis : rect->axes())
                    check(axis->label(), w);
            if (plot->legend && plot->legend->visible())
                for (int i = 0; i < plot->plottableCount(); ++i)
                    check(plot->plottable(i)->name(), w);
            for (int i = 0; i < plot->plotLayout()->elementCount(); ++i)
                if (auto* text = qobject_cast<QCPTextElement*>(plot->plotLayout()->elementAt(i)))
                    for (const QString& line : text->text().split(QLatin1Char('\n')))
                        check(line, w);
        } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            CheckActions(bar->actions(), fault, kind, out);
        }
    }
    return out;
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

} // namespace

QStringList CutChartTexts(QWidget& window)
{
    QStringList out;
    QList<CZuChart*> charts = window.findChildren<CZuChart*>();
    if (auto* self = qobject_cast<CZuChart*>(&window))
        charts.prepend(self);
    for (CZuChart* chart : charts) {
        if (chart != &window && !chart->isVisibleTo(&window))
            continue;
        chart->replot(); // laid out at the size it is shown at now
        const QString who =
            chart->objectName().isEmpty() ? QString::fromLatin1(chart->metaObject()->className()) : chart->objectName();
        const QRect inside = chart->rect();
        // A chart reaching past its window's edge is cut there, however well it lays itself out.
        const QRect at(chart->mapTo(&window, QPoint(0, 0)), chart->size());
        if (!window.rect().contains(at))
            out << QStringLiteral("chart cut by its window: %1 %2x%3 at %4,%5")
                       .arg(who)
                       .arg(at.width())
                       .arg(at.height())
                       .arg(at.x())
                       .arg(at.y());
        for (int i = 0; i < chart->plotLayout()->elementCount(); ++i) {
            auto* title = qobject_cast<QCPTextElement*>(chart->plotLayout()->elementAt(i));
            if (!title || !title->visible())
                continue;
            const int needed = static_cast<QCPLayoutElement*>(title)->minimumOuterSizeHint().height();
            if (title->text().contains(QChar(0x2026)) || !inside.contains(title->outerRect()) ||
                title->outerRect().height() < needed)
                out << QStringLiteral("chart title cut: %1 (%2) in %3x%4 at %5,%6, needs %7 high")
                           .arg(QString(title->text()).replace(QLatin1Char('\n'), QLatin1Char('/')), who)
                           .arg(title->outerRect().width())
                           .arg(title->outerRect().height())
                           .arg(title->outerRect().x())
                           .arg(title->outerRect().y())
                           .arg(needed);
        }
        QCPAxisRect* plot = chart->axisRect();
        if (!plot)
            continue;
        if (!inside.contains(plot->outerRect()))
            out << QStringLiteral("chart axes cut: %1 lies outside %2's %3x%4")
                       .arg(QStringLiteral("%1x%2 at %3,%4")
                                .arg(plot->outerRect().width())
                                .arg(plot->outerRect().height())
                                .arg(plot->outerRect().x())
                                .arg(plot->outerRect().y()),
                            who)
                       .arg(inside.width())
                       .arg(inside.height());
        // An upright label runs along the plot's height, a lying one along its width.
        for (QCPAxis* axis : {chart->xAxis, chart->yAxis}) {
            if (!axis || !axis->visible() || axis->label().isEmpty())
                continue;
            const int length = QFontMetrics(axis->labelFont()).horizontalAdvance(axis->label());
            const int room = axis->orientation() == Qt::Vertical ? plot->height() : plot->width();
            if (room < length)
                out << QStringLiteral("chart axis label cut: %1 (%2) needs %3, has %4")
                           .arg(axis->label(), who)
                           .arg(length)
                           .arg(room);
        }
        if (chart->legend && chart->legend->visible() && chart->legend->layout() == chart->plotLayout() &&
            !inside.contains(chart->legend->outerRect()))
            out << QStringLiteral("chart legend cut: %1").arg(who);
        for (int i = 0; chart->legend && chart->legend->visible() && i < chart->legend->itemCount(); ++i) {
            QCPAbstractLegendItem* item = chart->legend->item(i);
            if (!item)
                continue;
            const QSize needed = static_cast<QCPLayoutElement*>(item)->minimumOuterSizeHint();
            if (!inside.contains(item->outerRect()) || item->outerRect().width() < needed.width())
                out << QStringLiteral("chart legend name cut: %1 (%2) has %3, needs %4")
                           .arg(qobject_cast<QCPPlottableLegendItem*>(item)
                                    ? qobject_cast<QCPPlottableLegendItem*>(item)->plottable()->name()
                                    : QString(),
                                who)
                           .arg(item->outerRect().width())
                           .arg(needed.width());
        }
    }
    return out;
}

// The controls a user works with that are not whole inside the window (or the scroll area that
// holds them), or that have no size.
static QStringList ControlsOutside(QWidget& window)
{
    QStringList faults;
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

// The window's language is switched the way the program switches it, with every window left open:
// to Japanese (its image, the texts still English) and back (the texts still Japanese).
QStringList CheckLanguageSwitch(QWidget& window, const QString& folder, const QString& name)
{
    const uint32_t before = GetLoadedLanguage();
    const std::string tables = GetStringTableFolder(); // a test's own tables, put back below
    SetStringTableFolder({});
    QStringList faults;
    // A test that loaded no table made its window with English texts, as the program would.
    if (before == 0 && !LoadLanguageStrings(LANG_ENGLISH)) {
        SetStringTableFolder(tables);
        return {QStringLiteral("the English tables do not load")};
    }
    if (!LoadLanguageStrings(LANG_JAPANESE)) {
        SetStringTableFolder(tables);
        return {QStringLiteral("the Japanese tables do not load")};
    }
    CUiTextTranslator::TranslateAll();
    QApplication::processEvents();
    window.grab().save(QDir(ShotFolder(folder)).filePath(name + "-jpn.png"));
    faults << UntranslatedTexts(window);
    faults << CutComboTexts(window);
    for (const QString& cut : CutChartTexts(window) + ControlsOutside(window))
        faults << QStringLiteral("in Japanese: ") + cut;
    SetStringTableFolder(tables);
    if (before == 0)
        UnloadLanguageStrings();
    else
        LoadLanguageStrings(before);
    CUiTextTranslator::TranslateAll();
    QApplication::processEvents();
    if (before != LANG_JAPANESE)
        faults << WrongTexts(window, StillJapanese, QStringLiteral("Japanese"));
    return faults;
}

QStringList UntranslatedTexts(QWidget& window)
{
    return WrongTexts(window, StillEnglish, QStringLiteral("English"));
}

QStringList JapaneseTexts(QWidget& window)
{
    return WrongTexts(window, StillJapanese, QStringLiteral("Japanese"));
}

QStringList GrabAndCheckLayout(QWidget& window, const QString& folder, const QString& name)
{
    window.adjustSize();
    window.show();
    // A few turns of the event loop, as the window has before anyone sees it: a chart drawn for
    // the first time tells its pane what room it needs, the pane its window, in turns.
    for (int turn = 0; turn < 5; ++turn)
        QApplication::processEvents();
    const QPixmap image = window.grab();
    image.save(QDir(ShotFolder(folder)).filePath(name + ".png"));

    QStringList faults;
    if (image.isNull() || window.width() <= 0 || window.height() <= 0)
        faults << QStringLiteral("window has no size");
    faults << ControlsOutside(window);
    faults << CutChartTexts(window);
    faults << CheckLanguageSwitch(window, folder, name);
    return faults;
}
