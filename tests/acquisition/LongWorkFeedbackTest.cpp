// Long work of every kind through the one feedback object: its progress rises to its total, a
// cancel asked part-way stops it, and its messages arrive as reports.
#include "../models/SmallModel.h"
#include "../uff/UFImportFixture.h"
#include "RunRig.h"

#include "acquisition/DAQExeManager.h"
#include "experiments/DAQConfig.h"
#include "models/HSEAModelData.h"
#include "models/HSEAResultData.h"
#include "models/SEAModelData.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelShell.h"
#include "support/FakeModelLink.h"
#include "uff/MkExtDaqProject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// Hands the window's messages of a finished run to the manager in the order the window hears them.
void DeliverRunEnd(CDAQExeManager& manager, intptr_t* completed)
{
    for (uint32_t msg : {WM_ZU_DAQ_TRANSFER_BEGIN, WM_ZU_DAQ_TRANSFER_DONE, WM_ZU_DAQ_COMPLETE})
        ASSERT_TRUE(manager.RouteMessage(msg, 0, 0, msg == WM_ZU_DAQ_COMPLETE ? completed : nullptr));
}

} // namespace

TEST(LongWorkFeedback, ProgressCancelAndReports)
{
    // ---- a band solve of a plate coupled to a cabin over three bands ----
    {
        SCOPED_TRACE("calculation");
        CFakeModelLink project;
        project.types = {{"Plate", 1}, {"Cabin", 6}};
        project.subsystems["Plate"] =
            std::make_unique<CModelShell>("Plate", CModelSubsystem::TYPE_FLAT_PANEL, 2.0, 6.0, 12.0);
        project.subsystems["Cabin"] = std::make_unique<CModelCavity>("Cabin", CModelSubsystem::TYPE_CAVITY, 10.0, 3.0);
        CSEAModelData source("SEA", nullptr, 5, OCTAVE_BAND_THIRD, 500.0, 800.0);
        SmallModelLayout layout;
        layout.keys = {"Plate-F", "Cabin-"};
        layout.density = {{0.5, 4.0}, {0.6, 5.0}, {0.7, 6.0}};
        layout.dlf = {{0.01, 0.002}, {0.012, 0.003}, {0.014, 0.004}};
        layout.clf[{0, 1}] = {0.003, 0.004, 0.005};
        layout.clf[{1, 0}] = {0.0004, 0.0005, 0.0006};
        FillSmallModel(source, layout);
        CHSEAModelData* model = project.AddChild(std::make_unique<CHSEAModelData>(&source, nullptr, 1, 1, 0, 0));
        const auto solve = [&](CFeedback& feedback) {
            auto result = std::make_unique<CHSEAResultData>(
                model, std::make_unique<COctaveManagerEx>(*model->GetOctaveManager()), "Result", nullptr, nullptr);
            CHSEAResultData* r = project.AddChild(std::move(result));
            r->SetUnitInputPower("Plate-F");
            return r->SolveBands(nullptr, &feedback);
        };
        CRecordingFeedback whole;
        EXPECT_EQ(solve(whole), 1);
        ASSERT_EQ(whole.begins.size(), 1u);
        EXPECT_EQ(whole.begins[0].total, 3);
        EXPECT_EQ(whole.texts.size(), 3u) << "every band shown";
        EXPECT_DOUBLE_EQ(whole.fractions.back(), 1.0);
        EXPECT_TRUE(whole.reports.empty());

        CRecordingFeedback cancelled;
        cancelled.CancelAtQuestion(2);
        EXPECT_EQ(solve(cancelled), 0);
        EXPECT_EQ(cancelled.texts.size(), 1u) << "stopped at the second band";
        EXPECT_LT(cancelled.fractions.back(), 1.0);
    }

    // ---- an import of universal files into a universal-file DAQ project ----
    {
        SCOPED_TRACE("import");
        Fixture f("feedback");
        const std::string run = f.Write("run.unv", f.RunUp(0));
        f.ui.dialogs = {Fixture::Files({run})};
        f.prompts.Answer(IDOK);
        CMkExtDaqProject whole(f.container, f.uf);
        ASSERT_EQ(whole.ImportUFData(&f.boxes), 1);
        ASSERT_FALSE(f.ui.closed.empty());
        int wholeQuestions = 0;
        for (const auto& display : f.ui.closed) {
            EXPECT_FALSE(display->begins.empty());
            EXPECT_DOUBLE_EQ(display->fractions.back(), 1.0);
            wholeQuestions += display->questions;
        }
        EXPECT_TRUE(f.ui.reports.empty());

        // Cancelled during the scan (at the fourth question): nothing is imported.
        Fixture c("feedback_cancel");
        const std::string again = c.Write("run.unv", c.RunUp(0));
        c.ui.dialogs = {Fixture::Files({again})};
        c.ui.cancelAtPump = 3;
        c.prompts.Answer(IDOK);
        CMkExtDaqProject cancelled(c.container, c.uf);
        EXPECT_EQ(cancelled.ImportUFData(&c.boxes), 0);
        ASSERT_FALSE(c.ui.closed.empty());
        EXPECT_EQ(c.ui.closed.back()->questions, 4) << "no question after the cancel";
        EXPECT_GT(wholeQuestions, 4);
        EXPECT_EQ(c.uf->GetChildCount(), 0);

        // A file the scan refuses: the reason arrives as a warning.
        Fixture h("feedback_refused");
        UF58Fields ds;
        ds.id1 = "name dir point";
        ds.funcType = 12;
        ds.respNode = h.NodeOf(h.a, 0);
        ds.absInc = std::numeric_limits<double>::quiet_NaN();
        ds.zValue = 1000.0;
        for (int k = 0; k < kLines; ++k)
            ds.numbers.insert(ds.numbers.end(), {1.0 + k, 0.0});
        const std::string refused = h.Write("refused.unv", Dataset58(ds));
        h.ui.dialogs = {Fixture::Files({refused})};
        h.prompts.Answer(IDOK);
        CMkExtDaqProject builder(h.container, h.uf);
        EXPECT_EQ(builder.ImportUFData(&h.boxes), 0);
        ASSERT_EQ(h.ui.reports.size(), 1u);
        EXPECT_EQ(h.ui.reports[0].severity, CFeedback::ESeverity::Warning);
        EXPECT_NE(h.ui.reports[0].text.find("refused.unv"), std::string::npos) << h.ui.reports[0].text;
    }

    // ---- a measurement on two simulated units whose sample time the test moves on ----
    {
        SCOPED_TRACE("measurement");
        CRunRig rig(2, "", true);
        const auto starts = [&] { return rig.sims[1]->CallCount(QmxCall::StartAcquisition); };
        CDAQConfig config;
        CDAQExeManager manager;
        manager.SetInterface(rig.daq.get());
        manager.SetDAQConfig(&config);
        manager.SetDuration(0.05f);
        ASSERT_EQ(manager.Prepare(), 1);
        const float rate = rig.daq->GetSampleRate();
        const int total = rig.daq->GetSampleCount();
        ASSERT_GT(total, 100);
        const auto timeOf = [&](int samples) { return static_cast<int64_t>(samples / rate * 1e6) + 1; };
        // The units' workers see the moved clock on their own threads: a block is announced once they
        // have taken its samples, as the window hears it only then.
        const auto blockIn = [&](int samples) {
            return WaitUntil([&] { return rig.daq->GetLiveSampleCount() >= samples - total / 100; });
        };

        // The whole run: the progress begins with the run's samples and follows the blocks.
        CRecordingFeedback whole;
        manager.SetFeedback(&whole);
        ASSERT_EQ(manager.Start(), 1);
        ASSERT_EQ(whole.begins.size(), 1u);
        EXPECT_EQ(whole.begins[0].total, total);
        ASSERT_TRUE(WaitUntil([&] { return starts() == 1; }));
        rig.simUs = timeOf(total / 4);
        EXPECT_TRUE(blockIn(total / 4));
        EXPECT_TRUE(manager.RouteMessage(WM_ZU_DAQ_DATA, 0, 0, nullptr));
        EXPECT_NEAR(whole.fractions.back(), 0.25, 0.01);
        rig.simUs = timeOf(total);
        ASSERT_TRUE(rig.window.WaitFor(WM_ZU_DAQ_COMPLETE));
        rig.daq->StopAllUnits();
        intptr_t completed = -1;
        DeliverRunEnd(manager, &completed);
        EXPECT_EQ(completed, 0) << "with data";
        EXPECT_DOUBLE_EQ(whole.fractions.back(), 1.0);
        EXPECT_EQ(whole.texts, (std::vector<std::string>{CDAQExeManager::kSamplingText, CDAQExeManager::kTransferText,
                                                         CDAQExeManager::kTransferDoneText}));
        EXPECT_EQ(whole.ends, 1);
        EXPECT_EQ(rig.daq->GetFirstUnitValue(), total);

        // Cancelled at the second block: the run ends there and keeps what both units measured.
        rig.window.Clear();
        CRecordingFeedback cancelled;
        cancelled.CancelAtQuestion(2);
        manager.SetFeedback(&cancelled);
        const int64_t base = rig.simUs;
        ASSERT_EQ(manager.Start(), 1);
        ASSERT_TRUE(WaitUntil([&] { return starts() == 2; }));
        rig.simUs = base + timeOf(total / 5);
        EXPECT_TRUE(blockIn(total / 5));
        EXPECT_TRUE(manager.RouteMessage(WM_ZU_DAQ_DATA, 0, 0, nullptr));
        rig.simUs = base + timeOf(total * 2 / 5);
        EXPECT_TRUE(blockIn(total * 2 / 5));
        EXPECT_TRUE(manager.RouteMessage(WM_ZU_DAQ_DATA, 0, 0, nullptr));
        EXPECT_EQ(cancelled.questions, 2);
        ASSERT_TRUE(rig.window.WaitFor(WM_ZU_DAQ_COMPLETE)) << "the run completes without its remaining time";
        rig.daq->StopAllUnits();
        DeliverRunEnd(manager, &completed);
        EXPECT_EQ(completed, 0) << "what was measured is kept";
        const int kept = rig.daq->GetFirstUnitValue();
        EXPECT_GE(kept, total * 2 / 5);
        EXPECT_LT(kept, total);
        EXPECT_NEAR(cancelled.fractions.back(), static_cast<double>(kept) / total, 1e-9);
        EXPECT_EQ(cancelled.ends, 1);
        for (int global : {0, 17}) { // one channel of each unit
            std::vector<float> got(static_cast<size_t>(kept));
            ASSERT_TRUE(rig.daq->ReadData(global, got.data(), kept, 0)) << global;
            const std::vector<float> expected = rig.Signal(global / 16, global % 16, kept, rate);
            for (size_t i = 0; i < got.size(); ++i)
                ASSERT_EQ(got[i], expected[i] * 1000.0f) << global << " at " << i;
            EXPECT_FALSE(rig.daq->ReadData(global, got.data(), 1, kept)) << "nothing beyond what was kept";
        }
    }
}
