// The input-power export dialogs driven as a user would: keys, data kinds, browse, OK.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/AnalysisProject.h"
#include "calculation/InputEnergyFolder.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/ui/DlgExportInputPower.h"
#include "calculation/ui/DlgExportInputPowerForOT.h"
#include "platform/elements/MElementList.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

namespace {
namespace fs = std::filesystem;

void GrabAndCheck(QWidget& window, const char* name)
{
    window.resize(window.sizeHint().expandedTo(QSize(360, 240)));
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

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct DialogFixture : ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        project.SetOctaveManager(std::make_unique<COctaveManagerEx>(OCTAVE_BAND_THIRD, 100.0, 400.0));
        project.GetRPMOptions().SetRange(1000.0f, 1100.0f, 50.0f);
    }
    fs::path Path(const char* name) const { return fs::path(temp.path().toStdString()) / name; }

    QTemporaryDir temp;
    CScriptedPrompts prompts;
    CAnalysisProject project{"Run A"};
};
} // namespace

TEST_F(DialogFixture, ByRpmOffersTheRpmsAndTheKindsThatHaveData)
{
    CInputPowerFolder* folder = project.AddChild(std::make_unique<CInputPowerFolder>(&project));
    const double f[] = {100.0, 125.0}, rpms[] = {1000.0, 1050.0};
    CMElementList list;
    list.Add(CZuRpmFunc::NewRpmFunc("IP Roof", 3, nullptr, "Roof", f, 2, rpms, 2).release());
    folder->AddItems(list);
    CDlgExportInputPower dialog(&project);
    dialog.EnsureInitialized();
    ASSERT_EQ(dialog.KeyCombo()->count(), 3);
    EXPECT_EQ(dialog.KeyCombo()->itemText(2), "1100");
    EXPECT_EQ(dialog.NameEdit()->text(), "Run A");
    EXPECT_TRUE(dialog.KindButton(0)->isEnabled());
    EXPECT_FALSE(dialog.KindButton(1)->isEnabled()) << "no input-energy folder yet";
    EXPECT_FALSE(dialog.KindButton(2)->isEnabled());
    EXPECT_TRUE(dialog.OKButton()->isEnabled());
    GrabAndCheck(dialog, "DlgExportInputPower");

    // Browse proposes the default name of the kind and key; nothing chosen proposes none.
    prompts.Cancel();
    dialog.OnBrowse();
    EXPECT_EQ(prompts.Last().file.initialName, "");
    dialog.KindButton(0)->setChecked(true);
    dialog.KeyCombo()->setCurrentIndex(1);
    const fs::path target = Path("IP_Run A-1050RPM.txt");
    prompts.ChooseFile(target.string());
    dialog.OnBrowse();
    EXPECT_EQ(prompts.Last().file.initialName, "IP_Run A-1050RPM");
    EXPECT_EQ(prompts.Last().file.filter, "Export Input Power (*.xlsx;*.txt)|*.xlsx;*.txt||");
    EXPECT_EQ(prompts.Last().file.defaultExt, "xlsx");
    EXPECT_EQ(dialog.PathEdit()->text().toStdString(), target.string());

    EXPECT_EQ(dialog.PressOK(), IDOK) << (prompts.Count() ? prompts.Last().text : std::string());
    const std::string text = ReadAll(target);
    EXPECT_NE(text.find("#Input Power Data\n[IP_Run A-1050RPM]\n"), std::string::npos) << text;
}

TEST_F(DialogFixture, AFailedExportKeepsTheDialogAndTheEarlierFile)
{
    project.AddChild(std::make_unique<CInputEnergyFolder>(&project));
    const fs::path target = Path("kept.txt");
    std::ofstream(target) << "earlier\n";
    CDlgExportInputPower dialog(&project);
    dialog.EnsureInitialized();
    EXPECT_FALSE(dialog.KindButton(0)->isEnabled());
    EXPECT_TRUE(dialog.KindButton(1)->isEnabled());
    dialog.PathEdit()->setText(QString::fromStdString(target.string()));
    // No kind chosen: the failure is told, the file is not touched and the dialog stays.
    EXPECT_EQ(dialog.PressOK(), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().text, "Faild to export the Input power data.");
    EXPECT_EQ(ReadAll(target), "earlier\n");

    // No key at all (a range from 0): OK, the path and browse are off.
    project.GetRPMOptions().SetRpmMin(0.0f);
    CDlgExportInputPower empty(&project);
    empty.EnsureInitialized();
    EXPECT_EQ(empty.KeyCombo()->count(), 0);
    EXPECT_FALSE(empty.OKButton()->isEnabled());
    EXPECT_FALSE(empty.PathEdit()->isEnabled());
    EXPECT_FALSE(empty.BrowseButton()->isEnabled());
}

TEST_F(DialogFixture, ByOrderOffersTheOrdersAndChecksTheBandWidth)
{
    project.SetProjectType(CAnalysisProject::typeOrder);
    COrderList orders;
    orders.Add(2.0);
    orders.Add(4.5);
    project.SetOrderList(orders);
    project.AddChild(std::make_unique<CInputPowerFolder>(&project));
    CDlgExportInputPowerForOT dialog(&project);
    EXPECT_EQ(dialog.TemplateId(), CDlgExportInputPowerForOT::IDD);
    dialog.EnsureInitialized();
    ASSERT_EQ(dialog.KeyCombo()->count(), 2);
    EXPECT_EQ(dialog.KeyCombo()->itemText(1), "4.5");
    EXPECT_TRUE(dialog.BandListButton(0)->isChecked());
    EXPECT_EQ(dialog.WidthEdit()->text(), "50");
    GrabAndCheck(dialog, "DlgExportInputPowerForOT");

    dialog.KindButton(0)->setChecked(true);
    dialog.KeyCombo()->setCurrentIndex(1);
    prompts.Cancel();
    dialog.OnBrowse();
    EXPECT_EQ(prompts.Last().file.initialName, "IP_Run A-OT4.5");

    dialog.PathEdit()->setText(QString::fromStdString(Path("ot.txt").string()));
    for (const char* width : {"0", "1000", "x"}) {
        dialog.WidthEdit()->setText(width);
        EXPECT_EQ(dialog.PressOK(), 0) << width;
        EXPECT_EQ(prompts.Last().text, "Enter an integer between 1 and 999.");
    }
    EXPECT_FALSE(fs::exists(Path("ot.txt")));
    dialog.WidthEdit()->setText("25");
    dialog.BandListButton(1)->setChecked(true);
    dialog.PressOK();
    EXPECT_EQ(dialog.m_bandWidth, 25);
    EXPECT_EQ(dialog.m_bandListType, 1);
}
