#include "platform/archive/Archive.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelShell.h"
#include "platform/win/PromptService.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {
const std::string kSample = std::string(ORVEX_SOURCE_DIR) + "/samples/sample-model.ntf";

std::unique_ptr<CModelData> LoadSample()
{
    auto model = std::make_unique<CModelData>();
    EXPECT_EQ(model->ReadModelInfo(kSample), 1) << model->GetLastError();
    return model;
}

const std::string kMinimal = "ORVEX-MODEL\t1\nBANDS\t0\t100\t1000\nSET\t1\tBody\nSHELL\tRoof\t1\t1\t4\t10\n";
} // namespace

TEST(ModelData, SampleModelLoadsAndAnswersLookUps)
{
    auto model = LoadSample();
    EXPECT_EQ(model->GetType(), 21);
    EXPECT_EQ(model->GetTitle(), "Sample Hatchback");
    EXPECT_EQ(model->GetFileName(), kSample);
    EXPECT_EQ(model->GetFileKind(), CModelData::FILE_KIND_TEXT);
    int type = 0;
    double lo = 0.0, hi = 0.0;
    model->GetModelDataParams(&type, &lo, &hi);
    EXPECT_EQ(type, OCTAVE_BAND_THIRD);
    EXPECT_EQ(lo, 100.0);
    EXPECT_EQ(hi, 10000.0);
    EXPECT_EQ(COctaveManager(type, lo, hi).GetFreqCount(), 21);

    struct Case
    {
        const char* name;
        int type;
        double mass;
        double area;
        double volume;
        double role;
    } cases[] = {
        {"Roof", 2, 14.5, 1.85, 0.0, 14.5},        {"Front Door Panel-R", 1, 4.9, 0.62, 0.0, 4.9},
        {"A-Pillar-L", 3, 2.4, 0.12, 0.0, 2.4},    {"Front Cabin-L", 6, 0.0, 0.0, 0.95, 0.95},
        {"Rear Cabin-C", 6, 0.0, 0.0, 1.30, 1.30},
    };
    for (const Case& c : cases) {
        const CModelSubsystem* s = model->GetSubsystem(c.name);
        ASSERT_NE(s, nullptr) << c.name;
        EXPECT_EQ(s->GetType(), c.type) << c.name;
        EXPECT_EQ(s->GetMass(), c.mass) << c.name;
        EXPECT_EQ(s->GetArea(), c.area) << c.name;
        EXPECT_EQ(s->GetVolume(), c.volume) << c.name;
        EXPECT_EQ(s->GetMassOrVolume(), c.role) << c.name;
        EXPECT_EQ(s->IsStructure(), c.type < 5) << c.name;
    }
    auto* cabin = dynamic_cast<CModelCavity*>(model->GetSubsystem("Rear Cabin-C"));
    ASSERT_NE(cabin, nullptr);
    EXPECT_EQ(cabin->GetSurfaceArea(), 3.90);
    auto* roof = dynamic_cast<CModelShell*>(model->GetSubsystem("Roof"));
    ASSERT_NE(roof, nullptr);
    EXPECT_EQ(roof->GetPerimeter(), 5.6);

    // Exact look-ups compare byte-wise; the loose form ignores case and the wave-type mark.
    EXPECT_EQ(model->GetSubsystem("roof"), nullptr);
    EXPECT_EQ(model->GetSubsystem("Roof-F"), nullptr);
    EXPECT_EQ(model->GetSubsystem("roof", 0, 0), roof);
    EXPECT_EQ(model->GetSubsystem("Roof-F", 0, 0), roof);
    EXPECT_EQ(model->GetSubsystem("Rear Cabin-C-", 0, 0), cabin);
    EXPECT_EQ(model->GetSubsystem("Trunk", 0, 0), nullptr);

    // Every left-side subsystem has its mirror.
    CZuSubsystemTable all;
    ASSERT_NE(model->GetSubsystemSet(1), nullptr);
    EXPECT_EQ(model->GetSubsystemSet(2), nullptr);
    EXPECT_EQ(model->GetSubsystemSet(1)->GetAllSubsystemsList(all), 17);
    int left = 0;
    for (const std::string& name : all.Names()) {
        if (CGfxUtil::GetLeftRight(name) != CGfxUtil::SIDE_LEFT)
            continue;
        ++left;
        std::string mirror;
        ASSERT_TRUE(CGfxUtil::GetSymmetricSubsystem(name, &mirror));
        EXPECT_GE(all.GetIndex(mirror), 0) << mirror;
    }
    EXPECT_EQ(left, 5);
}

TEST(ModelData, SubsystemListsForTheAnalyticalModel)
{
    auto model = LoadSample();
    const CModelSubsystemSet* set = model->GetSubsystemSet(1);
    CZuSubsystemTable table;
    table.Add("kept");
    EXPECT_EQ(set->GetShellsList(table), 12);
    EXPECT_EQ(table.GetCount(), 13);
    EXPECT_EQ(table[1], "Roof");
    // Cavities of type 6 only: the exterior (type 5) stays out.
    EXPECT_EQ(set->GetSubsystemsList(table, CModelSubsystem::TYPE_CAVITY, 0), 4);
    EXPECT_EQ(table.GetIndex("Exterior"), -1);
    EXPECT_EQ(set->GetSubsystemsList(table, CModelSubsystem::TYPE_CAVITY, 1), 4);
    EXPECT_EQ(table.GetCount(), 4);
}

TEST(ModelData, MissingSubsystemIsNullAndShowsNoBox)
{
    // The model answers; a caller that warns of a missing subsystem does so itself.
    auto model = LoadSample();
    CScriptedPrompts prompts;
    EXPECT_EQ(model->GetSubsystem("Trunk"), nullptr);
    EXPECT_EQ(model->GetSubsystem("Trunk", 1), nullptr);
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST(ModelData, BadFilesAreRefusedWithTheLineAndLeaveTheModelAsItWas)
{
    struct Case
    {
        std::string text;
        const char* expect;
    } cases[] = {
        {"", "bad.ntf: the file holds no model"}, // what the whole file lacks names no line
        {"SHELL\tRoof\t1\t1\t1\t1\n", "line 1"},
        {"ORVEX-MODEL\t2\n", "format version"},
        {"ORVEX-MODEL\t1\nSET\t1\tBody\nSHELL\tRoof\t1\t1\t4\t10\n", "bad.ntf: BANDS is missing"},
        {"ORVEX-MODEL\t1\nBANDS\t0\t100\t1000\n", "bad.ntf: the model has no subsystem set"},
        {"ORVEX-MODEL\t1\nBANDS\t3\t100\t1000\n", "band kind"},
        {"ORVEX-MODEL\t1\nBANDS\t0\t1000\t100\n", "band range"},
        {"ORVEX-MODEL\t1\nBANDS\t0\t0\t100\n", "band range"},
        {"ORVEX-MODEL\t1\nBANDS\t0\t100\t1000\nBANDS\t0\t100\t1000\n", "twice"},
        {"ORVEX-MODEL\t1\nBANDS\t0\t100\t1000\nSHELL\tRoof\t1\t1\t4\t10\n", "before the first SET"},
        {kMinimal + "SHELL\tRoof\t1\t1\t4\t10\n", "line 5: subsystem \"Roof\" is given twice"},
        {kMinimal + "SHELL\tHood\t1\t1\t4\n", "fields"},
        {kMinimal + "SHELL\tHood\t1\t1\t4\tten\n", "mass \"ten\" is not a number"},
        {kMinimal + "SHELL\tHood\t1\t1\t4\t-1\n", "must not be negative"},
        {kMinimal + "SHELL\tHood\t1\t1\t4\tnan\n", "not a number"},
        {kMinimal + "SHELL\tHood\t1\t1\t4\t1e999\n", "not a number"},
        {kMinimal + "SHELL\tHood\t6\t1\t4\t1\n", "shell type"},
        {kMinimal + "CAVITY\tCabin\t1\t1\t4\n", "cavity type"},
        {kMinimal + "CAVITY\tCabin-\t6\t1\t4\n", "wave-type mark"},
        {kMinimal + "SHELL\tHood-F\t1\t1\t4\t1\n", "wave-type mark"},
        {kMinimal + "SHELL\t\t1\t1\t4\t1\n", "needs a name"},
        {kMinimal + "SET\t1\tAgain\n", "set 1 is given twice"},
        {kMinimal + "SET\t0\tZero\n", "start at 1"},
        {kMinimal + "WHEEL\tFront\n", "unknown record"},
    };
    for (const Case& c : cases) {
        auto model = LoadSample();
        EXPECT_EQ(model->ReadModelText(c.text, "bad.ntf"), 0) << c.text;
        EXPECT_NE(model->GetLastError().find(c.expect), std::string::npos) << model->GetLastError();
        EXPECT_EQ(model->GetTitle(), "Sample Hatchback");
        EXPECT_EQ(model->GetFileName(), kSample);
        EXPECT_NE(model->GetSubsystem("Roof"), nullptr);
    }
    CModelData model;
    EXPECT_EQ(model.ReadModelInfo("/nonexistent/model.ntf"), 0);
    EXPECT_NE(model.GetLastError().find("cannot be opened"), std::string::npos);
    EXPECT_EQ(model.ReadModelInfo(ORVEX_SOURCE_DIR), 0);
}

TEST(ModelData, TextDetailsAreTolerated)
{
    CModelData model;
    // Byte-order mark, CRLF line ends, comments, blanks around fields, no final line end.
    const std::string text = "\xEF\xBB\xBF# comment\r\nORVEX-MODEL\t1\r\n\r\nBANDS\t1 \t 63\t8000\r\n"
                             "SET\t3\tTrim\r\nCAVITY\t Cabin \t6\t2.5\t1.5";
    ASSERT_EQ(model.ReadModelText(text, "trim.XML"), 1) << model.GetLastError();
    EXPECT_EQ(model.GetFileKind(), CModelData::FILE_KIND_XML);
    EXPECT_EQ(model.GetBandType(), OCTAVE_BAND_FULL);
    ASSERT_NE(model.GetSubsystemSet(3), nullptr);
    ASSERT_NE(model.GetSubsystem("Cabin"), nullptr);
    EXPECT_EQ(model.GetSubsystem("Cabin")->GetVolume(), 1.5);
    EXPECT_EQ(model.GetName(), "3D Model");
}

TEST(ModelData, StoredWithTheProjectAsAnElement)
{
    auto model = LoadSample();
    CMElement root("Model", nullptr, 0);
    root.AddChild(std::unique_ptr<CMElement>(model.release()));

    std::vector<uint8_t> buf;
    {
        CArchive out(&buf, CArchive::store);
        out.WriteObject(&root);
        out.Close();
    }
    CArchive in(&buf, CArchive::load);
    std::unique_ptr<CMElement> back = in.ReadOwned<CMElement>();
    ASSERT_NE(back, nullptr);
    auto* data = ElementCast<CModelData>(back->FindOne(21, 1));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetTitle(), "Sample Hatchback");
    EXPECT_EQ(data->GetFileName(), kSample);
    EXPECT_EQ(data->GetBandType(), 0);
    EXPECT_EQ(data->GetEndFreq(), 10000.0);
    ASSERT_NE(data->GetSubsystem("Front Cabin-R"), nullptr);
    EXPECT_EQ(data->GetSubsystem("Front Cabin-R")->GetVolume(), 0.95);
    EXPECT_EQ(data->GetSubsystem("Fr Side Member-L")->GetMass(), 6.1);
    EXPECT_NE(dynamic_cast<CModelShell*>(data->GetSubsystem("Fr Side Member-L")), nullptr);

    // Every truncation of the stored tree fails cleanly.
    for (size_t n = 0; n < buf.size(); n += 7) {
        std::vector<uint8_t> cut(buf.begin(), buf.begin() + static_cast<long>(n));
        CArchive bad(&cut, CArchive::load);
        EXPECT_THROW(bad.ReadOwned<CMElement>(), CArchiveException) << n;
    }
}

TEST(ModelDoc, ColoursMarksAndSelection)
{
    auto model = LoadSample();
    C3DModelDoc2 doc(model.get());
    int redraws = 0;
    const int view = doc.AddView([&] { ++redraws; });

    EXPECT_EQ(doc.ColorSubsystem("Roof-F", 1.0f, 0.0f, 0.0f), 1);
    EXPECT_EQ(doc.ColorSubsystem("Trunk", 1.0f, 0.0f, 0.0f), 0);
    const CModelSubsystem* roof = model->GetSubsystem("Roof");
    EXPECT_TRUE(roof->IsMarked());
    EXPECT_EQ(roof->GetColor()[0], 1.0f);
    doc.UpdateAllViews();
    EXPECT_EQ(redraws, 1);

    doc.SetDefaultColors();
    EXPECT_FALSE(roof->IsMarked());
    EXPECT_EQ(roof->GetColor(), roof->GetDefaultColor());
    EXPECT_NE(model->GetSubsystem("Rear Cabin-C")->GetDefaultColor(), roof->GetDefaultColor());

    CZuSubsystemTable names;
    names.Add("Front Cabin-R-");
    names.Add("front door panel-l");
    names.Add("Trunk");
    EXPECT_EQ(doc.SetSelection(names), 2);
    EXPECT_TRUE(doc.IsSelected("Front Cabin-R"));
    EXPECT_TRUE(doc.IsSelected("Front Door Panel-L"));
    EXPECT_FALSE(doc.IsSelected("Roof"));
    doc.ClearSelection();
    EXPECT_EQ(doc.GetSelection().GetCount(), 0);

    doc.RemoveView(view);
    doc.UpdateAllViews();
    EXPECT_EQ(redraws, 1);

    C3DModelDoc empty;
    EXPECT_EQ(empty.ColorSubsystem("Roof", 0, 0, 0), 0);
    EXPECT_EQ(empty.SetSelection(names), 0);
    empty.SetDefaultColors();
}
