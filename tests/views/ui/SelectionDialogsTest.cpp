// The selection dialogs of the analysis project, driven through the dialog test hook, each also
// shown offscreen once and grabbed to an image.
#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "platform/elements/MElementList.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "support/WidgetShot.h"
#include "views/ui/DlgImportedFileList.h"
#include "views/ui/DlgSelectAnalysisProjectType.h"
#include "views/ui/DlgSelectDaqProject.h"
#include "views/ui/DlgSelectResult.h"
#include "views/ui/DlgSelectResultType.h"
#include "views/ui/DlgSelectSPLsSrc.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/DlgSelectSubsystemPair.h"
#include "views/ui/DlgSrcTrgDefinition.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// The sample project, made once: a model of 17 subsystems, a DAQ project and an analysis project.
CTALVODoc& Sample()
{
    static CTALVODoc* doc = [] {
        CScriptedPrompts prompts;
        prompts.responder = [](const PromptRecord&) { return PromptAnswer{}; };
        auto* d = new CTALVODoc;
        // One folder per test process: ctest runs the tests of this program side by side.
        const fs::path file =
            fs::path(::testing::TempDir()) / "orvex_views_ui" / ("sample-" + std::to_string(::getpid())) / "sample.orv";
        std::string error;
        EXPECT_TRUE(sample::Build(*d, fs::path(ORVEX_SOURCE_DIR) / "samples", file.string(), &error)) << error;
        return d;
    }();
    return *doc;
}

CModelProject* Model()
{
    return Sample().GetTALVOProject().GetModelProject();
}

void ExpectLayout(QWidget& w, const char* name)
{
    const QStringList faults = GrabAndCheckLayout(w, "orvex_views_ui", name);
    EXPECT_TRUE(faults.isEmpty()) << name << ": " << faults.join("; ").toStdString();
}
} // namespace

TEST(DlgSelectDaqProject, OffersTheCandidatesThenNone)
{
    CMElementList none;
    CDlgSelectDaqProject empty;
    empty.SetCandidates(&none);
    CScriptedDialogs dialogs;
    dialogs.PressOK();
    EXPECT_EQ(empty.DoModal(), IDOK);
    EXPECT_EQ(empty.Combo()->count(), 1);
    EXPECT_EQ(empty.Combo()->itemText(0), "(none)");
    EXPECT_EQ(empty.GetSelected(), nullptr);

    CMElementList daq;
    Sample().GetTALVOProject().GetDaqProjects(daq);
    ASSERT_GE(daq.GetSize(), 1);
    CDlgSelectDaqProject dlg;
    dlg.SetCandidates(&daq);
    dialogs.PressOK().PressCancel();
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetSelected(), daq[0]);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetSelected(), nullptr);
    ExpectLayout(dlg, "DlgSelectDaqProject");
}

TEST(DlgSelectResultType, OkOnlyWithAnOfferedKindChosen)
{
    CDlgSelectResultType dlg([](int command) { return command != 1003; }); // no dominant paths
    dlg.EnsureInitialized();
    EXPECT_FALSE(dlg.OkButton()->isEnabled());
    EXPECT_FALSE(dlg.KindGroup()->button(2)->isEnabled());
    dlg.Choose(2);
    EXPECT_FALSE(dlg.OkButton()->isEnabled());
    EXPECT_EQ(dlg.PressOK(), 0); // nothing chosen: OK does nothing
    dlg.Choose(1);
    EXPECT_EQ(dlg.PressOK(), IDOK);
    EXPECT_EQ(dlg.GetSelection(), 1);

    CDlgSelectResultType cancelled;
    cancelled.EnsureInitialized();
    cancelled.Choose(0);
    EXPECT_EQ(cancelled.PressCancel(), IDCANCEL);
    EXPECT_EQ(cancelled.GetSelection(), -1);

    CDlgSelectAnalysisProjectType type;
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& d) {
        static_cast<CDlgSelectAnalysisProjectType&>(d).TypeGroup()->button(1)->click();
        return d.PressOK();
    });
    EXPECT_EQ(type.DoModal(), IDOK);
    EXPECT_EQ(type.m_nType, 1);
    ExpectLayout(dlg, "DlgSelectResultType");
    ExpectLayout(type, "DlgSelectAnalysisProjectType");
}

TEST(DlgSelectResult, OnlyALikeAnalysisOffersOk)
{
    CMElementList analyses;
    Sample().GetTALVOProject().GetAnalysisProjects(analyses);
    ASSERT_GE(analyses.GetSize(), 1);
    auto* first = dynamic_cast<CAnalysisProject*>(analyses[0]);
    ASSERT_NE(first, nullptr);
    CAnalysisProject same("Same");
    same.SetProjectType(first->GetProjectType());
    same.SetRPMOptions(first->GetRPMOptions());
    same.SetOrderList(first->GetOrderList());
    EXPECT_TRUE(CDlgSelectResult::IsCompatible(first, &same));
    COrderList more = first->GetOrderList();
    more.Add(17.5);
    same.SetOrderList(more);
    EXPECT_FALSE(CDlgSelectResult::IsCompatible(first, &same)); // another order count
    same.SetOrderList(first->GetOrderList());
    CRPMOptions rpm = first->GetRPMOptions();
    rpm.SetRpmMax(rpm.GetRpmMax() + 500.0f);
    same.SetRPMOptions(rpm);
    EXPECT_FALSE(CDlgSelectResult::IsCompatible(first, &same));
    EXPECT_FALSE(CDlgSelectResult::IsCompatible(first, Model()));

    int answers = 0;
    const auto answer = [&answers](CMElement*, CMElement*) { ++answers; };
    CDlgSelectResult* dlg = CDlgSelectResult::CreateInstance(first, first, nullptr, nullptr, answer);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(CDlgSelectResult::CreateInstance(first, first, nullptr, nullptr, answer), nullptr); // one at a time
    dlg->Refresh(); // no project tree: nothing selected
    EXPECT_EQ(dlg->ProjectLabel()->text(), "Not Available");
    EXPECT_FALSE(dlg->OkButton()->isEnabled());
    EXPECT_EQ(dlg->PressOK(), 0);
    EXPECT_EQ(answers, 0);
    ExpectLayout(*dlg, "DlgSelectResult");
    dlg->PressCancel();
    EXPECT_EQ(CDlgSelectResult::GetInstance(), nullptr);
    QApplication::processEvents();
}

TEST(DlgSelectSPLsSrc, TicksSwitchBetweenHiddenAndShownAndShowAllKeepsMarks)
{
    CRecordingMessageTarget owner;
    CDlgSelectSPLsSrc* dlg = CDlgSelectSPLsSrc::CreateInstance(&owner);
    ASSERT_NE(dlg, nullptr);
    CZuSubsystemTable table(std::vector<std::string>{"Roof-F", "Floor-F", "Front Cabin-R-"});
    dlg->SetSubsystemTable(&table);
    EXPECT_EQ(dlg->GetSubsystemCount(), 3);
    EXPECT_EQ(dlg->GetCheck(0), CDlgSelectSPLsSrc::kShown);
    EXPECT_EQ(dlg->GetCheck(9), 0);
    EXPECT_TRUE(dlg->ShowAllButton()->isChecked());

    dlg->SetCurSel(1);
    dlg->OnMark(true);
    EXPECT_EQ(dlg->GetCheck(1), CDlgSelectSPLsSrc::kMarked);
    dlg->OnShowAll(false);
    EXPECT_EQ(dlg->GetCheck(0), CDlgSelectSPLsSrc::kHidden);
    EXPECT_EQ(dlg->GetCheck(1), CDlgSelectSPLsSrc::kMarked); // marks stay
    dlg->ClickTick(1);                                       // a marked one goes to hidden
    EXPECT_EQ(dlg->GetCheck(1), CDlgSelectSPLsSrc::kHidden);
    dlg->ClickTick(1);
    EXPECT_EQ(dlg->GetCheck(1), CDlgSelectSPLsSrc::kShown);
    // A click on the list's check box goes through the same rule.
    dlg->List()->item(2)->setCheckState(Qt::Checked);
    EXPECT_EQ(dlg->GetCheck(2), CDlgSelectSPLsSrc::kShown);
    dlg->OnClearSelection();

    const auto records = owner.Records();
    std::vector<std::tuple<uint32_t, uintptr_t, intptr_t>> got;
    for (const auto& r : records)
        got.emplace_back(r.msg, r.wParam, r.lParam);
    const std::vector<std::tuple<uint32_t, uintptr_t, intptr_t>> expected = {
        {1235, 1, 0}, {1234, 1, 2}, {1234, 0, 0}, {1234, 1, 0}, {1234, 1, 1}, {1234, 2, 1}, {1236, 0, 0}};
    EXPECT_EQ(got, expected);
    ExpectLayout(*dlg, "DlgSelectSPLsSrc");
    dlg->close(); // only hides
    EXPECT_EQ(CDlgSelectSPLsSrc::GetInstance(), dlg);
    CDlgSelectSPLsSrc::DestroyInstance();
    QApplication::processEvents();
}

TEST(DlgSelectSubsystem, KindsOfTheModelAndWaveSuffixes)
{
    CModelProject* model = Model();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(SubsystemsOfKind(model, CDlgSelectSubsystem::kShells).GetCount(), 12);
    EXPECT_EQ(SubsystemsOfKind(model, CDlgSelectSubsystem::kCavities).GetCount(), 4);
    EXPECT_EQ(SubsystemsOfKind(model, CDlgSelectSubsystem::kAll).GetCount(), 17);
    EXPECT_EQ(SubsystemsOfKind(model, 7).GetCount(), 0);
    EXPECT_EQ(SubsystemsOfKind(nullptr, CDlgSelectSubsystem::kAll).GetCount(), 0);

    struct Case
    {
        const char* pick;
        int wave;
        const char* result;
    };
    const Case cases[] = {
        {"Roof", 0, "Roof-E"},
        {"Roof", 1, "Roof-S"},
        {"Roof", 2, "Roof-F"},
        {"Front Cabin-R", 2, "Front Cabin-R-"},
    };
    for (const Case& c : cases) {
        CDlgSelectSubsystem dlg(model);
        dlg.SetSubsystemKind(CDlgSelectSubsystem::kAll);
        CScriptedDialogs dialogs;
        dialogs.Then([&c](CZuDialog& d) {
            auto& s = static_cast<CDlgSelectSubsystem&>(d);
            EXPECT_FALSE(s.OkButton()->isEnabled()); // nothing chosen yet
            s.Combo()->setCurrentText(QString::fromLatin1(c.pick));
            s.WaveGroup()->button(c.wave)->click();
            return s.PressOK();
        });
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_strName, c.result);
    }

    // Names enter once, wave signs removed on request; a preset name is shown.
    CDlgSelectSubsystem plain(model);
    plain.SetSubsystemTable(CZuSubsystemTable(std::vector<std::string>{"Roof-F", "Roof-", "Floor-F"}), 1);
    plain.EnableWaveType(false);
    plain.m_strName = "Floor";
    plain.SetCaption("");
    plain.EnsureInitialized();
    EXPECT_EQ(plain.GetTable().Names(), (std::vector<std::string>{"Roof", "Floor"}));
    EXPECT_EQ(plain.Combo()->currentText(), "Floor");
    EXPECT_EQ(plain.WaveGroup()->checkedId(), -1);
    EXPECT_EQ(plain.PressOK(), IDOK);
    EXPECT_EQ(plain.m_strName, "Floor"); // no wave types: no suffix
    ExpectLayout(plain, "DlgSelectSubsystem");
}

TEST(DlgSelectSubsystem, ModelessPickerStaysOpenAndShowsTheChoiceInModelWindows)
{
    C3DModelDoc view(Model()->GetModelData(0));
    CRecordingMessageTarget owner;
    auto* picker = new CDlgSelectSubsystem(Model());
    picker->SetSubsystemKind(CDlgSelectSubsystem::kShells);
    picker->SetModeless(true, &owner, 77);
    picker->Create();
    EXPECT_EQ(picker->OkButton()->text(), "Add");
    EXPECT_EQ(picker->CancelButton()->text(), "Close");
    picker->Combo()->setCurrentText("Floor");
    emit picker->Combo()->activated(picker->Combo()->currentIndex());
    EXPECT_TRUE(view.IsSelected("Floor"));
    picker->PressOK();
    picker->Combo()->setCurrentText("Roof");
    picker->PressOK();
    EXPECT_TRUE(picker->isVisible());
    picker->PressCancel();
    const auto records = owner.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].msg, WM_ZU_SUBSYSTEM_PICKED);
    EXPECT_EQ(records[0].wParam, kPickerOK);
    EXPECT_EQ(records[0].lParam, 77);
    EXPECT_EQ(records[2].wParam, kPickerCancel);
    picker->DestroyWindow();
    QApplication::processEvents();
}

// Open beside its owner, the pair picker adds and closes; its image is taken in both languages, and
// the switch must not give its buttons the standard texts back.
TEST(DlgSelectSubsystemPair, ModelessPickerKeepsAddAndCloseAcrossALanguageSwitch)
{
    CRecordingMessageTarget owner;
    auto* picker = new CDlgSelectSubsystemPair(Model());
    picker->SetSubsystemKind(CDlgSelectSubsystem::kAll);
    picker->SetConnectionCheck(false);
    picker->SetModeless(true, &owner, 5);
    picker->Create();
    EXPECT_EQ(picker->OkButton()->text().toStdString(), LoadString(IDS_ADD));
    ExpectLayout(*picker, "DlgSelectSubsystemPair-Add");
    EXPECT_EQ(picker->OkButton()->text().toStdString(), LoadString(IDS_ADD)) << "after the language switch";
    EXPECT_EQ(picker->CancelButton()->text().toStdString(), LoadString(IDS_CLOSE));
    picker->DestroyWindow();
    QApplication::processEvents();
}

TEST(DlgSelectSubsystemPair, SecondListFollowsTheFirst)
{
    CModelProject* model = Model();
    CDlgSelectSubsystemPair dlg(model);
    dlg.SetSubsystemKind(CDlgSelectSubsystem::kAll);
    dlg.SetConnectionCheck(false);
    dlg.EnableWaveType(false);
    dlg.EnsureInitialized();
    EXPECT_FALSE(dlg.SecondCombo()->isEnabled());
    EXPECT_FALSE(dlg.OkButton()->isEnabled());
    dlg.ChooseFirst("Roof");
    EXPECT_TRUE(dlg.SecondCombo()->isEnabled());
    EXPECT_EQ(dlg.SecondCombo()->count(), 16); // everything but the first
    EXPECT_EQ(dlg.SecondCombo()->findText("Roof"), -1);
    EXPECT_FALSE(dlg.OkButton()->isEnabled());
    dlg.ChooseSecond("Front Cabin-R");
    EXPECT_EQ(dlg.PressOK(), IDOK);
    EXPECT_EQ(dlg.m_strName1, "Roof");
    EXPECT_EQ(dlg.m_strName2, "Front Cabin-R");

    CDlgSelectSubsystemPair preset(model);
    preset.m_strName1 = "Roof";
    preset.m_strName2 = "Floor";
    preset.EnsureInitialized();
    EXPECT_EQ(preset.FirstCombo()->count(), 1);
    EXPECT_EQ(preset.PressOK(), IDOK);
    EXPECT_EQ(preset.m_strName1, "Roof-F");
    EXPECT_EQ(preset.m_strName2, "Floor-F");
    ExpectLayout(dlg, "DlgSelectSubsystemPair");
}

TEST(DlgSrcTrgDefinition, SourcesAddedInARowThenCheckedOnOK)
{
    CTALVOProject& container = Sample().GetTALVOProject();
    const std::string targetBefore = container.GetTargetSubsystem();
    const CZuSubsystemTable sourcesBefore = container.GetSourceSubsystems();
    container.SetTargetSubsystem("");
    container.GetSourceSubsystems().Clear();

    CDlgSrcTrgDefinition* dlg = CDlgSrcTrgDefinition::CreateInstance(&container);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(CDlgSrcTrgDefinition::CreateInstance(&container), nullptr);
    const int all = dlg->TargetCombo()->count();
    dlg->OnAdd();
    ASSERT_NE(dlg->Picker(), nullptr);
    auto pick = [dlg](const char* name) {
        dlg->Picker()->Combo()->setCurrentText(QString::fromLatin1(name));
        dlg->Picker()->PressOK();
    };
    pick("Roof");
    pick("Floor");
    EXPECT_EQ(dlg->SourceList()->count(), 2);
    EXPECT_EQ(dlg->TargetCombo()->count(), all - 2);
    EXPECT_EQ(dlg->Picker()->Combo()->findText("Roof"), -1); // offered no more
    {
        // Already listed (it was typed, not picked from the offer).
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        dlg->Picker()->Combo()->setEditable(true);
        pick("Floor");
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 7109u);
        EXPECT_NE(prompts.Last().text.find("Floor"), std::string::npos);
    }
    dlg->Picker()->PressCancel();
    EXPECT_EQ(dlg->Picker(), nullptr);
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        dlg->TargetCombo()->setCurrentIndex(-1);
        EXPECT_EQ(dlg->PressOK(), 0);
        EXPECT_EQ(prompts.Last().stringId, 6207u);
    }
    ExpectLayout(*dlg, "DlgSrcTrgDefinition");
    dlg->TargetCombo()->setCurrentText("Front Cabin-R");
    dlg->PressOK();
    EXPECT_EQ(CDlgSrcTrgDefinition::GetInstance(), nullptr);
    EXPECT_EQ(container.GetTargetSubsystem(), "Front Cabin-R");
    EXPECT_EQ(container.GetSourceSubsystems().Names(), (std::vector<std::string>{"Roof", "Floor"}));
    QApplication::processEvents();
    container.SetTargetSubsystem(targetBefore);
    container.GetSourceSubsystems() = sourcesBefore;
}

TEST(DlgImportedFileList, ListsTheDocumentsEntries)
{
    CTALVODoc& doc = Sample();
    doc.GetFileProperties().SetString(CDlgImportedFileList::kImportedFileVersionId, "model 2.1");
    CDlgImportedFileList dlg(&doc);
    dlg.EnsureInitialized();
    ASSERT_GE(dlg.List()->topLevelItemCount(), 1);
    EXPECT_EQ(dlg.List()->topLevelItem(0)->text(1), "model 2.1");
    EXPECT_EQ(dlg.List()->headerItem()->text(1), "Imported File Version");
    ExpectLayout(dlg, "DlgImportedFileList");
}
