// The model commands with a SOLMOX project: the stand-in SOLMOX on the test bus hands the sample
// model over; the dialogs are answered by script.
#include "app/ModelProject.h"
#include "app/ProjectHistory.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/DlgImportHSEAModel.h"
#include "app/ui/DlgNewModel.h"
#include "app/ui/ModelImporter.h"
#include "app/ui/ModelInformationDlg.h"
#include "platform/ui/SXButton.h"
#include "models/SEAModelData.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "support/WidgetShot.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusConnectionInterface>

#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
const fs::path kSamples = fs::path(ORVEX_SOURCE_DIR) / "samples";

struct SolmoxProject
{
    QTemporaryDir dir;
    std::string file;
    SolmoxProject()
    {
        for (const char* name : {"sample-model.ntf", "sample-model.dat", "sample-model.dmd"})
            fs::copy_file(kSamples / name, fs::path(dir.path().toStdString()) / name);
        file = dir.filePath(QStringLiteral("car.smx")).toStdString();
        std::ofstream(file) << "ASEA\tBody\tsample-model.ntf\n"
                               "HSEA\tTrimmed body\tsample-model.dmd\n"
                               "HSEA\tBare body\tsample-model.dmd\n"
                               "HISTORY\t4.2\tHatchback\n";
    }
};

bool LeftInTemp()
{
    for (const auto& e : fs::directory_iterator(QDir::tempPath().toStdString()))
        if (e.path().filename().string().rfind("orvex-solmox-", 0) == 0)
            return true;
    return false;
}

// A temporary folder of the test's own for what SOLMOX writes, so that tests running side by side
// do not see each other's files.
struct PrivateTemp
{
    QTemporaryDir dir;
    QByteArray previous = qgetenv("TMPDIR");
    PrivateTemp() { qputenv("TMPDIR", dir.path().toUtf8()); }
    ~PrivateTemp() { qputenv("TMPDIR", previous); }
};

// Whether SOLMOX still holds its name once the bus has had time to see a process go (bounded).
bool SolmoxRunning()
{
    return !WaitForBusName(QStringLiteral("SOLMOX.Application"), false, 3000);
}

// The new-model dialog answered with a source.
CZuDialog::ModalHandler Choose(int source)
{
    return [source](CZuDialog& d) {
        auto& dlg = dynamic_cast<CDlgNewModel&>(d);
        dlg.SourceButton(source)->setChecked(true);
        return dlg.PressOK();
    };
}

// Counts the model data children of the model project (what a model data file adds).
int ModelDataCount(CModelProject* project)
{
    int n = 0;
    for (int i = 0; i < project->GetChildCount(); ++i)
        if (project->GetChild(i) != project->GetModelShell(0))
            ++n;
    return n;
}
} // namespace

TEST(ModelImporter, NewModelFromASolmoxProject)
{
    PrivateTemp temp;
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    for (const int entry : {0, -1}) {
        SCOPED_TRACE(entry);
        SolmoxProject source;
        CScriptedPrompts prompts;
        prompts.ChooseFile(source.file);
        CScriptedDialogs dialogs;
        dialogs.Then(Choose(CDlgNewModel::kFromSolmox)).Then([entry](CZuDialog& d) {
            auto& dlg = dynamic_cast<CDlgImportHSEAModel&>(d);
            EXPECT_EQ(dlg.ModelList()->count(), 2);
            EXPECT_EQ(dlg.ModelList()->item(1)->text(), "Bare body");
            if (entry >= 0)
                dlg.ModelList()->setCurrentRow(entry);
            if (entry == 0) {
                EXPECT_EQ(
                    GrabAndCheckLayout(dlg, "orvex_app_ui", "DlgImportHSEAModel").join(QLatin1Char('\n')).toStdString(),
                    "");
            }
            return dlg.PressOK();
        });
        CTALVODoc doc;
        CModelImporter importer(doc);
        ASSERT_EQ(importer.NewModel(), 1);
        EXPECT_EQ(prompts.Last().file.title, "Open Project of the Model Source");
        CModelProject* project = importer.GetModelProject();
        ASSERT_NE(project, nullptr);
        EXPECT_EQ(doc.GetTALVOProject().GetModelProject(), project);
        ASSERT_NE(project->GetASEAModelData(), nullptr);
        // Without a chosen HSEA model the model stands on the analytical files alone.
        EXPECT_EQ(ModelDataCount(project) > 0, entry >= 0);
        ASSERT_NE(doc.GetProjectHistory(), nullptr);
        const CMElement* history = doc.GetProjectHistory()->FindOneChild(std::string("SOLMOX"));
        ASSERT_NE(history, nullptr) << "the SOLMOX project's history joins the document's";
        EXPECT_EQ(static_cast<const CProjectHistory*>(history)->GetFileName(), "car.smx");
        EXPECT_FALSE(LeftInTemp());
        EXPECT_FALSE(SolmoxRunning());
        EXPECT_EQ(prompts.Unexpected(), 0u);
    }
}

TEST(ModelImporter, CancelsAndFailuresMakeNothing)
{
    PrivateTemp temp;
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    {
        // No model project: the model project's commands do nothing and show nothing.
        CScriptedDialogs dialogs;
        CTALVODoc doc;
        CModelImporter importer(doc);
        EXPECT_EQ(importer.ImportASEAModel(), 0);
        EXPECT_EQ(importer.ImportModelData(), 0);
        EXPECT_TRUE(dialogs.Records().empty());
        dialogs.PressCancel();
        EXPECT_EQ(importer.NewModel(), 0);
        EXPECT_EQ(doc.GetTALVOProject().GetProjectCount(), 0);
    }
    {
        // A project SOLMOX cannot open: an empty list, and OK says so and keeps the dialog open.
        CScriptedPrompts prompts;
        prompts.ChooseFile("/no/such/car.smx");
        CScriptedDialogs dialogs;
        dialogs.Then(Choose(CDlgNewModel::kFromSolmox)).Then([&prompts](CZuDialog& d) {
            auto& dlg = dynamic_cast<CDlgImportHSEAModel&>(d);
            EXPECT_EQ(dlg.ModelList()->count(), 0);
            EXPECT_EQ(dlg.PressOK(), 0);
            EXPECT_EQ(prompts.Last().text, "SOLMOX COM Error!");
            return dlg.PressCancel();
        });
        CTALVODoc doc;
        CModelImporter importer(doc);
        EXPECT_EQ(importer.NewModel(), 0);
        EXPECT_EQ(doc.GetTALVOProject().GetProjectCount(), 0);
        EXPECT_FALSE(LeftInTemp());
    }
}

TEST(ModelImporter, ModelProjectTakesAnalyticalModelAndModelDataFromSolmox)
{
    PrivateTemp temp;
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    SolmoxProject source;
    CScriptedPrompts prompts;
    CTALVODoc doc;
    ASSERT_NE(doc.GetTALVOProject().CreateModelProjectFromFile(0, (kSamples / "sample-model.dmd").string()), nullptr);
    CModelProject* project = doc.GetTALVOProject().GetModelProject();
    CModelImporter importer(doc);
    CScriptedDialogs dialogs;

    // The analytical model without the dialog: the model element is replaced.
    const CZuData* before = project->GetModelShell(0);
    prompts.ChooseFile(source.file);
    dialogs.Then(Choose(CDlgNewModel::kFromSolmox));
    ASSERT_EQ(importer.ImportASEAModel(), 1);
    EXPECT_NE(project->GetModelShell(0), before);
    EXPECT_EQ(importer.GetModelData(), project->GetModelShell(0));
    EXPECT_FALSE(LeftInTemp());

    // Model data: read into the model project.
    const int count = project->GetChildCount();
    prompts.ChooseFile(source.file);
    dialogs.Then(Choose(CDlgNewModel::kFromSolmox)).Then([](CZuDialog& d) {
        auto& dlg = dynamic_cast<CDlgImportHSEAModel&>(d);
        dlg.ModelList()->setCurrentRow(1);
        return dlg.PressOK();
    });
    ASSERT_EQ(importer.ImportModelData(), 1);
    EXPECT_EQ(project->GetChildCount(), count + 1);
    EXPECT_FALSE(LeftInTemp());
    EXPECT_FALSE(SolmoxRunning());
    EXPECT_EQ(prompts.Unexpected(), 0u);
    EXPECT_EQ(dialogs.Unexpected(), 0u);
}

TEST(DlgNewModel, OkOnlyWithASource)
{
    CDlgNewModel dlg;
    dlg.EnsureInitialized();
    EXPECT_EQ(GrabAndCheckLayout(dlg, "orvex_app_ui", "DlgNewModel").join(QLatin1Char('\n')).toStdString(), "");
    EXPECT_EQ(dlg.PressOK(), 0);
    dlg.SourceButton(CDlgNewModel::kFromFile)->setChecked(true);
    EXPECT_EQ(dlg.PressOK(), IDOK);
    EXPECT_EQ(dlg.m_source, CDlgNewModel::kFromFile);
}

TEST(ModelInformationDlg, OkFollowsThePathAndBrowsingFillsIt)
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    CScriptedPrompts prompts;
    CModelInformationDlg dlg;
    dlg.m_path = "";
    dlg.EnsureInitialized();
    EXPECT_EQ(GrabAndCheckLayout(dlg, "orvex_app_ui", "ModelInformationDlg").join(QLatin1Char('\n')).toStdString(), "");
    EXPECT_FALSE(dlg.IsOkEnabled());
    EXPECT_EQ(dlg.PressOK(), 0);
    dlg.PathEdit()->setText("/cars/a.ntf");
    EXPECT_TRUE(dlg.IsOkEnabled());
    dlg.PathEdit()->clear();
    EXPECT_FALSE(dlg.IsOkEnabled());
    prompts.ChooseFile("/cars/b.xml");
    dlg.BrowseButton()->click();
    EXPECT_EQ(prompts.Last().file.title, "Choose the Vehicle Model File");
    EXPECT_TRUE(dlg.IsOkEnabled());
    EXPECT_EQ(dlg.PressOK(), IDOK);
    EXPECT_EQ(dlg.m_path, "/cars/b.xml");
}
