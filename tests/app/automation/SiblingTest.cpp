// The program against the stand-in PLOVA on the test bus: the version check at start-up and the
// experimental data check of a DAQ project.
#include "support/PrivateSessionBus.h"

#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ExpDataChecker.h"
#include "app/ProjectTreeWindow.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "experiments/DAQConfig.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmFunc.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <sys/prctl.h>

namespace fs = std::filesystem;

namespace {
// A stand-in started by the test itself, with the version it is told.
class StandIn
{
public:
    explicit StandIn(const QString& version)
    {
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_process.start(QStringLiteral(ORVEX_PLOVA_STANDIN), {QStringLiteral("--version"), version});
        m_running = WaitForBusName(QStringLiteral("PLOVA.Application"), true);
    }
    ~StandIn()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
        WaitForBusName(QStringLiteral("PLOVA.Application"), false);
    }
    bool IsRunning() const { return m_running; }

private:
    QProcess m_process;
    bool m_running = false;
};

// Records where the project tree is told of new elements.
class RecordingTree : public IProjectTreeWindow
{
public:
    void AddTree(CMElement*, const std::string&) override {}
    void InsertTree(int, CMElement*, const std::string&) override {}
    CMElement* GetTreeProject(int) const override { return nullptr; }
    void RemoveTree(int) override {}
    void RemoveAllTrees() override {}
    void RefreshItems() override {}
    void SetTreeLabel(int, const std::string&) override {}
    int GetTreeCount() const override { return 3; }
    int GetActiveIndex() const override { return 0; }
    int GetSelection(CMElementList&) const override { return 0; }
    bool AddElement(int projectIndex, CMElement* element) override
    {
        added.emplace_back(projectIndex, element);
        return true;
    }
    bool RemoveElement(int, CMElement*) override { return true; }
    bool RenameElement(int, CMElement*) override { return true; }
    std::vector<std::pair<int, CMElement*>> added;
};
} // namespace

TEST(PlovaVersionCheck, WarnsOnlyForAKnownBuildBelowTheRequiredOne)
{
    // At start the version is read on a thread of its own and the warning comes on the event loop.
    for (const bool background : {false, true}) {
        SCOPED_TRACE(background ? "in the background" : "waited for");
        static CStatusBarFeedback boxes; // the main window's
        const auto check = [background] {
            CTALVOApp& app = GetTALVOApp();
            if (!background)
                return app.CheckPlovaVersion(&boxes);
            app.CheckPlovaVersionInBackground(&boxes);
            app.FinishPlovaVersionCheck();
            QCoreApplication::processEvents();
            return true;
        };
        {
            StandIn old(QStringLiteral("1.1.0 build(0039)"));
            ASSERT_TRUE(old.IsRunning());
            CScriptedPrompts prompts;
            prompts.Answer(IDOK);
            EXPECT_TRUE(check());
            ASSERT_EQ(prompts.Count(), 1u);
            EXPECT_EQ(prompts.Last().text,
                      "The installed PLOVA (1.1.0 build(0039)) is older than required (1.1.1 build(0040)).");
        }
        {
            StandIn current(QStringLiteral("1.1.1 build(0040)"));
            ASSERT_TRUE(current.IsRunning());
            CScriptedPrompts prompts;
            EXPECT_TRUE(check());
            EXPECT_EQ(prompts.Count(), 0u);
        }
    }
}

class DataCheck : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const fs::path built = fs::path(ORVEX_BINARY_DIR) / "samples" / "sample.orv";
        ASSERT_TRUE(m_dir.isValid());
        m_file = fs::path(m_dir.path().toStdString()) / "car" / "sample.orv";
        fs::create_directories(m_file.parent_path());
        fs::copy_file(built, m_file);
        ASSERT_TRUE(m_doc.OnOpenDocument(m_file.string()));
        m_daq = m_doc.GetTALVOProject().GetDaqProject(0);
        ASSERT_NE(m_daq, nullptr);
        CMElementList sets;
        m_daq->GetUsedDAQExperiments(sets);
        ASSERT_EQ(sets.GetSize(), 1);
        m_set = ElementCast<CDAQExperiment>(sets[0]);

        // The measured map of the excited subsystem at three RPMs over two frequencies.
        const double rpms[] = {2950.0, 3000.0, 3050.0};
        const double freqs[] = {100.0, 200.0};
        // It stands in for the sample's own spectra of the run-up.
        if (CMElement* measured = m_set->FindOneChild(std::string("Roof")))
            m_set->DeleteChild(measured, 1);
        auto map = CZuRpmFunc::NewRpmFunc("Roof", 5, nullptr, "Roof", freqs, 2, rpms, 3);
        for (int r = 0; r < 3; ++r)
            for (int p = 0; p < 2; ++p)
                map->DataValue(r, p) = 1.0 + r + 10.0 * p;
        m_set->AddChild(std::move(map));

        const QString db = m_dir.filePath(QStringLiteral("limits.db"));
        QFile file(db);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Roof\t10\t20\t0.5\nFront Cabin-R\t30\t40\n");
        file.close();
        m_daq->SetExtraText(db.toStdString());
        const CZuSubsystemTable* model = m_doc.GetTALVOProject().GetModelSubsystemTable();
        m_daq->GetExtraList().assign(static_cast<size_t>(model->GetCount()), -1);
        m_daq->GetExtraList()[static_cast<size_t>(model->GetIndex("Roof"))] = 0;
        m_daq->SetExtraValue(0, 3000.0);
        m_daq->SetExtraValue(1, 0.0);
        m_daq->GetDAQConfig()->SetRpmMargin(50);
        GetTALVOApp().SetProjectTreeWindow(&m_tree);
    }
    void TearDown() override
    {
        GetTALVOApp().SetProjectTreeWindow(nullptr);
        m_doc.OnCloseDocument();
    }
    CMultiVectorFunction* Result() const
    {
        return ElementCast<CMultiVectorFunction>(m_set->FindOneChild(std::string("Data Check [Roof]")));
    }

    QTemporaryDir m_dir;
    fs::path m_file;
    CTALVODoc m_doc;
    CDaqProject* m_daq = nullptr;
    CDAQExperiment* m_set = nullptr;
    RecordingTree m_tree;
};

TEST_F(DataCheck, FillsCurrentAndTheDatabaseLimitsAtTheFirstRowOfTheWindow)
{
    EXPECT_EQ(CExpDataChecker::FindCheckRow({2950.0, 3000.0, 3050.0}, 3000.0, 50), 0);
    EXPECT_EQ(CExpDataChecker::FindCheckRow({2950.0, 3000.0, 3050.0}, 3000.0, 0), -1);
    EXPECT_EQ(CExpDataChecker::FindCheckRow({2900.0, 3050.0}, 3000.0, 50), -1);

    CScriptedPrompts prompts;
    {
        // Cancelled before the first experiment: nothing is checked.
        CRecordingFeedback cancelling;
        cancelling.CancelAtQuestion(1);
        CExpDataChecker checker;
        checker.SetFeedback(&cancelling);
        EXPECT_EQ(checker.Run(m_daq), 0);
        EXPECT_EQ(Result(), nullptr);
        EXPECT_EQ(cancelling.ends, 1);
    }
    {
        CRecordingFeedback progress;
        CExpDataChecker checker;
        checker.SetFeedback(&progress);
        ASSERT_EQ(checker.Run(m_daq), 1);
        ASSERT_FALSE(progress.fractions.empty());
        EXPECT_DOUBLE_EQ(progress.fractions.back(), 1.0) << "rises to the whole project";
        EXPECT_TRUE(std::is_sorted(progress.fractions.begin(), progress.fractions.end()));
        EXPECT_EQ(progress.ends, 1);
    }
    CMultiVectorFunction* result = Result();
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(result->GetSubsystemCount(), 3);
    EXPECT_EQ(result->GetSubsystem(0), "Current");
    EXPECT_EQ(result->GetSubsystem(1), "Min(Database)");
    EXPECT_EQ(result->GetSubsystem(2), "Max(Database)");
    ASSERT_EQ(result->GetDataCount(), 2);
    EXPECT_EQ(result->DataIndex(1), 200.0);
    EXPECT_DOUBLE_EQ(result->DataValue(0, 0), 1.0) << "row 2950 is the first inside [2950, 3050)";
    EXPECT_DOUBLE_EQ(result->DataValue(1, 0), 11.0);
    EXPECT_DOUBLE_EQ(result->DataValue(1, 1), 10.0 + 0.5 * 200.0);
    EXPECT_DOUBLE_EQ(result->DataValue(1, 2), 20.0 + 0.5 * 200.0);
    ASSERT_EQ(m_tree.added.size(), 1u);
    EXPECT_EQ(m_tree.added[0].first, 1) << "told under the data set's own DAQ project";
    EXPECT_EQ(m_tree.added[0].second, result);
    EXPECT_EQ(prompts.Count(), 0u);

    // A second run reuses the table and overwrites its columns.
    m_daq->SetExtraValue(0, 3050.0);
    {
        CExpDataChecker checker;
        ASSERT_EQ(checker.Run(m_daq), 1);
    }
    EXPECT_EQ(Result(), result);
    EXPECT_DOUBLE_EQ(result->DataValue(0, 0), 2.0);
    EXPECT_EQ(m_tree.added.size(), 1u);
}

TEST_F(DataCheck, SkipsWithoutAWindowAndReportsLimitsItCouldNotRead)
{
    CScriptedPrompts prompts;
    m_daq->GetDAQConfig()->SetRpmMargin(0);
    {
        CExpDataChecker checker;
        EXPECT_EQ(checker.Run(m_daq), 1);
    }
    EXPECT_EQ(Result(), nullptr) << "a margin of 0 admits no row";

    // An entry the database does not have: the limits stay invalid and the run says so.
    m_daq->GetDAQConfig()->SetRpmMargin(50);
    const CZuSubsystemTable* model = m_doc.GetTALVOProject().GetModelSubsystemTable();
    m_daq->GetExtraList()[static_cast<size_t>(model->GetIndex("Roof"))] = 5;
    CExpDataChecker checker;
    EXPECT_EQ(checker.Run(m_daq), 0);
    ASSERT_EQ(checker.GetErrors().size(), 1u);
    CMultiVectorFunction* result = Result();
    ASSERT_NE(result, nullptr);
    EXPECT_DOUBLE_EQ(result->DataValue(0, 0), 1.0);
    EXPECT_TRUE(std::isnan(result->DataValue(0, 1)));
    EXPECT_TRUE(std::isnan(result->DataValue(1, 2)));

    // A database that cannot be opened stops the run after saying so.
    m_daq->SetExtraText(m_dir.filePath(QStringLiteral("missing.db")).toStdString());
    prompts.Answer(IDOK);
    CExpDataChecker failing;
    CStatusBarFeedback boxes; // the check dialog's
    failing.SetFeedback(&boxes);
    EXPECT_EQ(failing.Run(m_daq), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().text.rfind("Failed to open the file of PLOVA!\n", 0), 0u);
}
