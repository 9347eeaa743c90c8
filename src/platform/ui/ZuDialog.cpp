#include "platform/ui/ZuDialog.h"

#include "platform/win/StringTable.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QShowEvent>

#include <cmath>

namespace {
CZuDialog::ModalHandler& Handler()
{
    static CZuDialog::ModalHandler handler;
    return handler;
}
} // namespace

CZuDialog::CZuDialog(QWidget* parent, int templateId) : QDialog(parent), m_templateId(templateId) {}

CZuDialog::~CZuDialog() = default;

int CZuDialog::DialogUnitsToPixelsX(int units) const
{
    // The average width over the Latin letters, not the font's own figure: that one follows the
    // widest glyphs of a Japanese font and would make every column twice as wide.
    static const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double average = QFontMetricsF(font()).horizontalAdvance(kLetters) / kLetters.size();
    return static_cast<int>(std::lround(units * average / 4.0));
}

int CZuDialog::DialogUnitsToPixelsY(int units) const
{
    return static_cast<int>(std::lround(units * QFontMetricsF(font()).height() / 8.0));
}

void CZuDialog::SetModalHandler(ModalHandler handler)
{
    Handler() = std::move(handler);
}

bool CZuDialog::HasModalHandler()
{
    return bool(Handler());
}

void CZuDialog::EnsureInitialized()
{
    if (m_initialized)
        return;
    m_initialized = true;
    OnInitDialog();
}

int CZuDialog::DoModal()
{
    m_modeless = false;
    m_endResult = 0;
    EnsureInitialized();
    if (Handler()) {
        // Copy: the handler may itself run a nested dialog and replace the hook.
        ModalHandler handler = Handler();
        int result = handler(*this);
        if (result == 0)
            result = IDCANCEL;
        if (m_endResult == 0)
            m_endResult = result;
        return result;
    }
    int r = exec();
    return r == 0 ? IDCANCEL : r;
}

bool CZuDialog::Create()
{
    m_modeless = true;
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, true);
    EnsureInitialized();
    show();
    return true;
}

void CZuDialog::DestroyWindow()
{
    if (m_modeless) {
        hide();
        deleteLater();
    } else {
        EndDialog(IDCANCEL);
    }
}

void CZuDialog::EndDialog(int result)
{
    m_endResult = result;
    if (m_modeless) {
        // finished() tells a registry at once; the dialog itself goes on the next loop turn.
        m_inDone = true;
        QDialog::done(result);
        m_inDone = false;
        deleteLater();
        return;
    }
    m_inDone = true;
    QDialog::done(result);
    m_inDone = false;
}

bool CZuDialog::UpdateData(bool saveAndValidate)
{
    return DoDataExchange(saveAndValidate) || !saveAndValidate;
}

int CZuDialog::PressOK()
{
    EnsureInitialized();
    OnOK();
    return m_endResult;
}

int CZuDialog::PressCancel()
{
    EnsureInitialized();
    OnCancel();
    return m_endResult;
}

bool CZuDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

bool CZuDialog::DoDataExchange(bool)
{
    return true;
}

void CZuDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CZuDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CZuDialog::accept()
{
    OnOK();
}

void CZuDialog::reject()
{
    OnCancel();
}

void CZuDialog::done(int r)
{
    if (m_inDone) {
        QDialog::done(r);
        return;
    }
    // Someone called done() directly: treat 0/1 as Qt's reject/accept.
    if (r == QDialog::Rejected)
        OnCancel();
    else if (r == QDialog::Accepted)
        OnOK();
    else
        EndDialog(r);
}

void CZuDialog::showEvent(QShowEvent* event)
{
    EnsureInitialized();
    QDialog::showEvent(event);
}

// ---- scripted dialogs ----

CScriptedDialogs::CScriptedDialogs()
{
    CZuDialog::SetModalHandler([this](CZuDialog& d) { return Run(d); });
}

CScriptedDialogs::~CScriptedDialogs()
{
    CZuDialog::SetModalHandler({});
}

CScriptedDialogs& CScriptedDialogs::Then(CZuDialog::ModalHandler handler)
{
    m_queue.push_back(std::move(handler));
    return *this;
}

CScriptedDialogs& CScriptedDialogs::PressOK()
{
    return Then([](CZuDialog& d) { return d.PressOK(); });
}

CScriptedDialogs& CScriptedDialogs::PressCancel()
{
    return Then([](CZuDialog& d) { return d.PressCancel(); });
}

int CScriptedDialogs::Run(CZuDialog& dialog)
{
    Shown shown{dialog.metaObject()->className(), dialog.TemplateId(), 0};
    int result = IDCANCEL;
    if (m_queue.empty()) {
        ++m_unexpected;
        dialog.PressCancel();
    } else {
        CZuDialog::ModalHandler handler = std::move(m_queue.front());
        m_queue.pop_front();
        result = handler(dialog);
    }
    shown.result = result;
    m_records.push_back(shown);
    return result;
}

void CZuDialog::SetButtonText(QAbstractButton* button, int stringId)
{
    if (!button)
        return;
    button->setText(QString::fromStdString(LoadString(stringId)));
    for (auto& [b, id] : m_buttonTexts)
        if (b == button) {
            id = stringId;
            return;
        }
    m_buttonTexts.emplace_back(button, stringId);
}

bool CZuDialog::event(QEvent* event)
{
    // The change of language reaches the button row after the dialog, and the row then gives its
    // buttons the standard texts again: the dialog's own come back once the row has had it.
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::LanguageChange)
        for (const auto& [button, id] : m_buttonTexts)
            button->setText(QString::fromStdString(LoadString(id)));
    return handled;
}
