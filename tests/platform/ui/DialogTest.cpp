#include "platform/ui/DialogButtons.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/ZuPropertyPage.h"
#include "platform/ui/ZuPropertySheet.h"

#include <QApplication>
#include <QPushButton>
#include <QLineEdit>
#include <QTimer>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A dialog with one edit bound to an int member; values below 0 are refused.
class CNumberDialog : public CZuDialog
{
public:
    explicit CNumberDialog(int value) : CZuDialog(nullptr, 4100), m_value(value)
    {
        auto* layout = new QVBoxLayout(this);
        m_edit = new QLineEdit(this);
        layout->addWidget(m_edit);
    }
    int m_value;
    QLineEdit* m_edit;
    std::vector<std::string> calls;

protected:
    bool OnInitDialog() override
    {
        calls.push_back("init");
        return CZuDialog::OnInitDialog();
    }
    bool DoDataExchange(bool save) override
    {
        calls.push_back(save ? "save" : "load");
        if (!save) {
            m_edit->setText(QString::number(m_value));
            return true;
        }
        bool ok = false;
        int v = m_edit->text().toInt(&ok);
        if (!ok || v < 0)
            return false;
        m_value = v;
        return true;
    }
};

TEST(ZuDialog, ModalHandlerSeesTheInitialisedDialog)
{
    CScriptedDialogs script;
    script.Then([](CZuDialog& d) {
        auto& dlg = static_cast<CNumberDialog&>(d);
        EXPECT_EQ(dlg.m_edit->text(), "5"); // filled before the handler runs
        dlg.m_edit->setText("12");
        return dlg.PressOK();
    });
    CNumberDialog dlg(5);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_value, 12);
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"init", "load", "save"}));
    ASSERT_EQ(script.Records().size(), 1u);
    EXPECT_EQ(script.Records()[0].templateId, 4100);
    EXPECT_EQ(script.Records()[0].result, IDOK);
}

TEST(ZuDialog, RefusedValueKeepsTheDialogAndCancelLeavesTheMember)
{
    CScriptedDialogs script;
    script.Then([](CZuDialog& d) {
        auto& dlg = static_cast<CNumberDialog&>(d);
        dlg.m_edit->setText("-3");
        EXPECT_EQ(dlg.PressOK(), 0); // refused: not ended
        EXPECT_EQ(dlg.EndResult(), 0);
        return dlg.PressCancel();
    });
    script.Then([](CZuDialog& d) {
        static_cast<CNumberDialog&>(d).m_edit->setText("-3");
        return d.PressOK(); // refused and given back: the run counts as cancelled
    });
    script.PressCancel();
    CNumberDialog dlg(5);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_value, 5);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_value, 5);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.calls.front(), "init");
    EXPECT_EQ(std::count(dlg.calls.begin(), dlg.calls.end(), "init"), 1); // initialised once
    EXPECT_EQ(script.Unexpected(), 0u);
    CNumberDialog unexpected(1);
    EXPECT_EQ(unexpected.DoModal(), IDCANCEL);
    EXPECT_EQ(script.Unexpected(), 1u);
}

TEST(ZuDialog, RealEventLoopEndsThroughAcceptAndReject)
{
    ASSERT_FALSE(CZuDialog::HasModalHandler());
    CNumberDialog ok(5);
    QTimer::singleShot(0, &ok, [&] {
        ok.m_edit->setText("8");
        ok.accept(); // as the Enter key does
    });
    EXPECT_EQ(ok.DoModal(), IDOK);
    EXPECT_EQ(ok.m_value, 8);

    CNumberDialog cancel(5);
    QTimer::singleShot(0, &cancel, [&] { cancel.reject(); }); // Esc or the close box
    EXPECT_EQ(cancel.DoModal(), IDCANCEL);
}

TEST(DialogButtons, OkGoesThroughTheDialogsOwnAcceptAndCancelRejects)
{
    // OK on a refused value keeps the dialog open, as the dialog's own accept decides.
    CNumberDialog dialog(5);
    QPushButton* ok = CDialogButtons::OkCancel(&dialog)->button(QDialogButtonBox::Ok);
    ASSERT_NE(ok, nullptr);
    QTimer::singleShot(0, &dialog, [&] {
        dialog.m_edit->setText("-1");
        ok->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.m_edit->setText("8");
        ok->click();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_value, 8);

    CNumberDialog cancelled(5);
    QPushButton* cancel = CDialogButtons::OkCancel(&cancelled)->button(QDialogButtonBox::Cancel);
    QTimer::singleShot(0, &cancelled, [&] { cancel->click(); });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);

    // Given handlers run in place of accept and reject.
    CNumberDialog handled(5);
    std::vector<std::string> pressed;
    QDialogButtonBox* row = CDialogButtons::OkCancel(
        &handled, [&] { pressed.push_back("ok"); }, [&] { pressed.push_back("cancel"); });
    row->button(QDialogButtonBox::Ok)->click();
    row->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(pressed, (std::vector<std::string>{"ok", "cancel"}));
    EXPECT_EQ(handled.EndResult(), 0);
}

// A page that records what the sheet asks of it; it can refuse leaving or applying.
class CRecordingPage : public CZuPropertyPage
{
public:
    CRecordingPage(const char* name, std::vector<std::string>& log) : CZuPropertyPage(0, name), m_name(name), m_log(log)
    {}
    bool refuseLeave = false;
    bool refuseApply = false;

    bool OnSetActive() override
    {
        m_log.push_back(m_name + ".active");
        return true;
    }
    bool OnKillActive() override
    {
        m_log.push_back(m_name + ".leave");
        return !refuseLeave;
    }
    bool OnApply() override
    {
        m_log.push_back(m_name + ".apply");
        return !refuseApply;
    }
    void OnCancel() override { m_log.push_back(m_name + ".cancel"); }

protected:
    bool OnInitDialog() override
    {
        m_log.push_back(m_name + ".init");
        return true;
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

TEST(ZuPropertySheet, PagesInitialiseWhenShownAndOnlyThoseApply)
{
    std::vector<std::string> log;
    CZuPropertySheet sheet("Options");
    auto* a = new CRecordingPage("a", log);
    auto* b = new CRecordingPage("b", log);
    auto* c = new CRecordingPage("c", log);
    sheet.AddPage(a);
    sheet.AddPage(b);
    sheet.AddPage(c);
    sheet.SetActivePage(1);

    CScriptedDialogs script;
    script.Then([&](CZuDialog& d) {
        auto& s = static_cast<CZuPropertySheet&>(d);
        EXPECT_EQ(s.GetActiveIndex(), 1);
        EXPECT_FALSE(a->IsInitialized());
        EXPECT_TRUE(s.SetActivePage(a));
        return d.PressOK();
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(log, (std::vector<std::string>{"b.init", "b.active", "b.leave", "a.init", "a.active", "a.leave",
                                             "a.apply", "b.apply"}));
    EXPECT_FALSE(c->IsInitialized());
}

TEST(ZuPropertySheet, RefusalsKeepTheSheetOpen)
{
    std::vector<std::string> log;
    CZuPropertySheet sheet("Options");
    CRecordingPage a("a", log), b("b", log); // members of the caller: destroyed before the sheet
    sheet.AddPage(&a);
    sheet.AddPage(&b);

    CScriptedDialogs script;
    script.Then([&](CZuDialog& d) {
        auto& s = static_cast<CZuPropertySheet&>(d);
        a.refuseLeave = true;
        EXPECT_FALSE(s.SetActivePage(1)); // a refuses to be left
        EXPECT_EQ(s.GetActiveIndex(), 0);
        EXPECT_EQ(d.PressOK(), 0); // nor does OK close
        a.refuseLeave = false;
        EXPECT_TRUE(s.SetActivePage(1));
        b.refuseApply = true;
        a.SetModified();
        EXPECT_TRUE(s.IsApplyEnabled());
        EXPECT_FALSE(s.PressApply());
        EXPECT_TRUE(s.IsApplyEnabled());
        b.refuseApply = false;
        EXPECT_TRUE(s.PressApply());
        EXPECT_FALSE(s.IsApplyEnabled()); // applied: nothing modified any more
        EXPECT_FALSE(a.IsModified());
        return d.PressCancel();
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(log.back(), "b.cancel");
    EXPECT_NE(std::find(log.begin(), log.end(), "a.cancel"), log.end());
}

TEST(ZuPropertySheet, TabClickGoesThroughThePagesConsent)
{
    std::vector<std::string> log;
    CZuPropertySheet sheet("Options");
    auto* a = new CRecordingPage("a", log);
    auto* b = new CRecordingPage("b", log);
    sheet.AddPage(a);
    sheet.AddPage(b);
    sheet.EnsureInitialized();
    auto* tabs = sheet.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    a->refuseLeave = true;
    tabs->setCurrentIndex(1);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_FALSE(b->IsInitialized());
    a->refuseLeave = false;
    tabs->setCurrentIndex(1);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(sheet.GetActivePage(), b);
}

} // namespace
