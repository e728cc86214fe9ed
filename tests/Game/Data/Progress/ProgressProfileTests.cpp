// The player list: selecting, switching, renaming, deleting and resetting
// profiles, with the record always bound to the store's current profile.
#include "ProgressTestSupport.h"

#include "Core/File/Profiles.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>
#include <vector>

namespace progresstest
{
namespace
{
using Names = std::vector<std::wstring>;

file::Profiles* Store() { return file::Profiles::Instance(); }

TEST_F(ProgressTest, OnlyThePlaceholderProfileGivesNoPlayers)
{
    EXPECT_EQ(Progress().GetProfileNames(), Names{});
    EXPECT_EQ(Progress().GetCurrentName(), L"");
    EXPECT_EQ(Store()->GetProfileNames().size(), 1u);
}

TEST_F(ProgressTest, SelectingProfilesHandsEachOnesStateToTheGame)
{
    services->defaultGems = 30;
    Progress().SelectProfile(L"A");
    Progress().SetGems(11);
    Progress().SetMode(2);
    Progress().SelectProfile(L"B");
    Progress().SetGems(22);
    services->calls.clear();

    Progress().SelectProfile(L"A");
    EXPECT_EQ(services->economyGems, 11);
    EXPECT_EQ(services->mode, 2);
    EXPECT_EQ(Progress().GetCachedMode(), 2);
    Progress().SelectProfile(L"B");
    EXPECT_EQ(services->economyGems, 22);
    EXPECT_EQ(services->mode, 0);
    Progress().SelectProfile(L"A");
    EXPECT_EQ(services->economyGems, 11);
    EXPECT_EQ(services->Count("ReloadTutorial"), 3);
    EXPECT_EQ(services->Count("SwitchScreenMode"), 0);
    EXPECT_EQ(Progress().GetProfileNames(), (Names{L"A", L"B"}));
    EXPECT_EQ(Progress().GetCurrentName(), L"A");

    // A new profile starts with the level's default gems.
    Progress().SelectProfile(L"C");
    EXPECT_EQ(services->economyGems, 30);
}

TEST_F(ProgressTest, AStoredScreenModeThatDiffersAsksForOneSwitch)
{
    struct Case
    {
        const char* name;
        bool stored;
        bool current;
        int switches;
    };
    const Case cases[] = {
        {"full screen stored, windowed now", true, false, 1},
        {"windowed stored, full screen now", false, true, 1},
        {"equal", true, true, 0},
        {"equal windowed", false, false, 0},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        const std::wstring name = L"P" + std::to_wstring(n++);
        Progress().SelectProfile(name);
        Progress().SetFullscreen(c.stored);
        Progress().SelectProfile(L"other");
        services->fullscreen = c.current;
        services->calls.clear();
        Progress().SelectProfile(name);
        EXPECT_EQ(services->Count("SwitchScreenMode"), c.switches) << c.name;
        EXPECT_EQ(services->fullscreen, c.stored) << c.name;
    }
}

TEST_F(ProgressTest, AFreshProfileTakesTheCurrentScreenMode)
{
    services->fullscreen = true;
    Progress().SelectProfile(L"new");
    EXPECT_EQ(services->Count("SwitchScreenMode"), 0);
    EXPECT_TRUE(Progress().GetFullscreen());
}

TEST_F(ProgressTest, DeletingTheCurrentProfileMakesTheFirstPlayerCurrent)
{
    Progress().SelectProfile(L"A");
    Progress().SelectProfile(L"B");
    Progress().SelectProfile(L"C");
    Progress().DeleteProfile();
    EXPECT_EQ(Progress().GetProfileNames(), (Names{L"A", L"B"}));
    EXPECT_EQ(Progress().GetCurrentName(), L"A");
    EXPECT_EQ(Store()->GetCurrentProfileName(), L"A");
    // Later changes reach the new current profile, on disk too.
    Progress().SetGems(9);
    tinyxml2::XMLDocument onDisk;
    ASSERT_TRUE(profiles->LoadFile(onDisk));
    ASSERT_NE(ProfileOnDisk(onDisk, "A"), nullptr);
    ASSERT_NE(ProfileOnDisk(onDisk, "A")->FirstChildElement("gems"), nullptr);
    EXPECT_EQ(ProfileOnDisk(onDisk, "A")->FirstChildElement("gems")->IntAttribute("amount"), 9);
    EXPECT_EQ(ProfileOnDisk(onDisk, "C"), nullptr);
}

TEST_F(ProgressTest, DeletingTheLastPlayerLeavesThePlaceholder)
{
    Progress().SelectProfile(L"A");
    Progress().DeleteProfile();
    EXPECT_EQ(Progress().GetProfileNames(), Names{});
    EXPECT_EQ(Progress().GetCurrentName(), L"");
    Progress().SetGems(4);
    EXPECT_EQ(Progress().GetGems(), 4);
    EXPECT_EQ(Store()->GetProfileNames().size(), 1u);
}

TEST_F(ProgressTest, RenamingToAFreeNameKeepsTheProgress)
{
    Progress().SelectProfile(L"A");
    Progress().SetGems(9);
    Progress().SelectProfile(L"B");
    Progress().SelectProfile(L"A");
    Progress().RenameProfile(L"\u0417\u0435\u0434");
    EXPECT_EQ(Progress().GetProfileNames(), (Names{L"\u0417\u0435\u0434", L"B"}));
    EXPECT_EQ(Progress().GetCurrentName(), L"\u0417\u0435\u0434");
    EXPECT_EQ(Progress().GetGems(), 9);
    Progress().SetMode(1);
    tinyxml2::XMLDocument onDisk;
    ASSERT_TRUE(profiles->LoadFile(onDisk));
    const tinyxml2::XMLElement* renamed = ProfileOnDisk(onDisk, "\xD0\x97\xD0\xB5\xD0\xB4");
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(renamed->FirstChildElement("gems")->IntAttribute("amount"), 9);
    EXPECT_EQ(renamed->FirstChildElement("mode")->IntAttribute("v"), 1);
    EXPECT_EQ(ProfileOnDisk(onDisk, "A"), nullptr);
}

TEST_F(ProgressTest, RenamingOntoATakenNameOrDeletingWithoutANameChangesNothing)
{
    Progress().SelectProfile(L"A");
    Progress().SetGems(1);
    Progress().SelectProfile(L"B");
    Progress().SetGems(2);
    const std::string before = profiles->FileText();

    Progress().RenameProfile(L"A");
    EXPECT_EQ(profiles->FileText(), before);
    EXPECT_EQ(Progress().GetProfileNames(), (Names{L"A", L"B"}));
    EXPECT_EQ(Progress().GetCurrentName(), L"B");
    EXPECT_EQ(Progress().GetGems(), 2);

    // The placeholder profile carries a name too.
    Progress().RenameProfile(file::Profiles::kDefaultProfileName);
    EXPECT_EQ(profiles->FileText(), before);

    // Back to the placeholder only: the current name is empty.
    Progress().DeleteProfile();
    Progress().DeleteProfile();
    EXPECT_EQ(Progress().GetCurrentName(), L"");
    const std::string alone = profiles->FileText();
    Progress().DeleteProfile();
    EXPECT_EQ(profiles->FileText(), alone);
    EXPECT_EQ(Store()->GetProfileNames().size(), 1u);
}

TEST_F(ProgressTest, RenamingToItsOwnNameKeepsTheProfile)
{
    Progress().SelectProfile(L"A");
    Progress().SetGems(6);
    Progress().RenameProfile(L"A");
    EXPECT_EQ(Progress().GetProfileNames(), Names{L"A"});
    EXPECT_EQ(Progress().GetGems(), 6);
}

TEST_F(ProgressTest, ResettingTheCurrentProfileBindsToTheStoresNextCurrent)
{
    Progress().SelectProfile(L"A");
    Progress().SelectProfile(L"B");
    Progress().SetTutorialEnabled(false);
    Progress().SelectProfile(L"A");
    Progress().SetGems(3);
    services->calls.clear();

    Progress().ResetCurrentProfile();
    // Names are not reloaded.
    EXPECT_EQ(Progress().GetProfileNames(), (Names{L"A", L"B"}));
    const std::wstring current = Store()->GetCurrentProfileName();
    EXPECT_NE(current, L"A");
    EXPECT_EQ(Progress().GetProfileElement(), Store()->GetCurrentProfile());
    EXPECT_EQ(Progress().GetProfileElement()->IntAttribute("version"), 4);
    EXPECT_EQ(services->calls, (std::vector<std::string>{"SetTutorialEnabled " +
                                                         std::string(current == L"B" ? "0" : "1")}));
    // Later writes go to the new current profile.
    Progress().SetGems(8);
    EXPECT_EQ(Store()->FindProfile(current)->FirstChildElement("gems")->IntAttribute("amount"), 8);
    EXPECT_EQ(Store()->FindProfile(L"A"), nullptr);
}
} // namespace
} // namespace progresstest
