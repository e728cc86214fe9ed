// Fresh profiles, level results, stars and the walk to the next level;
// episode and event flags; spots; upgrades and the tutorial.
#include "ProgressTestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace progresstest
{
namespace
{
NQLevelRecord Record(int stars, int kills, int healthBonus, int gems, int combo)
{
    NQLevelRecord r;
    r.stars = stars;
    r.kills = kills;
    r.healthBonus = healthBonus;
    r.gems = gems;
    r.combo = combo;
    return r;
}

TEST_F(ProgressTest, AFreshProfileReadsItsDefaults)
{
    services->levelCounts = {{0, 5}};
    tinyxml2::XMLElement* profile = ProfileElement();
    EXPECT_EQ(profile->IntAttribute("version"), 4);
    EXPECT_EQ(ChildNames(profile), "levels towers");

    EXPECT_EQ(Progress().GetMusicVolume(), 1.0f);
    ASSERT_NE(profile->FirstChildElement("music"), nullptr);
    EXPECT_STREQ(profile->FirstChildElement("music")->Attribute("v"), "1");
    EXPECT_EQ(Progress().GetMode(), 0);
    EXPECT_TRUE(Progress().IsTutorialEnabled());
    EXPECT_EQ(Progress().GetStars(-1), 0);
    EXPECT_EQ(Progress().GetLastEpisode(), 0);
    EXPECT_EQ(Progress().GetNextLevel(0, 1), 0);
    EXPECT_EQ(LevelCount(profile, 0, 1), 1);
    EXPECT_EQ(ChildNames(profile), "levels towers music mode");
}

TEST_F(ProgressTest, AnExistingElementWithoutItsValueReadsZero)
{
    ProfileElement()->InsertNewChildElement("music");
    ProfileElement()->InsertNewChildElement("sound")->SetAttribute("v", "loud");
    EXPECT_EQ(Progress().GetMusicVolume(), 0.0f);
    EXPECT_EQ(Progress().GetSoundVolume(), 0.0f);
}

TEST_F(ProgressTest, StoringResultsKeepsTheBestStarsAndHighAndOverwritesTheRest)
{
    struct Case
    {
        const char* name;
        NQLevelRecord first;
        NQLevelRecord second;
        int stars, high, kills, gems, combo;
    };
    const Case cases[] = {
        {"fewer stars keep the stored ones", Record(3, 50, 10, 8, 4), Record(2, 20, 5, 1, 2), 3, 60, 20, 1, 2},
        {"more stars are written", Record(2, 20, 5, 1, 2), Record(3, 50, 10, 8, 4), 3, 60, 50, 8, 4},
        {"zero stars over zero", Record(0, 5, 0, 0, 0), Record(0, 1, 1, 0, 0), 0, 5, 1, 0, 0},
    };
    int level = 0;
    for (const Case& c : cases)
    {
        Progress().StoreLevelResult(2, level, 1, c.first);
        Progress().StoreLevelResult(2, level, 1, c.second);
        std::unique_ptr<NQLevelRecord> read(Progress().GetLevelRecord(2, level, 1));
        EXPECT_EQ(read->stars, c.stars) << c.name;
        EXPECT_EQ(read->high, c.high) << c.name;
        EXPECT_EQ(read->kills, c.kills) << c.name;
        EXPECT_EQ(read->gems, c.gems) << c.name;
        EXPECT_EQ(read->combo, c.combo) << c.name;
        EXPECT_EQ(read->mode, 1) << c.name;
        EXPECT_EQ(read->GetScore(), c.kills + read->healthBonus) << c.name;
        ++level;
    }
    EXPECT_EQ(Progress().GetLastEpisode(), 2);
    EXPECT_EQ(Progress().GetGems(), 8 + 1 + 1 + 8);
}

TEST_F(ProgressTest, EasyAndHardOfOneLevelAreTwoElementsSummedByGetStars)
{
    Progress().StoreLevelResult(0, 3, 0, Record(1, 0, 0, 0, 0));
    Progress().StoreLevelResult(0, 3, 2, Record(2, 0, 0, 0, 0));
    Progress().StoreLevelResult(1, 0, 3, Record(3, 0, 0, 0, 0));
    EXPECT_EQ(LevelCount(ProfileElement(), 0, 0), 1);
    EXPECT_EQ(LevelCount(ProfileElement(), 0, 2), 1);
    EXPECT_EQ(Progress().GetStars(0), 3);
    EXPECT_EQ(Progress().GetStars(1), 3);
    EXPECT_EQ(Progress().GetStars(-1), 6);
    EXPECT_EQ(Progress().GetStars(7), 0);
}

class ProgressWalkTest : public ProgressTest
{
protected:
    void SetUp() override
    {
        ProgressTest::SetUp();
        // Episodes 0 and 1 open, 2 closed; five levels each, three in hardcore.
        services->episodeCount = 3;
        services->openEpisodes = {{0, true}, {1, true}, {2, false}};
        services->levelCounts = {{0, 5}, {1, 5}, {2, 5}};
        services->hardcoreLevelCounts = {{0, 3}, {1, 3}, {2, 3}};
    }
    void Stars(int episode, int level, int mode, int stars)
    {
        Progress().StoreLevelResult(episode, level, mode, Record(stars, 0, 0, 0, 0));
    }
};

TEST_F(ProgressWalkTest, TheNextLevelIsTheFirstWithoutStars)
{
    for (int level : {0, 1, 2})
        Stars(0, level, 1, 1);
    for (int level = 0; level < 5; ++level)
        Stars(0, level, 0, 2);
    Stars(1, 0, 1, 0);
    Stars(1, 0, 2, 3);
    Stars(1, 1, 2, 1);
    for (int level = 0; level < 3; ++level)
        Stars(0, level, 3, 1);
    struct Case
    {
        int episode, mode, next;
    };
    const Case cases[] = {
        {0, 1, 3}, // three levels played
        {0, 0, 4}, // every level played: the last one
        {1, 1, 0}, // stored with 0 stars: still the next
        {1, 2, 2},
        {0, 3, 2}, // hardcore counts its own levels
        {2, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Progress().GetNextLevel(c.episode, c.mode), c.next) << c.episode << " " << c.mode;
    EXPECT_TRUE(Progress().IsLevelOpen(0, 3, 1));
    EXPECT_FALSE(Progress().IsLevelOpen(0, 4, 1));
    EXPECT_TRUE(Progress().IsLevelOpen(1, 0, 1));
    EXPECT_FALSE(Progress().IsLevelOpen(1, 1, 1));
}

TEST_F(ProgressWalkTest, TheWalkCreatesOnlyTheLevelsItPasses)
{
    Stars(0, 0, 1, 1);
    Stars(0, 1, 1, 1);
    EXPECT_EQ(LevelCount(ProfileElement(), 0, 1), 2);
    EXPECT_EQ(Progress().GetNextLevel(0, 1), 2);
    EXPECT_EQ(LevelCount(ProfileElement(), 0, 1), 3);
    EXPECT_EQ(LevelCount(ProfileElement(), 0, 0), 0);
}

TEST_F(ProgressWalkTest, TheFurthestLevelIsInTheHighestOpenEpisodeAndCurrentMode)
{
    services->mode = 1;
    int episode = -1;
    int level = -1;
    Progress().GetFurthestLevel(episode, level);
    EXPECT_EQ(episode, 1);
    EXPECT_EQ(level, 0);

    Stars(0, 4, 1, 3);
    Stars(1, 2, 1, 1);
    Stars(1, 3, 2, 1); // another mode
    Stars(2, 4, 1, 1); // a closed episode
    Progress().GetFurthestLevel(episode, level);
    EXPECT_EQ(episode, 1);
    EXPECT_EQ(level, 2);

    services->openEpisodes = {{0, true}};
    Progress().GetFurthestLevel(episode, level);
    EXPECT_EQ(episode, 0);
    EXPECT_EQ(level, 4);

    services->openEpisodes.clear();
    Progress().GetFurthestLevel(episode, level);
    EXPECT_EQ(episode, 0);
    EXPECT_EQ(level, 0);
}

TEST_F(ProgressTest, SpotsBoughtInEasyNormalOrHardCountForAllThreeButNotHardcore)
{
    services->mode = 1;
    Progress().AddOwnedSpot(L"#4", 0, 2);
    services->mode = 3;
    Progress().AddOwnedSpot(L"#5", 0, 2);
    struct Case
    {
        const wchar_t* spot;
        int episode, level, mode;
        bool owned;
    };
    const Case cases[] = {
        {L"#4", 0, 2, 0, true},  {L"#4", 0, 2, 1, true}, {L"#4", 0, 2, 2, true}, {L"#4", 0, 2, 3, false},
        {L"#5", 0, 2, 3, true},  {L"#5", 0, 2, 1, false}, {L"#4", 0, 1, 1, false}, {L"#4", 1, 2, 1, false},
        {L"#44", 0, 2, 1, false},
    };
    for (const Case& c : cases)
    {
        services->mode = c.mode;
        EXPECT_EQ(Progress().IsSpotOwned(c.spot, c.episode, c.level), c.owned)
            << c.episode << " " << c.level << " " << c.mode;
    }
}

TEST_F(ProgressTest, EpisodeAndEventFlagsUseTheirAttributeNames)
{
    Progress().GetMode();
    Progress().SetEpisodeVisited(2, 1, 7);
    Progress().SetEpisodeVisited(2, 3, 9);
    Progress().SetEventFlag(3);
    const tinyxml2::XMLElement* visited = ProfileElement()->FirstChildElement("episodeVisited");
    ASSERT_NE(visited, nullptr);
    EXPECT_EQ(visited, ProfileElement()->FirstChildElement());
    EXPECT_EQ(visited->IntAttribute("episode2n"), 7);
    EXPECT_EQ(visited->IntAttribute("episode2h"), 9);
    EXPECT_STREQ(visited->Attribute("event3"), "true");
    EXPECT_EQ(Progress().GetEpisodeVisited(2, 0), 7);
    EXPECT_EQ(Progress().GetEpisodeVisited(2, 2), 7);
    EXPECT_EQ(Progress().GetEpisodeVisited(2, 3), 9);
    EXPECT_EQ(Progress().GetEpisodeVisited(1, 1), 0);
    EXPECT_TRUE(Progress().GetEventFlag(3));
    EXPECT_FALSE(Progress().GetEventFlag(4));
}

TEST_F(ProgressTest, AnEventFlagAppendsTheVisitedElement)
{
    EXPECT_FALSE(Progress().GetEventFlag(1));
    EXPECT_EQ(Progress().GetEpisodeVisited(0, 0), 0);
    Progress().SetEventFlag(1);
    EXPECT_EQ(ChildNames(ProfileElement()), "levels towers episodeVisited");
    Progress().SetEpisodeVisited(0, 0, 1);
    EXPECT_EQ(ChildNames(ProfileElement()), "levels towers episodeVisited");
}

TEST_F(ProgressTest, UpgradeLevels)
{
    services->upgradeIds = {5, 7};
    // Hardcore: upgrades do not apply, and nothing is read or written.
    services->mode = 3;
    Progress().Save();
    const std::string before = profiles->FileText();
    EXPECT_EQ(Progress().GetUpgradeLevel(5), -1);
    EXPECT_EQ(ProfileElement()->FirstChildElement("upgrades"), nullptr);
    EXPECT_EQ(profiles->FileText(), before);

    // A missing table is made from the services' ids, in order, and saved.
    services->mode = 1;
    EXPECT_EQ(Progress().GetUpgradeLevel(7), -1);
    tinyxml2::XMLDocument onDisk;
    ASSERT_TRUE(profiles->LoadFile(onDisk));
    const tinyxml2::XMLElement* upgrades = ProfileOnDisk(onDisk, PlaceholderName())->FirstChildElement("upgrades");
    ASSERT_NE(upgrades, nullptr);
    const tinyxml2::XMLElement* first = upgrades->FirstChildElement("upgrade");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->IntAttribute("id"), 5);
    EXPECT_EQ(first->IntAttribute("level"), 0 - 1);
    ASSERT_NE(first->NextSiblingElement("upgrade"), nullptr);
    EXPECT_EQ(first->NextSiblingElement("upgrade")->IntAttribute("id"), 7);

    // An id the table lacks: -2 once, then the cached -1.
    EXPECT_EQ(Progress().GetUpgradeLevel(9), -2);
    EXPECT_EQ(Progress().GetUpgradeLevel(9), -1);

    Progress().SetUpgradeLevel(5, 2);
    Progress().SetUpgradeLevel(9, 0);
    EXPECT_EQ(Progress().GetUpgradeLevel(5), 2);
    services->mode = 3;
    EXPECT_EQ(Progress().GetUpgradeLevel(5), -1);
}

TEST_F(ProgressTest, TheUpgradeCacheGoesWithAProfileChange)
{
    services->upgradeIds = {5};
    Progress().SelectProfile(L"A");
    Progress().SetUpgradeLevel(5, 2);
    EXPECT_EQ(Progress().GetUpgradeLevel(5), 2);
    Progress().SelectProfile(L"B");
    EXPECT_EQ(Progress().GetUpgradeLevel(5), -1);
    Progress().SelectProfile(L"A");
    EXPECT_EQ(Progress().GetUpgradeLevel(5), 2);
}

TEST_F(ProgressTest, ReadingATutorialParamLeavesTheTutorialEnabled)
{
    EXPECT_EQ(Progress().GetTutorialParam(std::string("dropChanceOverride")), 0);
    EXPECT_TRUE(Progress().IsTutorialEnabled());
    EXPECT_EQ(Progress().GetTutorialParam(L"dropChanceOverride"), 0);
    Progress().SetTutorialParam(L"\u0434", 4);
    EXPECT_EQ(Progress().GetTutorialParam(std::string("\xD0\xB4")), 4);
    EXPECT_TRUE(Progress().IsTutorialEnabled());
}

TEST_F(ProgressTest, TheTutorialFlagAsStored)
{
    struct Case
    {
        const char* name;
        const char* avail; // nullptr: no attribute
        bool enabled;
    };
    const Case cases[] = {
        {"no avail", nullptr, false}, {"avail 1", "1", true}, {"avail true", "true", true},
        {"avail 0", "0", false},     {"avail false", "false", false},
    };
    for (const Case& c : cases)
    {
        tinyxml2::XMLElement* profile = ProfileElement();
        if (tinyxml2::XMLElement* old = profile->FirstChildElement("tutorial"))
            profile->DeleteChild(old);
        tinyxml2::XMLElement* tutorial = profile->InsertNewChildElement("tutorial");
        if (c.avail)
            tutorial->SetAttribute("avail", c.avail);
        EXPECT_EQ(Progress().IsTutorialEnabled(), c.enabled) << c.name;
        // A step lookup on an existing element keeps the stored flag.
        Progress().GetTutorialStepState(1);
        EXPECT_EQ(Progress().IsTutorialEnabled(), c.enabled) << c.name;
    }
    Progress().SetTutorialEnabled(true);
    EXPECT_STREQ(ProfileElement()->FirstChildElement("tutorial")->Attribute("avail"), "true");
}

TEST_F(ProgressTest, TutorialSteps)
{
    EXPECT_EQ(Progress().GetTutorialStepState(3), 0);
    EXPECT_TRUE(Progress().IsTutorialEnabled());
    Progress().SetTutorialStepState(3, 2);
    Progress().SetTutorialStepState(4, 1);
    EXPECT_EQ(Progress().GetTutorialStepState(3), 2);
    EXPECT_EQ(Progress().GetTutorialStepState(4), 1);
    int steps = 0;
    for (const tinyxml2::XMLElement* s = ProfileElement()->FirstChildElement("tutorial")->FirstChildElement("step");
         s; s = s->NextSiblingElement("step"))
        ++steps;
    EXPECT_EQ(steps, 2);
}
} // namespace
} // namespace progresstest
