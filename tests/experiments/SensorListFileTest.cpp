// The sensor list file: written and read back equal, files without the title block, channel
// counts that changed, malformed cells, and files cut short that leave the catalogue alone.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "MeasuredDataTestSupport.h"
#include "experiments/SensorListFile.h"
#include "experiments/SensorProject.h"
#include "support/FakeProjectLookups.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

namespace {

std::string Path(const std::string& name)
{
    return (ExperimentsTestTempDir() / name).string();
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The system channel count of the container the sensor projects belong to.
struct ChannelCount : CFakeProjectLookups
{
    explicit ChannelCount(int n) { channels = n; }
    CSensorProject& operator()(CSensorProject& project)
    {
        project.SetProjectLookups(this);
        return project;
    }
};

void Fill(CSensorProject& project)
{
    struct Row
    {
        const char* id;
        int type;
        float sensitivity;
    } rows[] = {{"A1", SENSOR_DATATYPE_ACCELERATION, 10.2f},
                {"A2", SENSOR_DATATYPE_ACCELERATION, 9.87f},
                {"M1", SENSOR_DATATYPE_PRESSURE, 50.0f},
                {"H1", SENSOR_DATATYPE_FORCE, 2.25f}};
    for (const Row& r : rows) {
        tagSENSORINFO info;
        info.ID = r.id;
        info.Manufacturer = "Maker";
        info.Model = "M-1";
        info.SerialNumber = std::string("SN-") + r.id;
        info.ChannelInfo.DataType = r.type;
        info.ChannelInfo.Sensitivity = r.sensitivity;
        info.ChannelInfo.Unit = 1;
        info.ChannelInfo.Limit = 70.5f;
        ASSERT_NE(project.AddSensor(info), nullptr);
    }
    CSensorBundle* front = project.AddBundle("1-Front");
    front->AddSensor("A1");
    front->AddSensor("M1");
    CSensorBundle* hash = project.AddBundle("2-Rear #B");
    hash->AddSensor("A2");
    hash->AddSensor("H1");
    CSensorGroup* g = project.InsertGroup(0);
    g->SetMember({"A1", front->GetNumber(), 0, 0, 0});
    g->SetMember({"H1", hash->GetNumber(), 1, 5, 0});
    g->SetMember({"M1", front->GetNumber(), 1, 12, 0});
    project.InsertGroup(1)->SetMember({"A2", hash->GetNumber(), 0, 15, 0});
}

struct Member
{
    std::string text;
    int bundle, slot, channel;
    bool operator==(const Member&) const = default;
};

std::vector<Member> Members(const CSensorGroup& g)
{
    std::vector<Member> out;
    for (int i = 0; i < g.GetMemberCount(); ++i) {
        const auto m = g.GetMember(i);
        out.push_back({m.text, m.bundle, m.slot, m.channel});
    }
    return out;
}

void ExpectSame(const CSensorProject& a, const CSensorProject& b)
{
    const auto sa = a.GetAllSensors();
    const auto sb = b.GetAllSensors();
    ASSERT_EQ(sa.size(), sb.size());
    for (size_t i = 0; i < sa.size(); ++i) {
        EXPECT_EQ(sa[i]->GetID(), sb[i]->GetID());
        EXPECT_EQ(sa[i]->GetManufacturer(), sb[i]->GetManufacturer());
        EXPECT_EQ(sa[i]->GetModel(), sb[i]->GetModel());
        EXPECT_EQ(sa[i]->GetSerialNumber(), sb[i]->GetSerialNumber());
        EXPECT_FLOAT_EQ(sa[i]->GetChannelInfo().Sensitivity, sb[i]->GetChannelInfo().Sensitivity);
        EXPECT_EQ(sa[i]->GetChannelInfo().DataType, sb[i]->GetChannelInfo().DataType);
        EXPECT_EQ(sa[i]->GetChannelInfo().Unit, sb[i]->GetChannelInfo().Unit);
        EXPECT_FLOAT_EQ(sa[i]->GetChannelInfo().Limit, sb[i]->GetChannelInfo().Limit);
    }
    ASSERT_EQ(a.GetBundleCount(), b.GetBundleCount());
    for (int i = 0; i < a.GetBundleCount(); ++i) {
        EXPECT_EQ(a.GetBundle(i)->GetID(), b.GetBundle(i)->GetID());
        EXPECT_EQ(a.GetBundle(i)->GetNumber(), b.GetBundle(i)->GetNumber());
        EXPECT_EQ(a.GetBundle(i)->GetSensors(), b.GetBundle(i)->GetSensors());
    }
    ASSERT_EQ(a.GetGroupCount(), b.GetGroupCount());
    for (int i = 0; i < a.GetGroupCount(); ++i)
        EXPECT_EQ(Members(*a.GetGroup(i)), Members(*b.GetGroup(i))) << "group " << i;
}

TEST(SensorListFile, WrittenAndReadBackEqual)
{
    ChannelCount channels(16);
    CSensorProject project;
    channels(project);
    Fill(project);
    const std::string path = Path("sensors.dat");
    ASSERT_EQ(WriteSensorListFile(project, path, "Sensors of the car"), 1);
    const std::string text = ReadText(path);
    EXPECT_EQ(
        text.rfind("#@Sensors of the car\n# " + path + "\n#\n[Sensor List]\nA1\tMaker\tM-1\tSN-A1\t10.2\t7\t1\t70.5\n",
                   0),
        0u)
        << text;
    EXPECT_NE(text.find("\n\n[Sensor Bundle]\nBundle ID\tSensor 1\tSensor 2\tSensor 3\tSensor 4\tSensor 5\tSensor "
                        "6\tSensor 7\tSensor 8\n1-Front\t1\tA1\tM1\t\t\t\t\t\t\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\n1\t1-Front #1\t\t\t\t\t2-Rear #B #2\t"), std::string::npos) << text;

    CSensorProject read;
    std::string title;
    ASSERT_EQ(ReadSensorListFile(read, path, title), 1);
    EXPECT_EQ(title, "Sensors of the car");
    ExpectSame(project, read);

    // Without the title block the file reads the same; the title stays as it was.
    WriteText(Path("bare.dat"), text.substr(text.find("[Sensor List]")));
    CSensorProject bare;
    title = "kept";
    ASSERT_EQ(ReadSensorListFile(bare, Path("bare.dat"), title), 1);
    EXPECT_EQ(title, "kept");
    ExpectSame(project, bare);

    // A system of 8 channels keeps the members of channels 1 to 8 only.
    ChannelCount fewer(8);
    CSensorProject eight;
    ASSERT_EQ(ReadSensorListFile(fewer(eight), path, title), 1);
    ASSERT_EQ(eight.GetGroupCount(), 2);
    EXPECT_EQ(Members(*eight.GetGroup(0)), (std::vector<Member>{{"A1", 1, 0, 0}, {"H1", 2, 1, 5}}));
    EXPECT_EQ(eight.GetGroup(1)->GetMemberCount(), 0);
}

TEST(SensorListFile, OddRowsAndCellsAreDropped)
{
    ChannelCount channels(4);
    WriteText(Path("odd.dat"), "[Sensor List]\n"
                               "A1\tMaker\tM\tS\t10\t7\t0\t0\n"
                               "X1\tMaker\tM\tS\t10\t99\t0\t0\n"
                               "M1\tMaker\n"
                               "\n[Sensor Bundle]\nBundle ID\n"
                               "B\t4\tA1\t\tM1\n"
                               "\n[Sensor Grouping]\nGroup #\n"
                               "1\tB #1\tB\t#1\tB #9\n");
    CSensorProject project;
    std::string title;
    ASSERT_EQ(ReadSensorListFile(channels(project), Path("odd.dat"), title), 1);
    const auto sensors = project.GetAllSensors();
    ASSERT_EQ(sensors.size(), 1u) << "an unknown data type and a row without one are dropped";
    EXPECT_EQ(sensors[0]->GetID(), "A1");
    ASSERT_EQ(project.GetBundleCount(), 1);
    EXPECT_EQ(project.GetBundle(0)->GetSensors(), (std::vector<std::string>{"A1", "M1"}));
    EXPECT_EQ(project.GetBundle(0)->GetNumber(), 4);
    EXPECT_EQ(Members(*project.GetGroup(0)), (std::vector<Member>{{"A1", 4, 0, 0}}));
}

TEST(SensorListFile, AFileCutShortLeavesTheCatalogueAsItWas)
{
    ChannelCount channels(16);
    CSensorProject source;
    channels(source);
    Fill(source);
    const std::string path = Path("full.dat");
    ASSERT_EQ(WriteSensorListFile(source, path, "T"), 1);
    const std::string text = ReadText(path);
    const size_t groupsFrom = text.find("Group #");
    ASSERT_NE(groupsFrom, std::string::npos);

    CSensorProject target;
    tagSENSORINFO info;
    info.ID = "Old";
    info.ChannelInfo.DataType = SENSOR_DATATYPE_FORCE;
    target.AddSensor(info);
    target.AddBundle("Old-B");
    CScriptedPrompts prompts; // duplicate messages would show here; none are expected
    for (size_t cut = 0; cut < text.size(); ++cut) {
        // A cut at a line end after the group header leaves a shorter but whole file.
        if (cut > groupsFrom && text[cut - 1] == '\n')
            continue;
        WriteText(Path("cut.dat"), text.substr(0, cut));
        std::string title = "before";
        ASSERT_EQ(ReadSensorListFile(target, Path("cut.dat"), title), 0) << cut;
        EXPECT_EQ(title, "before");
        ASSERT_EQ(target.GetAllSensors().size(), 1u) << cut;
        ASSERT_EQ(target.GetBundleCount(), 1) << cut;
    }
    EXPECT_EQ(prompts.Count(), 0u);
    std::string unused;
    EXPECT_EQ(ReadSensorListFile(target, Path("missing.dat"), unused), 0);
    EXPECT_EQ(WriteSensorListFile(source, Path("no/such/folder/x.dat"), "T"), 0);
}

// The sensor window's feedback: the reader's warnings show as the boxes they always were.
CFeedback* StatusBarBoxes()
{
    static CStatusBarFeedback boxes;
    return &boxes;
}

} // namespace

// A file that repeats one ID a thousand times is one import with one problem report, not a
// thousand message boxes; the first sensor of the ID is kept.
TEST(SensorListFile, RepeatedIdsAreReportedOnceForTheWholeImport)
{
    std::string text = "[Sensor List]\n";
    for (int i = 0; i < 1000; ++i)
        text += "A1\tMaker\tM\tS" + std::to_string(i) + "\t10\t7\t0\t0\n";
    text += "Accelerometers\tMaker\tM\tS\t10\t7\t0\t0\n"; // a category's name is taken too
    text += "\n[Sensor Bundle]\nBundle ID\n\n[Sensor Grouping]\nGroup #\n";
    WriteText(Path("repeated.dat"), text);
    CScriptedPrompts prompts;
    CSensorProject project;
    std::string title;
    ASSERT_EQ(ReadSensorListFile(project, Path("repeated.dat"), title, StatusBarBoxes()), 1);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6201u);
    EXPECT_NE(prompts.Last().text.find("and 980 more"), std::string::npos) << prompts.Last().text;
    const auto sensors = project.GetAllSensors();
    ASSERT_EQ(sensors.size(), 1u);
    EXPECT_EQ(sensors[0]->GetSerialNumber(), "S0");

    CScriptedPrompts quiet; // without a window's feedback the reader shows nothing
    CSensorProject again;
    ASSERT_EQ(ReadSensorListFile(again, Path("repeated.dat"), title), 1);
    EXPECT_EQ(quiet.Count(), 0u);
}

// Sensitivities that would make every measured value meaningless are refused row by row, named with
// their line, as the workbook import refuses them; the rest of the file is still read.
TEST(SensorListFile, SensitivitiesThatAreNotPositiveNumbersAreRefusedWithTheirLine)
{
    std::string text = "[Sensor List]\n"
                       "OK\tMaker\tM\tS\t10\t7\t0\t0\n";
    const char* bad[] = {"0", "-3", "nan", "inf", "-inf", "1e300", "x"};
    for (const char* value : bad)
        text += std::string("B-") + value + "\tMaker\tM\tS\t" + value + "\t7\t0\t0\n";
    text += "\n[Sensor Bundle]\nBundle ID\n\n[Sensor Grouping]\nGroup #\n";
    WriteText(Path("sensitivity.dat"), text);
    CScriptedPrompts prompts;
    CSensorProject project;
    std::string title;
    ASSERT_EQ(ReadSensorListFile(project, Path("sensitivity.dat"), title, StatusBarBoxes()), 1);
    const auto sensors = project.GetAllSensors();
    ASSERT_EQ(sensors.size(), 1u);
    EXPECT_EQ(sensors[0]->GetID(), "OK");
    ASSERT_EQ(prompts.Count(), 1u) << "one warning for the whole import";
    EXPECT_EQ(prompts.Last().stringId, 7138u);
    int line = 3;
    for (const char* value : bad)
        EXPECT_NE(prompts.Last().text.find(std::string("B-") + value + " (line " + std::to_string(line++) +
                                           "): the sensitivity must be greater than 0."),
                  std::string::npos)
            << prompts.Last().text;
}
