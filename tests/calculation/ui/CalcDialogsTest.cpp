// The calculation subsystem selection and the input-energy options page, driven as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <memory>

#include "calculation/CalcIEOptions.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "calculation/ui/PPageCalcIEOptions.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelShell.h"
#include "platform/modeldb/ModelSubsystemSet.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"

namespace {
// Grabs a window as a user would see it (kept in ORVEX_GRAB_DIR when that is set) and checks that
// its visible controls have a size.
void GrabAndCheck(QWidget& window, const char* name)
{
    window.resize(window.sizeHint().expandedTo(QSize(320, 200)));
    window.show();
    QApplication::processEvents();
    QTemporaryDir temp;
    const QString dir =
        qEnvironmentVariableIsSet("ORVEX_GRAB_DIR") ? qEnvironmentVariable("ORVEX_GRAB_DIR") : temp.path();
    EXPECT_TRUE(window.grab().save(QDir(dir).filePath(QString(name) + ".png")));
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->isVisible()) {
            EXPECT_FALSE(child->size().isEmpty()) << child->metaObject()->className();
        }
    }
}

QList<Qt::CheckState> States(const QListWidget& list)
{
    QList<Qt::CheckState> states;
    for (int i = 0; i < list.count(); ++i)
        states.push_back(list.item(i)->checkState());
    return states;
}

void DeleteLaterNow()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

TEST(DlgSelectCalcSubsystem, TicksGoToTheCallerAndTheModelSelection)
{
    CRecordingMessageTarget target;
    std::vector<std::string> received;
    target.handler = [&](uint32_t, uintptr_t wParam, intptr_t) -> intptr_t {
        // The table lives only while the message is being sent.
        const auto* table = reinterpret_cast<const CZuSubsystemTable*>(wParam);
        for (int i = 0; i < table->GetCount(); ++i)
            received.push_back((*table)[i]);
        return 0;
    };
    // An open model window's document: the ticks show as its selection while the dialog is open.
    CModelData model;
    auto set = std::make_unique<CModelSubsystemSet>(1, "Body");
    for (const char* name : {"Roof", "Floor"})
        set->Add(std::make_unique<CModelShell>(name));
    set->Add(std::make_unique<CModelCavity>("Cabin"));
    model.AddSubsystemSet(std::move(set));
    C3DModelDoc modelWindow(&model);
    const auto selection = [&] {
        std::vector<std::string> names;
        for (const char* name : {"Roof", "Floor", "Cabin"})
            if (modelWindow.IsSelected(name))
                names.push_back(name);
        return names;
    };

    CDlgSelectCalcSubsystem* dialog = CDlgSelectCalcSubsystem::CreateInstance(nullptr, &target);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CDlgSelectCalcSubsystem::CreateInstance(nullptr, &target), nullptr) << "one at a time";
    dialog->SetNotifyMessage(WM_ZU_CALC_INPUT_ENERGY);
    dialog->SetNotifyParam(42);
    dialog->AddSubsystem("Roof-F", 1);
    dialog->AddSubsystem("Floor-F", 0);
    dialog->AddSubsystem("Cabin", 1);
    ASSERT_TRUE(dialog->Create());
    EXPECT_TRUE(dialog->AllBox()->isChecked());
    EXPECT_EQ(States(*dialog->List()), (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Checked}));
    EXPECT_EQ(selection(), (std::vector<std::string>{"Roof", "Cabin"}));
    GrabAndCheck(*dialog, "DlgSelectCalcSubsystem");

    dialog->AllBox()->click(); // none
    EXPECT_EQ(States(*dialog->List()), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Unchecked, Qt::Unchecked}));
    EXPECT_TRUE(selection().empty());
    dialog->List()->item(1)->setCheckState(Qt::Checked);
    EXPECT_EQ(selection(), std::vector<std::string>{"Floor"});

    dialog->PressOK();
    EXPECT_EQ(received, std::vector<std::string>{"Floor-F"});
    ASSERT_EQ(target.Records().size(), 1u);
    EXPECT_EQ(target.Records()[0].msg, WM_ZU_CALC_INPUT_ENERGY);
    EXPECT_EQ(target.Records()[0].lParam, 42);
    EXPECT_FALSE(target.Records()[0].posted);
    EXPECT_EQ(dialog->IsChanged(), 1);
    DeleteLaterNow();
    EXPECT_EQ(CDlgSelectCalcSubsystem::GetInstance(), nullptr);
}

TEST(DlgSelectCalcSubsystem, OkWithNothingTickedSendsAnEmptyTableAndCloseSendsNothing)
{
    CRecordingMessageTarget target;
    int count = -1;
    target.handler = [&](uint32_t, uintptr_t wParam, intptr_t) -> intptr_t {
        count = reinterpret_cast<const CZuSubsystemTable*>(wParam)->GetCount();
        return 0;
    };
    CDlgSelectCalcSubsystem* dialog = CDlgSelectCalcSubsystem::CreateInstance(nullptr, &target);
    ASSERT_NE(dialog, nullptr);
    dialog->SetNotifyMessage(WM_ZU_CALC_INPUT_POWER);
    dialog->AddSubsystem("Roof-F", 0);
    dialog->Create();
    dialog->PressOK();
    EXPECT_EQ(count, 0);
    EXPECT_EQ(dialog->IsChanged(), 0);
    DeleteLaterNow();

    dialog = CDlgSelectCalcSubsystem::CreateInstance(nullptr, &target);
    ASSERT_NE(dialog, nullptr);
    dialog->Create();
    dialog->PressCancel();
    DeleteLaterNow();
    EXPECT_EQ(target.Records().size(), 1u);
    EXPECT_EQ(CDlgSelectCalcSubsystem::GetInstance(), nullptr);

    // An instance can also be taken down from outside.
    ASSERT_NE(CDlgSelectCalcSubsystem::CreateInstance(), nullptr);
    CDlgSelectCalcSubsystem::DestroyInstance();
    EXPECT_EQ(CDlgSelectCalcSubsystem::GetInstance(), nullptr);
}

TEST(PPageCalcIEOptions, ApplyWritesTheOptionsAndCancelLeavesThem)
{
    CCalcIEOptions options;
    options.SetUseSymmetric(1);
    options.SetRpmMargin(100.0f);
    const CCalcIEOptions before = options;
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        CZuPropertySheet sheet("Analysis Options");
        auto* page = new CPPageCalcIEOptions;
        page->SetOptions(&options);
        sheet.AddPage(page);
        CScriptedDialogs dialogs;
        dialogs.Then([&](CZuDialog&) {
            EXPECT_TRUE(page->SymmetricBox()->isChecked());
            EXPECT_EQ(page->MarginEdit()->text(), "100");
            GrabAndCheck(sheet, "PPageCalcIEOptions");
            page->SymmetricBox()->setChecked(false);
            page->MarginEdit()->setText("250.5");
            return ok ? sheet.PressOK() : sheet.PressCancel();
        });
        sheet.DoModal();
        if (ok) {
            EXPECT_EQ(options.GetUseSymmetric(), 0);
            EXPECT_EQ(options.GetRpmMargin(), 250.5f);
            EXPECT_EQ(options.GetFactor(), before.GetFactor());
        } else {
            EXPECT_TRUE(options == before);
        }
    }
}

TEST(PPageCalcIEOptions, AMarginThatIsNoNumberKeepsTheSheetOpen)
{
    CCalcIEOptions options;
    CZuPropertySheet sheet("Analysis Options");
    auto* page = new CPPageCalcIEOptions;
    page->SetOptions(&options);
    sheet.AddPage(page);
    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog&) {
        page->MarginEdit()->setText("abc");
        EXPECT_EQ(sheet.PressOK(), 0);
        return sheet.PressCancel();
    });
    sheet.DoModal();
    EXPECT_EQ(options.GetRpmMargin(), 0.0f);
}
