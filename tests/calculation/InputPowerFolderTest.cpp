// The input-power folder: functions by subsystem, and its "[IP_...]" text sections by RPM and by
// order, read back by the general-data import.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "calculation/AnalysisProjectAccess.h"
#include "calculation/InputPowerFolder.h"
#include "models/HSEAGeneralData.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "spectral/BandSetOwner.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"

#include "StubAnalysisProject.h"

namespace {
// An analysis project over a model of "Roof" (structure) and "Cabin" (cavity) that knows no
// subsystem parameters or model data, and is also the band-set owner of its functions.
class CStubAnalysis : public CStubAnalysisProject, public IBandSetOwner
{
public:
    CStubAnalysis() : CStubAnalysisProject(80.0, 250.0, 6000.0f, 12000.0f, 6000.0f) {}
    COctaveManagerEx* GetOctaveManager() override { return &bands; }
    double GetDaqConfigValue() const override { return 1.0; }
    bool GetSubsystemParam(const std::string&, double&, double&) const override { return false; }
    void GetModelDataParams(int*, double*, double*) const override {}
};

std::unique_ptr<CZuRpmFunc> Power(const std::string& subsystem, double a, double b)
{
    const double freqs[] = {100.0, 200.0};
    const double rpms[] = {6000.0, 12000.0};
    auto f = CZuRpmFunc::NewRpmFunc(subsystem, 3, nullptr, subsystem, freqs, 2, rpms, 2);
    for (int r = 0; r < 2; ++r) {
        f->DataValue(r, 0) = a * (r + 1);
        f->DataValue(r, 1) = b * (r + 1);
    }
    return f;
}

std::string Export(CInputPowerFolder& folder, double key, int* result = nullptr)
{
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    CStatusBarFeedback boxes; // the export command's
    const int r = folder.ExportText(file, key, 2, 20.0, &boxes);
    if (result)
        *result = r;
    return file.GetMemoryText();
}
} // namespace

TEST(InputPowerFolder, FunctionsAreFoundAndReplacedBySubsystem)
{
    CStubAnalysis project;
    auto* folder = project.AddChild(std::make_unique<CInputPowerFolder>(&project));
    EXPECT_EQ(folder->GetName(), "Input Power");
    EXPECT_EQ(folder->GetType(), 89);
    CMElementList items;
    items.Add(Power("Roof", 1, 2).release());
    items.Add(Power("Cabin", 3, 4).release());
    folder->AddItems(items);
    CMElementList again;
    CZuRpmFunc* roof = Power("Roof", 5, 6).release();
    again.Add(roof);
    folder->AddItems(again);
    EXPECT_EQ(project.notices, (std::vector<std::string>{"+Input Power", "+Roof", "+Cabin", "-Roof", "+Roof"}));
    EXPECT_EQ(folder->FindRpmItem("Roof"), roof);
    EXPECT_EQ(folder->FindRpmItem("roof"), nullptr);
    CZuSubsystemTable table;
    EXPECT_EQ(folder->GetSubsystemTable(table), 2);
    CZuSubsystemTable wanted(std::vector<std::string>{"Roof", "Nobody", "Cabin"});
    CMElementList found;
    EXPECT_EQ(folder->GetFunctionsForSubsystems(wanted, found), 1);
    ASSERT_EQ(found.GetSize(), 2);
    EXPECT_EQ(found[0], roof);
    EXPECT_EQ(folder->GetInputFunctions(found), 2);
}

TEST(InputPowerFolder, TextByRpmReadsBackAsInputPowers)
{
    CStubAnalysis project;
    auto* folder = project.AddChild(std::make_unique<CInputPowerFolder>(&project));
    int result = -1;
    EXPECT_EQ(Export(*folder, 6000.0, &result), "");
    EXPECT_EQ(result, 0);
    CMElementList items;
    items.Add(Power("Roof", 0.25, 1e-7).release());
    items.Add(Power("Cabin", 3, 0).release());
    items.Add(Power("Ghost", 1, 1).release());
    folder->AddItems(items);
    const std::string text = Export(*folder, 12000.0, &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(text, "[IP_AP1-12000RPM]\nUSER_DEFINED_FREQUENCY_DOMAIN\n100\n200\n100\t90\t110\n200\t180\t220\n"
                    "Roof-F\nCabin-\n\n\n[Input powers]\n[Roof-F]\t3\nRoof-F\t0.5\t2e-07\n[Cabin-]\t3\nCabin-\t6\t0\n");
    // An RPM no function has exactly: the headers only.
    EXPECT_EQ(Export(*folder, 6001.0).find("[Roof-F]"), std::string::npos);

    // Written to a file and read back by the general-data import.
    const std::string path = (std::filesystem::temp_directory_path() / "orvex_ip_rpm.txt").string();
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(path, CStdioFile::modeWrite));
        ASSERT_EQ(folder->ExportText(file, 12000.0, 0, 0.0), 1);
        file.Close();
    }
    CStdioFile in;
    ASSERT_TRUE(in.Open(path, CStdioFile::modeRead));
    CHSEAGeneralData data;
    ASSERT_EQ(data.ImportSection(in), 1) << data.GetImportError();
    std::filesystem::remove(path);
    EXPECT_EQ(data.GetName(), "IP_AP1-12000RPM");
    EXPECT_EQ(data.GetKind(), CHSEAGeneralData::KIND_INPUT_POWER);
    ASSERT_EQ(data.GetFreqCount(), 2);
    EXPECT_EQ(data.GetFreq(1), 200.0);
    auto* roof = data.FindFuncByKind("Roof-F", 0);
    auto* cabin = data.FindFuncByKind("Cabin-", 0);
    ASSERT_TRUE(roof && cabin);
    auto* source = static_cast<CZuRpmFunc*>(folder->FindRpmItem("Roof"));
    for (int b = 0; b < 2; ++b)
        EXPECT_DOUBLE_EQ(roof->DataValue(b, 0), source->DataValue(1, b));
    EXPECT_EQ(cabin->DataValue(0, 0), 6.0);
}

TEST(InputPowerFolder, TextByOrderWeightsTheOrderBandsAndLeavesGapsEmpty)
{
    CStubAnalysis project;
    project.type = 1;
    auto* folder = project.AddChild(std::make_unique<CInputPowerFolder>(&project));
    // Order 1 at 6000 and 12000 RPM: 100 Hz and 200 Hz, both in the project's bands.
    const double freqs[] = {100.0, 200.0};
    const double rpms[] = {6000.0, 12000.0};
    auto ot = CZuOTFunc::BuildOTFunc("Roof", 3, nullptr, "Roof", freqs, 2, rpms, 2, {1.0, 1.5}, 1.0f);
    ot->SetLabel("Roof");
    ot->GetOrderFunc(0)->DataValue(0, 0) = 2.0;
    ot->GetOrderFunc(0)->DataValue(1, 1) = 4.0;
    CMElementList items;
    items.Add(ot.release());
    folder->AddItems(items);
    int result = -1;
    const std::string text = Export(*folder, 1.0, &result);
    EXPECT_EQ(result, 1);
    // Entries of 20 Hz width weigh 20 / 50.
    EXPECT_EQ(text, "[IP_AP1-OT1]\nUSER_DEFINED_FREQUENCY_DOMAIN\n100\n200\n100\t90\t110\n200\t190\t210\n"
                    "Roof-F\n\n\n[Input powers]\n[Roof-F]\t3\nRoof-F\t0.8\t1.6\n");
    // Order 1.5 lies at 150 Hz at 6000 RPM, between the bands: an empty field (300 Hz at 12000 RPM
    // is beyond the model's bands and writes nothing).
    EXPECT_NE(Export(*folder, 1.5).find("[Input powers]\n[Roof-F]\t3\nRoof-F\t\n"), std::string::npos);
    CStdioFile in;
    in.OpenMemory(CStdioFile::modeRead, Export(*folder, 1.5));
    CHSEAGeneralData data;
    ASSERT_EQ(data.ImportSection(in), 1) << data.GetImportError();
    EXPECT_EQ(data.FindFuncByKind("Roof-F", 0)->DataValue(0, 0), 0.0);

    // No order line within the model's range: the marker, a warning and no section.
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    EXPECT_NE(Export(*folder, 20.0, &result).find("!!OUT_OF_FREQUENCY_RANGE!!"), std::string::npos);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(prompts.Count(), 1u);
}

TEST(InputPowerFolder, DamagedSectionsAreRefusedWithoutChangingTheSet)
{
    const std::string head = "[IP_X]\nUSER_DEFINED_FREQUENCY_DOMAIN\n100\n200\n100\t90\t110\n200\t180\t220\nA-F\n\n\n";
    const struct
    {
        const char* what;
        std::string text;
    } cases[] = {
        {"no title", "IP_X\n"},
        {"no bands", "[IP_X]\nUSER_DEFINED_FREQUENCY_DOMAIN\n100\n200\nA-F\n\n\n[Input powers]\n"},
        {"other section", head + "[CLFs]\n"},
        {"short values", head + "[Input powers]\n[A-F]\t3\nA-F\t1\n"},
        {"text value", head + "[Input powers]\n[A-F]\t3\nA-F\t1\tx\n"},
        {"unknown kind", head + "[Input powers]\n[A-F]\t9\nA-F\t1\t2\n"},
        {"cut short", head + "[Input powers]\n[A-F]\t3\n"},
        {"unordered band", "[IP_X]\nUSER_DEFINED_FREQUENCY_DOMAIN\n100\n200\n100\t190\t110\n"},
    };
    for (const auto& c : cases) {
        CHSEAGeneralData data;
        data.SetName("before");
        CStdioFile in;
        in.OpenMemory(CStdioFile::modeRead, c.text);
        EXPECT_EQ(data.ImportSection(in), 0) << c.what;
        EXPECT_FALSE(data.GetImportError().empty()) << c.what;
        EXPECT_EQ(data.GetName(), "before") << c.what;
        EXPECT_EQ(data.GetChildCount(), 0) << c.what;
    }
}
