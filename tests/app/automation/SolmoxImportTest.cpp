// A model handed over by the modelling application SOLMOX (its stand-in on the test bus) is the
// model read from the same files directly, and nothing of the hand-over is left behind.
#include "app/ModelProject.h"
#include "app/ProjectHistory.h"
#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/automation/SOLMOXWrapper.h"
#include "platform/elements/ZuData.h"
#include "platform/win/PromptService.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusConnectionInterface>

#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {
const fs::path kSamples = fs::path(ORVEX_SOURCE_DIR) / "samples";

// A SOLMOX project over copies of the sample model: one analytical model, two HSEA models (the
// second one the same data under another name) and a data set.
struct SolmoxProject
{
    QTemporaryDir dir;
    std::string file;
    explicit SolmoxProject(const std::string& extra = {})
    {
        for (const char* name : {"sample-model.ntf", "sample-model.dat", "sample-model.dmd"})
            fs::copy_file(kSamples / name, fs::path(dir.path().toStdString()) / name);
        file = dir.filePath(QStringLiteral("car.smx")).toStdString();
        std::ofstream out(file);
        out << "ASEA\tBody\tsample-model.ntf\n"
               "HSEA\tTrimmed body\tsample-model.dmd\n"
               "HSEA\tBare body\tsample-model.dmd\n"
               "EXP\tRoad run\tsample-model.dmd\n"
               "HISTORY\t4.2\tHatchback\n"
            << extra;
    }
};

// Files of ours in the temporary folder.
std::vector<std::string> LeftInTemp()
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(QDir::tempPath().toStdString()))
        if (e.path().filename().string().rfind("orvex-solmox-", 0) == 0)
            names.push_back(e.path().string());
    return names;
}

std::vector<uint8_t> Stored(CModelProject* project)
{
    std::vector<uint8_t> bytes;
    CArchive ar(&bytes, CArchive::store);
    project->Serialize(ar);
    return bytes;
}

void ReplaceAll(std::vector<uint8_t>& bytes, const std::string& from, const std::string& to)
{
    ASSERT_EQ(from.size(), to.size());
    for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), from.begin(), from.end())) != bytes.end();
         at += from.size())
        std::copy(to.begin(), to.end(), at);
}

// A temporary folder of the test's own for what SOLMOX writes, so that tests running side by side
// do not see each other's files.
struct PrivateTemp
{
    QTemporaryDir dir;
    QByteArray previous = qgetenv("TMPDIR");
    PrivateTemp() { qputenv("TMPDIR", dir.path().toUtf8()); }
    ~PrivateTemp() { qputenv("TMPDIR", previous); }
};

// Whether SOLMOX still holds its name once the bus has had time to see a process go (bounded).
bool SolmoxRunning()
{
    return !WaitForBusName(QStringLiteral("SOLMOX.Application"), false, 3000);
}
} // namespace

TEST(SolmoxImport, ImportedModelEqualsTheModelReadFromItsFiles)
{
    PrivateTemp temp;
    CScriptedPrompts prompts;
    SolmoxProject source;
    std::vector<uint8_t> imported;
    std::string analytical, hsea;
    {
        CSOLMOXWrapper solmox;
        ASSERT_TRUE(solmox.Connect(source.file));
        EXPECT_GT(solmox.GetStartedProcessId(), 0);
        EXPECT_EQ(solmox.GetHSEAModelNames(), (std::vector<std::string>{"Trimmed body", "Bare body"}));
        CProjectHistory history(solmox.GetProjectHistory());
        EXPECT_EQ(history.GetAppName(), "SOLMOX");
        EXPECT_EQ(history.GetFileName(), "car.smx");

        ASSERT_TRUE(solmox.ExportAnalyticalModel());
        ASSERT_TRUE(solmox.ExportHSEAModel(1));
        ASSERT_TRUE(solmox.ExportDataSet());
        analytical = solmox.GetAnalyticalModelFile();
        hsea = solmox.GetHSEAModelFile();
        EXPECT_EQ(fs::path(analytical).extension(), ".ntf");
        EXPECT_EQ(fs::path(hsea).extension(), ".txt");
        EXPECT_NE(fs::path(analytical).stem(), fs::path(hsea).stem());

        CZuData::SetCreationCount(0);
        CTALVOProject container;
        CModelProject* project = container.CreateModelProjectFromFiles(analytical, hsea);
        ASSERT_NE(project, nullptr);
        imported = Stored(project);
        solmox.Quit();
        EXPECT_FALSE(SolmoxRunning()) << "the SOLMOX we started is ended";
    }
    EXPECT_TRUE(LeftInTemp().empty()) << "every file of the hand-over is removed";
    EXPECT_EQ(prompts.Count(), 0u);

    // The same files read directly, under the names SOLMOX was given with another prefix of the
    // same length, so that the paths stored with the model can be matched up.
    const auto direct = [](const std::string& path) {
        const std::string name = fs::path(path).filename().string();
        return (fs::path(path).parent_path() / ("orvex-direct-" + name.substr(13))).string();
    };
    const std::string model = direct(analytical);
    const std::string data = direct(hsea);
    const std::string companion = fs::path(model).replace_extension(".dat").string();
    fs::copy_file(kSamples / "sample-model.ntf", model);
    fs::copy_file(kSamples / "sample-model.dat", companion);
    fs::copy_file(kSamples / "sample-model.dmd", data);
    CZuData::SetCreationCount(0);
    std::vector<uint8_t> expected;
    {
        CTALVOProject container;
        CModelProject* project = container.CreateModelProjectFromFiles(model, data);
        EXPECT_NE(project, nullptr);
        if (project)
            expected = Stored(project);
    }
    for (const std::string& path : {model, companion, data})
        fs::remove(path);
    ReplaceAll(expected, "orvex-direct-", "orvex-solmox-");
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(imported, expected);
}

// The analytical model's file kind follows the project's model file type; a negative type, an
// empty path, a missing project and an index outside the list fail without leaving files.
TEST(SolmoxImport, ModelFileTypeAndFailures)
{
    PrivateTemp temp;
    struct Case
    {
        std::string extra;
        bool exported;
        std::string extension;
    };
    for (const Case& c :
         {Case{"TYPE\t1\n", true, ".xml"}, Case{"TYPE\t2\n", true, ".ntf"}, Case{"TYPE\t-1\n", false, ""}}) {
        SolmoxProject source(c.extra);
        CSOLMOXWrapper solmox;
        ASSERT_TRUE(solmox.Connect(source.file));
        EXPECT_EQ(solmox.ExportAnalyticalModel(), c.exported) << c.extra;
        if (c.exported) {
            EXPECT_EQ(fs::path(solmox.GetAnalyticalModelFile()).extension(), c.extension);
        }
        EXPECT_FALSE(solmox.ExportHSEAModel(2)) << "no third HSEA model";
        EXPECT_FALSE(solmox.ExportHSEAModel(-1));
        solmox.RemoveTemporaryFiles();
        EXPECT_TRUE(LeftInTemp().empty());
    }
    CSOLMOXWrapper solmox;
    EXPECT_FALSE(solmox.Connect(""));
    EXPECT_FALSE(solmox.HasApplication()) << "an empty path makes no connection attempt";
    EXPECT_FALSE(solmox.Connect("/no/such/project.smx"));
    EXPECT_FALSE(solmox.ExportAnalyticalModel());
    EXPECT_TRUE(solmox.GetHSEAModelNames().empty());
}

// A SOLMOX that was running before is not ours: it stays when the wrapper goes.
TEST(SolmoxImport, EndsOnlyTheProcessItStarted)
{
    PrivateTemp temp;
    SolmoxProject source;
    CSOLMOXWrapper first;
    ASSERT_TRUE(first.Connect(source.file));
    const int64_t pid = first.GetStartedProcessId();
    ASSERT_GT(pid, 0);
    {
        CSOLMOXWrapper second;
        ASSERT_TRUE(second.Connect(source.file));
        EXPECT_EQ(second.GetStartedProcessId(), 0);
    }
    EXPECT_TRUE(
        QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("SOLMOX.Application")).value());
    EXPECT_EQ(::kill(static_cast<pid_t>(pid), 0), 0);
    first.Quit();
    EXPECT_FALSE(SolmoxRunning());
}
