#include "support/FakeProjectLookups.h"

#include "common/ChannelIndex.h"
#include "common/ProjectLookups.h"
#include "platform/elements/MElement.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelShell.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {
// The root of a tree that belongs to a container, as a project is.
class CMemberRoot : public CMElement, public IProjectMember
{
public:
    explicit CMemberRoot(IProjectLookups* lookups) : CMElement("Project", nullptr, -1), m_lookups(lookups) {}
    IProjectLookups* GetProjectLookups() const override { return m_lookups; }

private:
    IProjectLookups* m_lookups;
};
} // namespace

TEST(ProjectLookups, AbsentValuesWithoutAContainer)
{
    EXPECT_EQ(GetSystemChannelCount(nullptr), 0);
    SetSystemChannelCount(nullptr, 32); // nowhere to go, no crash
    EXPECT_EQ(GetSubsystemParamByName(nullptr, "Roof-F"), 0.0);
    EXPECT_EQ(FormatSubsystemLPName(nullptr, "Roof", 0), "Roof:01");
    EXPECT_EQ(GetSensorSensitivityByID(nullptr, "S1"), 0.0f);
    EXPECT_EQ(AddToSensorAssignment(nullptr, "Roof", "S1"), -1);
    CMElement loose("Loose", nullptr, -1);
    EXPECT_EQ(IProjectLookups::FindOwner(&loose), nullptr);
    EXPECT_EQ(IProjectLookups::FindOwner(nullptr), nullptr);
}

TEST(ProjectLookups, AnswersOfTheContainer)
{
    CModelShell roof("Roof", CModelSubsystem::TYPE_FLAT_PANEL);
    roof.SetMass(12.5);
    CModelCavity cabin("Cabin", CModelSubsystem::TYPE_CAVITY);
    cabin.SetVolume(3.25);
    std::map<std::string, std::string> rows{{"Roof", ""}};

    CFakeProjectLookups project;
    project.channels = 20;
    project.findSubsystem = [&](const std::string& name) -> const CModelSubsystem* {
        return name == "Roof"    ? static_cast<const CModelSubsystem*>(&roof)
               : name == "Cabin" ? static_cast<const CModelSubsystem*>(&cabin)
                                 : nullptr;
    };
    project.displayName = [](const std::string& name) { return name == "Roof" ? "Roof Panel" : name; };
    project.sensitivity = [](const std::string& id) { return id == "S1" ? 10.2f : 0.0f; };
    project.addToAssignment = [&](const std::string& row, const std::string& item) {
        auto it = rows.find(row);
        if (it == rows.end())
            return -1;
        it->second += item;
        return 0;
    };

    EXPECT_EQ(GetSystemChannelCount(&project), 20);
    EXPECT_EQ(GetBlixUnitCount(GetSystemChannelCount(&project)), 3);
    SetSystemChannelCount(&project, 8);
    EXPECT_EQ(GetSystemChannelCount(&project), 8);

    // Mass of a structure, volume of a cavity, with or without the wave-type mark.
    struct Case
    {
        const char* name;
        double value;
    } cases[] = {
        {"Roof", 12.5}, {"Roof-F", 12.5}, {"Cabin", 3.25}, {"Cabin-", 3.25}, {"Trunk", 0.0}, {"", 0.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetSubsystemParamByName(&project, c.name), c.value) << c.name;

    EXPECT_EQ(FormatSubsystemLPName(&project, "Roof", 0), "Roof Panel:01");
    EXPECT_EQ(FormatSubsystemLPName(&project, "Cabin", 11), "Cabin:12");
    EXPECT_FLOAT_EQ(GetSensorSensitivityByID(&project, "S1"), 10.2f);
    EXPECT_EQ(GetSensorSensitivityByID(&project, "S9"), 0.0f);
    EXPECT_EQ(AddToSensorAssignment(&project, "Roof", "S1"), 0);
    EXPECT_EQ(rows["Roof"], "S1");
    EXPECT_EQ(AddToSensorAssignment(&project, "Hood", "S1"), -1);
}

TEST(ProjectLookups, EachElementFindsItsOwnContainer)
{
    CFakeProjectLookups first, second;
    first.channels = 8;
    second.channels = 32;
    CMemberRoot a(&first), b(&second);
    CMElement* deepA = a.AddChild(std::make_unique<CMElement>("Folder", nullptr, -1))
                           ->AddChild(std::make_unique<CMElement>("Data", nullptr, -1));
    CMElement* deepB = b.AddChild(std::make_unique<CMElement>("Data", nullptr, -1));
    EXPECT_EQ(IProjectLookups::FindOwner(deepA), &first);
    EXPECT_EQ(IProjectLookups::FindOwner(deepB), &second);
    EXPECT_EQ(GetSystemChannelCount(IProjectLookups::FindOwner(deepA)), 8);
    EXPECT_EQ(GetSystemChannelCount(IProjectLookups::FindOwner(deepB)), 32);
    // A root that has not been given a container yet passes the question on.
    CMemberRoot orphan(nullptr);
    EXPECT_EQ(IProjectLookups::FindOwner(&orphan), nullptr);
}

TEST(ProjectLookups, ExtractBetween)
{
    const std::string text = "A=1\nB=22";
    struct Case
    {
        const char* key;
        const char* separator;
        const char* result;
    } cases[] = {
        {"B", "=", "22"}, // to the end of the text
        {"A", "=", "1"},  // to the line break
        {"B", ":", ""},   // the separator must follow the key at once
        {"C", "=", ""},   // no key
        {"B=22", "", ""}, // nothing after the separator
        {"A", "=1\nB", "=22"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractBetween(text, c.key, c.separator), c.result) << c.key << " " << c.separator;
    EXPECT_EQ(ExtractBetween("", "A", "="), "");
    EXPECT_EQ(ExtractBetween("A", "A", "="), "");
}

TEST(ProjectLookups, UniversalFileNodeNumbers)
{
    struct Node
    {
        int m_nNode;
        std::string m_strSSName;
        int m_nLP;
    };
    struct Map
    {
        std::map<int, Node> nodes;
        const std::map<int, Node>& Nodes() const { return nodes; }
    } map;
    map.nodes = {{101, {101, "Roof", 0}}, {102, {102, "Roof", 1}}, {205, {205, "Cabin", 0}}, {300, {300, "Roof", 1}}};
    EXPECT_EQ(FindUFNodeNumber(map, "Roof", 1), 102);
    EXPECT_EQ(FindUFNodeNumber(map, "Cabin", 0), 205);
    EXPECT_EQ(FindUFNodeNumber(map, "roof", 0), -1); // byte-wise names
    EXPECT_EQ(FindUFNodeNumber(map, "Roof", 2), -1);
}
