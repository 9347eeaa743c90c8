// The input-energy folder: items by subsystem, replacement with tree notices, old stored folders,
// and its text sections by RPM and by order, as energies and as velocities and pressures.
#include <gtest/gtest.h>

#include <cstring>

#include "calculation/AnalysisProjectAccess.h"
#include "calculation/InputEnergyFolder.h"
#include "platform/archive/Archive.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

#include "StubAnalysisProject.h"

namespace {
constexpr double kCavityVolume = 1.21 * 343.0 * 343.0; // so that pressure^2 = energy

// An analysis project over a model of "Roof" (structure, 2 kg) and "Cabin" (cavity).
class CStubAnalysis : public CStubAnalysisProject
{
public:
    CStubAnalysis() : CStubAnalysisProject(31.5, 63.0, 1000.0f, 1100.0f, 50.0f) { cabinVolume = kCavityVolume; }
};

CZuRpmFunc* Energy(const std::string& subsystem, std::vector<double> values)
{
    const double freqs[] = {100.0, 200.0};
    const double rpms[] = {1000.0, 1050.0, 1100.0};
    auto f = CZuRpmFunc::NewRpmFunc(subsystem, 5, nullptr, subsystem, freqs, 2, rpms, 3);
    for (int r = 0; r < 3; ++r)
        for (int b = 0; b < 2; ++b)
            f->DataValue(r, b) = values[static_cast<size_t>(b)];
    return f.release();
}

std::string Export(CInputEnergyFolder& folder, double key, int asLevels, int* result = nullptr)
{
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    CStatusBarFeedback boxes; // the export command's
    const int r = folder.ExportText(file, key, 2, 50.0, asLevels, &boxes);
    if (result)
        *result = r;
    return file.GetMemoryText();
}

const char* const kHeadByRpm = "USER_DEFINED_FREQUENCY_DOMAIN\n100\n200\n100\t90\t110\n200\t180\t220\n"
                               "Roof-F\nCabin-\n\n\n[Input powers]\n";
} // namespace

TEST(InputEnergyFolder, ItemsAreReplacedBySubsystemAndTheTreeHears)
{
    CStubAnalysis project;
    auto* folder = project.AddChild(std::make_unique<CInputEnergyFolder>(&project));
    EXPECT_EQ(folder->GetName(), "Input Energy");
    EXPECT_EQ(folder->GetType(), 88);
    CMElementList first;
    first.Add(Energy("Roof", {1.0, 1.0}));
    first.Add(Energy("Cabin", {1.0, 1.0}));
    folder->AddItems(first);
    CMElementList again;
    CZuRpmFunc* newRoof = Energy("Roof", {2.0, 2.0});
    again.Add(newRoof);
    folder->AddItems(again);
    EXPECT_EQ(project.notices, (std::vector<std::string>{"+Input Energy", "+Roof", "+Cabin", "-Roof", "+Roof"}));
    EXPECT_EQ(folder->FindRpmItem("Roof"), newRoof);
    EXPECT_EQ(folder->FindRpmItem("roof"), nullptr);
    CZuSubsystemTable table;
    EXPECT_EQ(folder->GetSubsystemTable(table), 2);
    EXPECT_EQ(table[0], "Cabin");
    CZuSubsystemTable wanted;
    wanted.Add("Roof");
    wanted.Add("Nobody");
    CMElementList items;
    EXPECT_EQ(folder->GetItems(wanted, items), 1);
    EXPECT_EQ(items.GetSize(), 1);
    EXPECT_EQ(items[0], newRoof);
}

TEST(InputEnergyFolder, AnItemListedTwiceOrHeldAlreadyIsAddedOnce)
{
    CStubAnalysis project;
    auto* folder = project.AddChild(std::make_unique<CInputEnergyFolder>(&project));
    CMElementList list;
    CZuRpmFunc* roof = Energy("Roof", {1.0, 1.0});
    list.Add(roof);
    list.Add(roof);
    folder->AddItems(list);
    folder->AddItems(list);
    EXPECT_EQ(folder->GetChildCount(), 1);
    EXPECT_EQ(folder->FindRpmItem("Roof"), roof);
    EXPECT_EQ(project.notices, (std::vector<std::string>{"+Input Energy", "+Roof"}));
}

TEST(InputEnergyFolder, TextByRpmAsEnergiesAndAsLevels)
{
    CStubAnalysis project;
    auto* folder = project.AddChild(std::make_unique<CInputEnergyFolder>(&project));
    CMElementList items;
    items.Add(Energy("Roof", {0.02, -1.0}));
    items.Add(Energy("Cabin", {4.0, 0.0}));
    items.Add(Energy("Ghost", {1.0, 1.0}));
    folder->AddItems(items);

    EXPECT_EQ(Export(*folder, 1050.0, 0), std::string("[IE_AP1-1050RPM]\n") + kHeadByRpm +
                                              "[Roof-F]\t5\nRoof-F\t0.02\t-1\n[Cabin-]\t5\nCabin-\t4\t0\n");
    // Back to velocity (kind 66, sqrt(E / mass)) and pressure (64); no level for energies <= 0.
    EXPECT_EQ(Export(*folder, 1050.0, 1), std::string("[IPV_AP1-1050RPM]\n") + kHeadByRpm +
                                              "[Roof-F]\t66\nRoof-F\t0.1\t0\n[Cabin-]\t64\nCabin-\t2\t0\n");
    // No row at exactly that RPM: the headers only.
    EXPECT_EQ(Export(*folder, 1025.0, 0), std::string("[IE_AP1-1025RPM]\n") + kHeadByRpm);

    project.type = 2;
    int result = -1;
    EXPECT_EQ(Export(*folder, 1050.0, 0, &result), "");
    EXPECT_EQ(result, 0);
    CInputEnergyFolder empty(&project);
    EXPECT_EQ(empty.ExportText(*std::make_unique<CStdioFile>(), 1050.0, 2, 50.0, 0), 0);
}

TEST(InputEnergyFolder, TextByOrderWeightsTheOrderLines)
{
    CStubAnalysis project;
    project.type = 1;
    auto* folder = project.AddChild(std::make_unique<CInputEnergyFolder>(&project));
    CZuSubsystemTable columns;
    columns.Add("Order 2");
    auto* roof = new COTMultiVecFunc("Roof", &columns, 3, nullptr, 5);
    roof->SetLabel("Roof");
    COrderList orders;
    orders.Add(2.0);
    roof->SetOrderList(orders);
    roof->SetDataIndexArray({1000.0, 1050.0, 1100.0});
    for (int i = 0; i < 3; ++i)
        roof->DataValue(i, 0) = 0.02 * (i + 1);
    CMElementList items;
    items.Add(roof);
    folder->AddItems(items);

    // Order 2 over 1000 .. 1100 RPM: 33.3, 35 and 36.7 Hz, each 50 Hz wide (weight 50 / 50).
    EXPECT_EQ(Export(*folder, 2.0, 1),
              "[IPV_AP1-OT2]\nUSER_DEFINED_FREQUENCY_DOMAIN\n33\n36\n33\t8\t58\n35\t10\t60\n36\t11\t61\n"
              "Roof-F\n\n\n[Input powers]\n[Roof-F]\t66\nRoof-F\t0.1\t0.141421\t0.173205\n");
    // An order outside the model's frequency range writes the marker and warns.
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    int result = -1;
    EXPECT_EQ(Export(*folder, 20.0, 0, &result),
              "[IE_AP1-OT20]\nUSER_DEFINED_FREQUENCY_DOMAIN\n333\n366\n!!OUT_OF_FREQUENCY_RANGE!!\n");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(prompts.Count(), 1u);
}

TEST(InputEnergyFolder, OldFolderGetsOrderFormsOfItsEnergyFunctions)
{
    CInputEnergyFolder folder(nullptr);
    CZuSubsystemTable columns;
    columns.Add("a");
    columns.Add("b");
    auto* plain = new CMultiVectorFunction("Roof", &columns, 2, nullptr, 5);
    plain->SetLabel("Roof");
    folder.AddChild(plain);
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteObject(&folder);
    }
    // The class record's schema word follows the new-class tag.
    ASSERT_GE(bytes.size(), 4u);
    ASSERT_EQ(bytes[2], 1);
    bytes[2] = 0;
    CArchive in(bytes.data(), bytes.size());
    auto read = in.ReadOwned<CInputEnergyFolder>();
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->GetChildCount(), 1);
    auto* converted = ElementCast<COTMultiVecFunc>(read->GetChild(0));
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->GetLabel(), "Roof");
    EXPECT_EQ(converted->GetOrderList().GetSize(), 2);

    // The current form keeps its children as they are.
    bytes[2] = 1;
    CArchive again(bytes.data(), bytes.size());
    auto current = again.ReadOwned<CInputEnergyFolder>();
    EXPECT_EQ(ElementCast<COTMultiVecFunc>(current->GetChild(0)), nullptr);
}
