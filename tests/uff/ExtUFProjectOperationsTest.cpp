// The universal-file DAQ project's own operations: experiments per universal file, band sets of
// the imported data, and the channel-table cells of its plans.
#include <gtest/gtest.h>

#include "app/DAQExperiment.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/UFExpInfo.h"

namespace {

const std::string kModel = std::string(ORVEX_SOURCE_DIR) + "/samples/sample-model.dmd";

struct UFProject
{
    CTALVOProject container;
    CExtUFDaqProject* uf = nullptr;
    std::string a, b; // two model subsystems

    UFProject()
    {
        LoadLanguageStrings(LANG_ENGLISH);
        EXPECT_NE(container.CreateModelProjectFromFile(0, kModel), nullptr);
        const CZuSubsystemTable* table = container.GetModelSubsystemTable();
        a = (*table)[0];
        b = (*table)[1];
        uf = static_cast<CExtUFDaqProject*>(container.AddExtDaqProject(std::make_unique<CExtUFDaqProject>()));
    }

    CUFExpInfo Info(const std::string& path) const
    {
        CUFExpInfo info;
        info.SetName(0, a);
        info.SetName(1, b);
        info.SetUFFile(path);
        return info;
    }
};

} // namespace

TEST(ExtUFDaqProject, OneDataSetPerUniversalFileName)
{
    UFProject p;
    CUFExpInfo info = p.Info("/data/run1.unv");
    EXPECT_EQ(info.GetLabel(), "[External DAQ data]/data/run1.unv");
    CDAQExperiment* first = p.uf->AddUFExperiment(info);
    ASSERT_NE(first, nullptr);
    // The data set keeps the universal-file description with its index.
    EXPECT_NE(dynamic_cast<CUFExpInfo*>(first->GetExpInfo()), nullptr);
    EXPECT_EQ(CExtUFDaqProject::GetUFFileName(*first), "run1.unv");
    // The same file name in another folder is the same file for the experiment.
    EXPECT_EQ(p.uf->AddUFExperiment(p.Info("/other/run1.unv")), nullptr);
    CDAQExperiment* second = p.uf->AddUFExperiment(p.Info("/data/run2.unv"));
    ASSERT_NE(second, nullptr);
    auto* exp = ElementCast<CTALVOExp>(second->GetParent());
    ASSERT_NE(exp, nullptr);
    EXPECT_EQ(p.uf->FindUFExperiment(exp, "run2.unv"), second);
    EXPECT_EQ(p.uf->FindUFExperiment(exp, "run3.unv"), nullptr);

    CUFExpInfo unknown = p.Info("/data/x.unv");
    unknown.SetName(0, "No such subsystem");
    EXPECT_EQ(p.uf->AddUFExperiment(unknown), nullptr);

    p.uf->RemoveExperimentsOfMissingFiles(exp, 0, {"/new/run1.unv", "/new/run2.unv"});
    EXPECT_EQ(exp->GetChildCount(), 2);
    p.uf->RemoveExperimentsOfMissingFiles(exp, 0, {"/new/run2.unv"});
    ASSERT_EQ(exp->GetChildCount(), 1);
    EXPECT_EQ(exp->GetChild(0), second);

    // Stored and loaded with the project, plans and node map.
    p.uf->GetNodeMap().SetAt(CUFNode(3, p.a, 0));
    p.uf->GetExpPlans().AddPlan(4, "Front")->SetSensor(1, "A1");
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        p.container.Serialize(ar);
    }
    CTALVOProject loaded;
    {
        CArchive ar(bytes.data(), bytes.size());
        loaded.Serialize(ar);
    }
    auto* back = DynamicDowncast<CExtUFDaqProject>(loaded.GetProject(1));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetChildCount(), 1);
    auto* backSet = ElementCast<CDAQExperiment>(back->GetChild(0)->GetChild(0));
    ASSERT_NE(backSet, nullptr);
    EXPECT_EQ(CExtUFDaqProject::GetUFFileName(*backSet), "run2.unv");
    EXPECT_NE(dynamic_cast<CUFExpInfo*>(backSet->GetExpInfo()), nullptr);
    EXPECT_EQ(back->GetExpPlans().GetPlanByName("Front")->GetChannelCount(), 4);
    EXPECT_EQ(back->GetNodeMap().GetCount(), 1);

    p.uf->RemoveAllChildren();
    EXPECT_EQ(p.uf->GetChildCount(), 0);
}

TEST(ExtUFDaqProject, AVersion1ProjectTakesTheDefaults)
{
    // A project as version 1 stored it: no channel limit, reversed-sensor mode, check box or plans.
    CExtUFDaqProject current;
    current.SetPlanMaxChannel(64);
    current.SetOctaveCheck(0);
    current.GetExpPlans().AddPlan(2, "");
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        current.CDaqProject::Serialize(ar);
        ar << uint8_t{1} << int32_t{7} << 2.5 << 0.5 << int32_t{3};
        ar.WriteCount(1);
        ar << std::string("/data/a.unv");
        current.GetNodeMap().Serialize(ar);
    }
    CExtUFDaqProject old;
    old.SetPlanMaxChannel(1);
    CArchive ar(bytes.data(), bytes.size());
    old.Serialize(ar);
    EXPECT_EQ(old.GetPlanMaxChannel(), 1); // left as it was: nothing was stored
    CExtUFDaqProject fresh;
    {
        CArchive again(bytes.data(), bytes.size());
        fresh.Serialize(again);
    }
    EXPECT_EQ(fresh.GetPlanMaxChannel(), 128);
    EXPECT_EQ(fresh.GetOctaveCheck(), 1);
    EXPECT_EQ(fresh.GetRevSensMode(), 0);
    EXPECT_EQ(fresh.GetExpPlans().GetPlanCount(), 0);
    EXPECT_EQ(fresh.GetBandValue(), 0.5);
    EXPECT_EQ(fresh.GetListSelection(), 3);
    EXPECT_EQ(fresh.GetSourceFiles(), std::vector<std::string>{"/data/a.unv"});
}

TEST(ExtUFDaqProject, LineAndOrderBands)
{
    UFProject p;
    const COctaveManagerEx* model = p.container.GetOctaveManager();
    ASSERT_NE(model, nullptr);
    const double low = model->GetLowerFreq(0);
    const double high = model->GetUpperFreq(model->GetFreqCount() - 1);
    // Lines every 10 Hz from 0 Hz: 0 Hz has a negative lower edge; lines outside the model go.
    COctaveManagerEx* lines = p.uf->MakeLineBands(0.0, 10.0, 2000);
    ASSERT_GT(lines->GetFreqCount(), 0);
    EXPECT_EQ(lines->GetBandType(), OCTAVE_BAND_USER);
    EXPECT_GE(lines->GetFreq(0), low);
    EXPECT_LT(lines->GetFreq(0) - 10.0, low);
    EXPECT_LE(lines->GetFreq(lines->GetFreqCount() - 1), high);
    EXPECT_EQ(lines->GetUpperFreq(0) - lines->GetLowerFreq(0), 10.0);
    EXPECT_EQ(p.uf->GetOctaveManager(), lines);

    p.uf->GetCalcOptions()->SetOrderBandWidth(10.0f);
    COctaveManagerEx* orders = p.uf->MakeOrderBands(2.0, {3000.0, 150.0, 0.0});
    ASSERT_EQ(orders->GetFreqCount(), 1); // 5 Hz and 0 Hz reach below 0 Hz
    EXPECT_EQ(orders->GetFreq(0), 100.0);
    EXPECT_EQ(orders->GetLowerFreq(0), 95.0);
    EXPECT_EQ(orders->GetUpperFreq(0), 105.0);

    COctaveManagerEx* reset = p.uf->ResetBands();
    EXPECT_EQ(reset->GetBandType(), model->GetBandType());
}

TEST(ExtUFDaqProject, ChannelTableCells)
{
    UFProject p;
    CSensorAssignment* assignment = p.container.GetSensorAssignment();
    ASSERT_NE(assignment, nullptr);
    const int row = assignment->FindRow(p.a);
    ASSERT_GE(row, 0);
    assignment->SetItemCount(row, 2);
    assignment->SetItem(row, 0, "S1");
    assignment->SetItem(row, 1, "S2");
    p.uf->GetNodeMap().SetAt(CUFNode(17, p.a, 1));
    CDAQPPExpPlanList& plans = p.uf->GetExpPlans();
    plans.GetColumns() = CDAQPPExpPlanList::ParseColumns("");
    tagDAQPP_SENSORMAP used{2, "S2", p.a, "", "", -1};
    const std::vector<std::string> cells = plans.GetCellTexts(used, p.uf->MakeCellContext());
    ASSERT_EQ(cells.size(), 13u);
    const bool structure = p.container.IsStructure(p.a) != 0;
    EXPECT_EQ(cells[0], "3");
    EXPECT_EQ(cells[1], "17");
    EXPECT_EQ(cells[2], "S2");
    EXPECT_EQ(cells[3], structure ? "Vibration" : "Acoustic");
    EXPECT_EQ(cells[4].substr(cells[4].size() - 3), ":02");
    EXPECT_EQ(cells[5], "");
    EXPECT_EQ(cells[6], "ICP");
    EXPECT_EQ(cells[8], "mV");
    EXPECT_EQ(cells[9], "0"); // no such sensor in the sensor project
    EXPECT_EQ(cells[11], p.a);
    EXPECT_EQ(cells[12], "02");
    p.uf->SetRevSensMode(1, 0);
    EXPECT_EQ(plans.GetCellTexts(used, p.uf->MakeCellContext())[10], structure ? "(m/s2)/mV" : "Pa/mV");
    EXPECT_EQ(plans.GetCellTexts(used, p.uf->MakeCellContext())[9], "0");
    tagDAQPP_SENSORMAP half{0, "S1", "", "", "", -1};
    const std::vector<std::string> only = plans.GetCellTexts(half, p.uf->MakeCellContext());
    EXPECT_EQ(only[0], "1");
    for (size_t i = 1; i < only.size(); ++i)
        EXPECT_EQ(only[i], "");
}
