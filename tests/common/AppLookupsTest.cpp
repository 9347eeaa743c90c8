#include "common/AppLookups.h"
#include "common/ChannelIndex.h"

#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelShell.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace
{
// Clears the installed answers however a test ends, so no test sees another's project.
struct LookupsScope
{
    explicit LookupsScope(CAppLookups lookups) { SetAppLookups(std::move(lookups)); }
    ~LookupsScope() { SetAppLookups({}); }
};
} // namespace

TEST(AppLookups, AbsentValuesWhileNoProjectAnswers)
{
    SetAppLookups({});
    EXPECT_EQ(GetSystemChannelCount(), 0);
    SetSystemChannelCount(32); // nowhere to go, no crash
    EXPECT_EQ(GetBlixUnitCount(), 0);
    EXPECT_EQ(GetSubsystemParamByName("Roof-F"), 0.0);
    EXPECT_EQ(FormatSubsystemLPName("Roof", 0), "Roof:01");
    EXPECT_EQ(GetSensorSensitivityByID("S1"), 0.0f);
    EXPECT_EQ(AddToSensorAssignment("Roof", "S1"), -1);
}

TEST(AppLookups, AnswersOfTheOpenProject)
{
    CModelShell roof("Roof", CModelSubsystem::TYPE_FLAT_PANEL);
    roof.SetMass(12.5);
    CModelCavity cabin("Cabin", CModelSubsystem::TYPE_CAVITY);
    cabin.SetVolume(3.25);
    int channels = 20;
    std::map<std::string, std::string> rows{{"Roof", ""}};

    CAppLookups lookups;
    lookups.getSystemChannelCount = [&] { return channels; };
    lookups.setSystemChannelCount = [&](int n) { channels = n; };
    lookups.findModelSubsystem = [&](const std::string& name) -> const CModelSubsystem* {
        return name == "Roof" ? static_cast<const CModelSubsystem*>(&roof)
               : name == "Cabin" ? static_cast<const CModelSubsystem*>(&cabin)
                                 : nullptr;
    };
    lookups.subsystemDisplayName = [](const std::string& name) { return name == "Roof" ? "Roof Panel" : name; };
    lookups.sensorSensitivity = [](const std::string& id) { return id == "S1" ? 10.2f : 0.0f; };
    lookups.addToSensorAssignment = [&](const std::string& row, const std::string& item) {
        auto it = rows.find(row);
        if (it == rows.end())
            return -1;
        it->second += item;
        return 0;
    };
    LookupsScope scope(std::move(lookups));

    EXPECT_EQ(GetSystemChannelCount(), 20);
    EXPECT_EQ(GetBlixUnitCount(), 3);
    SetSystemChannelCount(8);
    EXPECT_EQ(GetSystemChannelCount(), 8);
    EXPECT_EQ(GetBlixUnitCount(), 1);

    // Mass of a structure, volume of a cavity, with or without the wave-type mark.
    struct Case { const char* name; double value; } cases[] = {
        {"Roof", 12.5}, {"Roof-F", 12.5}, {"Cabin", 3.25}, {"Cabin-", 3.25}, {"Trunk", 0.0}, {"", 0.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetSubsystemParamByName(c.name), c.value) << c.name;

    EXPECT_EQ(FormatSubsystemLPName("Roof", 0), "Roof Panel:01");
    EXPECT_EQ(FormatSubsystemLPName("Cabin", 11), "Cabin:12");
    EXPECT_FLOAT_EQ(GetSensorSensitivityByID("S1"), 10.2f);
    EXPECT_EQ(GetSensorSensitivityByID("S9"), 0.0f);
    EXPECT_EQ(AddToSensorAssignment("Roof", "S1"), 0);
    EXPECT_EQ(rows["Roof"], "S1");
    EXPECT_EQ(AddToSensorAssignment("Hood", "S1"), -1);
}

TEST(AppLookups, ExtractBetween)
{
    const std::string text = "A=1\nB=22";
    struct Case { const char* key; const char* separator; const char* result; } cases[] = {
        {"B", "=", "22"},   // to the end of the text
        {"A", "=", "1"},    // to the line break
        {"B", ":", ""},     // the separator must follow the key at once
        {"C", "=", ""},     // no key
        {"B=22", "", ""},   // nothing after the separator
        {"A", "=1\nB", "=22"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractBetween(text, c.key, c.separator), c.result) << c.key << " " << c.separator;
    EXPECT_EQ(ExtractBetween("", "A", "="), "");
    EXPECT_EQ(ExtractBetween("A", "A", "="), "");
}

TEST(AppLookups, UniversalFileNodeNumbers)
{
    struct Node { int m_nNode; std::string m_strSSName; int m_nLP; };
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
