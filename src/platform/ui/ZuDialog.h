#pragma once
// Base of the program's dialogs. DoModal runs the dialog and returns IDOK or IDCANCEL as the
// dialogs' callers expect. OnInitDialog fills the controls before the dialog is shown;
// DoDataExchange moves values between members and controls (UpdateData). OK validates through
// UpdateData(true) and ends with IDOK; Cancel, Esc and the close box end with IDCANCEL.
//
// Tests: a handler set with SetModalHandler (or a CScriptedDialogs) receives the initialised
// dialog instead of a running event loop; it sets controls, presses buttons, and its return value
// is DoModal's result (a handler that returns 0, e.g. after a refused OK, cancels).
#include "platform/win/WinTypes.h"

#include <QDialog>

class QAbstractButton;

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CZuDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CZuDialog(QWidget* parent = nullptr, int templateId = 0);
    ~CZuDialog() override;

    // Modal run: IDOK or IDCANCEL (or what EndDialog was given).
    virtual int DoModal();
    // Modeless: initialises and shows the dialog. It deletes itself when it is closed or ended.
    bool Create();
    bool IsModeless() const { return m_modeless; }
    // Closes a modeless dialog (deletes it later) or ends a modal one with IDCANCEL.
    void DestroyWindow();

    // Ends the dialog with this result.
    void EndDialog(int result);
    // The result given to EndDialog; 0 while the dialog has not ended.
    int EndResult() const { return m_endResult; }
    int TemplateId() const { return m_templateId; }
    bool IsInitialized() const { return m_initialized; }

    // Moves data: save true reads the controls into the members (false when a value is refused),
    // false writes the members into the controls.
    bool UpdateData(bool saveAndValidate = true);

    // Test helpers: press OK or Cancel as a user would; the result is EndResult() afterwards
    // (0 when OK was refused by validation).
    int PressOK();
    int PressCancel();

    // Test hook. The handler runs after OnInitDialog instead of the event loop.
    using ModalHandler = std::function<int(CZuDialog&)>;
    static void SetModalHandler(ModalHandler handler);
    static bool HasModalHandler();

    // Makes sure OnInitDialog has run (once).
    void EnsureInitialized();

    // Dialog units to pixels by the dialog's font, the measure our dialog layouts and grid columns
    // are given in: a horizontal unit is a quarter of the font's average character width, a
    // vertical one an eighth of its height. Rounded to the nearest pixel.
    int DialogUnitsToPixelsX(int units) const;
    int DialogUnitsToPixelsY(int units) const;

protected:
    virtual bool OnInitDialog();
    // False when saving refused a value (the control keeps the focus, the dialog stays open).
    virtual bool DoDataExchange(bool saveAndValidate);
    virtual void OnOK();
    virtual void OnCancel();

    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

    // Gives a button the text of a string id, and gives it again after a change of language: the
    // button row sets its standard buttons' own texts back when the language changes.
    void SetButtonText(QAbstractButton* button, int stringId);

public:
    // QDialog's own ends (Enter, Esc, the close box) are routed through OnOK/OnCancel.
    void accept() override;
    void reject() override;
    void done(int r) override;

private:
    int m_templateId;
    int m_endResult = 0;
    bool m_initialized = false;
    bool m_modeless = false;
    bool m_inDone = false;
    std::vector<std::pair<QAbstractButton*, int>> m_buttonTexts;
};

// Test hook over SetModalHandler: handlers queued in the order the dialogs will come; records
// which dialogs were shown (class name and template id). A dialog with no queued handler is
// cancelled and counted as unexpected.
class CScriptedDialogs
{
public:
    struct Shown
    {
        std::string className;
        int templateId = 0;
        int result = 0;
    };

    CScriptedDialogs();
    ~CScriptedDialogs();
    CScriptedDialogs(const CScriptedDialogs&) = delete;
    CScriptedDialogs& operator=(const CScriptedDialogs&) = delete;

    CScriptedDialogs& Then(CZuDialog::ModalHandler handler);
    CScriptedDialogs& PressOK();     // the next dialog: OK as it is
    CScriptedDialogs& PressCancel(); // the next dialog: Cancel

    const std::vector<Shown>& Records() const { return m_records; }
    size_t Pending() const { return m_queue.size(); }
    size_t Unexpected() const { return m_unexpected; }

private:
    int Run(CZuDialog& dialog);

    std::deque<CZuDialog::ModalHandler> m_queue;
    std::vector<Shown> m_records;
    size_t m_unexpected = 0;
};
