#include "platform/ui/QtPromptService.h"

#include "platform/ui/UiTextTranslator.h"
#include "platform/win/Clipboard.h"
#include "platform/win/WaitCursor.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>

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

PromptAnswer FileAnswer(const PromptRecord& request)
{
    const FileChooserOptions& o = request.file;
    PromptAnswer answer;
    answer.result = IDCANCEL;
    QWidget* parent = QApplication::activeWindow();
    QString filter = Q(CQtPromptService::ToQtFilter(o.filter));
    QStringList filters = filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    QString selected;
    if (o.filterIndex >= 1 && o.filterIndex <= filters.size())
        selected = filters[o.filterIndex - 1];
    QStringList chosen;
    if (request.kind == PromptKind::Folder) {
        QString dir = QFileDialog::getExistingDirectory(parent, Q(o.title), Q(o.initialFolder));
        if (!dir.isEmpty())
            chosen << dir;
    } else if (request.kind == PromptKind::SaveFile) {
        QFileDialog::Options options;
        if (!o.overwritePrompt)
            options |= QFileDialog::DontConfirmOverwrite;
        QString file = QFileDialog::getSaveFileName(parent, Q(o.title), StartPath(o), filter, &selected, options);
        if (!file.isEmpty())
            chosen << file;
    } else if (o.allowMultiple) {
        chosen = QFileDialog::getOpenFileNames(parent, Q(o.title), StartPath(o), filter, &selected);
    } else {
        QString file = QFileDialog::getOpenFileName(parent, Q(o.title), StartPath(o), filter, &selected);
        if (!file.isEmpty())
            chosen << file;
    }
    if (chosen.isEmpty())
        return answer;
    answer.result = IDOK;
    for (const QString& c : chosen)
        answer.paths.push_back(c.toStdString());
    int index = int(filters.indexOf(selected));
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
