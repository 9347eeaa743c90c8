#include "platform/ui/QtPromptService.h"

#include "platform/ui/UiTextTranslator.h"
#include "platform/win/Clipboard.h"
#include "platform/win/WaitCursor.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLayout>
#include <QSpacerItem>
#include <QTreeView>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>

#include <algorithm>

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

QMessageBox::StandardButton QtButtonOf(int id)
{
    switch (id) {
    case IDCANCEL:
        return QMessageBox::Cancel;
    case IDABORT:
        return QMessageBox::Abort;
    case IDRETRY:
        return QMessageBox::Retry;
    case IDIGNORE:
        return QMessageBox::Ignore;
    case IDYES:
        return QMessageBox::Yes;
    case IDNO:
        return QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(unsigned style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        break;
    }
    // A box without an icon of its own carries that of its buttons: a plain notice informs, a
    // choice asks, and a box offering to retry reports something that went wrong.
    switch (style & MB_TYPEMASK) {
    case MB_OK:
        return QMessageBox::Information;
    case MB_ABORTRETRYIGNORE:
    case MB_RETRYCANCEL:
        return QMessageBox::Warning;
    default:
        return QMessageBox::Question;
    }
}

// A short message ("Finished.") makes a narrow box, and the title bar then elides the caption to
// "..." and the user cannot tell which program speaks. The box is made at least as wide as its
// caption in the title bar's bold face, beside the bar's icon and buttons.
void KeepCaptionInSight(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid || box.windowTitle().isEmpty())
        return;
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarFurniture;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

int MessageBoxAnswer(const PromptRecord& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(Q(request.caption));
    box.setText(Q(request.text));
    box.setIcon(IconOf(request.style));
    const std::vector<int> buttons = ButtonsOf(request.style);
    QMessageBox::StandardButtons set;
    for (int id : buttons)
        set |= QtButtonOf(id);
    box.setStandardButtons(set);
    KeepCaptionInSight(box);
    const int def = DefaultButtonOf(request.style);
    box.setDefaultButton(QtButtonOf(def));
    const int clicked = box.exec();
    for (int id : buttons)
        if (QtButtonOf(id) == clicked)
            return id;
    // Closed without a button (Esc or the close box): Cancel where there is one, else the default.
    for (int id : buttons)
        if (id == IDCANCEL)
            return IDCANCEL;
    return def;
}

QString StartPath(const FileChooserOptions& o)
{
    if (o.initialName.empty())
        return Q(o.initialFolder);
    QFileInfo info(Q(o.initialName));
    if (info.isAbsolute() || o.initialFolder.empty())
        return Q(o.initialName);
    return Q(o.initialFolder) + QLatin1Char('/') + Q(o.initialName);
}

// The chooser's detail columns fit what they show once a folder is read: the name column its
// names (up to most of the view, so the other columns stay in sight), size, type and date their
// values, which the chooser's own fixed widths cut short.
void FitChooserColumns(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!view || !model)
        return; // a chooser of the desktop, which lays itself out
    const auto fit = [&dialog, view](const QString& folder) {
        QHeaderView* header = view->header();
        for (int c = 1; c < header->count(); ++c)
            view->resizeColumnToContents(c);
        int others = 0;
        for (int c = 1; c < header->count(); ++c)
            others += header->isSectionHidden(c) ? 0 : header->sectionSize(c);
        const int names = static_cast<QAbstractItemView*>(view)->sizeHintForColumn(0);
        // A long name widens the chooser as far as the screen allows before it is cut short.
        const int missing = names + others - view->viewport()->width();
        if (missing > 0 && dialog.isVisible()) {
            const QScreen* screen = dialog.screen();
            const int widest = screen ? screen->availableGeometry().width() * 9 / 10 : dialog.width();
            if (dialog.width() < widest) {
                dialog.resize(std::min(widest, dialog.width() + missing), dialog.height());
                if (dialog.layout())
                    dialog.layout()->activate();
            }
        }
        const int room = std::max(view->viewport()->width() - others, view->viewport()->width() * 2 / 5);
        header->resizeSection(0, std::min(names, room));
        if (QDir(folder) == dialog.directory())
            dialog.setProperty(kChooserColumnsFitted, true);
    };
    QObject::connect(model, &QFileSystemModel::directoryLoaded, view, fit);
}

PromptAnswer FileAnswer(const PromptRecord& request)
{
    const FileChooserOptions& o = request.file;
    PromptAnswer answer;
    answer.result = IDCANCEL;
    const QString filter = Q(CQtPromptService::ToQtFilter(o.filter));
    const QStringList filters = filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    QFileDialog dialog(QApplication::activeWindow(), Q(o.title));
    dialog.setObjectName(QStringLiteral("FileChooser"));
    if (request.kind == PromptKind::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setDirectory(Q(o.initialFolder));
    } else {
        dialog.setNameFilters(filters);
        if (o.filterIndex >= 1 && o.filterIndex <= filters.size())
            dialog.selectNameFilter(filters[o.filterIndex - 1]);
        if (request.kind == PromptKind::SaveFile) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setOption(QFileDialog::DontConfirmOverwrite, !o.overwritePrompt);
        } else {
            dialog.setFileMode(o.allowMultiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        }
        const QFileInfo start(StartPath(o));
        if (start.isDir() || o.initialName.empty()) {
            dialog.setDirectory(StartPath(o));
        } else {
            dialog.setDirectory(start.absolutePath());
            dialog.selectFile(start.fileName());
        }
    }
    dialog.setViewMode(QFileDialog::Detail);
    FitChooserColumns(dialog);
    // Room for a long name beside its size, type and date.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 460)));
    if (dialog.exec() != QDialog::Accepted)
        return answer;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return answer;
    answer.result = IDOK;
    for (const QString& c : chosen)
        answer.paths.push_back(c.toStdString());
    const int index = int(filters.indexOf(dialog.selectedNameFilter()));
    answer.filterIndex = index >= 0 ? index + 1 : 0;
    return answer;
}

class CQtClipboard : public IClipboard
{
public:
    bool SetText(const std::string& text) override
    {
        QClipboard* c = QGuiApplication::clipboard();
        if (!c)
            return false;
        c->setText(Q(text));
        return true;
    }
    bool GetText(std::string& text) override
    {
        QClipboard* c = QGuiApplication::clipboard();
        const QMimeData* data = c ? c->mimeData() : nullptr;
        if (!data || !data->hasText())
            return false;
        text = c->text().toStdString();
        return true;
    }
};

CQtPromptService& PromptService()
{
    static CQtPromptService service;
    return service;
}

CQtClipboard& Clipboard()
{
    static CQtClipboard clipboard;
    return clipboard;
}

} // namespace

PromptAnswer CQtPromptService::Ask(const PromptRecord& request)
{
    // The wait cursor must not hide the pointer over a question.
    bool waiting = CWaitCursor::Depth() > 0;
    if (waiting)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    PromptAnswer answer;
    if (request.kind == PromptKind::MessageBox)
        answer.result = MessageBoxAnswer(request);
    else
        answer = FileAnswer(request);
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    return answer;
}

std::string CQtPromptService::ToQtFilter(const std::string& filter)
{
    std::string out;
    for (const FileFilterEntry& e : ParseFileFilter(filter)) {
        if (!out.empty())
            out += ";;";
        std::string patterns, written;
        for (const std::string& p : e.patterns) {
            if (!patterns.empty())
                patterns += ' ';
            if (!written.empty())
                written += ';';
            // "*.*" means every file, also those without an extension.
            patterns += p == "*.*" ? "*" : p;
            written += p;
        }
        // A description that names its patterns already ("Project Files (*.orv)") shows them once,
        // as the chooser reads them.
        std::string description = e.description;
        const size_t named = description.rfind("(" + written + ")");
        if (named != std::string::npos && named + written.size() + 2 == description.size())
            description.erase(named == 0 ? 0 : named - (description[named - 1] == ' ' ? 1 : 0));
        out += description + " (" + patterns + ")";
    }
    return out;
}

void InstallQtPlatformServices()
{
    CUiTextTranslator::Install();
    SetPromptService(&PromptService());
    SetClipboard(&Clipboard());
    CWaitCursor::SetHooks([] { QGuiApplication::setOverrideCursor(Qt::WaitCursor); },
                          [] { QGuiApplication::restoreOverrideCursor(); },
                          [] {
                              QGuiApplication::restoreOverrideCursor();
                              QGuiApplication::setOverrideCursor(Qt::WaitCursor);
                          });
}

void RemoveQtPlatformServices()
{
    SetPromptService(nullptr);
    SetClipboard(nullptr);
    CWaitCursor::SetHooks({}, {});
}
