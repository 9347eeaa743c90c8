// The measurement by subsystem: the channel search over the unit channel database and the units'
// inventory, its report, the checks of the choice, and the dialog over connected simulated units.
#include <QLabel>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "SimUnits.h"
#include "acquisition/QmxBlixChMgr.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/TALVOProject.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "acquisition/ui/DlgSubsystemSensorTable.h"
#include "experiments/ui/DlgExpProperty2.h"
#include "experiments/ui/ExpDAQAccess.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "support/WidgetShot.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

#include <filesystem>

namespace {
// A container whose units 00001-00003 carry bundles: S1/S2 on unit 1 (structure), S3/S4 on unit 2
// (the reference), and a four-sensor bundle on unit 3 of which the database names only three.
struct CSubsystemSetup
{
    CSubsystemSetup()
    {
        dir = std::filesystem::temp_directory_path() / ("orvex_expprop2_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        container.SetDocumentPath((dir / "project.orv").string());
        structures = LoadSampleModelStructures(container);
        EXPECT_GE(structures.size(), 3u);
        container.SetTargetSubsystem(structures[0]);
        daq = container.AddDaqProject();
        AddSimSensors(container, 10);
        CSensorProject* sensors = container.GetSensorProject();
        auto bundle = [&](const char* id, std::initializer_list<const char*> ids) {
            CSensorBundle* b = sensors->AddBundle(id);
            for (const char* s : ids)
                b->AddSensor(s);
        };
        bundle("00001-A", {"S1", "S2"});
        bundle("00002-B", {"S3", "S4"});
        bundle("00003-C", {"S5", "S6", "S7", "S8"});
        Entry(structures[1], "00001", 0, "S1");
        Entry(structures[1], "00001", 1, "S2");
        Entry(structures[0], "00002", 0, "S3");
        Entry(structures[0], "00002", 1, "S4");
        Entry(structures[2], "00003", 0, "S5");
        Entry(structures[2], "00003", 1, "S6");
        Entry(structures[2], "00003", 2, "S7");
        Entry(structures[2], "00099", 0, "S9");
        Entry(structures[2], "00099", 0, "S9");
    }
    ~CSubsystemSetup()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    void Entry(const std::string& subsystem, const char* sn, int ch, const char* sensor)
    {
        AssignUnitChannel(container, subsystem, sn, ch, sensor);
    }

    std::filesystem::path dir;
    CTALVOProject container;
    CDaqProject* daq = nullptr;
    std::vector<std::string> structures;
};
// Disconnects the program's simulated units when a test ends, however it ends.
struct SProgramUnitsDisconnect
{
    ~SProgramUnitsDisconnect() { CSimUnits::DisconnectProgramUnits(); }
};

} // namespace

TEST(DlgExpProperty2, ChannelSearchChecksAndTheDialogOverConnectedUnits)
{
    CSubsystemSetup s;
    // Units 00001-00008, two channels each, on the program's interface.
    ASSERT_TRUE(CSimUnits::ConnectProgramUnit());
    SProgramUnitsDisconnect disconnect;
    auto data = std::make_unique<CDlgExpProperty2::CDlgData>(CExpDAQAccess().Inventory());
    data->target->daqProject = s.daq;
    CDlgExpProperty2::CDlgData& d = *data;
    ASSERT_GT(d.inventory->GetBlixChInfoList().GetSize(), 0);

    // Every unit channel and bundle found: no report, members on the inventory's channels.
    std::string report;
    std::unique_ptr<CSensorGroup> group = d.SearchChannels(s.structures[1], report);
    EXPECT_TRUE(report.empty()) << report;
    ASSERT_EQ(group->GetMemberCount(), 2);
    EXPECT_EQ(group->GetMember(0).text, "S1");
    EXPECT_EQ(group->GetMember(0).channel, 0);
    EXPECT_EQ(group->GetMember(1).channel, 1);
    EXPECT_EQ(group->GetMember(1).slot, 1);
    EXPECT_EQ(group->GetMember(1).extra, 1);
    // A subsystem the database does not name: an empty group, nothing to report.
    EXPECT_EQ(d.SearchChannels("nowhere", report)->GetMemberCount(), 0);
    EXPECT_TRUE(report.empty());
    // Three entries for a four-sensor bundle, a unit channel beyond the unit and a unit that is
    // not connected (named twice): each line once, channels counted from 1.
    group = d.SearchChannels(s.structures[2], report);
    EXPECT_EQ(group->GetMemberCount(), 0);
    EXPECT_EQ(report, "Channel search report for " + s.structures[2] +
                          "\n##### BLIX CH NOT FOUND #####\nBLIX SN: 00003-3\nBLIX SN: 00099-1\n\n"
                          "##### BUNDLE NOT FOUND #####\nBLIX CH: 00003-1\tSENSOR ID: S5\n"
                          "BLIX CH: 00003-2\tSENSOR ID: S6\n");

    // The dialog: the connection is confirmed without initialising, one item per subsystem.
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    dialogs.PressCancel(); // do not initialise the units
    GetTALVOApp().SetDAQSystemViewOpener({});
    CDlgExpProperty2* dialog = CDlgExpProperty2::CreateInstance(&s, nullptr, std::move(data));
    ASSERT_NE(dialog, nullptr);
    prompts.Answer(IDOK); // the report of the third subsystem
    dialog->Create();
    ASSERT_EQ(dialog->List()->rowCount(), 3);
    EXPECT_EQ(dialog->List()->item(0, 0)->text().toStdString(), s.structures[0]);
    EXPECT_EQ(dialog->List()->item(1, 2)->text(), "2");
    EXPECT_EQ(prompts.Records().size(), 1u) << "one report box";
    EXPECT_TRUE(dialog->Button(CDlgExpProperty2::IDC_PICTURE)->isEnabled());
    EXPECT_TRUE(dialog->Button(CDlgExpProperty2::IDC_TABLE)->isEnabled());
    const auto* date = dialog->findChild<QLabel*>(QString("Control%1").arg(CDlgExpProperty2::IDC_DATE));
    ASSERT_NE(date, nullptr);
    EXPECT_TRUE(QRegularExpression("^\\d\\d/\\d\\d/\\d{4}$").match(date->text()).hasMatch())
        << "never a two-digit year: " << date->text().toStdString();
    EXPECT_EQ(
        GrabAndCheckLayout(*dialog, ShotFolder("ExpWindow"), "DlgExpProperty2").join(QLatin1Char('\n')).toStdString(),
        "");

    // Add... opens the picker beside the dialog and leaves it open: each subsystem added is
    // searched at once, a listed one anew, and one without channels is named in a box.
    {
        ASSERT_GT(s.structures.size(), 4u);
        dialog->Button(CDlgExpProperty2::IDC_ADD)->click();
        CDlgSelectSubsystem* picker = dialog->Picker();
        ASSERT_NE(picker, nullptr);
        EXPECT_TRUE(picker->isVisible());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_GE(picker->Combo()->count(), static_cast<int>(s.structures.size()));
        dialog->Button(CDlgExpProperty2::IDC_ADD)->click();
        EXPECT_EQ(dialog->Picker(), picker) << "one picker";
        EXPECT_EQ(GrabAndCheckLayout(*picker, ShotFolder("ExpWindow"), "DlgExpProperty2-Add")
                      .join(QLatin1Char('\n'))
                      .toStdString(),
                  "");
        EXPECT_EQ(picker->OkButton()->text().toStdString(), LoadString(IDS_ADD)) << "after the language switch";
        EXPECT_EQ(picker->CancelButton()->text().toStdString(), LoadString(IDS_CLOSE));
        auto add = [&](const std::string& name) {
            picker->Combo()->setCurrentIndex(picker->Combo()->findText(QString::fromStdString(name)));
            ASSERT_EQ(picker->Combo()->currentText().toStdString(), name);
            picker->PressOK();
        };
        // A listed item whose channels were lost gets them again, without a box.
        dialog->Data().items[1]->SetGroup(std::make_unique<CSensorGroup>());
        dialog->FillList();
        const size_t boxes = prompts.Records().size();
        add(s.structures[1]);
        EXPECT_EQ(prompts.Records().size(), boxes) << prompts.Last().text;
        ASSERT_EQ(dialog->List()->rowCount(), 3);
        EXPECT_EQ(dialog->List()->item(1, 2)->text(), "2");
        // Two subsystems the database does not name: a row each, each named in a box of its own.
        for (const std::string& name : {s.structures[3], s.structures[4]}) {
            prompts.Answer(IDOK);
            add(name);
            ASSERT_EQ(prompts.Records().size(), boxes + (name == s.structures[3] ? 1 : 2));
            EXPECT_EQ(prompts.Last().stringId, IDS_SUBSYSTEM_NO_CHANNELS);
            EXPECT_NE(prompts.Last().text.find(name), std::string::npos) << prompts.Last().text;
        }
        ASSERT_EQ(dialog->List()->rowCount(), 5);
        EXPECT_EQ(dialog->List()->item(3, 0)->text().toStdString(), s.structures[3]);
        EXPECT_EQ(dialog->List()->item(4, 0)->text().toStdString(), s.structures[4]);
        EXPECT_EQ(dialog->List()->item(4, 2)->text(), "0");
        EXPECT_EQ(dialog->Picker(), picker) << "left open";
        // Close ends the picker.
        picker->PressCancel();
        EXPECT_EQ(dialog->Picker(), nullptr);
        dialog->Data().items.resize(3);
        dialog->FillList();
    }

    // Checks: an item without channels, then one item only, then two items on the same channels.
    prompts.Answer(IDOK);
    EXPECT_EQ(dialog->Validate(), 0);
    EXPECT_EQ(prompts.Last().stringId, 7105u);
    dialog->List()->item(2, 0)->setCheckState(Qt::Unchecked);
    dialog->List()->item(1, 0)->setCheckState(Qt::Unchecked);
    dialog->List()->item(0, 0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(dialog->List()->item(0, 0)->checkState(), Qt::Checked) << "the reference stays ticked";
    prompts.Answer(IDOK);
    EXPECT_EQ(dialog->Validate(), 0);
    EXPECT_EQ(prompts.Last().stringId, 6120u);
    dialog->List()->item(1, 0)->setCheckState(Qt::Checked);
    EXPECT_EQ(dialog->Validate(), 1);
    dialog->Data().items[2]->SetGroup(dialog->Data().items[1]->GetGroup()->Clone());
    dialog->List()->item(2, 0)->setCheckState(Qt::Checked);
    prompts.Answer(IDOK);
    EXPECT_EQ(dialog->Validate(), 0) << "two items on one bundle";
    EXPECT_EQ(prompts.Last().stringId, 7003u);
    dialog->List()->item(2, 0)->setCheckState(Qt::Unchecked);

    // The sensor table over the items: OK hands each item the channels the table gives it.
    CDlgSubsystemSensorTable* table = dialog->OnSensorTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(dialog->OnSensorTable(), table) << "the open table comes back";
    ASSERT_EQ(table->SubsystemList()->rowCount(), 3);
    prompts.Answer(IDOK);
    table->PressOK();
    EXPECT_EQ(prompts.Last().stringId, 7003u) << "the second and third items share bundle A";
    CSensorBundle* c = s.container.GetSensorProject()->FindBundleByID("00003-C");
    ASSERT_NE(c, nullptr);
    table->GetTarget().SetBundles(2, {c});
    table->PressOK();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CDlgSubsystemSensorTable::GetInstance(dialog), nullptr);
    const CSensorGroup* taken = dialog->Data().items[2]->GetGroup();
    ASSERT_NE(taken, nullptr);
    ASSERT_EQ(taken->GetMemberCount(), 2) << "the bundle's last two sensors have no channel on a two-channel unit";
    EXPECT_EQ(taken->GetMember(0).text, "S5");
    EXPECT_EQ(taken->GetMember(0).channel, 4);
    EXPECT_EQ(dialog->List()->item(2, 2)->text().toInt(), taken->GetMemberCount());

    // Without a measurement window the dialog comes back with the choice. With the picture check
    // on, the subsystems without pictures are shown first.
    dialog->Data().target->noPictureCheck = 0;
    dialogs.PressOK();
    prompts.Answer(IDOK);
    dialog->PressOK();
    ASSERT_FALSE(dialogs.Records().empty());
    EXPECT_EQ(dialogs.Records().back().templateId, 4084);
    EXPECT_EQ(prompts.Last().stringId, 6230u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(CDlgExpProperty2::GetInstance(&s), dialog);
    delete dialog;
    EXPECT_EQ(CDlgExpProperty2::GetInstance(&s), nullptr);
}

// Without a target subsystem there is no reference: no empty row stands for it, and OK says why
// instead of refusing on a nameless item.
TEST(DlgExpProperty2, WithoutATargetSubsystemOkSaysWhy)
{
    CSubsystemSetup s;
    s.container.SetTargetSubsystem("");
    ASSERT_TRUE(CSimUnits::ConnectProgramUnit());
    SProgramUnitsDisconnect disconnect;
    auto data = std::make_unique<CDlgExpProperty2::CDlgData>(CExpDAQAccess().Inventory());
    data->target->daqProject = s.daq;
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    dialogs.PressCancel(); // do not initialise the units
    GetTALVOApp().SetDAQSystemViewOpener({});
    auto* dialog = new CDlgExpProperty2(std::move(data), nullptr, true);
    std::unique_ptr<CDlgExpProperty2> owner(dialog);
    prompts.Answer(IDOK); // the report of the third subsystem
    dialog->EnsureInitialized();
    EXPECT_EQ(dialog->Data().GetReference(), nullptr);
    ASSERT_EQ(dialog->List()->rowCount(), 3);
    for (int r = 0; r < dialog->List()->rowCount(); ++r)
        EXPECT_FALSE(dialog->List()->item(r, 0)->text().isEmpty()) << r;
    EXPECT_EQ(dialog->List()->item(1, 0)->text().toStdString(), s.structures[0]) << "listed as any other";

    // OK with the first two ticked and the third dropped: refused, with the reason.
    dialog->List()->item(2, 0)->setCheckState(Qt::Unchecked);
    prompts.Answer(IDOK);
    EXPECT_EQ(dialog->PressOK(), 0);
    ASSERT_FALSE(prompts.Records().empty());
    EXPECT_EQ(prompts.Last().stringId, 7185u);
    EXPECT_EQ(dialog->EndResult(), 0) << "the dialog stays open";

    // The target set meanwhile is the reference at the next OK: one without channels is refused
    // for that, no longer for the missing target.
    s.container.SetTargetSubsystem(s.structures[3]);
    prompts.Answer(IDOK);
    EXPECT_EQ(dialog->PressOK(), 0);
    EXPECT_EQ(prompts.Last().stringId, 7105u);
    EXPECT_NE(prompts.Last().text.find(s.structures[3]), std::string::npos) << prompts.Last().text;
    ASSERT_NE(dialog->Data().GetReference(), nullptr);
    EXPECT_EQ(dialog->List()->item(0, 0)->text().toStdString(), s.structures[3]);
    ASSERT_EQ(dialog->List()->rowCount(), 4);
    // A listed subsystem made the target becomes the reference with its channels; the former
    // reference, which the database does not name, goes. The ticks chosen stay.
    s.container.SetTargetSubsystem(s.structures[0]);
    EXPECT_EQ(dialog->PressOK(), IDOK);
    ASSERT_EQ(dialog->List()->rowCount(), 3);
    EXPECT_EQ(dialog->List()->item(0, 0)->text().toStdString(), s.structures[0]);
    EXPECT_EQ(dialog->List()->item(0, 2)->text(), "2");
    EXPECT_EQ(dialog->List()->item(1, 0)->text().toStdString(), s.structures[1]);
    EXPECT_EQ(dialog->List()->item(2, 0)->checkState(), Qt::Unchecked);
}
