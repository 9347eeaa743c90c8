// The result viewers on the sample project: the power-contribution viewer, the SPL comparisons by
// single input power and the target energy comparison, driven as a user would.
#include "GrabCheck.h"
#include "SampleProject.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/InputPowerFolder.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAPowerContribution.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/MSFlexGrid.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/Clipboard.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "calculation/InputEnergyFolder.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"
#include "views/ui/DlgCavPcView.h"
#include "views/ui/DlgCompSplBySingleIP.h"
#include "views/ui/DlgCompStAcSplBySingleIP.h"
#include "views/ui/DlgDaqERComp.h"
#include "views/ui/DlgSelectSPLsSrc.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/ResultViewerCommands.h"
#include "views/ui/StackedChart.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
const char* const kTarget = "Front Cabin-R";

void SetOption(uint32_t stringId, uint32_t value)
{
    CZuRegOptions reg(GetOptionsKeyPath().c_str());
    ASSERT_TRUE(reg.Open());
    ASSERT_TRUE(reg.SetDWORD(LoadString(stringId).c_str(), value));
}

void Settle()
{
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The sample project with its hybrid model, built once per test: the input power of the excited
// roof from the measured run-up and the energy result of it.
struct SampleFixture : ::testing::Test
{
    void SetUp() override
    {
        prompts.responder = [](const PromptRecord&) { return PromptAnswer{}; };
        std::string error;
        ASSERT_TRUE(sample::Build(doc, fs::path(ORVEX_SOURCE_DIR) / "samples", file.string(), &error)) << error;
        CModelProject* model = doc.GetTALVOProject().GetModelProject();
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
            nullptr);
        project = DynamicDowncast<CAnalysisProject>(doc.GetTALVOProject().GetProject(2));
        ASSERT_NE(project, nullptr);
        project->GetRPMOptions().SetRange(1000.0f, 1200.0f, 100.0f);
    }
    void TearDown() override
    {
        Settle();
        doc.OnCloseDocument();
    }

    CZuRpmResultData* RoofResult()
    {
        CZuSubsystemTable roof;
        roof.Add(sample::kExcited);
        EXPECT_EQ(project->CalcInputPowerChain(roof, 0, 0), 1);
        return DynamicDowncast<CZuRpmResultData>(project->CalcEnergyResult(roof, 1));
    }

    // Input powers over RPM (W per band growing with band and RPM) for chosen subsystems.
    void AddPowers(std::initializer_list<std::pair<const char*, double>> powers)
    {
        const std::vector<double> f = project->GetOctaveManager()->GetFreqArray();
        const std::vector<double> rpms{1000.0, 1100.0, 1200.0};
        CMElementList list;
        for (auto [name, scale] : powers) {
            auto map = CZuRpmFunc::NewRpmFunc(std::string("IP ") + name, 3, nullptr, name, f.data(),
                                              static_cast<int>(f.size()), rpms.data(), static_cast<int>(rpms.size()));
            for (int r = 0; r < map->GetRpmCount(); ++r)
                for (int b = 0; b < map->GetFreqCount(); ++b)
                    map->DataValue(r, b) = scale * (1.0 + 0.1 * b) * rpms[static_cast<size_t>(r)] / 1000.0;
            list.Add(map.release());
        }
        CInputPowerFolder* folder = project->GetInputPowerFolder();
        if (!folder)
            folder = project->AddChild(std::make_unique<CInputPowerFolder>(project));
        folder->AddItems(list);
    }

    CScriptedPrompts prompts;
    CRecordingMessageTarget window;
    CMainWindowTargetScope scope{&window};
    fs::path file =
        fs::path(::testing::TempDir()) / "orvex_views_ui" / ("viewers-" + std::to_string(::getpid())) / "viewers.orv";
    CTALVODoc doc;
    CAnalysisProject* project = nullptr;
};
} // namespace

TEST_F(SampleFixture, PowerContributionByOrderWritesTheOrderReport)
{
    // The roof's measured energies read at each order's band: an order analysis solved from them.
    CZuSubsystemTable roof;
    roof.Add(sample::kExcited);
    ASSERT_EQ(project->CalcInputEnergy(roof, 0), 1);
    auto* measured = DynamicDowncast<CZuRpmFunc>(project->GetInputEnergyFolder()->FindRpmItem(sample::kExcited));
    ASSERT_NE(measured, nullptr);
    COrderList orders;
    for (double o : sample::kOrders)
        orders.Add(o);
    CAnalysisProject* byOrder =
        doc.AddOrderAnalysisProject(doc.GetTALVOProject().GetDaqProject(0), &project->GetRPMOptions(), &orders, 50.0f);
    ASSERT_NE(byOrder, nullptr);
    ASSERT_EQ(byOrder->AddInputEnergyData(roof), 1);
    auto* energies = DynamicDowncast<COTMultiVecFunc>(byOrder->GetInputEnergyFolder()->FindRpmItem(sample::kExcited));
    ASSERT_NE(energies, nullptr);
    for (int r = 0; r < energies->GetDataCount(); ++r)
        for (int o = 0; o < orders.GetSize(); ++o) {
            const int b = GetOrderBandIndexInt(energies->DataIndex(r), orders[o], byOrder->GetDaqConfigValue(),
                                               byOrder->GetOctaveManager());
            energies->DataValue(r, o) = b >= 0 ? measured->DataValue(r, b) : 0.0;
        }
    ASSERT_EQ(byOrder->CalcInputPower(&roof, 0, 0), 1);
    auto* set = DynamicDowncast<CZuOTResultData>(byOrder->CalcEnergyResult(roof, 1));
    ASSERT_NE(set, nullptr);
    CZuOTPcFunc* pc = byOrder->AddResult(set, byOrder->CalcPowerContributionOT(set, kTarget));
    ASSERT_NE(pc, nullptr);

    // Enabled for a cavity's map by order only; the viewer's rule still holds by RPM.
    using R = CResultViewerCommands;
    EXPECT_TRUE(R::CanViewPowerContribution(byOrder, pc));
    EXPECT_FALSE(R::CanViewPowerContribution(byOrder, set));
    EXPECT_FALSE(R::CanViewPowerContribution(project, pc)) << "a map by order in a project by RPM";
    CZuOTPcFunc* structure = byOrder->AddResult(set, byOrder->CalcPowerContributionOT(set, "Floor"));
    ASSERT_NE(structure, nullptr);
    EXPECT_FALSE(R::CanViewPowerContribution(byOrder, structure)) << "a structure is no cavity";

    // Cancelled chooser: nothing written.
    const fs::path report = file.parent_path() / "contributions.txt";
    // The folder is named after the process id, which an earlier run may have had.
    fs::remove(report);
    prompts.responder = [](const PromptRecord&) { return PromptAnswer{IDCANCEL, {}, 0}; };
    EXPECT_FALSE(R::ViewPowerContribution(byOrder, pc, nullptr));
    EXPECT_FALSE(fs::exists(report));

    prompts.responder = [&](const PromptRecord& r) {
        return r.kind == PromptKind::SaveFile ? PromptAnswer{IDOK, {report.string()}, 1} : PromptAnswer{};
    };
    ASSERT_TRUE(R::ViewPowerContribution(byOrder, pc, nullptr));
    EXPECT_EQ(prompts.Last().kind, PromptKind::SaveFile);
    EXPECT_EQ(prompts.Last().file.filter, "Text Files(*.txt)|*.txt|All Files(*.*)|*.*||");
    EXPECT_EQ(prompts.Last().file.defaultExt, "txt");
    std::ifstream in(report);
    std::stringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    // The three sections in order, each with a block per order; a block has one line per RPM row.
    const size_t areaDb = content.find("##### AREA [dB] #####\n");
    const size_t areaPercent = content.find("##### AREA [%] #####\n");
    const size_t line = content.find("##### LINE [dB] #####\n");
    ASSERT_EQ(areaDb, 0u) << content.substr(0, 200);
    ASSERT_NE(areaPercent, std::string::npos);
    ASSERT_NE(line, std::string::npos);
    EXPECT_LT(areaPercent, line);
    for (const char* block : {"TYPE:1, ORDER:0", "TYPE:1, ORDER:1", "TYPE:2, ORDER:0", "TYPE:3, ORDER:1"})
        EXPECT_NE(content.find(block), std::string::npos) << block;
    std::istringstream lines(content.substr(content.find("TYPE:2, ORDER:0")));
    std::string header, row;
    std::getline(lines, header);
    int rows = 0;
    while (std::getline(lines, row) && !row.empty()) {
        // Each row: the RPM and one rate per contributor named in the header.
        std::istringstream cells(row);
        double rpm = 0.0, rate = 0.0;
        cells >> rpm;
        EXPECT_NEAR(rpm, pc->GetOrderFunc(0)->GetRpm(rows), 0.01);
        size_t count = 0;
        for (; cells >> rate; ++count) {
            EXPECT_GE(rate, 0.0);
        }
        EXPECT_EQ(count, static_cast<size_t>(std::count(header.begin(), header.end(), '\t')));
        ++rows;
    }
    EXPECT_EQ(rows, pc->GetOrderFunc(0)->GetRpmCount());

    // A report that cannot be written says so and leaves nothing behind.
    const fs::path bad = file.parent_path() / "missing-folder" / "contributions.txt";
    prompts.responder = [&](const PromptRecord& r) {
        return r.kind == PromptKind::SaveFile ? PromptAnswer{IDOK, {bad.string()}, 1} : PromptAnswer{};
    };
    EXPECT_FALSE(R::ViewPowerContribution(byOrder, pc, nullptr));
    EXPECT_EQ(prompts.Last().text, "Faile to open file.");
    EXPECT_FALSE(fs::exists(bad));
}

TEST_F(SampleFixture, PowerContributionViewerSharesRatesTicksAndLifetime)
{
    SetOption(6180, 1);
    CZuRpmResultData* set = RoofResult();
    ASSERT_NE(set, nullptr);
    CZuRpmPcFunc* pc = project->AddResult(set, project->CalcPowerContribution(set, kTarget, 0.0));
    ASSERT_NE(pc, nullptr);
    EXPECT_TRUE(CResultViewerCommands::CanViewPowerContribution(project, pc));
    EXPECT_FALSE(CResultViewerCommands::CanViewPowerContribution(project, set));

    CDlgCavPcView* viewer = CDlgCavPcView::ShowInstance(pc, nullptr);
    ASSERT_NE(viewer, nullptr);
    // Opened again: the same viewer, and no second one can be made for the function.
    EXPECT_EQ(CDlgCavPcView::ShowInstance(pc, nullptr), viewer);
    EXPECT_EQ(CDlgCavPcView::CreateInstance(pc, nullptr), nullptr);

    // Rates of the inflows add up to 100 % in every band whose inflow outweighs the outflow.
    viewer->SetView(1);
    const CCavPcViewData& data = viewer->Data();
    ASSERT_GT(data.GetContributorCount(), 0);
    const auto* table = data.GetTable(0);
    int checked = 0;
    for (int b = 0; b < data.GetPointCount(); ++b) {
        if (!(table->GetInflowTotal(b) > 0.0) || table->GetInflowTotal(b) < table->GetOutflowTotal(b))
            continue;
        double sum = 0.0;
        for (int c = 0; c < data.GetContributorCount(); ++c)
            if (data.GetCell(c, b) > 1e-9)
                sum += data.GetCell(c, b);
        EXPECT_NEAR(sum, 100.0, 1e-6) << b;
        ++checked;
    }
    EXPECT_GT(checked, 3);
    // Level shares stack to the target's SPL in those bands.
    viewer->SetView(0);
    for (int b = 0; b < data.GetPointCount(); ++b) {
        if (!(table->GetInflowTotal(b) > 0.0) || table->GetInflowTotal(b) < table->GetOutflowTotal(b) ||
            data.GetTotal()[b] <= 0.0)
            continue;
        double sum = 0.0;
        for (int c = 0; c < data.GetContributorCount(); ++c)
            if (data.GetCell(c, b) > 1e-9)
                sum += data.GetCell(c, b);
        EXPECT_NEAR(sum, data.GetTotal()[b], 1e-6) << b;
    }
    GrabAndCheck(*viewer, "power-contribution-share", QSize(820, 600));
    // Bands are labelled by their nominal centre frequencies, as the grids label them.
    const auto ticker = viewer->StackedChart()->xAxis->ticker().dynamicCast<QCPAxisTickerText>();
    ASSERT_TRUE(ticker);
    QStringList labels;
    for (const QString& label : ticker->ticks())
        labels << label;
    EXPECT_TRUE(labels.contains("160")) << labels.join(' ').toStdString();
    EXPECT_FALSE(labels.join(' ').contains('.')) << labels.join(' ').toStdString();

    // Cumulative charts: after the bands come the running sums over contributors 0..c as curves
    // n + c, the one at the group end marked.
    SetOption(6179, 1);
    viewer->SetView(1);
    viewer->SetView(0);
    {
        const int n = data.GetContributorCount();
        CStackedChart* chart = viewer->StackedChart();
        ASSERT_EQ(chart->graphCount(), 2 * n);
        const auto sums = CCavPcViewData::RunningSums(data.GetCells());
        for (int c = 0; c < n; ++c) {
            const QCPGraph* line = chart->graph(n + c);
            EXPECT_EQ(line->brush().style(), Qt::NoBrush);
            for (int k = 0; k < data.GetPointCount(); ++k)
                EXPECT_DOUBLE_EQ(line->data()->at(k)->value, sums[static_cast<size_t>(c)][static_cast<size_t>(k)]);
        }
        const int g = data.GetGroupEnd();
        if (g < n) {
            EXPECT_GT(chart->graph(n + g)->pen().widthF(), chart->graph(n + (g == 0 ? n - 1 : 0))->pen().widthF());
        }
        GrabAndCheck(*viewer, "power-contribution-cumulative", QSize(820, 600));
    }
    SetOption(6179, 0);
    viewer->SetView(1);
    viewer->SetView(0);
    EXPECT_EQ(viewer->StackedChart()->graphCount(), data.GetContributorCount());

    // The read-out names the contributor under the mouse.
    const QString tip = viewer->ReadOut(0.5, 1e-12);
    EXPECT_TRUE(tip.isEmpty() || tip.contains('['));

    // View 2: one curve per contributor and the three sums; unticking a contributor in the source
    // list takes it out of the selected sum at once.
    ASSERT_TRUE(viewer->ViewRadio(2)->isVisibleTo(viewer));
    viewer->SetView(2);
    CDlgSelectSPLsSrc* sources = viewer->SourceDialog();
    ASSERT_NE(sources, nullptr);
    EXPECT_EQ(sources->GetSubsystemCount(), data.GetContributorCount());
    EXPECT_EQ(viewer->LineChart()->graphCount(), data.GetContributorCount() + 3);
    EXPECT_TRUE(viewer->LineChart()->isVisibleTo(viewer));
    GrabAndCheck(*viewer, "power-contribution-spl", QSize(820, 600));
    if (data.GetContributorCount() > 1) {
        const std::vector<double> before = data.GetSelectedSum();
        sources->ClickTick(0);
        EXPECT_EQ(data.GetSelected(0), 0);
        EXPECT_NE(data.GetSelectedSum(), before);
        EXPECT_EQ(viewer->LineChart()->graphCount(), data.GetContributorCount() + 3);
        sources->ClickTick(0);
        EXPECT_EQ(data.GetSelectedSum(), before);
        // Selecting a contributor in the list brings its curve forward; clearing lets it go.
        sources->SetCurSel(1);
        EXPECT_GT(viewer->LineChart()->graph(1)->pen().widthF(), viewer->LineChart()->graph(0)->pen().widthF());
        sources->OnClearSelection();
        EXPECT_EQ(viewer->LineChart()->graph(1)->pen().widthF(), viewer->LineChart()->graph(0)->pen().widthF());
    }
    viewer->SetAxis(1);
    EXPECT_EQ(data.GetPointCount(), pc->GetRpmCount());
    EXPECT_EQ(viewer->PositionList()->count(), data.GetBandCount());

    // Without the option the SPL view is neither shown nor taken.
    SetOption(6180, 0);
    {
        CDlgCavPcView plain;
        plain.SetData(kTarget, pc);
        plain.EnsureInitialized();
        EXPECT_FALSE(plain.ViewRadio(2)->isVisibleTo(&plain));
        EXPECT_FALSE(plain.ViewRadio(2)->isEnabled());
        plain.SetView(2);
        EXPECT_EQ(plain.Data().GetView(), 0);
    }

    // Deleting the function closes its viewer.
    QPointer<CDlgCavPcView> watch(viewer);
    set->DeleteChild(pc, 1);
    Settle();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(CDlgCavPcView::GetInstance(pc), nullptr);
    SetOption(6180, 0);
}

TEST_F(SampleFixture, SplComparisonsBySingleInputPower)
{
    SetOption(6180, 1);
    AddPowers({{"Roof", 1e-3}, {"Floor", 4e-3}});
    CZuSubsystemTable inputs;
    inputs.Add("Roof");
    inputs.Add("Floor");
    auto* spl = DynamicDowncast<CZuRpmMultiVecFunc>(project->BuildSPLByInputPowers(kTarget, inputs, 0));
    ASSERT_NE(spl, nullptr);

    CDlgCompSplBySingleIP* dialog = CDlgCompSplBySingleIP::Open(project, kTarget, spl, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CDlgCompSplBySingleIP::Open(project, kTarget, spl, nullptr), dialog);
    const CSplBySingleIPData& data = dialog->Data();
    ASSERT_EQ(data.GetSourceCount(), 2);
    // The levels of the grid are those of the SPL table, and "O.A." is their energetic sum.
    CMSFlexGrid* grid = dialog->Grid();
    ASSERT_EQ(grid->GetCols(), 5);
    EXPECT_EQ(grid->GetTextMatrix(0, 3), "O.A.");
    const auto* entry = spl->GetVecFunc(0);
    for (int b = 0; b < 3; ++b) {
        const double roof = entry->DataValue(b, 0), floorLevel = entry->DataValue(b, 1);
        if (!std::isfinite(roof) || !std::isfinite(floorLevel))
            continue;
        EXPECT_NEAR(data.Level(data.Rows()[0].values[b]), roof, 1e-6);
        EXPECT_NEAR(data.Level(data.Rows()[2].values[b]),
                    10 * std::log10(std::pow(10.0, roof / 10) + std::pow(10.0, floorLevel / 10)), 1e-6);
        EXPECT_EQ(grid->GetTextMatrix(b + 1, 1), CGfxUtil::GenFormat(roof, 2));
    }
    GrabAndCheck(*dialog, "spl-by-single-ip-share", QSize(900, 680));
    dialog->SetView(2);
    dialog->SelectRow(0);
    EXPECT_EQ(data.GetSelection(), std::vector<int>{0});
    EXPECT_EQ(data.Rows()[3].shown, 1);
    EXPECT_EQ(dialog->LineChart()->graphCount(), 4); // both sources, both sums
    GrabAndCheck(*dialog, "spl-by-single-ip-lines", QSize(900, 680));
    ASSERT_TRUE(dialog->CopyGrid());
    std::string text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "Freq. [Hz]\tRoof\tFloor\tO.A.\tO.A.(Excluding Selected Data)\t");
    dialog->ClearSelection();
    EXPECT_EQ(data.Rows()[3].shown, 0);
    // A source chosen by name from the picker joins the selection.
    {
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& dlg) {
            auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&dlg);
            const int at = picker ? picker->Combo()->findText(QStringLiteral("Floor")) : -1;
            if (at < 0)
                return dlg.PressCancel();
            picker->Combo()->setCurrentIndex(at);
            return dlg.PressOK();
        });
        dialog->OnPickRow();
    }
    EXPECT_EQ(data.GetSelection(), std::vector<int>{1});
    EXPECT_EQ(data.Rows()[0].drawnColor, RGB(128, 128, 128));

    // Structure and acoustic groups: both inputs are structures, so the acoustic row has no value.
    CDlgCompStAcSplBySingleIP* groups = CDlgCompStAcSplBySingleIP::Open(project, kTarget, spl, nullptr);
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->Grid()->GetTextMatrix(0, 2), "Acoustic");
    EXPECT_EQ(groups->Grid()->GetTextMatrix(1, 2), "---");
    EXPECT_EQ(groups->Grid()->GetTextMatrix(1, 1), groups->Grid()->GetTextMatrix(1, 3));
    groups->SetAxis(1);
    EXPECT_EQ(groups->PositionList()->count(), data.GetBandCount());
    GrabAndCheck(*groups, "st-ac-spl-by-single-ip", QSize(820, 620));

    // A target the model does not have is named in a warning; the volume is then unknown.
    {
        CScriptedPrompts prompts;
        dialog->SetTargetSubsystem("No Such Cavity");
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().text, "The subsystem \"No Such Cavity\" is not in the model.");
        prompts.Clear();
        dialog->SetTargetSubsystem(kTarget);
        EXPECT_EQ(prompts.Count(), 0u);
    }

    // Both dialogs belong to the project: they go with it.
    QPointer<CDlgCompSplBySingleIP> first(dialog);
    QPointer<CDlgCompStAcSplBySingleIP> second(groups);
    doc.OnCloseDocument();
    Settle();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    SetOption(6180, 0);
}

TEST_F(SampleFixture, TargetEnergyComparisonOfTheMeasuredPair)
{
    CTALVOProject& container = doc.GetTALVOProject();
    container.GetSourceSubsystems().Clear();
    // The sample measures the roof: it is the target here, fed by the cabin.
    container.GetSourceSubsystems().Add(sample::kResponse);
    container.SetTargetSubsystem(sample::kExcited);
    CDaqProject* daq = container.GetDaqProject(0);
    ASSERT_NE(daq, nullptr);
    EXPECT_TRUE(CResultViewerCommands::CanCompareTargetEnergy(daq, nullptr));
    prompts.Clear();
    CDlgDaqERComp* dialog = CDlgDaqERComp::Open(daq, nullptr);
    ASSERT_NE(dialog, nullptr) << (prompts.Count() ? prompts.Last().text : std::string());
    EXPECT_EQ(CDlgDaqERComp::GetInstance(), dialog);
    EXPECT_EQ(CDlgDaqERComp::CreateInstance(nullptr), nullptr);
    // The model has no energy ratios: both missing pairs are named in one message.
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_NE(prompts.Last().text.find("No energy ratio between Front Cabin-R and Roof."), std::string::npos);
    EXPECT_NE(prompts.Last().text.find("No model energy ratio between"), std::string::npos);
    const CDaqERCompData& data = dialog->Data();
    EXPECT_EQ(data.GetSources().size(), 1u);
    EXPECT_GT(data.ByExp().size(), 0u);
    // In the middle of the run-up the orders pass the low bands: the measured target energy there
    // is the squared velocity times the roof's mass.
    const int middle = static_cast<int>(data.GetRpms().size()) / 2;
    prompts.Clear();
    dialog->SelectPosition(middle);
    EXPECT_EQ(prompts.Count(), 1u);
    const CDaqERCompData::CMeasured& target = data.GetTarget();
    const double p = target.values[static_cast<size_t>(middle)][1];
    EXPECT_GT(p, 0.0);
    EXPECT_NEAR(data.ByExp()[1], p * p * target.factor, 1e-12 * p * p);
    EXPECT_EQ(data.BySpeaker()[1], 0.0);
    EXPECT_EQ(dialog->Chart()->graphCount(), 5);
    GrabAndCheck(*dialog, "target-energy-comparison", QSize(820, 600));
    ASSERT_TRUE(dialog->Copy());
    std::string text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text.rfind("Target Energy [Roof]\tRPM: ", 0), 0u);
    dialog->SetAxis(1);
    EXPECT_EQ(dialog->PositionList()->currentIndex(), 0);
    EXPECT_EQ(prompts.Count(), 2u); // again once for the new computation
    EXPECT_EQ(data.ByExp().size(), data.GetRpms().size());
    // The comparison goes with its projects.
    QPointer<CDlgDaqERComp> watch(dialog);
    doc.OnCloseDocument();
    Settle();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(CDlgDaqERComp::GetInstance(), nullptr);

    CDlgDaqERComp::DestroyInstance();
}
