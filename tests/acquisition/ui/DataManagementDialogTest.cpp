// The data-management dialog of an experiment's data sets: use flags ticked and given back on
// Cancel, the measurement-file column and the deletion of data sets without a file, the options
// sheet of a data set, the comparison's row selection, and data that go while it is open.
#include <gtest/gtest.h>

#include "../MeasuredFixture.h"
#include "acquisition/DAQIO.h"
#include "acquisition/ui/DlgDaqDataManagement.h"
#include "app/DAQExperiment.h"
#include "app/DAQSystemDocument.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/TALVOExp.h"
#include "experiments/ExpProject.h"
#include "experiments/DAQConfig.h"
#include "experiments/ExpInfo.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "support/WidgetShot.h"
#include "acquisition/ui/DlgExpDataComp.h"
#include "calculation/ui/PPageBandAve.h"
#include "calculation/ui/PPageLocalPoint.h"
#include "calculation/ui/PPageOctave.h"
#include "platform/win/Messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Dlg = CDlgDaqDataManagement;

// A DAQ project of outside data (universal files).
class COutsideDataProject : public CDaqProject
{
public:
    COutsideDataProject() { m_ufData = 1; }
};

// Three data sets of one experiment (serials 1 to 3, all used); the first and the last have
// their measurement files.
class DataManagementDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLanguageStrings(9));
        for (const char* name : {"A", "B", "C"}) {
            CDAQExperiment* set = f.AddDataSet(name);
            ASSERT_NE(set, nullptr);
            set->SetUseFlag(1);
            std::tm tm{};
            tm.tm_year = 124;
            tm.tm_mon = 2;
            tm.tm_mday = 7 + static_cast<int>(sets.size());
            tm.tm_hour = 12;
            tm.tm_isdst = -1;
            set->GetExpInfo()->SetTime(std::mktime(&tm));
            sets.push_back(set);
        }
        experiment = ElementCast<CTALVOExp>(sets[0]->GetParent());
        ASSERT_NE(experiment, nullptr);
        for (CDAQExperiment* set : {sets[0], sets[2]}) {
            auto base = f.MakeMeasurement(set, 2, 64);
            ASSERT_EQ(CDAQIO(set).SaveAll(base.get()), 1);
        }
    }
    void TearDown() override
    {
        Dlg::DestroyInstance();
        QApplication::processEvents();
    }

    std::vector<int> UseFlags() const
    {
        std::vector<int> flags;
        for (CDAQExperiment* set : sets)
            flags.push_back(set->GetUseFlag());
        return flags;
    }

    CMeasuredFixture f;
    std::vector<CDAQExperiment*> sets;
    CTALVOExp* experiment = nullptr;
};

} // namespace

TEST_F(DataManagementDialog, ListsTheDataSetsAndCancelGivesTheUseFlagsBack)
{
    EXPECT_EQ(Dlg::CreateInstance(sets[0]), nullptr) << "a data set is no experiment";
    Dlg* dialog = Dlg::CreateInstance(experiment);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Dlg::GetInstance(), dialog);
    EXPECT_EQ(Dlg::CreateInstance(experiment), nullptr) << "at most one";
    EXPECT_FALSE(dialog->IsReadOnly());
    EXPECT_EQ(dialog->NameLabel()->text().toStdString(), experiment->GetName());
    EXPECT_FALSE(dialog->NotUsedBox()->isChecked());

    QTableWidget* list = dialog->List();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), "Serial #");
    EXPECT_EQ(list->horizontalHeaderItem(3)->text(), "File");
    EXPECT_EQ(list->item(1, Dlg::colSerial)->text(), "#02");
    EXPECT_EQ(list->item(1, Dlg::colDate)->text(), "03/08/2024");
    EXPECT_EQ(list->item(1, Dlg::colComment)->text(), "Run-up B");
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list->item(row, Dlg::colSerial)->checkState(), Qt::Checked);

    // Unticking a row and excluding the experiment change the flags at once.
    list->item(1, Dlg::colSerial)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(UseFlags(), (std::vector<int>{1, 0, 1}));
    dialog->NotUsedBox()->setChecked(true);
    EXPECT_EQ(experiment->GetUseFlag(), 0);
    // A flag changed elsewhere shows when the comparison names the data set.
    sets[2]->SetUseFlag(0);
    EXPECT_EQ(dialog->SendMessage(WM_ZU_DATA_COLUMN_CLICKED, 0, reinterpret_cast<intptr_t>(sets[2])), 1);
    EXPECT_EQ(list->item(2, Dlg::colSerial)->checkState(), Qt::Unchecked);
    EXPECT_EQ(dialog->GetSelectedDataSet(), sets[2]);

    // The selected data set's measured data open in a measurement window over its file.
    struct CWindow : IDAQSystemDocument
    {
        void SetMeasuredData(CDaqProject*, const CMElementList&) override {}
        void SetReadData(std::unique_ptr<CExpProject> p, std::vector<std::unique_ptr<CObject>>) override
        {
            project = std::move(p);
        }
        void SetTitle(const std::string& t) override { title = t; }
        void SendInitialUpdate() override { ++shown; }
        void UpdateAllViews() override {}
        void CloseDocument() override { closed = true; }
        std::unique_ptr<CExpProject> project;
        std::string title;
        int shown = 0;
        bool closed = false;
    } window;
    GetTALVOApp().SetDAQSystemViewOpener([&](int) -> IDAQSystemDocument* { return &window; });
    ASSERT_TRUE(dialog->CommandButton(Dlg::ID_OPEN_DATA)->isEnabled());
    ASSERT_TRUE(dialog->OnCommand(Dlg::ID_OPEN_DATA));
    EXPECT_NE(window.project, nullptr);
    EXPECT_EQ(window.title, CDAQIO::GetDaqFilePath(sets[2]));
    EXPECT_EQ(window.shown, 1);
    EXPECT_FALSE(window.closed);
    GetTALVOApp().SetDAQSystemViewOpener({});
    // The property dialog comes from the window library that opens this dialog: without it the
    // command is off; with it, measured data open editable (mode 2).
    EXPECT_FALSE(dialog->CommandButton(Dlg::ID_DATA_SET_PROPERTIES)->isEnabled());
    CDAQExperiment* shownSet = nullptr;
    int shownMode = 0;
    dialog->SetPropertiesHandler([&](CDAQExperiment* set, int mode, QWidget*) {
        shownSet = set;
        shownMode = mode;
    });
    // Given to the open dialog, it enables the button for the row already selected.
    EXPECT_TRUE(dialog->CommandButton(Dlg::ID_DATA_SET_PROPERTIES)->isEnabled());
    ASSERT_TRUE(dialog->OnCommand(Dlg::ID_DATA_SET_PROPERTIES));
    EXPECT_EQ(shownSet, sets[2]);
    EXPECT_EQ(shownMode, 2);
    // Which data sets have their file.
    EXPECT_EQ(list->item(0, Dlg::colFile)->text(), "");
    ASSERT_TRUE(dialog->OnCommand(Dlg::ID_CHECK_FILES));
    EXPECT_EQ(list->item(0, Dlg::colFile)->text(), "*");
    EXPECT_EQ(list->item(1, Dlg::colFile)->text(), "");
    EXPECT_EQ(list->item(2, Dlg::colFile)->text(), "*");

    const QStringList faults = GrabAndCheckLayout(*dialog, "acquisition_ui", "DlgDaqDataManagement");
    EXPECT_TRUE(faults.isEmpty()) << faults.join(", ").toStdString();
    EXPECT_GE(list->columnWidth(Dlg::colComment), 300);

    dialog->PressCancel();
    EXPECT_EQ(UseFlags(), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(experiment->GetUseFlag(), 1);
    EXPECT_EQ(Dlg::GetInstance(), nullptr);

    // OK keeps what was ticked.
    dialog = Dlg::CreateInstance(experiment);
    ASSERT_NE(dialog, nullptr);
    dialog->List()->item(0, Dlg::colSerial)->setCheckState(Qt::Unchecked);
    dialog->PressOK();
    EXPECT_EQ(UseFlags(), (std::vector<int>{0, 1, 1}));
}

TEST_F(DataManagementDialog, DeletesOnlyConfirmedDataSetsWhoseFileIsMissing)
{
    Dlg* dialog = Dlg::CreateInstance(experiment);
    ASSERT_NE(dialog, nullptr);
    dialog->OnCommand(Dlg::ID_CHECK_FILES);
    dialog->List()->item(0, Dlg::colSerial)->setCheckState(Qt::Unchecked);
    CScriptedPrompts prompts;
    prompts.Answer(IDCANCEL);
    ASSERT_TRUE(dialog->OnCommand(Dlg::ID_DELETE_MISSING));
    EXPECT_EQ(prompts.Last().stringId, 6049u);
    EXPECT_EQ(experiment->GetChildCount(), 3);

    prompts.Answer(IDOK);
    ASSERT_TRUE(dialog->OnCommand(Dlg::ID_DELETE_MISSING));
    ASSERT_EQ(experiment->GetChildCount(), 2);
    EXPECT_EQ(experiment->GetChild(0), sets[0]);
    EXPECT_EQ(experiment->GetChild(1), sets[2]);
    ASSERT_EQ(dialog->List()->rowCount(), 2);
    EXPECT_EQ(dialog->List()->item(1, Dlg::colSerial)->text(), "#03");
    EXPECT_EQ(dialog->List()->item(1, Dlg::colFile)->text(), "*") << "the file column stays shown";

    // Cancel gives the remaining data sets their flags back and forgets the deleted one.
    dialog->PressCancel();
    EXPECT_EQ(sets[0]->GetUseFlag(), 1);
}

TEST_F(DataManagementDialog, OptionsSheetOfADataSetFollowsBlockModeAndReadOnlyMode)
{
    struct Case
    {
        int blockMode;
        bool outsideData;
        std::vector<std::string> pages;
        bool lineCountShown;
    };
    const Case cases[] = {
        {0, false, {"PPageCalcOptions", "PPageLocalPoint", "PPageBandAve", "PPageOctave"}, true},
        {1, false, {"PPageCalcOptions", "PPageLocalPoint", "PPageBandAve", "PPageOctave"}, false},
        {0, true, {"PPageLocalPoint", "PPageOctave"}, false},
    };
    EXPECT_EQ(Dlg::BandAveMask(0, 0), 0x111);
    EXPECT_EQ(Dlg::BandAveMask(1, 1), 0x221);
    COutsideDataProject outside;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blockMode * 10 + c.outsideData);
        f.daq->GetDAQConfig()->SetVersion5Field(c.blockMode);
        Dlg* dialog = Dlg::CreateInstance(experiment);
        ASSERT_NE(dialog, nullptr);
        if (c.outsideData)
            dialog->SetOwnerElement(&outside);
        EXPECT_EQ(dialog->IsReadOnly(), c.outsideData);
        EXPECT_EQ(dialog->CommandButton(Dlg::ID_CHECK_FILES)->isEnabled(), !c.outsideData);
        EXPECT_EQ(dialog->CommandButton(Dlg::ID_DELETE_MISSING)->isEnabled(), !c.outsideData);
        dialog->SelectRow(1);
        std::vector<std::string> pages;
        bool lineCountShown = false;
        bool lineCountLocked = false;
        bool octaveReadOnly = false;
        CScriptedDialogs script;
        script.Then([&](CZuDialog& d) {
            auto& sheet = dynamic_cast<CZuPropertySheet&>(d);
            EXPECT_EQ(sheet.windowTitle(), "Calculation Options");
            EXPECT_FALSE(sheet.HasApplyButton());
            for (int i = 0; i < sheet.GetPageCount(); ++i) {
                CZuPropertyPage* page = sheet.GetPage(i);
                pages.push_back(page->objectName().toStdString());
                sheet.SetActivePage(i);
                if (auto* band = dynamic_cast<CPPageBandAve*>(page)) {
                    lineCountShown = band->LineCombo()->isVisibleTo(band);
                    lineCountLocked = !band->LineCombo()->isEnabled();
                    EXPECT_TRUE(band->ResolutionEdit()->isVisibleTo(band));
                }
                if (auto* octave = dynamic_cast<CPPageOctave*>(page))
                    octaveReadOnly = !octave->TickAllButton()->isEnabled();
            }
            if (pages.size() == 4) {
                const QStringList faults = GrabAndCheckLayout(sheet, "acquisition_ui", "DataSetOptionsSheet");
                EXPECT_TRUE(faults.isEmpty()) << faults.join(", ").toStdString();
            }
            return d.PressCancel();
        });
        ASSERT_TRUE(dialog->OnCommand(Dlg::ID_DATA_SET_OPTIONS));
        EXPECT_EQ(script.Records().size(), 1u);
        EXPECT_EQ(pages, c.pages);
        EXPECT_EQ(lineCountShown, c.lineCountShown);
        if (c.lineCountShown) {
            EXPECT_TRUE(lineCountLocked);
        }
        EXPECT_TRUE(octaveReadOnly);
        Dlg::DestroyInstance();
    }
}

TEST_F(DataManagementDialog, ComparisonOpensOnceAndDataThatGoCloseOrShrinkTheDialog)
{
    Dlg* dialog = Dlg::CreateInstance(experiment);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->OnCommand(Dlg::ID_COMPARE_DATA_SETS));
    CDlgExpDataComp* comparison = CDlgExpDataComp::GetInstance(dialog);
    ASSERT_NE(comparison, nullptr);
    ASSERT_TRUE(dialog->OnCommand(Dlg::ID_COMPARE_DATA_SETS));
    EXPECT_EQ(CDlgExpDataComp::GetInstance(dialog), comparison);
    // A data column click of the comparison selects the data set's row here.
    dialog->SelectRow(0);
    dialog->SendMessage(WM_ZU_DATA_COLUMN_CLICKED, 0, reinterpret_cast<intptr_t>(sets[1]));
    EXPECT_EQ(dialog->GetSelectedDataSet(), sets[1]);

    // A data set deleted elsewhere leaves the list; Cancel touches only those that remain.
    sets[1]->SetUseFlag(0);
    experiment->DeleteChild(sets[1], 1);
    EXPECT_EQ(dialog->List()->rowCount(), 2);
    sets[0]->SetUseFlag(0);
    dialog->PressCancel();
    EXPECT_EQ(sets[0]->GetUseFlag(), 1);

    // The experiment going closes the dialog.
    dialog = Dlg::CreateInstance(experiment);
    ASSERT_NE(dialog, nullptr);
    f.daq->DeleteChild(experiment, 1);
    EXPECT_EQ(Dlg::GetInstance(), nullptr);
    QApplication::processEvents();
}
