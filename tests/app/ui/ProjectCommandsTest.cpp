// A new project made through the new-project dialog in a chosen folder, with the model from the
// sample files; the document's model-data commands; the hooks the open project gives the spectral
// layer; the developer dump with its parameter box.
#include "support/PromptsShown.h"
#include "app/DaqProject.h"
#include "app/AnalysisProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "app/ui/DlgNewModel.h"
#include "app/ui/DlgNewProject.h"
#include "app/ui/MainFrame.h"
#include "app/ui/ModelInformationDlg.h"
#include "app/ui/ProjectFileCommands.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "platform/ui/SXButton.h"
#include "app/ui/ProgressStatusBar.h"
#include "platform/ui/ProjectTreeModel.h"
#include "app/ui/DockTreeWnd.h"
#include "models/HSEAOptions.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/MElement.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuData.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/PromptService.h"
#include "spectral/OrderBand.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "views/ui/PPageMeanMethod.h"
#include "TreeText.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {
const std::string kSamples = std::string(ORVEX_SOURCE_DIR) + "/samples/";

// Answers the new-project dialog with a folder and a name.
CZuDialog::ModalHandler FillNewProject(const std::string& folder, const std::string& name)
{
    return [folder, name](CZuDialog& dialog) {
        auto& dlg = dynamic_cast<CDlgNewProject&>(dialog);
        dlg.FolderEdit()->setText(QString::fromStdString(folder));
        dlg.NameEdit()->setText(QString::fromStdString(name));
        return dlg.PressOK();
    };
}

class ProjectCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    }

    // Runs File > New through its question, the dialog and the two file choosers of the model,
    // which choose the sample model in samples.
    bool NewSampleProject(CMainFrame& frame, const std::string& name, CScriptedPrompts& prompts,
                          const std::string& samples = kSamples)
    {
        CScriptedDialogs dialogs;
        dialogs.Then(FillNewProject(m_dir.path().toStdString(), name))
            .Then([](CZuDialog& d) {
                // The model from a vehicle model file, not from SOLMOX.
                auto& source = dynamic_cast<CDlgNewModel&>(d);
                source.SourceButton(CDlgNewModel::kFromFile)->setChecked(true);
                return source.PressOK();
            })
            .Then([](CZuDialog& d) {
                // The model information: OK waits for the vehicle model file, which the browse
                // button fills in.
                auto& info = dynamic_cast<CModelInformationDlg&>(d);
                EXPECT_FALSE(info.IsOkEnabled());
                info.BrowseButton()->click();
                EXPECT_TRUE(info.IsOkEnabled());
                return info.PressOK();
            });
        prompts.Answer(IDYES).ChooseFile(samples + "sample-model.ntf").ChooseFiles({samples + "sample-model.dmd"});
        const bool made = frame.OnCommand(ID_FILE_NEW) && frame.GetDocument() != nullptr;
        // The two choosers say what they want and name the kinds they show.
        const auto& records = prompts.Records();
        EXPECT_GE(records.size(), 3u);
        if (records.size() >= 3) {
            EXPECT_EQ(records[1].file.title, "Choose the Vehicle Model File");
            EXPECT_EQ(records[1].file.filter.rfind("Vehicle Model Files (*.ntf;*.xml)|", 0), 0u)
                << records[1].file.filter;
            EXPECT_EQ(records[2].file.title, "Choose the Model Data File");
            EXPECT_EQ(records[2].file.filter.rfind("Model Data Files (*.dmd;*.txt)|", 0), 0u) << records[2].file.filter;
        }
        EXPECT_EQ(dialogs.Records().size(), 3u);
        EXPECT_EQ(prompts.Pending(), 0u);
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
        return made;
    }

    QTemporaryDir m_dir;
};

class DumpElement : public CMElement, public IDataWriter
{
public:
    DumpElement(CMElement* parent) : CMElement("Dumpable", parent, 100) {}
    int WriteDump(CStdioFile& file, const std::string& param) override
    {
        file.WriteString("param=" + param + "\n");
        return 1;
    }
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
} // namespace

TEST_F(ProjectCommands, NewProjectInAChosenFolderIsSavedClosedAndReopened)
{
    CMainFrame frame;
    CScriptedPrompts prompts;
    ASSERT_TRUE(NewSampleProject(frame, "Car1", prompts));

    // The project lives in a folder of its own name inside the chosen folder, saved at once.
    const std::string file = m_dir.filePath("Car1/Car1.orv").toStdString();
    CTALVODoc* doc = frame.GetDocument();
    EXPECT_EQ(doc->GetPathName(), file);
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(GetTALVOApp().GetMainDocument(), doc);
    EXPECT_EQ(frame.windowTitle().toStdString().substr(0, 11), "Car1.orv - ");
    EXPECT_EQ(GetTALVOApp().GetRecentFiles().front(), file);
    EXPECT_FALSE(frame.ProgressBar()->IsProgressVisible());
    ASSERT_EQ(frame.TreeWindow()->GetTreeCount(), 1);
    const std::string trees = DescribeTrees(*frame.TreeWindow());
    EXPECT_NE(trees.find("<Model>Model["), std::string::npos) << trees;

    // A DAQ project added and saved comes back with the model after close and reopen.
    doc->NewDaqProject();
    ASSERT_TRUE(frame.SaveDocument());
    const std::string before = DescribeTrees(*frame.TreeWindow());
    EXPECT_EQ(frame.TreeWindow()->GetTreeCount(), 2);
    ASSERT_TRUE(frame.CloseMainDocument());
    EXPECT_EQ(frame.TreeWindow()->GetTreeCount(), 0);
    ASSERT_TRUE(frame.OpenDocumentFile(file));
    EXPECT_EQ(frame.GetDocument()->GetTALVOProject().GetProjectCount(), 2);
    EXPECT_EQ(frame.TreeWindow()->Tabs()->tabText(0), QStringLiteral("Model"));
    EXPECT_EQ(frame.TreeWindow()->Tabs()->tabText(1), QStringLiteral("DAQ1"));
    // Reading changes nothing: the reopened project shows the very same trees, and so it does
    // after another save, close and reopen.
    const std::string reopened = DescribeTrees(*frame.TreeWindow());
    EXPECT_NE(before.find("CLFs Data #2[CLF(Roof-F, Front Cabin-R-)"), std::string::npos) << before;
    EXPECT_EQ(reopened, before);
    frame.GetDocument()->SetModifiedFlag(1);
    ASSERT_TRUE(frame.SaveDocument());
    ASSERT_TRUE(frame.CloseMainDocument());
    ASSERT_TRUE(frame.OpenDocumentFile(file));
    EXPECT_EQ(DescribeTrees(*frame.TreeWindow()), reopened);

    // The same name again in the same folder is refused by the dialog (7096) and nothing changes.
    CScriptedPrompts again;
    again.Answer(IDYES).Answer(IDOK);
    CScriptedDialogs dialogs;
    dialogs.Then(FillNewProject(m_dir.path().toStdString(), "Car1"));
    EXPECT_FALSE(frame.NewDocument());
    EXPECT_EQ(again.Last().stringId, 7096u) << Shown(again);
    EXPECT_EQ(frame.GetDocument(), nullptr);
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
}

// The build's samples folder carries a new user through File > New as the README tells it: a copy
// of that folder alone, the vehicle model and the model data file chosen in it, the companion read
// from beside the model.
TEST_F(ProjectCommands, NewProjectFromTheBuildsSamplesFolderAlone)
{
    const std::filesystem::path built = std::filesystem::path(ORVEX_BINARY_DIR) / "samples";
    if (!std::filesystem::exists(built / "sample.orv"))
        GTEST_SKIP() << "no sample project was built";
    const std::filesystem::path copy = std::filesystem::path(m_dir.path().toStdString()) / "samples";
    std::filesystem::create_directories(copy);
    for (const auto& entry : std::filesystem::directory_iterator(built))
        if (entry.is_regular_file() && entry.path().filename().string().rfind("sample", 0) == 0)
            std::filesystem::copy_file(entry.path(), copy / entry.path().filename());
    for (const char* file : {"sample-model.ntf", "sample-model.dat", "sample-model.dmd"})
        ASSERT_TRUE(std::filesystem::is_regular_file(copy / file)) << file;

    CMainFrame frame;
    CScriptedPrompts prompts;
    ASSERT_TRUE(NewSampleProject(frame, "FirstCar", prompts, copy.string() + "/"));
    CTALVODoc* doc = frame.GetDocument();
    EXPECT_EQ(doc->GetPathName(), m_dir.filePath("FirstCar/FirstCar.orv").toStdString());
    // The model with the companion's figures and the model data file's couplings.
    CModelProject* model = doc->GetTALVOProject().GetModelProject();
    ASSERT_NE(model, nullptr);
    ASSERT_NE(model->GetASEAModelData(), nullptr);
    const CModelData* data = doc->GetTALVOProject().GetModelData();
    ASSERT_NE(data, nullptr);
    const CModelSubsystem* roof = data->GetSubsystem("Roof", 0, 1);
    ASSERT_NE(roof, nullptr);
    EXPECT_DOUBLE_EQ(roof->GetMass(), 14.8); // the companion's, not the model file's 14.5
    const std::string trees = DescribeTrees(*frame.TreeWindow());
    EXPECT_NE(trees.find("CLFs Data #2[CLF(Roof-F, Front Cabin-R-)"), std::string::npos) << trees;
}

TEST_F(ProjectCommands, DataOfTheOpenProjectShowValuesAsItsOptionsSay)
{
    CMainFrame frame;
    CScriptedPrompts prompts;
    ASSERT_TRUE(NewSampleProject(frame, "Hooks", prompts));
    CTALVODoc* doc = frame.GetDocument();
    CTALVOProject& project = doc->GetTALVOProject();
    CDaqProject* daq = doc->NewDaqProject();
    ASSERT_NE(daq, nullptr);
    CMElement* data = daq->AddChild(std::make_unique<CMElement>("Data", nullptr, -1));
    ASSERT_EQ(ISpectrumDisplayOptions::FindOwner(data), daq);
    for (int show : {0, 1}) {
        project.GetHSEAOptions().HSS_ShowDataInDB = show;
        EXPECT_EQ(SpectrumShowInDB(data), show);
    }
    project.GetHSEAOptions().WeightingFilter = 1;
    EXPECT_EQ(SpectrumAWeighting(data), 1);
    project.GetHSEAOptions().WeightingFilter = 0;
    EXPECT_EQ(SpectrumAWeighting(data), 0);
    // A panel is a structure, a cavity is not, an unknown name is not.
    EXPECT_EQ(SpectrumIsStructure(data, "Front Door Panel-L"), 1);
    EXPECT_EQ(SpectrumIsStructure(data, "Front Cabin-L"), 0);
    EXPECT_EQ(SpectrumIsStructure(data, "No Such Subsystem"), 0);
    // The DAQ project's bands start at the model's first band (one-third octaves from 100 Hz).
    EXPECT_EQ(FindOctaveBandIndex(100.0, daq->GetOctaveManager()), 0);
    EXPECT_GT(FindOctaveBandIndex(1000.0, daq->GetOctaveManager()), 0);
    ASSERT_TRUE(frame.CloseMainDocument());
}

TEST_F(ProjectCommands, ModelDataFileTakesOnlyInputPowerData)
{
    CMainFrame frame;
    CScriptedPrompts setup;
    ASSERT_TRUE(NewSampleProject(frame, "Data", setup));
    CTALVODoc* doc = frame.GetDocument();
    CModelProject* model = doc->GetTALVOProject().GetModelProject();
    ASSERT_NE(model, nullptr);
    const int children = model->GetChildCount();
    EXPECT_TRUE(frame.Action(ID_READ_MODEL_DATA)->isEnabled());

    // The samples' input power data are what this command reads.
    const std::string inputPower = kSamples + "sample-input-power.dmd";

    {
        // CLF data are not what this command reads: deleted again, 6133.
        CScriptedPrompts prompts;
        prompts.ChooseFile(kSamples + "sample-model.dmd").Answer(IDOK);
        EXPECT_TRUE(frame.OnCommand(ID_READ_MODEL_DATA));
        EXPECT_EQ(prompts.Records().front().file.defaultExt, "dmd");
        EXPECT_EQ(prompts.Last().stringId, 6133u) << Shown(prompts);
        EXPECT_EQ(model->GetChildCount(), children);
        EXPECT_FALSE(doc->IsModified());
    }
    {
        // A file that is no model data: the reader's message, nothing added.
        const std::string junk = m_dir.filePath("junk.dmd").toStdString();
        std::ofstream(junk) << "not model data\n";
        CScriptedPrompts prompts;
        prompts.ChooseFile(junk).Answer(IDOK);
        EXPECT_EQ(CProjectFileCommands::ReadModelData(*doc), nullptr);
        EXPECT_EQ(prompts.Last().stringId, 7052u) << Shown(prompts);
        EXPECT_EQ(model->GetChildCount(), children);
    }
    {
        CScriptedPrompts prompts;
        prompts.Cancel();
        EXPECT_EQ(CProjectFileCommands::ReadModelData(*doc), nullptr);
        EXPECT_EQ(model->GetChildCount(), children);
    }
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile(inputPower);
        CZuData* data = CProjectFileCommands::ReadModelData(*doc);
        ASSERT_NE(data, nullptr) << Shown(prompts);
        EXPECT_EQ(data->GetType(), ElementType::InputPowerData);
        EXPECT_EQ(data->GetChildCount(), 2); // two input power functions
        EXPECT_EQ(model->GetChildCount(), children + 1);
        EXPECT_TRUE(frame.TreeWindow()->GetTree(0)->Model()->IndexOf(data).isValid());
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
    }
    // The sample has no Hybrid SEA model: its text export is not offered.
    EXPECT_FALSE(doc->CanExportHSEAModelText());
    EXPECT_FALSE(frame.Action(ID_EXPORT_HSEA_MODEL)->isEnabled());
    EXPECT_FALSE(frame.OnCommand(ID_EXPORT_HSEA_MODEL));

    // With one, the export asks for a file named after the model, under its own title; cancelling
    // writes nothing.
    auto hybrid = std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0);
    hybrid->SetName("Hybrid SEA Model");
    ASSERT_NE(model->ReplaceHSEAModel(std::move(hybrid)), nullptr);
    frame.UpdateCommandUI();
    ASSERT_TRUE(frame.Action(ID_EXPORT_HSEA_MODEL)->isEnabled());
    const std::string chosen = m_dir.filePath("chosen.txt").toStdString();
    CScriptedPrompts prompts;
    prompts.Cancel().ChooseFile(chosen);
    EXPECT_TRUE(frame.OnCommand(ID_EXPORT_HSEA_MODEL));
    EXPECT_FALSE(std::filesystem::exists(chosen));
    EXPECT_TRUE(frame.OnCommand(ID_EXPORT_HSEA_MODEL));
    ASSERT_EQ(prompts.Count(), 2u) << Shown(prompts);
    EXPECT_EQ(prompts.Last().kind, PromptKind::SaveFile);
    EXPECT_EQ(prompts.Last().file.initialName, "Hybrid SEA Model");
    EXPECT_EQ(prompts.Last().file.defaultExt, "txt");
    EXPECT_EQ(prompts.Last().text, "Export HSEA Model");
    EXPECT_TRUE(std::filesystem::is_regular_file(chosen));
    EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
}

TEST_F(ProjectCommands, DumpAsksForTheParameterOnlyWithParameter)
{
    CMainFrame frame;
    auto doc = std::make_unique<CTALVODoc>();
    CDaqProject* daq = doc->GetTALVOProject().AddDaqProject();
    auto* element = daq->AddChild(std::make_unique<DumpElement>(daq));
    doc->AddProjectsToViews();
    frame.AttachDocument(std::move(doc));
    frame.TreeWindow()->GetActiveTree()->SelectElements({element});

    struct Case
    {
        int command;
        bool answerBox;
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {ID_DUMP_DATA, false, "", "param=\n"},
        {ID_DUMP_DATA_PARAM, true, "12.5", "param=12.5\n"},
        {ID_DUMP_DATA_PARAM, false, "", nullptr}, // the box cancelled: no file
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string out = m_dir.filePath(QStringLiteral("dump%1.txt").arg(n++)).toStdString();
        SCOPED_TRACE(out);
        CScriptedPrompts prompts;
        prompts.ChooseFile(out);
        CScriptedDialogs dialogs;
        std::string caption;
        if (c.command == ID_DUMP_DATA_PARAM)
            dialogs.Then([&](CZuDialog& dialog) {
                auto& box = dynamic_cast<CDlgInputBox&>(dialog);
                caption = box.windowTitle().toStdString();
                box.TextEdit()->setText(QString::fromUtf8(c.typed));
                return c.answerBox ? box.PressOK() : box.PressCancel();
            });
        EXPECT_TRUE(frame.OnCommand(c.command));
        EXPECT_EQ(dialogs.Records().size(), c.command == ID_DUMP_DATA_PARAM ? 1u : 0u);
        EXPECT_EQ(dialogs.Unexpected(), 0u);
        if (c.command == ID_DUMP_DATA_PARAM) {
            EXPECT_EQ(caption, "Parameter");
        }
        EXPECT_EQ(prompts.Last().file.defaultExt, "txt");
        if (c.expected)
            EXPECT_EQ(ReadAll(out), c.expected);
        else
            EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST_F(ProjectCommands, OptionCommandsOpenTheirSheets)
{
    CMainFrame frame;
    EXPECT_FALSE(frame.IsCommandEnabled(ID_OPTIONS)); // no document
    auto doc = std::make_unique<CTALVODoc>();
    CTALVODoc* raw = doc.get();
    CAnalysisProject* analysis = doc->GetTALVOProject().AddAnalysisProject(nullptr, nullptr);
    ASSERT_NE(analysis, nullptr);
    doc->AddProjectsToViews();
    frame.AttachDocument(std::move(doc));

    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& d) {
        auto& sheet = dynamic_cast<CZuPropertySheet&>(d);
        auto* page = dynamic_cast<CPPageMeanMethod*>(sheet.GetPage(1));
        EXPECT_NE(page, nullptr);
        sheet.SetActivePage(1);
        page->MethodGroup()->button(0)->click();
        return d.PressOK();
    });
    EXPECT_TRUE(frame.OnCommand(ID_OPTIONS));
    EXPECT_EQ(raw->GetTALVOProject().GetHSEAOptions().m_nMeanMethod, 0);
    ASSERT_EQ(dialogs.Records().size(), 1u);
    EXPECT_EQ(dialogs.Records()[0].className, "CPSheetOptions");

    // The analysis options follow the selection in the tree.
    frame.TreeWindow()->SetActiveIndex(raw->GetTALVOProject().GetProjectIndex(analysis));
    frame.TreeWindow()->GetActiveTree()->SelectElements({analysis});
    ASSERT_TRUE(frame.IsCommandEnabled(ID_ANALYSIS_OPTIONS));
    const CRPMOptions before = analysis->GetRPMOptions();
    dialogs.Then([](CZuDialog& d) {
        auto& sheet = dynamic_cast<CZuPropertySheet&>(d);
        EXPECT_EQ(sheet.GetPageCount(), 2); // RPM axis (view only) and the DAQ project
        return d.PressOK();
    });
    EXPECT_TRUE(frame.OnCommand(ID_ANALYSIS_OPTIONS));
    EXPECT_EQ(dialogs.Records().back().className, "CPSheetAnaOptions");
    EXPECT_TRUE(analysis->GetRPMOptions() == before);
}

// The model commands that may take the model from SOLMOX: open only with a model project; model data
// read by them appear in the project window and mark the document modified.
TEST_F(ProjectCommands, ModelImportCommandsNeedAModelProjectAndShowWhatTheyRead)
{
    CMainFrame frame;
    EXPECT_FALSE(frame.IsCommandEnabled(ID_IMPORT_ASEA_MODEL));
    EXPECT_FALSE(frame.IsCommandEnabled(ID_IMPORT_MODEL_DATA));
    CScriptedPrompts setup;
    ASSERT_TRUE(NewSampleProject(frame, "Import", setup));
    EXPECT_TRUE(frame.Action(ID_IMPORT_ASEA_MODEL)->isEnabled());
    EXPECT_TRUE(frame.Action(ID_IMPORT_MODEL_DATA)->isEnabled());
    CTALVODoc* doc = frame.GetDocument();
    const std::string before = DescribeTrees(*frame.TreeWindow());

    // Read from a model data file (the container's own way): the rows appear.
    CScriptedPrompts prompts;
    prompts.ChooseFiles({kSamples + "sample-input-power.dmd"});
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& d) {
        auto& source = dynamic_cast<CDlgNewModel&>(d);
        source.SourceButton(CDlgNewModel::kFromFile)->setChecked(true);
        return source.PressOK();
    });
    EXPECT_TRUE(frame.OnCommand(ID_IMPORT_MODEL_DATA));
    EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_NE(DescribeTrees(*frame.TreeWindow()), before);

    // Cancelled: nothing happens.
    const std::string after = DescribeTrees(*frame.TreeWindow());
    dialogs.PressCancel();
    EXPECT_TRUE(frame.OnCommand(ID_IMPORT_ASEA_MODEL));
    EXPECT_EQ(DescribeTrees(*frame.TreeWindow()), after);

    // The analytical model goes into the model element: a model project without one offers only
    // the model data.
    CMElement* shell = doc->GetTALVOProject().GetModelProject()->GetModelShell(0);
    ASSERT_NE(shell, nullptr);
    ASSERT_EQ(shell->GetParent()->DeleteChild(shell), 1);
    frame.UpdateCommandUI();
    EXPECT_FALSE(frame.Action(ID_IMPORT_ASEA_MODEL)->isEnabled());
    EXPECT_TRUE(frame.Action(ID_IMPORT_MODEL_DATA)->isEnabled());
}

TEST_F(ProjectCommands, OrderResultsAreDumpedToTheFileTheUserNames)
{
    // Order result functions have no window: opening one asks where its text goes.
    CZuOTPcFunc order("Order", nullptr, 0);
    const std::string path = m_dir.filePath("order.txt").toStdString();
    CScriptedPrompts prompts;
    prompts.Cancel().ChooseFile(path);
    EXPECT_FALSE(GetTALVOApp().OpenDataView(&order));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(GetTALVOApp().OpenDataView(&order));
    ASSERT_EQ(prompts.Count(), 2u);
    EXPECT_EQ(prompts.Last().kind, PromptKind::SaveFile);
    EXPECT_EQ(prompts.Last().file.defaultExt, "txt");
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
}
