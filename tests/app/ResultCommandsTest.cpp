// The result commands without windows on the sample project: when the comparisons, the input-power
// export, the input-power dialog and the SPL by single input powers apply, the result selection's
// answer, and the order report of the SPL by single input powers with its progress.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ProjectTestEnv.h"
#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/ResultCommands.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/ResultCompTable.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/base/Feedback.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTMultiVecFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmResultData.h"

namespace {
namespace fs = std::filesystem;
using R = CResultCommands;
using C = CCalcCommands;
const char* const kTarget = "Front Cabin-R";
const char* const kFloor = "Floor";

CZuSubsystemTable Table(std::initializer_list<const char*> names)
{
    CZuSubsystemTable t;
    for (const char* n : names)
        t.Add(n);
    return t;
}

void SetOption(uint32_t stringId, uint32_t value)
{
    CZuRegOptions reg(GetOptionsKeyPath().c_str());
    ASSERT_TRUE(reg.Open());
    ASSERT_TRUE(reg.SetDWORD(LoadString(stringId).c_str(), value));
}

std::vector<std::string> Lines(const fs::path& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, '\t');)
        cells.push_back(cell);
    return cells;
}

// The whole work's range: the calculations it runs show theirs inside it.
struct RecordingProgress : CFeedback
{
    void OnBegin(int level) override
    {
        if (level != 0)
            return;
        ++begun;
        text = Ranges()[level].text;
        total = static_cast<int>(Ranges()[level].total);
    }
    void OnProgress(int level) override
    {
        const int done = static_cast<int>(Ranges()[level].done);
        if (level == 0 && (steps.empty() || steps.back() != done))
            steps.push_back(done);
    }
    void OnEnd() override { ++ended; }
    void OnReport(const SReport& report) override { reports.push_back(report); }
    int begun = 0, ended = 0, total = -1;
    std::string text;
    std::vector<int> steps;
    std::vector<SReport> reports;
};

struct ResultCommandsTest : ::testing::Test
{
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sample::Build(doc, fs::path(ORVEX_SOURCE_DIR) / "samples", (dir / "Cmd.orv").string(), &error))
            << error;
        model = doc.GetTALVOProject().GetModelProject();
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
            nullptr);
        rpmProject = DynamicDowncast<CAnalysisProject>(doc.GetTALVOProject().GetProject(2));
        ASSERT_NE(rpmProject, nullptr);
        rpmProject->GetRPMOptions().SetRange(1000.0f, 1200.0f, 100.0f);
        SetOption(6182, 1);
        SetOption(6183, 1);
    }
    void TearDown() override { doc.OnCloseDocument(); }

    void AddRpmPowers(std::initializer_list<std::pair<const char*, double>> powers)
    {
        const std::vector<double> f = rpmProject->GetOctaveManager()->GetFreqArray();
        const std::vector<double> rpms = {1000.0, 1100.0, 1200.0};
        CMElementList list;
        for (auto [name, scale] : powers) {
            auto map = CZuRpmFunc::NewRpmFunc(std::string("IP ") + name, 3, nullptr, name, f.data(),
                                              static_cast<int>(f.size()), rpms.data(), 3);
            for (int r = 0; r < 3; ++r)
                for (int b = 0; b < map->GetFreqCount(); ++b)
                    map->DataValue(r, b) = scale * (1.0 + 0.1 * b) * (1.0 + r);
            list.Add(map.release());
        }
        AddPowers(rpmProject, list);
    }

    static void AddPowers(CAnalysisProject* project, CMElementList& list)
    {
        CInputPowerFolder* folder = project->GetInputPowerFolder();
        if (!folder)
            folder = project->AddChild(std::make_unique<CInputPowerFolder>(project));
        folder->AddItems(list);
    }

    // An analysis by order over 3000, 4500 and 6000 RPM with orders 2 and 4 and input powers of
    // the roof and the floor.
    CAnalysisProject* OrderProjectWithPowers()
    {
        CRPMOptions rpm;
        rpm.SetRange(3000.0f, 6000.0f, 1500.0f);
        COrderList orders;
        orders.Add(2.0);
        orders.Add(4.0);
        CAnalysisProject* ot =
            doc.AddOrderAnalysisProject(doc.GetTALVOProject().GetDaqProject(0), &rpm, &orders, 50.0f);
        if (!ot)
            return nullptr;
        const std::vector<double> f = ot->GetOctaveManager()->GetFreqArray();
        const std::vector<double> rpms = {3000.0, 4500.0, 6000.0};
        CMElementList list;
        for (auto [name, scale] : {std::pair{"Roof", 1e-3}, std::pair{kFloor, 3e-3}}) {
            auto map = CZuOTFunc::BuildOTFunc(std::string("IP ") + name, 3, nullptr, name, f.data(),
                                              static_cast<int>(f.size()), rpms.data(), 3, {2.0, 4.0}, 1.0f);
            map->SetLabel(name);
            for (int o = 0; o < 2; ++o)
                for (int r = 0; r < 3; ++r)
                    for (int b = 0; b < static_cast<int>(f.size()); ++b)
                        map->GetOrderFunc(o)->DataValue(r, b) = scale * (1 + o + r);
            list.Add(map.release());
        }
        AddPowers(ot, list);
        return ot;
    }

    CScriptedPrompts prompts;
    CRecordingMessageTarget window;
    CMainWindowTargetScope scope{&window};
    fs::path dir = AppTestTempDir() / "resultcommands";
    CTALVODoc doc;
    CModelProject* model = nullptr;
    CAnalysisProject* rpmProject = nullptr;
};
} // namespace

TEST_F(ResultCommandsTest, EachCommandAppliesOnlyWhereItsWorkCanBeDone)
{
    AddRpmPowers({{"Roof", 1e-3}, {kFloor, 4e-3}});
    auto* set = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(Table({"Roof", kFloor}), 0));
    ASSERT_NE(set, nullptr);
    CMElement* spl = rpmProject->AddResult(set, rpmProject->CalcSPL(set, kTarget));
    ASSERT_NE(spl, nullptr);
    CMElement* level = rpmProject->AddResult(set, rpmProject->CalcVibrationLevel(set, "Roof"));
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->GetType(), 53);
    CRPMOptions rpm;
    rpm.SetRange(3000.0f, 6000.0f, 1500.0f);
    CAnalysisProject* bare = doc.AddOrderAnalysisProject(doc.GetTALVOProject().GetDaqProject(0), &rpm, nullptr, 50.0f);
    ASSERT_NE(bare, nullptr);
    bare->SetDaqProjectID(-1); // no measurement to compare with, no input data
    ASSERT_EQ(bare->GetDaqProject(), nullptr);

    struct Case
    {
        bool (*rule)(const CMElement* project, const CMElement* first);
        const CMElement* project;
        const CMElement* first;
        bool enabled;
        const char* why;
    };
    const Case cases[] = {
        {R::CanCompareWithResult, rpmProject, spl, true, "SPL"},
        {R::CanCompareWithResult, rpmProject, level, true, "vibration level"},
        {R::CanCompareWithResult, bare, spl, true, "no measurement needed"},
        {R::CanCompareWithResult, rpmProject, set, false, "an energy result set"},
        {R::CanCompareWithResult, rpmProject, nullptr, false, "nothing selected"},
        {R::CanCompareWithResult, model, spl, false, "the model project"},
        {R::CanCompareWithMeasured, rpmProject, spl, true, "SPL with a DAQ project"},
        {R::CanCompareWithMeasured, rpmProject, level, true, "vibration level with a DAQ project"},
        {R::CanCompareWithMeasured, bare, spl, false, "no DAQ project"},
        {R::CanCompareWithMeasured, rpmProject, set, false, "an energy result set"},
        {R::CanCompareWithMeasured, nullptr, spl, false, "no project"},
        {R::CanExportInputPower, rpmProject, nullptr, true, "input powers"},
        {R::CanExportInputPower, bare, nullptr, false, "no input data"},
        {R::CanExportInputPower, model, nullptr, false, "the model project"},
        {R::CanOpenInputPowerData, model, nullptr, true, "the model project solves"},
        {R::CanOpenInputPowerData, rpmProject, nullptr, false, "an analysis project cannot solve"},
        {R::CanOpenInputPowerData, nullptr, nullptr, false, "no project"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.rule(c.project, c.first), c.enabled) << c.why;
}

TEST_F(ResultCommandsTest, SplBySingleInputsIsOfferedWithItsOptionAndInputPowers)
{
    AddRpmPowers({{"Roof", 1e-3}});
    CAnalysisProject* ot = OrderProjectWithPowers();
    ASSERT_NE(ot, nullptr);
    CRPMOptions rpm;
    rpm.SetRange(3000.0f, 6000.0f, 1500.0f);
    CAnalysisProject* bare = doc.AddOrderAnalysisProject(doc.GetTALVOProject().GetDaqProject(0), &rpm, nullptr, 50.0f);
    ASSERT_NE(bare, nullptr);
    const C::SubsystemSelection& single = C::kSplBySingleIPSelection;
    const C::SubsystemSelection& comp = C::kSplBySingleIPCompSelection;
    struct Case
    {
        const C::SubsystemSelection* command;
        uint32_t option;
        const CAnalysisProject* project;
        bool enabled;
        const char* why;
    };
    const Case cases[] = {
        {&single, 1, ot, true, "by order with input powers"},
        {&comp, 1, ot, true, "by order with input powers"},
        {&single, 0, ot, false, "option off"},
        {&comp, 0, ot, false, "option off"},
        {&single, 1, rpmProject, true, "by RPM: shown in the comparison windows"},
        {&comp, 1, rpmProject, true, "by RPM: shown in the comparison windows"},
        {&single, 1, bare, false, "no input powers"},
        {&single, 1, nullptr, false, "no analysis project"},
    };
    for (const Case& c : cases) {
        SetOption(c.command == &single ? 6182 : 6183, c.option);
        EXPECT_EQ(c.command->applies(c.project), c.enabled) << (c.command == &single) << ": " << c.why;
    }
    CZuSubsystemTable offered;
    EXPECT_EQ(single.offer(*ot, offered), 2);
    EXPECT_EQ(single.notifyMessage, WM_ZU_SPL_BY_SINGLE_IP);
    EXPECT_EQ(comp.notifyMessage, WM_ZU_SPL_BY_SINGLE_IP_COMP);
    EXPECT_EQ(single.captionId, 6198u);
}

TEST_F(ResultCommandsTest, TheResultSelectionsAnswerComparesOnTheFirstResultsProject)
{
    AddRpmPowers({{"Roof", 1e-3}, {kFloor, 4e-3}});
    auto* both = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(Table({"Roof", kFloor}), 0));
    auto* roof = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(Table({"Roof"}), 0));
    ASSERT_TRUE(both && roof);
    CMElement* spl = rpmProject->AddResult(both, rpmProject->CalcSPL(both, kTarget));
    ASSERT_NE(spl, nullptr);
    std::vector<CAnalysisProject*> open = {rpmProject};
    EXPECT_EQ(R::FindAnalysisProject(open, spl), rpmProject);
    EXPECT_EQ(R::FindAnalysisProject(open, model), nullptr);
    EXPECT_EQ(R::FindAnalysisProject({}, spl), nullptr);

    EXPECT_EQ(R::OnResultSelected(open, spl, nullptr), nullptr);
    EXPECT_EQ(R::OnResultSelected(open, both, roof), nullptr) << "a result set is no response function";
    EXPECT_EQ(R::OnResultSelected({}, spl, roof), nullptr) << "the result's project has been closed";
    CZuRpmMultiVecFunc* table = R::OnResultSelected(open, spl, roof);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetType(), ElementType::SplResultComparison);
    EXPECT_EQ(table->GetParent(), both);

    // A second result deleted while the selection was open is not read: nothing is built.
    CMElement* gone = roof;
    ASSERT_TRUE(roof->GetParent()->DeleteChild(roof, 1));
    const int children = both->GetChildCount();
    EXPECT_EQ(R::OnResultSelected(open, spl, gone), nullptr);
    EXPECT_EQ(both->GetChildCount(), children);
}

TEST_F(ResultCommandsTest, OrderReportHoldsEachInputsSplAndTheirSumPerOrder)
{
    CAnalysisProject* ot = OrderProjectWithPowers();
    ASSERT_NE(ot, nullptr);
    RecordingProgress building;
    CZuRpmSelFunc* spl = ot->BuildSPLByInputPowers2(kTarget, Table({"Roof", kFloor}), 0, &building);
    ASSERT_NE(spl, nullptr);
    EXPECT_EQ(building.begun, 1);
    EXPECT_EQ(building.ended, 1);
    EXPECT_EQ(building.total, 2);
    EXPECT_EQ(building.steps, (std::vector<int>{0, 1}));

    const fs::path path = dir / "report.txt";
    RecordingProgress writing;
    ASSERT_EQ(R::WriteSPLReport(spl, R::GetReportType(WM_ZU_SPL_BY_SINGLE_IP), path.string(), &writing), 1);
    EXPECT_EQ(writing.total, 2);
    EXPECT_EQ(writing.steps, (std::vector<int>{0, 1}));
    EXPECT_EQ(writing.ended, 1);

    auto* byOrder = dynamic_cast<CZuOTMultiVecFunc*>(spl);
    ASSERT_NE(byOrder, nullptr);
    const std::vector<std::string> lines = Lines(path);
    // The heading, then per order a title line, three RPM rows and a blank line.
    ASSERT_EQ(lines.size(), 1u + 2u * 5u);
    EXPECT_EQ(lines[0], "##### LINE [dB] #####");
    for (int o = 0; o < 2; ++o) {
        const size_t at = 1 + 5 * static_cast<size_t>(o);
        EXPECT_EQ(lines[at], "TYPE:1, ORDER:" + std::to_string(o) + "\tRoof\tFloor\t" + LoadString(IDS_TOTAL));
        const char* rpms[] = {"3000", "4500", "6000"};
        for (int r = 0; r < 3; ++r) {
            const std::vector<std::string> cells = Split(lines[at + 1 + static_cast<size_t>(r)]);
            ASSERT_EQ(cells.size(), 4u) << lines[at + 1 + static_cast<size_t>(r)];
            EXPECT_EQ(cells[0], rpms[r]);
            // Each input's SPL in the band of the order frequency, and their energetic sum.
            auto* perOrder = dynamic_cast<CZuRpmMultiVecFunc*>(byOrder->GetOrderEntry(o));
            ASSERT_NE(perOrder, nullptr);
            const int band = GetOrderBandIndexInt(perOrder->GetRpm(r), byOrder->GetOrder(o), ot->GetDaqConfigValue(),
                                                  ot->GetOctaveManager());
            ASSERT_GE(band, 0);
            const double roof = perOrder->GetVecFunc(r)->DataValue(band, 0);
            const double floor = perOrder->GetVecFunc(r)->DataValue(band, 1);
            ASSERT_TRUE(std::isfinite(roof) && std::isfinite(floor));
            EXPECT_NEAR(std::stod(cells[1]), roof, 0.005);
            EXPECT_NEAR(std::stod(cells[2]), floor, 0.005);
            EXPECT_NEAR(std::stod(cells[3]),
                        10.0 * std::log10(std::pow(10.0, roof / 10.0) + std::pow(10.0, floor / 10.0)), 0.005);
        }
        EXPECT_EQ(lines[at + 4], "");
    }

    // Structures and cavities: both inputs are structures, so the cavities' row stays 0.
    ASSERT_EQ(R::WriteSPLReport(spl, R::GetReportType(WM_ZU_SPL_BY_SINGLE_IP_COMP), path.string()), 1);
    const std::vector<std::string> summed = Lines(path);
    ASSERT_GE(summed.size(), 3u);
    EXPECT_EQ(summed[1], "TYPE:2, ORDER:0\tST\tAC\t" + LoadString(IDS_TOTAL));
    const std::vector<std::string> row = Split(summed[2]);
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(row[1], row[3]);
    EXPECT_EQ(row[2], "0.00");

    // Only a table by order makes a report; another message has no report form.
    EXPECT_EQ(R::GetReportType(WM_ZU_CALC_INPUT_ENERGY), 0);
    EXPECT_EQ(R::WriteSPLReport(nullptr, 1, path.string()), 0);
    EXPECT_EQ(R::WriteSPLReport(spl, 1, ""), 0);
}

TEST_F(ResultCommandsTest, AReportThatCannotBeWrittenLeavesTheEarlierFile)
{
    CAnalysisProject* ot = OrderProjectWithPowers();
    ASSERT_NE(ot, nullptr);
    CZuRpmSelFunc* spl = ot->BuildSPLByInputPowers2(kTarget, Table({"Roof", kFloor}), 0);
    ASSERT_NE(spl, nullptr);
    // A folder in place of the file: the report cannot replace it.
    const fs::path folder = dir / "blocked";
    const fs::path blocked = folder / "report.txt";
    fs::create_directories(blocked);
    RecordingProgress progress;
    EXPECT_EQ(R::WriteSPLReport(spl, 1, blocked.string(), &progress), 0);
    EXPECT_TRUE(fs::is_directory(blocked));
    // The failure is reported as an error through the writer's feedback (the window's shows the box).
    ASSERT_EQ(progress.reports.size(), 1u);
    EXPECT_EQ(progress.reports[0].severity, CFeedback::ESeverity::Error);
    EXPECT_EQ(progress.reports[0].text, "Faile to open file.");
    EXPECT_EQ(progress.begun, progress.ended);
    // No temporary file is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, 1);
}
