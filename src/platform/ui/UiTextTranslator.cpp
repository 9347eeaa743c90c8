#include "platform/ui/UiTextTranslator.h"

#include "platform/ui/FlexGridModel.h"

#include "platform/win/StringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QStyle>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QTreeWidget>
#include <QVariant>

#include <qcustomplot.h>

namespace {

// The English text of an attribute is kept in a property of that name once it was translated.
QString Translated(QObject* owner, const char* key, const QString& shown)
{
    QVariant kept = owner->property(key);
    QString english = kept.isValid() ? kept.toString() : shown;
    // A text set by the program since the last pass is its new English text.
    if (kept.isValid() && shown != owner->property((QByteArray(key) + "Shown").constData()).toString())
        english = shown;
    if (english.isEmpty())
        return shown;
    const QString text = QString::fromStdString(TranslateText(english.toStdString()));
    if (text != english || kept.isValid()) {
        owner->setProperty(key, english);
        owner->setProperty((QByteArray(key) + "Shown").constData(), text);
    }
    return text;
}

template <class Get, class Set>
void Apply(QObject* owner, const char* key, Get get, Set set)
{
    const QString shown = get();
    const QString text = Translated(owner, key, shown);
    if (text != shown)
        set(text);
}

void TranslateItemText(QTableWidgetItem* item)
{
    if (!item)
        return;
    constexpr int kEnglishRole = Qt::UserRole + 0x7E1;
    QString english = item->data(kEnglishRole).toString();
    if (english.isEmpty() || item->data(kEnglishRole + 1).toString() != item->text())
        english = item->text();
    const QString text = QString::fromStdString(TranslateText(english.toStdString()));
    if (text == item->text())
        return;
    item->setData(kEnglishRole, english);
    item->setData(kEnglishRole + 1, text);
    item->setText(text);
}

// Columns were sized for their English headings; a translated heading that is wider widens its
// column rather than being cut short. English has no text table, so its columns stay as made.
void FitTranslatedHeadings(QHeaderView* header)
{
    if (!header || !header->model() || TextTranslationCount() == 0)
        return;
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c) || header->sectionResizeMode(c) != QHeaderView::Interactive)
            continue;
        const QString text = header->model()->headerData(c, header->orientation()).toString();
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        const int wanted = header->fontMetrics().horizontalAdvance(text) + 4 * margin;
        if (header->sectionSize(c) < wanted)
            header->resizeSection(c, wanted);
    }
}

// Headings an item model gives in English and translates when they are drawn (grids, lists) are
// drawn anew, each section sized as its mode asks; translated ones widen as above.
void RefreshHeadings(QHeaderView* header)
{
    if (!header->model() || header->orientation() != Qt::Horizontal || header->count() == 0)
        return;
    header->headerDataChanged(Qt::Horizontal, 0, header->count() - 1);
    // A grid's headings are texts of ours; other models' headings are data, sized as they decide.
    if (qobject_cast<CFlexGridModel*>(header->model()))
        FitTranslatedHeadings(header);
}

// The labels of a chart's axes and its curves' names. A label the program sets since the last
// pass is its new text.
bool TranslatePlot(QCustomPlot* plot)
{
    bool changed = false;
    int n = 0;
    for (QCPAxisRect* rect : plot->axisRects())
        for (QCPAxis* axis : rect->axes()) {
            const QByteArray key = "orvexEnAxis" + QByteArray::number(n++);
            Apply(
                plot, key.constData(), [axis] { return axis->label(); },
                [axis, &changed](const QString& t) {
                    axis->setLabel(t);
                    changed = true;
                });
        }
    // The legend names the curves; names of ours (not of data) are in the table.
    for (int i = 0; i < plot->plottableCount(); ++i) {
        QCPAbstractPlottable* curve = plot->plottable(i);
        Apply(
            curve, "orvexEnText", [curve] { return curve->name(); },
            [curve, &changed](const QString& t) {
                curve->setName(t);
                changed = true;
            });
    }
    return changed;
}

void TranslateOne(QWidget* w)
{
    if (w->property(CUiTextTranslator::kDataTexts).toBool())
        return;
    if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w) || qobject_cast<QDockWidget*>(w))
        Apply(
            w, "orvexEnTitle", [w] { return w->windowTitle(); }, [w](const QString& t) { w->setWindowTitle(t); });
    if (!w->toolTip().isEmpty())
        Apply(
            w, "orvexEnTip", [w] { return w->toolTip(); }, [w](const QString& t) { w->setToolTip(t); });
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->textFormat() != Qt::RichText && !Qt::mightBeRichText(label->text()))
            Apply(
                w, "orvexEnText", [label] { return label->text(); }, [label](const QString& t) { label->setText(t); });
    } else if (auto* tool = qobject_cast<QToolButton*>(w); tool && tool->defaultAction()) {
        // The button shows its action's text and takes it again whenever the action changes.
        CUiTextTranslator::Translate(tool->defaultAction());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        Apply(
            w, "orvexEnText", [button] { return button->text(); }, [button](const QString& t) { button->setText(t); });
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        Apply(
            w, "orvexEnText", [group] { return group->title(); }, [group](const QString& t) { group->setTitle(t); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (!edit->placeholderText().isEmpty())
            Apply(
                w, "orvexEnText", [edit] { return edit->placeholderText(); },
                [edit](const QString& t) { edit->setPlaceholderText(t); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (!combo->isEditable()) {
            for (int i = 0; i < combo->count(); ++i) {
                const QByteArray key = "orvexEnItem" + QByteArray::number(i);
                Apply(
                    w, key.constData(), [combo, i] { return combo->itemText(i); },
                    [combo, i](const QString& t) { combo->setItemText(i, t); });
            }
        }
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            const QByteArray key = "orvexEnTab" + QByteArray::number(i);
            Apply(
                w, key.constData(), [tabs, i] { return tabs->tabText(i); },
                [tabs, i](const QString& t) { tabs->setTabText(i, t); });
        }
    } else if (auto* box = qobject_cast<QToolBox*>(w)) {
        for (int i = 0; i < box->count(); ++i) {
            const QByteArray key = "orvexEnPage" + QByteArray::number(i);
            Apply(
                w, key.constData(), [box, i] { return box->itemText(i); },
                [box, i](const QString& t) { box->setItemText(i, t); });
        }
    } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
        for (int c = 0; c < table->columnCount(); ++c)
            TranslateItemText(table->horizontalHeaderItem(c));
        FitTranslatedHeadings(table->horizontalHeader());
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        if (QTreeWidgetItem* header = tree->headerItem()) {
            for (int c = 0; c < header->columnCount(); ++c) {
                const QByteArray key = "orvexEnHead" + QByteArray::number(c);
                Apply(
                    w, key.constData(), [header, c] { return header->text(c); },
                    [header, c](const QString& t) { header->setText(c, t); });
            }
        }
        FitTranslatedHeadings(tree->header());
    } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
        for (QAction* a : bar->actions())
            CUiTextTranslator::Translate(a);
    } else if (auto* toolBar = qobject_cast<QToolBar*>(w)) {
        for (QAction* a : toolBar->actions())
            CUiTextTranslator::Translate(a);
    } else if (auto* menu = qobject_cast<QMenu*>(w)) {
        for (QAction* a : menu->actions())
            CUiTextTranslator::Translate(a);
    } else if (auto* plot = qobject_cast<QCustomPlot*>(w)) {
        CUiTextTranslator::Translate(plot);
        if (TranslatePlot(plot))
            plot->replot(QCustomPlot::rpQueuedReplot);
    } else if (auto* header = qobject_cast<QHeaderView*>(w)) {
        // An item widget's own headings were translated above with their widget.
        if (!qobject_cast<QTableWidget*>(header->parentWidget()) && !qobject_cast<QTreeWidget*>(header->parentWidget()))
            RefreshHeadings(header);
    }
}

bool g_installed = false;
// Set while the translator itself tells the windows of a change of language: it walks them after.
int g_announcing = 0;

class CTranslatorFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Show || (type == QEvent::LanguageChange && g_announcing == 0)) &&
            watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            // Windows and the MDI children are walked whole; a menu is a window of its own.
            if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w))
                CUiTextTranslator::Translate(w);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void CUiTextTranslator::Install()
{
    if (g_installed || !qApp)
        return;
    g_installed = true;
    qApp->installEventFilter(new CTranslatorFilter(qApp));
}

void CUiTextTranslator::Translate(QAction* action)
{
    if (!action || action->isSeparator())
        return;
    Apply(
        action, "orvexEnText", [action] { return action->text(); }, [action](const QString& t) { action->setText(t); });
    if (QMenu* sub = action->menu())
        Translate(sub);
}

void CUiTextTranslator::Translate(QCustomPlot* plot)
{
    if (!plot || plot->property("orvexFollowsLanguage").toBool())
        return;
    plot->setProperty("orvexFollowsLanguage", true);
    // A chart sets its labels anew whenever it draws other data; each drawing shows them in the
    // language loaded.
    QObject::connect(plot, &QCustomPlot::beforeReplot, plot, [plot] { TranslatePlot(plot); });
}

void CUiTextTranslator::Translate(QWidget* widget)
{
    if (!widget)
        return;
    TranslateOne(widget);
    for (QWidget* child : widget->findChildren<QWidget*>())
        TranslateOne(child);
    // A dialog on the screen was sized for the texts it had; longer translated texts would be
    // cut short, so it grows to what its layout now asks.
    if (qobject_cast<QDialog*>(widget) && widget->isVisible() && !widget->isMaximized() && !widget->isFullScreen()) {
        // The new texts' sizes travel up the nested layouts one posted request at a time.
        for (int i = 0; i < 8; ++i)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        widget->resize(widget->size().expandedTo(widget->sizeHint()));
    }
}

void CUiTextTranslator::TranslateAll()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    // Every widget hears of the change (a window hands it on to its children, owned dialogs
    // included), so texts built in code are set anew from the new tables before the walk below.
    ++g_announcing;
    for (QWidget* w : windows) {
        if (w->parentWidget())
            continue;
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(w, &change);
    }
    --g_announcing;
    for (QWidget* w : windows)
        Translate(w);
}
