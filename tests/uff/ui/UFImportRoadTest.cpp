// The universal-file road as a new user walks it, from an empty main window: a project from the
// sample model, the local points' sensors, a new DAQ project for universal files that goes on to
// the import of a file, an analysis project for outside data set up through its subsystem answer
// (0x241C), and an analysis project over the imported data whose input powers are calculated and
// shown. Menu commands go through their actions; every dialog is answered by script.
// The second road takes the sample's own universal file into a new DAQ project of the sample
// project through the dialogs as they open, its name typed into the program's file chooser.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "../UFTestFiles.h"
#include "support/RoadSteps.h"
#include "app/AnalysisProject.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/CalcCommands.h"
#include "app/FrameCommands.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "app/VerRes.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/FrameCommandHandler.h"
#include "app/ui/MTreeCtrlEx.h"
#include "planning/ui/PlanningCommands.h"
#include "experiments/ui/UFDaqProjectCommands.h"
#include "platform/ui/ProjectTreeModel.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "experiments/CalcOptions.h"
#include "experiments/SubsystemLPInfo.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgAssignSensors.h"
#include "planning/ui/DlgWizDAQPPMenu.h"
#include "planning/ui/ZuDlgWizard.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/QtPromptService.h"
#include "platform/win/Messages.h"
#include "platform/win/StringIds.h"
#include "support/WidgetShot.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/ui/DlgImportUFDaqData.h"
#include "uff/ui/DlgUFDataCheck.h"
#include "wiring/WindowServices.h"
#include "views/ui/DlgSelectDaqProject.h"
#include "views/ui/PPageAnaRPMSetup.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/DlgSrcTrgDefinition.h"
#include "calculation/ui/PPageLocalPoint.h"

namespace fs = std::filesystem;

namespace {

using road::Click;
using road::ConfirmCalcSubsystems;
using road::Select;
using road::Shown;

// A run-up measured elsewhere: the spectra of two points of each subsystem at five engine speeds,
// named after their subsystem and point in the first ID line.
std::string RunUpFile(const std::vector<std::string>& subsystems)
{
    std::string text;
    for (const std::string& subsystem : subsystems)
        for (int lp = 1; lp <= 2; ++lp)
            for (int rpm = 1000; rpm <= 1400; rpm += 100) {
                UF58Fields ds;
                ds.id1 = "name dir " + subsystem + "_" + std::to_string(lp);
                ds.funcType = 12;
                ds.respNode = lp;
                ds.absInc = 50.0;
                ds.zValue = rpm;
                for (int line = 0; line < 200; ++line) {
                    ds.numbers.push_back(0.01 * lp * (1 + line % 7) * rpm / 1000.0);
                    ds.numbers.push_back(0.0);
                }
                text += Dataset58(ds);
            }
    return text;
}

// The program's own file chooser, the name typed into its name field and Open pressed, as a user
// does; message boxes are recorded and answered with their first button (Yes or OK).
class CTypedChooser : public IPromptService
{
public:
    CTypedChooser() : m_previous(&GetPromptService()) { SetPromptService(this); }
    ~CTypedChooser() override { SetPromptService(m_previous); }
    CTypedChooser(const CTypedChooser&) = delete;
    CTypedChooser& operator=(const CTypedChooser&) = delete;

    std::vector<std::string> names; // typed into the choosers, in turn
    std::vector<PromptRecord> shown;

    PromptAnswer Ask(const PromptRecord& request) override
    {
        shown.push_back(request);
        PromptAnswer answer;
        if (request.kind == PromptKind::MessageBox) {
            answer.result = ButtonsOf(request.style).front();
        } else if (m_next < names.size()) {
            const QString name = QString::fromStdString(names[m_next++]);
            QTimer::singleShot(0, [name] {
                auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                auto* edit = chooser ? chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
                ASSERT_NE(edit, nullptr);
                edit->setText(name);
                static_cast<QDialog*>(chooser)->accept(); // the chooser's own Open
            });
            answer = CQtPromptService().Ask(request);
        } else {
            answer.result = IDCANCEL;
        }
        shown.back().result = answer.result;
        shown.back().paths = answer.paths;
        return answer;
    }
    std::string Texts() const
    {
        std::string out;
        for (const PromptRecord& r : shown)
            out += r.text + "\n";
        return out;
    }

private:
    IPromptService* m_previous;
    size_t m_next = 0;
};

// The first cell of a window's tables, beside the RPM and band axes, that shows a number other
// than 0; 0 when none does.
double ShownValue(QWidget* window)
{
    for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* model = view->model();
        for (int c = 0; model && c < model->columnCount(); ++c) {
            const QString header = model->headerData(c, Qt::Horizontal).toString();
            if (header.contains(QStringLiteral("RPM")) || header.startsWith(QStringLiteral("Band")))
                continue;
            for (int r = 0; r < model->rowCount(); ++r) {
                bool number = false;
                const double v = model->data(model->index(r, c)).toString().toDouble(&number);
                if (number && v != 0.0)
                    return v;
            }
        }
    }
    return 0.0;
}

// Project > New analysis project over a DAQ project, chosen by name, its options as they open.
void NewAnalysisProjectOver(CMainFrame& frame, const CExtUFDaqProject* uf)
{
    CScriptedDialogs dialogs;
    dialogs.Then([uf](CZuDialog& d) {
        auto& choose = dynamic_cast<CDlgSelectDaqProject&>(d);
        choose.Combo()->setCurrentIndex(choose.Combo()->findText(QString::fromStdString(uf->GetName())));
        return choose.PressOK();
    });
    dialogs.PressOK(); // the analysis options
    ASSERT_TRUE(Click(frame, CFrameCommands::ID_NEW_ANALYSIS_PROJECT));
    EXPECT_EQ(dialogs.Unexpected(), 0u);
}

} // namespace

TEST(UFImportRoad, NewDaqProjectImportsAndAnalysisProjectsFollow)
{
    road::StartProgram();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CMainFrame frame;
    road::ShowFrame(frame);
    ASSERT_EQ(frame.GetDocument(), nullptr);
    road::NewProjectFromSample(frame, dir.path(), QStringLiteral("ImportedCar"));
    ASSERT_NE(frame.GetDocument(), nullptr);
    CTALVODoc& doc = *frame.GetDocument();
    CTALVOProject& container = doc.GetTALVOProject();
    // The hybrid model over the analytical one, as the input powers solve it.
    CModelProject* model = container.GetModelProject();
    ASSERT_NE(model, nullptr);
    ASSERT_NE(model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
              nullptr);

    // Project > Sources and target: the cabin answers the roof and the floor.
    ASSERT_TRUE(Click(frame, ID_SRC_TRG_DEFINITION));
    {
        CDlgSrcTrgDefinition* definition = CDlgSrcTrgDefinition::GetInstance();
        ASSERT_NE(definition, nullptr);
        definition->TargetCombo()->setCurrentIndex(
            definition->TargetCombo()->findText(QStringLiteral("Front Cabin-R")));
        definition->m_sources.Add("Roof");
        definition->m_sources.Add("Floor");
        CScriptedPrompts prompts;
        definition->PressOK();
        EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ASSERT_EQ(container.GetTargetSubsystem(), "Front Cabin-R");

    // Tools > Sensor assignment: two points on the roof and on the floor, from a file.
    const std::string points = dir.filePath(QStringLiteral("LocalPoints.txt")).toStdString();
    WriteFile(points, "#@" + GetAppVersionText() + "\n# points\n#\nRoof\tS1\tS2\nFloor\tS3\tS4\n");
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile(points).Answer(IDOK);
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& d) {
            auto& assign = dynamic_cast<CDlgAssignSensors&>(d);
            assign.OnLoad();
            return assign.PressOK();
        });
        ASSERT_TRUE(Click(frame, CPlanningCommands::ID_ASSIGN_SENSORS));
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
    }
    ASSERT_EQ(container.GetSensorAssignment()->GetItemCount(container.GetSensorAssignment()->FindRow("Floor")), 2);

    // Project > New DAQ project: universal files, the file and the names in its datasets, the
    // data check; the experiments come in and the planning wizard stands open on the project.
    const fs::path file = fs::path(dir.path().toStdString()) / "runup.unv";
    WriteFile(file, RunUpFile({"Roof", "Floor"}));
    const int before = container.GetProjectCount();
    {
        CScriptedPrompts prompts;
        prompts.ChooseFiles({file.string()});
        prompts.responder = [](const PromptRecord&) -> std::optional<PromptAnswer> { return PromptAnswer{}; };
        CScriptedDialogs dialogs;
        dialogs.Then(road::ChooseDaqSystem(1))
            .Then([](CZuDialog& d) {
                auto& import = dynamic_cast<CDlgImportUFDaqData&>(d);
                import.OnAddFiles();
                EXPECT_EQ(import.FileList()->topLevelItemCount(), 1);
                // Names from the datasets; their subsystems are the model's own names.
                auto* names = import.findChild<QCheckBox*>(QStringLiteral("c3049"));
                EXPECT_NE(names, nullptr);
                if (names)
                    names->setChecked(true);
                return import.PressOK();
            })
            .Then([](CZuDialog& d) { return dynamic_cast<CDlgUFDataCheck&>(d).PressOK(); });
        ASSERT_TRUE(Click(frame, CFrameCommands::ID_NEW_DAQ_PROJECT));
        EXPECT_EQ(dialogs.Unexpected(), 0u);
        ASSERT_GE(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 6168u) << Shown(prompts);
    }
    ASSERT_EQ(container.GetProjectCount(), before + 1);
    auto* uf = dynamic_cast<CExtUFDaqProject*>(container.GetProject(before));
    ASSERT_NE(uf, nullptr);
    EXPECT_EQ(uf->GetChildCount(), 2); // an experiment for each measured subsystem
    auto* wizard = CDlgWizDAQPPMenu::GetInstance();
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(wizard->GetProject(), uf);

    // Project > Local points of the roof's experiment: its second point left out, and the data set
    // calculated again from the first alone.
    CMElement* roofExperiment = nullptr;
    for (int i = 0; i < uf->GetChildCount(); ++i)
        if (auto* experiment = ElementCast<CTALVOExp>(uf->GetChild(i));
            experiment && (experiment->GetFirstSubsystem() == "Roof" || experiment->GetSecondSubsystem() == "Roof"))
            roofExperiment = experiment;
    ASSERT_NE(roofExperiment, nullptr);
    auto* roofSet = ElementCast<CDAQExperiment>(roofExperiment->GetChild(0));
    ASSERT_NE(roofSet, nullptr);
    doc.SetModifiedFlag(0);
    Select(frame, before, roofExperiment);
    {
        CScriptedPrompts prompts;
        prompts.responder = [](const PromptRecord&) -> std::optional<PromptAnswer> { return PromptAnswer{}; };
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& d) {
            auto* page = d.findChild<CPPageLocalPoint*>();
            EXPECT_NE(page, nullptr);
            if (!page)
                return d.PressCancel();
            page->EnsureInitialized();
            QTreeWidget* tree = page->Tree();
            QTreeWidgetItem* set = tree->topLevelItem(tree->topLevelItemCount() - 1);
            EXPECT_EQ(set->childCount(), 2);
            set->child(1)->setCheckState(0, Qt::Unchecked);
            return d.PressOK();
        });
        ASSERT_TRUE(Click(frame, CUFDaqProjectCommands::ID_LOCAL_POINTS));
        EXPECT_EQ(dialogs.Unexpected(), 0u);
    }
    const CSubsystemLPInfo& roofPoints = roofSet->GetCalcOptions()->GetSubsystemLPInfoList()[0];
    ASSERT_EQ(roofPoints.GetSize(), 2);
    EXPECT_EQ(roofPoints.GetAt(0), 1);
    EXPECT_EQ(roofPoints.GetAt(1), 0);
    EXPECT_TRUE(doc.IsModified());

    // Project > New analysis project without a DAQ project: bands, subsystems, then the RPM set-up
    // that the subsystem answer brings (0x241C).
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& d) {
            auto& choose = dynamic_cast<CDlgSelectDaqProject&>(d);
            choose.Combo()->setCurrentIndex(choose.Combo()->count() - 1); // none
            return choose.PressOK();
        });
        dialogs.PressOK(); // the bands
        ASSERT_TRUE(Click(frame, CFrameCommands::ID_NEW_ANALYSIS_PROJECT));
        EXPECT_EQ(dialogs.Unexpected(), 0u);
    }
    ASSERT_EQ(container.GetProjectCount(), before + 2);
    auto* outside = dynamic_cast<CAnalysisProject*>(container.GetProject(before + 1));
    ASSERT_NE(outside, nullptr);
    EXPECT_EQ(outside->GetDaqProject(), nullptr);
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& d) {
            // The RPM set-up: the run-up's range.
            auto* page = d.findChild<CPPageAnaRPMSetup*>();
            EXPECT_NE(page, nullptr);
            if (!page)
                return d.PressCancel();
            page->EnsureInitialized();
            page->RangeRadio()->click();
            for (auto [edit, text] : {std::pair{page->MinEdit(), "1000"}, std::pair{page->MaxEdit(), "1400"},
                                      std::pair{page->StepEdit(), "100"}}) {
                edit->setText(QString::fromLatin1(text));
                emit edit->textEdited(edit->text()); // as typing does
            }
            return d.PressOK();
        });
        ConfirmCalcSubsystems();
        EXPECT_EQ(dialogs.Unexpected(), 0u);
        ASSERT_GE(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 6262u) << Shown(prompts);
    }
    ASSERT_EQ(container.GetProjectCount(), before + 2);
    std::vector<double> rpms;
    EXPECT_EQ(outside->GetRPMOptions().MakeRpmArrayD(rpms), 5);
    {
        // An answer without its subsystems or its project sets nothing up.
        CScriptedDialogs dialogs;
        CZuSubsystemTable none;
        EXPECT_EQ(frame.Commands()->ConfigureExtAnalysis(nullptr, outside), 0);
        EXPECT_EQ(frame.Commands()->ConfigureExtAnalysis(&none, nullptr), 0);
        EXPECT_TRUE(dialogs.Records().empty());
    }

    // Project > New analysis project over the imported data: its options, then the input energies
    // and input powers of the measured subsystems (1033).
    NewAnalysisProjectOver(frame, uf);
    ASSERT_EQ(container.GetProjectCount(), before + 3);
    auto* analysis = dynamic_cast<CAnalysisProject*>(container.GetProject(before + 2));
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->GetDaqProject(), uf);
    {
        CScriptedPrompts prompts;
        prompts.responder = [](const PromptRecord&) -> std::optional<PromptAnswer> {
            PromptAnswer yes;
            yes.result = IDYES;
            return yes;
        };
        ConfirmCalcSubsystems();
        ASSERT_GE(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 6170u) << Shown(prompts);
    }
    ASSERT_NE(analysis->GetInputPowerFolder(), nullptr);
    auto* power = DynamicDowncast<CZuRpmFunc>(analysis->GetInputPowerFolder()->FindRpmItem("Roof"));
    ASSERT_NE(power, nullptr);
    ASSERT_EQ(power->GetRpmCount(), 5);
    double largest = 0.0;
    for (int r = 0; r < power->GetRpmCount(); ++r)
        for (int b = 0; b < power->GetRowFunc(r)->GetDataCount(); ++b)
            largest = std::max(largest, power->GetRowFunc(r)->DataValue(b));
    EXPECT_GT(largest, 0.0);

    // The input power over RPM in its window, beside the main window's tree.
    Select(frame, before + 2, power);
    QMdiArea* area = frame.MdiArea();
    const qsizetype windows = area->subWindowList().size();
    ASSERT_TRUE(frame.OnCommand(ID_OPEN_SELECTION));
    EXPECT_EQ(area->subWindowList().size(), windows + 1);
    area->tileSubWindows();
    road::GrabResult(frame, "uf-import-road-input-power");
    // With the project's windows open, the language changes through the menu and back.
    EXPECT_EQ(road::SwitchLanguageThroughTheMenu(frame, "uf-import-road").join(QLatin1Char('\n')).toStdString(), "");
    wizard->OnStep(2006);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The sample project's universal file, as a new user imports it: New DAQ Project, universal files,
// the file's name typed into the chooser, every other setting as the dialogs open with it. The
// node table beside the file names its points; the data check lists them; the data sets fill the
// new project and open on a double-click; an analysis project over them calculates input powers
// that its window shows.
TEST(UFImportRoad, TheSamplesUniversalFileFromTheDialogsAsTheyOpen)
{
    road::StartProgram();
    const fs::path built = fs::path(ORVEX_BINARY_DIR) / "samples";
    if (!fs::exists(built / "sample.orv") || !fs::exists(built / "sample-run-up.unv"))
        GTEST_SKIP() << "no sample project was built";
    // The sample's own maps at a few RPMs and bands, read before the program's window opens.
    struct Expected
    {
        std::string subsystem;
        double rpm, lower, upper, value;
    };
    std::vector<Expected> expected;
    {
        CTALVODoc own;
        std::string error;
        ASSERT_TRUE(own.OnOpenDocument((built / "sample.orv").string(), &error)) << error;
        CDaqProject* measured = own.GetTALVOProject().GetDaqProject(0);
        ASSERT_NE(measured, nullptr);
        CMElementList runs;
        ASSERT_EQ(measured->FindDAQExperimentsBySubsystem("Roof", runs), 1);
        const COctaveManager* bands = measured->GetOctaveManager();
        ASSERT_NE(bands, nullptr);
        for (const char* subsystem : {"Roof", "Front Cabin-R"}) {
            const CZuRpmFunc* map = static_cast<CDAQExperiment*>(runs[0])->FindRpmFuncByName(subsystem);
            ASSERT_NE(map, nullptr) << subsystem;
            for (auto [rpm, band] :
                 {std::pair{1000.0, 0}, std::pair{2000.0, 4}, std::pair{3000.0, 10}, std::pair{3500.0, 13}}) {
                const double value = map->DataValue(map->FindRpmIndex(rpm), band);
                ASSERT_GT(value, 0.0) << subsystem << " " << rpm;
                expected.push_back({subsystem, rpm, bands->GetLowerFreq(band), bands->GetUpperFreq(band), value});
            }
        }
        own.OnCloseDocument();
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The sample's files where the user keeps them; the new project in a folder of its own.
    const fs::path root = fs::path(dir.path().toStdString()) / "samples";
    fs::copy(built, root, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    CMainFrame frame;
    road::ShowFrame(frame);
    road::NewProjectFromSample(frame, dir.filePath(QStringLiteral("car")), QStringLiteral("SampleCar"));
    ASSERT_NE(frame.GetDocument(), nullptr);
    CTALVODoc& doc = *frame.GetDocument();
    CTALVOProject& container = doc.GetTALVOProject();
    // Project > Sources and target: the cabin answers the roof.
    ASSERT_TRUE(Click(frame, ID_SRC_TRG_DEFINITION));
    {
        CDlgSrcTrgDefinition* definition = CDlgSrcTrgDefinition::GetInstance();
        ASSERT_NE(definition, nullptr);
        definition->TargetCombo()->setCurrentIndex(
            definition->TargetCombo()->findText(QStringLiteral("Front Cabin-R")));
        definition->m_sources.Add("Roof");
        CScriptedPrompts prompts;
        definition->PressOK();
        EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ASSERT_EQ(container.GetTargetSubsystem(), "Front Cabin-R");
    // The hybrid model over the analytical one, as the input powers solve it.
    CModelProject* model = container.GetModelProject();
    ASSERT_NE(model, nullptr);
    ASSERT_NE(model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
              nullptr);
    const int before = container.GetProjectCount();

    const QString shots = ShotFolder(QStringLiteral("uf-sample-road"));
    QStringList faults;
    std::string told;
    {
        CTypedChooser chooser;
        chooser.names = {(root / "sample-run-up.unv").string()};
        CScriptedDialogs dialogs;
        dialogs
            .Then(road::ChooseDaqSystem(1)) // External data from universal files
            .Then([&](CZuDialog& d) {
                auto& import = dynamic_cast<CDlgImportUFDaqData&>(d);
                EXPECT_FALSE(import.OkButton()->isEnabled());
                import.findChild<QPushButton*>(QStringLiteral("c3005"))->click(); // Add...
                EXPECT_EQ(import.FileList()->topLevelItemCount(), 1);
                // The node table that came with the file is read, and the dialog says which.
                EXPECT_EQ(fs::path(import.NodeTableEdit()->text().toStdString()), root / "UFNodeTable.txt");
                faults << GrabAndCheckLayout(import, shots, QStringLiteral("import"));
                return import.PressOK();
            })
            .Then([&](CZuDialog& d) {
                auto& check = dynamic_cast<CDlgUFDataCheck&>(d);
                // The roof's two points and the cabin's microphone, one measurement set each.
                EXPECT_EQ(check.Sets()->topLevelItemCount(), 2);
                check.Sets()->setCurrentItem(check.Sets()->topLevelItem(0));
                EXPECT_GE(check.Points()->topLevelItemCount(), 1);
                faults << GrabAndCheckLayout(check, shots, QStringLiteral("data-check"));
                return check.PressOK();
            });
        ASSERT_TRUE(Click(frame, CFrameCommands::ID_NEW_DAQ_PROJECT));
        EXPECT_EQ(dialogs.Unexpected(), 0u);
        ASSERT_FALSE(chooser.shown.empty());
        EXPECT_EQ(chooser.shown.front().kind, PromptKind::OpenFile);
        EXPECT_EQ(chooser.shown.back().stringId, IDS_FINISHED) << chooser.Texts();
        told = chooser.Texts();
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    // The project's own table did not replace the one that came with the file.
    EXPECT_NE(ReadFile(root / "UFNodeTable.txt").find("Roof\t1\t2"), std::string::npos);

    // The new project in the tree: the roof's experiment and its data set.
    ASSERT_EQ(container.GetProjectCount(), before + 1);
    auto* uf = dynamic_cast<CExtUFDaqProject*>(container.GetProject(before));
    ASSERT_NE(uf, nullptr);
    ASSERT_EQ(uf->GetChildCount(), 1) << told;
    frame.TreeWindow()->SetActiveIndex(before);
    CMTreeCtrlEx* tree = frame.TreeWindow()->GetActiveTree();
    ASSERT_NE(tree, nullptr);
    const QModelIndex top = tree->Model()->IndexOf(uf);
    ASSERT_EQ(tree->Model()->rowCount(top), 1);
    const QModelIndex experiment = tree->Model()->index(0, 0, top);
    auto* pair = ElementCast<CTALVOExp>(uf->GetChild(0));
    ASSERT_NE(pair, nullptr);
    EXPECT_TRUE(pair->GetFirstSubsystem() == "Roof" || pair->GetSecondSubsystem() == "Roof");
    ASSERT_EQ(tree->Model()->rowCount(experiment), 1);
    auto* set = ElementCast<CDAQExperiment>(uf->GetChild(0)->GetChild(0));
    ASSERT_NE(set, nullptr);
    CZuRpmFunc* roof = set->FindRpmFuncOfFirstName();
    ASSERT_NE(roof, nullptr);
    EXPECT_EQ(roof->GetRpmCount(), 56); // 1000 to 3750 RPM in steps of 50
    // The file carries the sample's own run-up: the imported maps, one band per line, summed over
    // the lines of each band of the sample's maps, give the sample's values.
    for (const Expected& e : expected) {
        const CZuRpmFunc* imported = set->FindRpmFuncByName(e.subsystem);
        ASSERT_NE(imported, nullptr) << e.subsystem;
        const int row = imported->FindRpmIndex(e.rpm);
        ASSERT_GE(row, 0) << e.rpm;
        double sum = 0.0;
        for (int k = 0; k < imported->GetFreqCount(); ++k)
            if (imported->GetFreq(k) >= e.lower && imported->GetFreq(k) < e.upper)
                sum += imported->DataValue(row, k) * imported->DataValue(row, k);
        EXPECT_NEAR(10.0 * std::log10(sum), 20.0 * std::log10(e.value), 0.5)
            << e.subsystem << ", " << e.rpm << " RPM, " << e.lower << " to " << e.upper << " Hz";
    }

    // A double-click on the data set opens its data.
    QMdiArea* area = frame.MdiArea();
    qsizetype windows = area->subWindowList().size();
    tree->setCurrentIndex(tree->Model()->index(0, 0, experiment));
    frame.UpdateCommandUI();
    emit tree->doubleClicked(tree->currentIndex());
    ASSERT_EQ(area->subWindowList().size(), windows + 1);
    EXPECT_NE(ShownValue(area->subWindowList().back()->widget()), 0.0);
    // And on the experiment: the map of its one data set, in a window of its own.
    area->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    windows = area->subWindowList().size();
    tree->setCurrentIndex(experiment);
    frame.UpdateCommandUI();
    emit tree->doubleClicked(tree->currentIndex());
    ASSERT_EQ(area->subWindowList().size(), windows + 1);
    EXPECT_NE(ShownValue(area->subWindowList().back()->widget()), 0.0);

    // Project > New analysis project over the imported data, its options as they open, then the
    // input powers of the measured subsystems.
    NewAnalysisProjectOver(frame, uf);
    ASSERT_EQ(container.GetProjectCount(), before + 2);
    auto* analysis = dynamic_cast<CAnalysisProject*>(container.GetProject(before + 1));
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->GetDaqProject(), uf);
    {
        CTypedChooser answers;
        ConfirmCalcSubsystems();
        EXPECT_NE(answers.Texts().find(MessageTextOf(6170)), std::string::npos) << answers.Texts();
    }
    ASSERT_NE(analysis->GetInputPowerFolder(), nullptr);
    auto* power = DynamicDowncast<CZuRpmFunc>(analysis->GetInputPowerFolder()->FindRpmItem("Roof"));
    ASSERT_NE(power, nullptr);

    // The input power over RPM in its window: the numbers the user reads are the project's.
    Select(frame, before + 1, power);
    windows = area->subWindowList().size();
    ASSERT_TRUE(frame.OnCommand(ID_OPEN_SELECTION));
    ASSERT_EQ(area->subWindowList().size(), windows + 1);
    area->subWindowList().back()->showMaximized();
    // The window writes the powers in dB (re 1 W) to two decimals.
    const double shown = ShownValue(area->subWindowList().back()->widget());
    EXPECT_NE(shown, 0.0);
    bool held = false;
    for (int r = 0; r < power->GetRpmCount(); ++r)
        for (int b = 0; b < power->GetRowFunc(r)->GetDataCount(); ++b) {
            const double watts = power->GetRowFunc(r)->DataValue(b);
            held = held || (watts > 0.0 && std::abs(10.0 * std::log10(watts) - shown) <= 0.006);
        }
    EXPECT_TRUE(held) << shown;
    road::GrabResult(frame, "uf-sample-road-input-power");
    EXPECT_EQ(road::SwitchLanguageThroughTheMenu(frame, "uf-sample-road").join(QLatin1Char('\n')).toStdString(), "");
    if (auto* wizard = CDlgWizDAQPPMenu::GetInstance())
        wizard->OnStep(2006);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
