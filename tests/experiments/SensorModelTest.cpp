// The sensor catalogue: sensors, bundles, groups and their stored form.
#include <gtest/gtest.h>

#include "experiments/SensorProject.h"
#include "platform/archive/Archive.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

namespace {

// The sensor window's feedback: refusals show as the boxes they always were.
CFeedback* StatusBarBoxes()
{
    static CStatusBarFeedback boxes;
    return &boxes;
}
tagSENSORINFO Info(const std::string& id, int dataType)
{
    tagSENSORINFO info;
    info.ID = id;
    info.ChannelInfo.DataType = dataType;
    return info;
}

std::vector<uint8_t> StoreObject(const CObject& object)
{
    std::vector<uint8_t> bytes;
    CArchive ar(&bytes, CArchive::store);
    ar.WriteObject(&object);
    return bytes;
}

template <class T>
std::unique_ptr<T> LoadObject(const std::vector<uint8_t>& bytes)
{
    CArchive ar(bytes.data(), bytes.size());
    return ar.ReadOwned<T>();
}
} // namespace

TEST(SensorProject, SensorsGoToTheirCategoryAndIdsStayUnique)
{
    CScriptedPrompts prompts;
    CSensorProject project;
    EXPECT_EQ(project.GetChildCount(), 3);
    CSensor* a = project.AddSensor(Info("A1", SENSOR_DATATYPE_ACCELERATION));
    CSensor* m = project.AddSensor(Info("M1", SENSOR_DATATYPE_PRESSURE));
    CSensor* h = project.AddSensor(Info("H1", SENSOR_DATATYPE_FORCE));
    ASSERT_TRUE(a && m && h);
    EXPECT_EQ(a->GetParent(), project.GetCategory(1));
    EXPECT_EQ(m->GetParent(), project.GetCategory(2));
    EXPECT_EQ(h->GetParent(), project.GetCategory(3));
    EXPECT_EQ(m->GetType(), 2);
    EXPECT_EQ(project.AddSensor(Info("X", 99)), nullptr);
    EXPECT_EQ(prompts.Count(), 0u);
    EXPECT_EQ(project.AddSensor(Info("A1", SENSOR_DATATYPE_FORCE), StatusBarBoxes()), nullptr);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6201u);
    EXPECT_EQ(project.FindSensor("H1"), h);
    EXPECT_EQ(project.FindSensor("none"), nullptr);
}

TEST(SensorProject, RenamingToAnotherSensorsIdIsRefused)
{
    CScriptedPrompts prompts;
    CSensorProject project;
    CSensor* a = project.AddSensor(Info("A1", SENSOR_DATATYPE_ACCELERATION));
    project.AddSensor(Info("A2", SENSOR_DATATYPE_ACCELERATION));
    SensorDialogValues values;
    values.id = "A2";
    values.unitChoice = 1;
    EXPECT_FALSE(project.UpdateSensor(a, values, StatusBarBoxes()));
    EXPECT_EQ(a->GetName(), "A1");
    EXPECT_EQ(prompts.Last().stringId, 6201u);
    // Keeping its own ID, or taking a free one, is fine.
    values.id = "A1";
    EXPECT_TRUE(project.UpdateSensor(a, values));
    values.id = "A3";
    EXPECT_TRUE(project.UpdateSensor(a, values));
    EXPECT_EQ(a->GetName(), "A3");
    EXPECT_EQ(project.FindSensor("A3"), a);
}

TEST(SensorProject, DialogValuesConvertToStoredUnits)
{
    struct Case
    {
        int choice;
        bool ok;
        int dataType;
        float sensitivity;
        float limit;
    };
    const Case cases[] = {
        {0, true, 7, 1.0f, 9.80665f}, {1, true, 7, 9.80665f, 1.0f}, {2, true, 15, 9.80665f, 1.0f},
        {3, true, 8, 9.80665f, 1.0f}, {4, false, 0, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        SensorDialogValues v;
        v.id = "S";
        v.unitChoice = c.choice;
        v.sensitivity = 9.80665f;
        v.limit = 1.0f;
        tagSENSORINFO info;
        ASSERT_EQ(CSensorProject::DialogValuesToSensorInfo(v, info), c.ok);
        if (!c.ok)
            continue;
        EXPECT_EQ(info.ChannelInfo.DataType, c.dataType);
        EXPECT_FLOAT_EQ(info.ChannelInfo.Sensitivity, c.sensitivity);
        EXPECT_FLOAT_EQ(info.ChannelInfo.Limit, c.limit);
        EXPECT_EQ(info.ChannelInfo.Unit, 0);
        EXPECT_EQ(info.ChannelInfo.Channel, -1);
        EXPECT_EQ(info.ChannelInfo.Scale, 1.0f);
    }
}

TEST(SensorBundle, HoldsAtMostEightDistinctSensors)
{
    CSensorBundle bundle;
    for (const char* id : {"S0", "S1", "S2", "S3", "S4", "S5", "S6", "S7"})
        EXPECT_EQ(bundle.AddSensor(id), 1);
    EXPECT_EQ(bundle.AddSensor("S9"), 0);
    EXPECT_EQ(bundle.GetCount(), 8);
    bundle.RemoveSensor(0);
    EXPECT_EQ(bundle.AddSensor("S1"), 0); // already there
    bundle.SetID("B2-Front door");
    EXPECT_EQ(bundle.GetBundleID(), "B2");
    EXPECT_EQ(bundle.GetBundleName(), "Front door");
}

TEST(SensorProject, BundlesAreNumberedAndGroupsInsertedWithoutGaps)
{
    CSensorProject project;
    CSensorBundle* first = project.AddBundle("");
    EXPECT_EQ(first->GetNumber(), 1);
    EXPECT_EQ(first->GetID(), "2");
    first->AddSensor("A");
    CSensorBundle* copy = project.CopyBundle(1);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetNumber(), 2);
    EXPECT_EQ(copy->GetSensors(), first->GetSensors());
    EXPECT_EQ(project.CopyBundle(99), nullptr);

    // A group inserted past the end is appended: no empty group slots ever exist.
    CSensorGroup* g0 = project.InsertGroup(0);
    CSensorGroup* g1 = project.InsertGroup(10);
    EXPECT_EQ(project.GetGroupCount(), 2);
    EXPECT_EQ(project.GetGroup(1), g1);
    EXPECT_EQ(project.InsertGroup(-1), nullptr);
    CSensorGroup* g = project.InsertGroup(1);
    EXPECT_EQ(project.GetGroup(0), g0);
    EXPECT_EQ(project.GetGroup(1), g);
    EXPECT_EQ(project.GetGroup(2), g1);
    for (int i = 0; i < project.GetGroupCount(); ++i)
        EXPECT_NE(project.GetGroup(i), nullptr);
}

TEST(SensorGroup, MembersStayUniquePerChannelAndPerSlot)
{
    CScriptedPrompts prompts;
    CSensorGroup group;
    group.SetMember({"A", 1, 0, 3, 0});
    group.SetMember({"B", 1, 1, 1, 0});
    EXPECT_EQ(group.GetMemberValue(0), 1); // sorted by channel
    group.SetMember({"C", 2, 0, 3, 0});    // channel 3 is taken: replaced
    EXPECT_EQ(group.GetMemberCount(), 2);
    EXPECT_EQ(group.GetMemberKeyA(1), 2);
    group.SetMember({"B", 1, 1, 7, 0}); // same bundle and slot: moved
    EXPECT_EQ(group.GetMemberCount(), 2);
    EXPECT_EQ(group.GetMemberValue(1), 7);
    EXPECT_EQ(group.UsesBundle(1), 1); // bundle numbers are not dropped by removals

    // Shifts keep channels inside 0 .. count - 1 or change nothing.
    EXPECT_EQ(group.Shift(-4), 0);
    EXPECT_EQ(group.Shift(9), 0);
    EXPECT_EQ(group.Shift(8), 1);
    EXPECT_EQ(group.GetMemberValue(0), 11);
    EXPECT_EQ(group.GetMemberValue(1), 15);
    EXPECT_EQ(group.UsesBundle(1), 1);
    EXPECT_EQ(group.UsesBundle(2), 1);

    // A full group refuses more members with a message.
    CSensorGroup full;
    for (int ch = 0; ch < 16; ++ch)
        full.SetMember({"S", 5, ch, ch, 0});
    EXPECT_EQ(full.SetMember({"T", 6, 0, 20, 0}, CSensorGroup::kDefaultChannelCount, StatusBarBoxes()), 0);
    EXPECT_EQ(full.GetMemberCount(), 16);
    EXPECT_EQ(prompts.Last().stringId, 7081u);
}

TEST(SensorProject, StoredAndReadBack)
{
    CScriptedPrompts prompts;
    CSensorProject project;
    tagSENSORINFO info = Info("A1", SENSOR_DATATYPE_ACCELERATION);
    info.Manufacturer = "Maker";
    info.ChannelInfo.AttachPoint = "Roof";
    info.ChannelInfo.Sensitivity = 10.5f;
    project.AddSensor(info);
    CSensorBundle* b = project.AddBundle("B1-X");
    b->AddSensor("A1");
    project.InsertGroup(0)->SetMember({"A1", b->GetNumber(), 0, 4, 9});
    const auto bytes = StoreObject(project);
    auto loaded = LoadObject<CSensorProject>(bytes);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetChildCount(), 3);
    ASSERT_NE(loaded->FindSensor("A1"), nullptr);
    EXPECT_EQ(loaded->FindSensor("A1")->GetSensorInfo(), info);
    EXPECT_EQ(loaded->GetBundle(0)->GetID(), "B1-X");
    EXPECT_EQ(loaded->GetGroup(0)->GetMember(0), (tagSENSORGROUPMEMBER{"A1", b->GetNumber(), 0, 4, 9}));
    EXPECT_EQ(StoreObject(*loaded), bytes);
}

TEST(SensorProject, Version0BundlesAreNumberedByPosition)
{
    CSensorProject project;
    project.AddBundle("x")->AddSensor("S1");
    project.AddBundle("y");
    auto bytes = StoreObject(project);
    // The project's version byte follows its class record (new-class tag, schema, name).
    const std::string name = "CSensorProject";
    auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    ASSERT_NE(at, bytes.end());
    auto version = at + static_cast<std::ptrdiff_t>(name.size());
    ASSERT_EQ(*version, 1);
    *version = 0;
    auto loaded = LoadObject<CSensorProject>(bytes);
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->GetBundleCount(), 2);
    EXPECT_EQ(loaded->GetBundle(0)->GetNumber(), 0);
    EXPECT_EQ(loaded->GetBundle(1)->GetNumber(), 1);
    EXPECT_EQ(loaded->GetBundle(0)->GetID(), "1");
    EXPECT_EQ(loaded->GetBundle(1)->GetID(), "2");
    EXPECT_EQ(loaded->GetBundle(0)->GetSensors(), std::vector<std::string>{"S1"});

    // A bundle of version 0 stops after its sensor IDs.
    std::vector<uint8_t> old;
    {
        CArchive ar(&old, CArchive::store);
        ar << static_cast<uint8_t>(0) << static_cast<int32_t>(1) << std::string("S");
    }
    CSensorBundle bundle;
    CArchive in(old.data(), old.size());
    bundle.Serialize(in);
    EXPECT_EQ(bundle.GetNumber(), -1);
    EXPECT_EQ(bundle.GetID(), "");
    EXPECT_EQ(in.BytesRemaining(), 0u);
}
