#include "common/SubsystemManager.h"

#include "platform/elements/ZuSubsystemTable.h"

#include <gtest/gtest.h>

TEST(SubsystemManager, AbbreviationRules)
{
    struct Case
    {
        const char* full;
        const char* shortName;
    } cases[] = {
        {"Front Door Panel-R", "FDPR"},
        {"Fr Door-L", "FrDL"},
        {"RoofPanel", "RP"},
        {"Roof", "Roof"},
        {"Dash-C", "Dash"},
        {"Rr Seat Cross Member-R", "RrSCMR"},
        {"Trunk Lid -L", "TLL"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CSubsystemManager::Abbreviate(c.full), c.shortName) << c.full;
}

TEST(SubsystemManager, FillsAnEmptyTableWithUniqueNames)
{
    CZuSubsystemTable full({"Front Door Panel-R", "Roof", "Fr Dr Panel-R", "Front Deck Plate-R", "Dash-C"});
    CZuSubsystemTable shortNames;
    CSubsystemManager manager(&full, &shortNames);
    ASSERT_EQ(shortNames.GetCount(), 5);
    EXPECT_EQ(shortNames[0], "FDPR");
    EXPECT_EQ(shortNames[1], "Roof");
    EXPECT_EQ(shortNames[2], "FrDPR");
    EXPECT_EQ(shortNames[3], "FDPR~1");
    EXPECT_EQ(manager.MakeShortName("Front Door Pocket-R"), "FDPR~2");

    // A table that already holds names is kept as it is.
    CZuSubsystemTable kept({"X"});
    CSubsystemManager again(&full, &kept);
    EXPECT_EQ(kept.GetCount(), 1);
}

TEST(SubsystemManager, LooksUpBothWays)
{
    CZuSubsystemTable full({"Front Door Panel-R", "Roof", "Dash-C"});
    CZuSubsystemTable shortNames;
    CSubsystemManager manager(&full, &shortNames);
    manager.SetShortNameAt(0, "FDPR;FDR");
    EXPECT_EQ(manager.FindByShortName("fdpr"), "Front Door Panel-R");
    EXPECT_EQ(manager.FindByShortName("FDR"), "Front Door Panel-R");
    EXPECT_EQ(manager.FindByShortName("FD"), "");
    EXPECT_EQ(manager.GetShortName(0), "FDPR");
    EXPECT_EQ(manager.GetShortNameAt(0), "FDPR;FDR");
    EXPECT_EQ(manager.GetShortName("Dash-C"), "Dash");
    EXPECT_EQ(manager.GetShortName("Trunk"), "");
    EXPECT_EQ(manager.GetShortName(7), "");
    EXPECT_EQ(manager.GetShortNameAt(-1), "");
    manager.SetShortNameAt(9, "nowhere");
    EXPECT_EQ(shortNames.GetCount(), 3);

    CSubsystemManager none(nullptr, nullptr);
    EXPECT_EQ(none.FindByShortName("FDPR"), "");
    EXPECT_EQ(none.GetShortName(0), "");
}
