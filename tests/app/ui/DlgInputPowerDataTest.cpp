// The input-power data dialog: sets made, renamed and filled, solved in the solving mode only.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <vector>

#include "SampleProject.h"
#include "app/InputPowerSets.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/DlgCalcProgress.h"
#include "app/ui/DlgInputPowerData.h"
#include "app/ui/DlgRename.h"
#include "models/ASEAModelData.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"

namespace {
namespace fs = std::filesystem;

struct InputPowerDataFixture : ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
        ASSERT_TRUE(temp.isValid());
        std::string error;
        ASSERT_TRUE(sample::Build(doc, fs::path(ORVEX_SOURCE_DIR) / "samples",
                                  (fs::path(temp.path().toStdString()) / "P" / "P.orv").string(), &error))
            << error;
        model = doc.GetTALVOProject().GetModelProject();
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
            nullptr);
        CDlgInputPowerData::SetSubsystemChooser([](CModelProject&, std::string& name) {
            name = "Roof";
            return true;
        });
    }
    void TearDown() override
    {
        CDlgInputPowerData::SetSubsystemChooser({});
        doc.OnCloseDocument();
    }
    int Results() const
    {
        int n = 0;
        for (int i = 0; i < model->GetChildCount(); ++i)
            n += model->GetChild(i)->GetName().rfind("Result [", 0) == 0;
        return n;
    }

    QTemporaryDir temp;
    CScriptedPrompts prompts;
    CRecordingMessageTarget window;
    CMainWindowTargetScope scope{&window};
    CRecordingMessageTarget owner;
    CTALVODoc doc;
    CModelProject* model = nullptr;
};
} // namespace

TEST_F(InputPowerDataFixture, SetsAreMadeFilledAndSolvedOnlyInTheSolvingMode)
{
    CDlgInputPowerData dialog(model, &owner);
    dialog.SetSolvingModel(model);
    dialog.SetMode(CDlgInputPowerData::modeClose);
    dialog.EnsureInitialized();
    EXPECT_EQ(dialog.Button(IDOK)->text(), "Close");
    EXPECT_TRUE(dialog.Button(IDCANCEL)->isHidden());
    for (int id : {1000, 1101, 3027, 1103})
        EXPECT_FALSE(dialog.Button(id)->isEnabled()) << id;

    dialog.Button(CDlgInputPowerData::IDC_NEW_SET)->click();
    ASSERT_EQ(dialog.SetCombo()->count(), 1);
    EXPECT_EQ(dialog.SetCombo()->currentText(), "Input Power Data");
    ASSERT_NE(dialog.SelectedSet(), nullptr);
    EXPECT_TRUE(dialog.Button(CDlgInputPowerData::IDC_ADD_FUNCTION)->isEnabled());
    dialog.Button(CDlgInputPowerData::IDC_ADD_FUNCTION)->click();
    ASSERT_EQ(dialog.FunctionList()->count(), 1);
    EXPECT_EQ(dialog.FunctionList()->item(0)->text(), "Roof-F");
    // The same subsystem again: 7095 asks first; Cancel keeps its values, OK starts it at 1.0.
    CZuPowerFunc* roof = dialog.SelectedSet()->FindFuncByKind("Roof-F", 0);
    ASSERT_NE(roof, nullptr);
    roof->DataValue(1, 0) = 7.0;
    prompts.Answer(IDCANCEL);
    dialog.Button(CDlgInputPowerData::IDC_ADD_FUNCTION)->click();
    EXPECT_EQ(prompts.Last().stringId, 7095u);
    EXPECT_EQ(roof->DataValue(1, 0), 7.0);
    prompts.Answer(IDOK);
    dialog.Button(CDlgInputPowerData::IDC_ADD_FUNCTION)->click();
    EXPECT_EQ(roof->DataValue(1, 0), 1.0);
    EXPECT_EQ(dialog.FunctionList()->count(), 1);

    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& d) {
        static_cast<CDlgRename&>(d).NameEdit()->setText("Roof only");
        return d.PressOK();
    });
    dialog.Button(CDlgInputPowerData::IDC_RENAME_SET)->click();
    EXPECT_EQ(dialog.SetCombo()->currentText(), "Roof only");
    EXPECT_EQ(dialog.FunctionList()->count(), 1);

    dialog.resize(dialog.sizeHint().expandedTo(QSize(420, 320)));
    dialog.show();
    QApplication::processEvents();
    const QString dir =
        qEnvironmentVariableIsSet("ORVEX_GRAB_DIR") ? qEnvironmentVariable("ORVEX_GRAB_DIR") : temp.path();
    EXPECT_TRUE(dialog.grab().save(QDir(dir).filePath("DlgInputPowerData.png")));
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        if (child->isVisible()) {
            EXPECT_FALSE(child->size().isEmpty()) << child->metaObject()->className();
        }
    }

    // Close mode: OK asks the owner to close and solves nothing.
    owner.Clear();
    dialog.PressOK();
    EXPECT_EQ(owner.MessageNumbers(), (std::vector<uint32_t>{WM_ZU_INPUT_POWER_DATA}));
    EXPECT_EQ(Results(), 0);

    // Solve mode: solved twice, one result of the set; the solve shows its bands in the
    // calculation-progress dialog, which goes when it is done.
    dialog.SetMode(CDlgInputPowerData::modeSolve);
    EXPECT_EQ(dialog.Button(IDOK)->text(), "Solve");
    EXPECT_FALSE(dialog.Button(IDCANCEL)->isHidden());
    int bands = -1;
    std::vector<int> setsWhileSolving;
    QTimer::singleShot(0, [&] {
        if (CDlgCalcProgress* progress = CDlgCalcProgress::GetInstance())
            bands = progress->BandBar()->maximum() + 1;
        // The dialog's buttons work while the solve handles its events: the set being solved
        // stays, and no second set or solve starts.
        dialog.Button(CDlgInputPowerData::IDC_DELETE_SET)->click();
        setsWhileSolving.push_back(dialog.SetCombo()->count());
        dialog.Button(CDlgInputPowerData::IDC_NEW_SET)->click();
        setsWhileSolving.push_back(dialog.SetCombo()->count());
        dialog.Button(IDOK)->click();
    });
    dialog.PressOK();
    EXPECT_EQ(bands, model->GetHSEAModelData()->GetFreqCount());
    EXPECT_EQ(setsWhileSolving, (std::vector<int>{1, 1}));
    EXPECT_EQ(CDlgCalcProgress::GetInstance(), nullptr);
    dialog.PressOK();
    EXPECT_EQ(Results(), 1) << (prompts.Count() ? prompts.Last().text : std::string());
    EXPECT_NE(model->FindOneChild(CInputPowerSets::ResultName("Roof only")), nullptr);

    // A set emptied of its powers fails: the dialog stays and does not ask to close.
    dialog.FunctionList()->setCurrentRow(0);
    dialog.Button(CDlgInputPowerData::IDC_DELETE_FUNCTION)->click();
    EXPECT_EQ(dialog.FunctionList()->count(), 0);
    owner.Clear();
    dialog.PressOK();
    EXPECT_EQ(prompts.Last().stringId, 6076u);
    for (uint32_t m : owner.MessageNumbers())
        EXPECT_NE(m, WM_ZU_INPUT_POWER_DATA);
    EXPECT_EQ(Results(), 1);

    dialog.Button(CDlgInputPowerData::IDC_DELETE_SET)->click();
    EXPECT_EQ(dialog.SetCombo()->count(), 0);
    EXPECT_EQ(dialog.SelectedSet(), nullptr);
}
