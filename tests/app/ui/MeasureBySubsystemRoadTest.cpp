// View > Measurement by Subsystem as a new user meets it: the target subsystem set under View >
// Target and Sources after the dialog was first opened, and a program with no unit answering.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../../experiments/ui/SimUnits.h"
#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgQMXConnection.h"
#include "app/DaqProject.h"
#include "app/FrameCommands.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/DaqProjectCommands.h"
#include "experiments/ui/DlgExpProperty2.h"
#include "experiments/ui/ExpFrame.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/win/CommandIds.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "support/RoadSteps.h"
#include "support/WidgetShot.h"

namespace {
using road::Click;
using road::Shown;
constexpr int kMeasure = CDaqProjectCommands::ID_MEASURE_BY_SUBSYSTEM;

// The main window over a project of the sample model with a DAQ project measured here, no target
// subsystem yet, and a unit channel assignment over units 00001 and 00002 whose bundles the
// sensor list holds: two sensors of one structure on each unit.
struct CRoadFrame
{
    QTemporaryDir dir;
    CMainFrame frame;
    CTALVOProject* container = nullptr;
    CDaqProject* daq = nullptr;
    std::vector<std::string> structures;

    CRoadFrame()
    {
        road::StartProgram();
        road::ShowFrame(frame);
        auto doc = std::make_unique<CTALVODoc>();
        container = &doc->GetTALVOProject();
        container->SetDocumentPath(dir.filePath("project.orv").toStdString());
        structures = LoadSampleModelStructures(*container);
        EXPECT_GE(structures.size(), 3u);
        daq = container->AddDaqProject();
        AddSimSensors(*container, 4);
        CSensorProject* sensors = container->GetSensorProject();
        for (const auto& [id, a, b] : {std::tuple{"00001-A", "S1", "S2"}, std::tuple{"00002-B", "S3", "S4"}}) {
            CSensorBundle* bundle = sensors->AddBundle(id);
            bundle->AddSensor(a);
            bundle->AddSensor(b);
        }
        Entry(structures[1], "00001", 0, "S1");
        Entry(structures[1], "00001", 1, "S2");
        Entry(structures[0], "00002", 0, "S3");
        Entry(structures[0], "00002", 1, "S4");
        doc->AddProjectsToViews();
        frame.AttachDocument(std::move(doc));
        for (int i = 0; i < container->GetProjectCount(); ++i)
            if (container->GetProject(i) == daq)
                road::Select(frame, i, daq);
    }
    ~CRoadFrame()
    {
        if (CDlgExpProperty2* dialog = CDlgExpProperty2::GetInstance(&frame))
            delete dialog;
        CSimUnits::DisconnectProgramUnits();
    }
    void Entry(const std::string& subsystem, const char* sn, int ch, const char* sensor)
    {
        AssignUnitChannel(*container, subsystem, sn, ch, sensor);
    }
    // View > Target and Sources: the target chosen from its list, one source added with the picker.
    void SetTarget(const std::string& target, const std::string& source)
    {
        road::SetTargetAndSource(frame, target, source);
    }
    std::vector<std::string> Rows(const CDlgExpProperty2& dialog) const
    {
        std::vector<std::string> rows;
        for (int r = 0; r < dialog.List()->rowCount(); ++r)
            rows.push_back(dialog.List()->item(r, 0)->text().toStdString() + " " +
                           dialog.List()->item(r, 2)->text().toStdString());
        return rows;
    }
};
} // namespace

// A new project has no target: OK says where to set it. Once it is set there, the same dialog
// measures against it, both when OK is pressed again and when the dialog is opened again.
TEST(MeasureBySubsystemRoad, TheTargetSetAfterTheDialogOpenedIsMeasuredAgainst)
{
    CRoadFrame f;
    ASSERT_TRUE(CSimUnits::ConnectProgramUnit());
    ASSERT_EQ(f.container->GetTargetSubsystem(), "");
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    dialogs.PressCancel(); // the units are not initialised again
    ASSERT_TRUE(Click(f.frame, kMeasure));
    CDlgExpProperty2* dialog = CDlgExpProperty2::GetInstance(&f.frame);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(f.Rows(*dialog), (std::vector<std::string>{f.structures[1] + " 2", f.structures[0] + " 2"}));
    prompts.Answer(IDOK);
    dialog->PressOK();
    ASSERT_EQ(prompts.Count(), 1u) << Shown(prompts);
    EXPECT_EQ(prompts.Last().stringId, IDS_NO_TARGET_SUBSYSTEM);
    EXPECT_TRUE(dialog->isVisible());

    // The box's advice followed; the dialog is left open and Cancel hides it. Opened again, it
    // lists the target first as the reference.
    f.SetTarget(f.structures[0], f.structures[2]);
    dialog->PressCancel();
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_TRUE(Click(f.frame, kMeasure)) << "the hidden dialog is shown again";
    EXPECT_EQ(CDlgExpProperty2::GetInstance(&f.frame), dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(f.Rows(*dialog), (std::vector<std::string>{f.structures[0] + " 2", f.structures[1] + " 2"}));
    ASSERT_NE(dialog->Data().GetReference(), nullptr);
    EXPECT_EQ(dialog->Data().GetReference()->name, f.structures[0]);

    // Another target chosen while the dialog stays open: OK takes it. The former reference, which
    // the assignment names, stays as an item to measure.
    f.SetTarget(f.structures[1], f.structures[2]);
    EXPECT_EQ(dialog->Data().GetReference()->name, f.structures[0]) << "nothing changes before OK";
    const size_t before = prompts.Count();
    dialog->PressOK();
    EXPECT_EQ(prompts.Count(), before) << Shown(prompts);
    EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CDlgExpProperty2::GetInstance(&f.frame), nullptr) << "OK went on and the dialog is done";
    ASSERT_FALSE(CExpFrame::OpenFrames().empty()) << "the measurement window opened";
    CExpFrame* measuring = CExpFrame::OpenFrames().back();
    ASSERT_NE(measuring->GetDocument(), nullptr);
    measuring->close();
}

// With fresh settings no unit answers: the connection dialog shows none, and after it the greyed
// dialog says what is missing and where to set it. With units connected there, the dialog opened
// again is usable.
TEST(MeasureBySubsystemRoad, WithNoUnitAnsweringTheDialogSaysWhatIsMissing)
{
    CRoadFrame f;
    CSimUnits::DisconnectProgramUnits();
    WriteProfileString("QMX", "IP", "0.0.0.0");
    CDlgExpProperty2* dialog = nullptr;
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& d) {
            EXPECT_NE(dynamic_cast<CDlgQMXConnection*>(&d), nullptr);
            return d.PressCancel(); // Escape
        });
        ASSERT_TRUE(Click(f.frame, kMeasure));
        EXPECT_EQ(dialogs.Unexpected(), 0u);
        dialog = CDlgExpProperty2::GetInstance(&f.frame);
        ASSERT_NE(dialog, nullptr);
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->List()->isEnabled());
    EXPECT_FALSE(dialog->Button(CDlgExpProperty2::IDC_ADD)->isEnabled());
    ASSERT_TRUE(dialog->NotConnectedText()->isVisible());
    EXPECT_EQ(dialog->NotConnectedText()->text().toStdString(), LoadString(IDS_NO_UNIT_FOR_SUBSYSTEMS));
    EXPECT_NE(dialog->NotConnectedText()->text().indexOf("Project > Acquisition Units..."), -1);
    EXPECT_EQ(
        GrabAndCheckLayout(*dialog, ShotFolder("MeasureBySubsystem"), "NoUnit").join(QLatin1Char('\n')).toStdString(),
        "");
    dialog->PressCancel();

    // Project > Acquisition Units...: the address of the simulated units, Connect, Close.
    WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.1", "boards=4+4; serial=1; address=10.0.0.1");
    {
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& d) {
            auto& connection = dynamic_cast<CDlgQMXConnection&>(d);
            if (auto* address = connection.findChild<QLineEdit*>(QStringLiteral("Address")))
                address->setText(QStringLiteral("10.0.0.1"));
            connection.Button(2001)->click();
            return IDCANCEL;
        });
        ASSERT_TRUE(Click(f.frame, CommandId::ID_QMX_CONNECTION));
    }
    ASSERT_GT(CDAQ::GetMultiInterface()->GetUnitCount(), 0) << "connected";

    // View > Measurement by Subsystem again: the same dialog, now set up over the units.
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    dialogs.PressCancel(); // the units are not initialised again
    ASSERT_TRUE(Click(f.frame, kMeasure));
    EXPECT_EQ(CDlgExpProperty2::GetInstance(&f.frame), dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->NotConnectedText()->isVisible());
    EXPECT_TRUE(dialog->List()->isEnabled());
    EXPECT_TRUE(dialog->Button(CDlgExpProperty2::IDC_ADD)->isEnabled());
    EXPECT_EQ(f.Rows(*dialog), (std::vector<std::string>{f.structures[1] + " 2", f.structures[0] + " 2"}));
    EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);
}
