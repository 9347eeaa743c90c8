// The data check's result grid over measured data sets and its options dialog.
#include <gtest/gtest.h>

#include "../MeasuredFixture.h"
#include "acquisition/DaqDataCheck.h"
#include "acquisition/ui/DlgDaqDataCheck.h"
#include "acquisition/ui/DlgExpDataCheckOption.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/Excitation.h"
#include "models/HSEARegOptions.h"
#include "platform/win/StringTable.h"
#include "GrabWindow.h"

#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

class DataCheckDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLanguageStrings(9));
        ASSERT_TRUE(m_pictures.isValid());
    }

    void Grab(QWidget& w, const char* name) { GrabWindow(w, m_pictures, name); }

    QTemporaryDir m_pictures;
};

} // namespace

TEST_F(DataCheckDialogs, DataCheckGridMarksBothFaultsOfADataSetAndOptionsAreStored)
{
    CHSEARegOptions::SaveExpDataCheckInputRange(0.75);
    CHSEARegOptions::SaveExpDataCheckOverLoad(0.95);
    CMeasuredFixture f;
    CDAQExperiment* set = f.AddDataSet("Run 1", 2);
    auto exp = f.MakeMeasurement(set, 2, 64);
    CExpDataSet* measured = exp->FindExcitation(f.structure)->GetDataSet(0);
    for (int c = 0; c < 2; ++c) {
        auto* data = DynamicDowncast<CExpData>(measured->GetChild(c));
        tagSENSORINFO info;
        ASSERT_EQ(data->GetSensorInfo(info), 1);
        info.ChannelInfo.Sensitivity = 1.0f;
        info.ChannelInfo.Scale = 1.0f;
        info.ChannelInfo.Limit = c == 1 ? 100.0f : 0.0f;
        data->ReplaceSensorInfo(info);
        std::vector<float> samples(64, 0.0f);
        samples[3] = c == 0 ? 1000.0f : 96.0f;
        data->SetSamples(samples.data(), 64);
    }

    CDlgDaqDataCheck* dialog = CDlgDaqDataCheck::CreateInstance(exp.get());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CDlgDaqDataCheck::CreateInstance(exp.get()), nullptr) << "at most one";
    QTableWidget* grid = dialog->Grid();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 0)->text(), "Src LP#");
    EXPECT_EQ(grid->item(0, 1)->text(), "Repeat#");
    EXPECT_EQ(grid->item(1, 0)->text(), QString::fromStdString(f.structure));
    EXPECT_EQ(grid->item(1, 1)->text(), QString::fromStdString(measured->GetName()));
    for (int c : {2, 3}) {
        EXPECT_EQ(grid->item(1, c)->text(), "X");
        EXPECT_EQ(grid->item(1, c)->background().color(), QColor(255, 255, 0));
    }
    // The clipped channel is told in words, with what to do about it.
    EXPECT_FALSE(dialog->Advice()->isHidden());
    EXPECT_TRUE(dialog->Advice()->text().startsWith("1 of the measured channels reached the top of their input range"))
        << dialog->Advice()->text().toStdString();
    EXPECT_NE(dialog->Advice()->text().indexOf("Run Gain Setting"), -1);
    CMElement* shown = nullptr;
    dialog->SetShowDataSet([&](CMElement* e) { shown = e; });
    dialog->OnSelectRow(1);
    EXPECT_EQ(shown, measured);
    Grab(*dialog, "DlgDaqDataCheck");

    // Options: the overload ratio at 97 % no longer flags 96 of 100; stored as "%e".
    CScriptedDialogs script;
    script.Then([](CZuDialog& d) {
        auto& options = static_cast<CDlgExpDataCheckOption&>(d);
        EXPECT_DOUBLE_EQ(options.OverloadBox()->value(), 95.0);
        options.OverloadBox()->setValue(97.0);
        return d.PressOK();
    });
    {
        CDlgExpDataCheckOption options;
        options.EnsureInitialized();
        Grab(options, "DlgExpDataCheckOption");
    }
    dialog->OnOptions();
    EXPECT_EQ(CHSEARegOptions::ReadString("EXP_DATA_CHECK_OverLoad", ""), "9.700000e-01");
    EXPECT_EQ(grid->item(1, 3)->text(), "");
    EXPECT_EQ(grid->item(1, 2)->text(), "X");
    // Below the top of the range again: nothing to advise.
    std::vector<float> quiet(64, 0.0f);
    quiet[3] = 999.0f;
    DynamicDowncast<CExpData>(measured->GetChild(0))->SetSamples(quiet.data(), 64);
    dialog->Refresh();
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_TRUE(dialog->Advice()->isHidden());
    CDlgDaqDataCheck::DestroyInstance();
    EXPECT_EQ(CDlgDaqDataCheck::GetInstance(), nullptr);
}
