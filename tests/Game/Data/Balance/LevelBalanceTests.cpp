// The balance tables inside the running level: the sheets and the setup read
// by the level object, unlocks and upgrades at the level in play, upgraded
// prototype copies and the answers the progress record gets from the level.
#include "BalanceSamples.h"
#include "LevelFixture.h"

#include "Core/File/Profiles.h"
#include "Game/Data/CreateUpgradedProto.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Data/NQUpgrade.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Level/NQMap.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <tinyxml2.h>
#include <vector>

namespace
{
using Ids = std::vector<int32_t>;

// Level records with stars, one per (episode, level) of the current mode.
std::string LevelsXml(const std::vector<std::array<int, 3>>& episodeLevelStars, int mode = 0)
{
    std::string xml = "<levels>";
    for (const auto& [episode, level, stars] : episodeLevelStars)
        xml += "<level n=\"" + std::to_string(level) + "\" episode=\"" + std::to_string(episode) + "\" mode=\"" +
               std::to_string(mode) + "\" stars=\"" + std::to_string(stars) + "\"/>";
    return xml + "</levels>";
}

// N level records of 3 stars in an episode, plus one of `rest` stars when rest > 0.
std::string StarsXml(int episode, int stars)
{
    std::vector<std::array<int, 3>> records;
    for (int level = 0; stars > 0; ++level, stars -= 3)
        records.push_back({episode, level, stars >= 3 ? 3 : stars});
    return LevelsXml(records);
}

// One upgrade of a single step with those parameters.
std::string UpgradeXml(int id, const std::string& targets, const std::string& params)
{
    return "<upgrade id=\"" + std::to_string(id) + "\"><targets>" + targets + "</targets><steps><step><attributes>" +
           params + "</attributes></step></steps></upgrade>";
}

// Upgrades 1 and 2 both bought to their first step.
const char* const kBothBought = R"(<upgrades><upgrade id="1" level="0"/><upgrade id="2" level="0"/></upgrades>)";

class BalanceLevelTest : public gametest::LevelTest
{
protected:
    void SetUp() override
    {
        LevelTest::SetUp();
        hvtest::CaptureLog();
    }

    void WriteSamples()
    {
        data->Write("nq/towers_sheet.csv", balancetest::kTowersSheet);
        data->Write("nq/units_sheet.csv", balancetest::kUnitsSheet);
        data->Write("nq/ammo_sheet.csv", balancetest::kAmmoSheet);
        data->Write("nq/setup_sheet.csv", balancetest::kSetupSheet);
        data->Write("nq/unlocks.csv", balancetest::kUnlocks);
        data->Write("nq/upgrades.xml", balancetest::kUpgrades);
    }

    // The level at (episode, level) of a mode.
    void GoTo(int32_t episode, int32_t level, int32_t mode = 0)
    {
        map->mEpisode = episode;
        map->mLevel = level;
        map->mMode = mode;
    }

    // Prototype 12 of that sheet, unlocked at (0, 0), with two bought upgrades
    // targeting it; the level is at (0, 0).
    void BuildWithTwoUpgradesOf12(const std::string& towers, const std::string& first, const std::string& second)
    {
        const std::string target = R"(<target id="12"/>)";
        data->Write("nq/towers_sheet.csv", towers);
        data->Write("nq/unlocks.csv", "0;0;12\n");
        data->Write("nq/upgrades.xml",
                    "<upgrades>" + UpgradeXml(1, target, first) + UpgradeXml(2, target, second) + "</upgrades>");
        LoadProfiles(gametest::ProfilesXml(0, 0, kBothBought));
        BuildLevel();
        GoTo(0, 0);
    }
};

TEST_F(BalanceLevelTest, SampleFilesLoadIntoTheLevel)
{
    WriteSamples();
    LoadProfiles(gametest::ProfilesXml(0, 0, StarsXml(0, 19)));
    BuildLevel();
    EXPECT_EQ(map->GetEpisodeCount(), 3);
    for (int32_t episode = 0; episode < 3; ++episode)
    {
        EXPECT_EQ(map->GetLevelCount(episode), 10);
        EXPECT_EQ(map->GetHardcoreLevelCount(episode), 5);
    }
    EXPECT_EQ(map->GetTotalLevelCount(), 45);
    EXPECT_EQ(map->GetStarsToOpenEpisode(2), 45);

    const NQUnitProto* cannon = map->mUnitDatabase->FindProto(10000);
    ASSERT_NE(cannon, nullptr);
    ASSERT_EQ(cannon->children.size(), 1u);
    EXPECT_EQ(map->mUnitDatabase->FindProto(10001), cannon->children[0]);
    EXPECT_EQ(cannon->tierK, 0.1f);
    EXPECT_EQ(cannon->cooldown, 1.2f);
    EXPECT_EQ(map->mUnitDatabase->FindProto(50)->fillColor, 0xFFFFFFFFu);
    EXPECT_EQ(map->mUnitDatabase->FindProto(2001)->onHit, "hit_fire");

    EXPECT_FALSE(map->IsEpisodeOpen(1)); // 19 stars
    map->mProgress->StoreLevelResult(0, 7, 0, NQLevelRecord{.stars = 1});
    EXPECT_TRUE(map->IsEpisodeOpen(1)); // 20 stars

    GoTo(0, 1);
    EXPECT_TRUE(map->mUnlockTable->IsUnlocked(10000));
    EXPECT_FALSE(map->mUnlockTable->IsUnlocked(20000));

    GoTo(0, 2);
    map->mProgress->SetUpgradeLevel(1, 1);
    std::unique_ptr<NQUnitProto> upgraded(CreateUpgradedProto(10000));
    ASSERT_NE(upgraded, nullptr);
    EXPECT_EQ(upgraded->r, 216.0f);
    EXPECT_EQ(cannon->r, 180.0f); // the database's prototype stays

    map->mProgress->SetUpgradeLevel(100, 0);
    map->mLivesBonus = 0;
    map->mUpgradeTable->ApplyGlobal(map);
    EXPECT_EQ(map->mLivesBonus, 2);
}

TEST_F(BalanceLevelTest, SheetsReloadToTheSamePrototypes)
{
    WriteSamples();
    BuildLevel();
    const size_t count = map->mUnitDatabase->mProtos.size();
    map->LoadSheets();
    ASSERT_EQ(map->mUnitDatabase->mProtos.size(), count);
    EXPECT_EQ(map->mUnitDatabase->FindProto(10001)->cost, 100.0f);
    // Edited sheets take effect at the next reading.
    data->Write("nq/ammo_sheet.csv", "id;parent;speed\n2001;-1;450\n2002;-1;300\n");
    map->LoadSheets();
    EXPECT_EQ(map->mUnitDatabase->mProtos.size(), count + 1);
    EXPECT_EQ(map->mUnitDatabase->FindProto(2001)->speed, 450.0f);
    EXPECT_EQ(map->mSellFactor, 0.5f);
    EXPECT_EQ(map->mDefaultGems, 0);
}

TEST_F(BalanceLevelTest, MissingFilesGiveEmptyTables)
{
    BuildLevel();
    EXPECT_TRUE(map->mUnitDatabase->mProtos.empty());
    EXPECT_EQ(map->GetEpisodeCount(), 0);
    EXPECT_EQ(map->GetTotalLevelCount(), 0);
    EXPECT_TRUE(map->mUpgradeTable->mUpgrades.empty());
    EXPECT_FALSE(map->mUnlockTable->IsUnlocked(10000));
    EXPECT_EQ(CreateUpgradedProto(10000), nullptr);
}

// One setup sheet: the episodes it leaves, as "episode:levels,hardcore,stars ".
struct SetupCase
{
    const char* label;
    const char* sheet;
    const char* episodes;
};

void PrintTo(const SetupCase& c, std::ostream* os)
{
    *os << c.label;
}

std::string DescribeSetup(const NQMap& map)
{
    std::string text;
    for (const auto& [episode, setup] : map.mEpisodeSetup)
        text += std::to_string(episode) + ":" + std::to_string(setup.levels) + "," +
                std::to_string(setup.hardcoreLevels) + "," + std::to_string(setup.starsToOpen) + " ";
    return text;
}

const SetupCase kSetupCases[] = {
    {"five_cells", "0;10;5;0;0\n", "0:10,5,0 "},
    {"four_cells_ignored", "0;10;5;0\n", ""},
    {"six_cells_ignored", "0;10;5;0;0;0\n", ""},
    {"empty_lines_ignored", "\n\n0;10;5;0;0\n\n", "0:10,5,0 "},
    {"minus_one_skipped", "-1;10;5;0;0\n", ""},
    {"not_a_number_is_episode_zero", "x;3;1;0;0\n", "0:3,1,0 "},
    {"blanks_removed_before_splitting", "0; 1 0;5;0;0\n", "0:10,5,0 "},
    {"crlf", "0;10;5;0;0\r\n1;2;1;7;0\r\n\r\n", "0:10,5,0 1:2,1,7 "},
    {"later_line_replaces", "0;10;5;0;0\n0;4;2;1;0\n", "0:4,2,1 "},
};

class SetupCases : public BalanceLevelTest, public testing::WithParamInterface<SetupCase>
{
};

TEST_P(SetupCases, Reads)
{
    data->Write("nq/setup_sheet.csv", GetParam().sheet);
    BuildLevel();
    EXPECT_EQ(DescribeSetup(*map), GetParam().episodes);
}

INSTANTIATE_TEST_SUITE_P(Table, SetupCases, testing::ValuesIn(kSetupCases),
                         [](const testing::TestParamInfo<SetupCase>& info) { return std::string(info.param.label); });

TEST_F(BalanceLevelTest, SecondReadingReplacesAndKeeps)
{
    data->Write("nq/setup_sheet.csv", "0;10;5;0;0\n1;10;5;20;0\n");
    BuildLevel();
    data->Write("nq/setup_sheet.csv", "1;8;4;30;0\n");
    map->LoadSheets();
    EXPECT_EQ(DescribeSetup(*map), "0:10,5,0 1:8,4,30 ");
    data->Write("nq/setup_sheet.csv", "");
    map->LoadSheets();
    EXPECT_EQ(DescribeSetup(*map), "0:10,5,0 1:8,4,30 ");
}

TEST_F(BalanceLevelTest, EpisodeQueriesOverAGap)
{
    data->Write("nq/setup_sheet.csv", "0;10;5;0;0\n1;0;7;0;0\n3;10;5;0;0\n4;10;5;0;0\n");
    BuildLevel();
    EXPECT_EQ(map->GetEpisodeCount(), 4);
    // Episode 1 has no normal levels and counts nothing; the gap at 2 stops the count.
    EXPECT_EQ(map->GetTotalLevelCount(), 15);
    EXPECT_EQ(map->GetLevelCount(2), -1);
    EXPECT_EQ(map->GetHardcoreLevelCount(2), -1);
    EXPECT_EQ(map->GetStarsToOpenEpisode(2), -1);
    EXPECT_FALSE(map->IsEpisodeOpen(2));
    EXPECT_FALSE(map->IsEpisodeOpen(1)); // no levels, even at 0 stars to open
    EXPECT_TRUE(map->IsEpisodeOpen(0));  // 0 stars to open and levels
}

TEST_F(BalanceLevelTest, FullyStarredAtThreeStarsALevel)
{
    data->Write("nq/setup_sheet.csv", "0;10;5;0;0\n1;10;5;0;0\n");
    LoadProfiles(gametest::ProfilesXml(0, 0, StarsXml(1, 29)));
    BuildLevel();
    EXPECT_FALSE(map->IsEpisodeFullyStarred(1));
    EXPECT_FALSE(map->IsEpisodeFullyStarred(0));
    map->mProgress->StoreLevelResult(1, 9, 0, NQLevelRecord{.stars = 3});
    EXPECT_TRUE(map->IsEpisodeFullyStarred(1)); // 30 stars
}

TEST_F(BalanceLevelTest, UnlocksFollowTheLevelInPlay)
{
    data->Write("nq/unlocks.csv", "0;0;1,2\n0;1;\n0;2;-1\n");
    BuildLevel();
    GoTo(0, 1);
    EXPECT_TRUE(map->mUnlockTable->IsUnlocked(2));
    EXPECT_FALSE(map->mUnlockTable->IsUnlocked(3));
    GoTo(0, 2);
    EXPECT_TRUE(map->mUnlockTable->IsUnlocked(3)); // -1: every id
    GoTo(0, 3);
    EXPECT_FALSE(map->mUnlockTable->IsUnlocked(1)); // no row: nothing
}

TEST_F(BalanceLevelTest, UnlockedByProgressFollowsTheFurthestLevel)
{
    WriteSamples();
    // Episode 0 up to level 2 won; episode 1 needs 20 stars.
    LoadProfiles(gametest::ProfilesXml(0, 0, LevelsXml({{0, 0, 3}, {0, 1, 3}, {0, 2, 1}})));
    BuildLevel();
    GoTo(0, 0);
    EXPECT_FALSE(map->mUnlockTable->IsUnlocked(20000));
    EXPECT_TRUE(map->mUnlockTable->IsUnlockedByProgress(20000));
    EXPECT_FALSE(map->mUnlockTable->IsUnlockedByProgress(30000));
}

struct NewUnlocksCase
{
    const char* label;
    int32_t mode, episode, level;
    Ids before, after;
};

void PrintTo(const NewUnlocksCase& c, std::ostream* os)
{
    *os << c.label;
}

const NewUnlocksCase kNewUnlocks[] = {
    {"easy_row_list", 0, 0, 0, {9}, {10000, 3001}},
    {"hard_row_list", 2, 1, 0, {}, {30000, 10001}},
    {"empty_row", 1, 0, 1, {9}, {}},
    {"no_row_empty", 0, 2, 2, {9}, {}},
    {"hardcore_first_level", 3, 0, 0, {9}, {9, 36, 37, 38}},
    {"hardcore_elsewhere_unchanged", 3, 0, 2, {9}, {9}},
};

class NewUnlocksCases : public BalanceLevelTest, public testing::WithParamInterface<NewUnlocksCase>
{
};

TEST_P(NewUnlocksCases, Lists)
{
    WriteSamples();
    BuildLevel();
    GoTo(GetParam().episode, GetParam().level, GetParam().mode);
    Ids ids = GetParam().before;
    map->mUnlockTable->GetNewUnlocks(ids);
    EXPECT_EQ(ids, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Table, NewUnlocksCases, testing::ValuesIn(kNewUnlocks),
                         [](const testing::TestParamInfo<NewUnlocksCase>& info) {
                             return std::string(info.param.label);
                         });

// Which upgrades reach prototype 12 (cost 100, r 100) at episode 0, level 0,
// where the unlock table opens only 10 and 11.
struct ReachCase
{
    const char* label;
    const char* targets; // <target .../> elements
    int32_t mode;
    int32_t bought; // step index written to the profile; -2: no entry
    float cost;     // of the copy
    float bonusR;   // of a tower of that prototype
};

void PrintTo(const ReachCase& c, std::ostream* os)
{
    *os << c.label;
}

const ReachCase kReach[] = {
    {"locked_id_reached_through_minus_one", R"(<target id="12"/><target id="-1"/>)", 0, 0, 90, 10},
    {"unlocked_other_target_opens_it", R"(<target id="10"/><target id="12"/>)", 0, 0, 90, 10},
    {"global_reaches_no_prototype", R"(<target id="-1"/>)", 0, 0, 100, 0},
    {"no_unlocked_target", R"(<target id="12"/><target id="13"/>)", 0, 0, 100, 0},
    {"id_not_among_targets", R"(<target id="10"/><target id="11"/>)", 0, 0, 100, 0},
    {"hardcore_nothing", R"(<target id="10"/><target id="12"/>)", 3, 0, 100, 0},
    {"none_bought", R"(<target id="10"/><target id="12"/>)", 0, -1, 100, 0},
    {"no_entry", R"(<target id="10"/><target id="12"/>)", 0, -2, 100, 0},
    {"second_step", R"(<target id="10"/><target id="12"/>)", 0, 1, 80, 20},
    // A stored step past the last is held to the last on load.
    {"past_last_step", R"(<target id="10"/><target id="12"/>)", 0, 2, 80, 20},
};

class ReachCases : public BalanceLevelTest, public testing::WithParamInterface<ReachCase>
{
};

TEST_P(ReachCases, AppliesTheStepInForce)
{
    const ReachCase& c = GetParam();
    data->Write("nq/towers_sheet.csv", "id;parent;cost;r\n12;-1;100;100\n");
    data->Write("nq/unlocks.csv", "0;0;10,11\n");
    data->Write("nq/upgrades.xml", std::string("<upgrades><upgrade id=\"7\"><targets>") + c.targets +
                                       "</targets><steps>"
                                       "<step><attributes><param name=\"cost\" value=\"-10\"/>"
                                       "<param name=\"radius\" value=\"10\"/></attributes></step>"
                                       "<step><attributes><param name=\"cost\" value=\"-20\"/>"
                                       "<param name=\"radius\" value=\"20\"/></attributes></step>"
                                       "</steps></upgrade></upgrades>");
    const std::string entry =
        c.bought == -2 ? "<upgrades/>" : "<upgrades><upgrade id=\"7\" level=\"" + std::to_string(c.bought) + "\"/></upgrades>";
    LoadProfiles(gametest::ProfilesXml(c.mode, 0, entry));
    BuildLevel();
    GoTo(0, 0, c.mode);
    std::unique_ptr<NQUnitProto> copy(CreateUpgradedProto(12));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->cost, c.cost);

    // The tower bonus takes the same steps.
    NQUnitProto bonus;
    map->mUpgradeTable->ApplyToTower(*map->mUnitDatabase->FindProto(12), bonus);
    EXPECT_EQ(bonus.r, c.bonusR);
}

INSTANTIATE_TEST_SUITE_P(Table, ReachCases, testing::ValuesIn(kReach),
                         [](const testing::TestParamInfo<ReachCase>& info) { return std::string(info.param.label); });

TEST_F(BalanceLevelTest, UpgradesCompoundOnCopiesInTableOrder)
{
    BuildWithTwoUpgradesOf12("id;parent;cost;strength;goldIncome\n12;-1;100;15;5\n",
                             R"(<param name="cost" value="-10"/><param name="strength" value="10"/>)"
                             R"(<param name="goldIncome" value="33"/>)",
                             R"(<param name="cost" value="-10"/>)");
    std::unique_ptr<NQUnitProto> copy(CreateUpgradedProto(12));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->cost, 81.0f);
    EXPECT_EQ(copy->strength, 17.0f);
    EXPECT_EQ(copy->goldIncome, 6);
}

TEST_F(BalanceLevelTest, TowerBonusAddsWithoutCompoundingAndRepeats)
{
    BuildWithTwoUpgradesOf12("id;parent;r;strength;cooldown\n12;-1;100;15;2\n",
                             R"(<param name="radius" value="10"/><param name="strength" value="10"/>)"
                             R"(<param name="cooldown" value="25"/>)",
                             R"(<param name="radius" value="20"/><param name="strength" value="10"/>)");
    const NQUnitProto& current = *map->mUnitDatabase->FindProto(12);
    for (int frame = 0; frame < 3; ++frame)
    {
        NQUnitProto bonus; // cleared every frame
        map->mUpgradeTable->ApplyToTower(current, bonus);
        EXPECT_EQ(bonus.r, 30.0f);
        EXPECT_EQ(bonus.strength, 4.0f);
        EXPECT_EQ(bonus.cooldown, 0.5f);
    }
    EXPECT_EQ(current.r, 100.0f);
}

struct GlobalCase
{
    const char* label;
    std::string upgrades; // <upgrade> elements, ids 1 and 2, both bought at step 0
    int32_t lives;
    float killReward, startGold;
};

void PrintTo(const GlobalCase& c, std::ostream* os)
{
    *os << c.label;
}


const std::string kMinusOne = R"(<target id="-1"/>)";

const GlobalCase kGlobal[] = {
    {"later_upgrade_overwrites",
     UpgradeXml(1, kMinusOne, R"(<param name="maxHP" value="2"/>)") +
         UpgradeXml(2, kMinusOne, R"(<param name="maxHP" value="3"/>)"),
     3, 7, 8},
    {"factors_in_percent",
     UpgradeXml(1, kMinusOne, R"(<param name="enemyCost" value="20"/><param name="startBudget" value="150"/>)"),
     4, 0.2f, 1.5f},
    {"zero_and_below_leave_fields",
     UpgradeXml(1, kMinusOne, R"(<param name="maxHP" value="2"/><param name="enemyCost" value="30"/>)") +
         UpgradeXml(2, kMinusOne, R"(<param name="maxHP" value="0"/><param name="enemyCost" value="-5"/>)"),
     2, 0.3f, 8},
    {"minus_one_second_target_not_global",
     UpgradeXml(1, R"(<target id="10"/><target id="-1"/>)", R"(<param name="maxHP" value="2"/>)"), 4, 7, 8},
    {"no_targets_not_global", UpgradeXml(1, "", R"(<param name="maxHP" value="2"/>)"), 4, 7, 8},
    {"lives_saturate", UpgradeXml(1, kMinusOne, R"(<param name="maxHP" value="1e20"/>)"), 2147483647, 7, 8},
};

class GlobalCases : public BalanceLevelTest, public testing::WithParamInterface<GlobalCase>
{
};

TEST_P(GlobalCases, SetsTheLevelFields)
{
    data->Write("nq/upgrades.xml", std::string("<upgrades>") + GetParam().upgrades + "</upgrades>");
    LoadProfiles(gametest::ProfilesXml(0, 0, kBothBought));
    BuildLevel();
    map->mLivesBonus = 4;
    map->mKillRewardFactor = 7.0f;
    map->mStartGoldFactor = 8.0f;
    map->mUpgradeTable->ApplyGlobal(map);
    EXPECT_EQ(map->mLivesBonus, GetParam().lives);
    EXPECT_EQ(map->mKillRewardFactor, GetParam().killReward);
    EXPECT_EQ(map->mStartGoldFactor, GetParam().startGold);
}

INSTANTIATE_TEST_SUITE_P(Table, GlobalCases, testing::ValuesIn(kGlobal),
                         [](const testing::TestParamInfo<GlobalCase>& info) { return std::string(info.param.label); });

TEST_F(BalanceLevelTest, AvailabilityAtTheLevelOrByProgress)
{
    WriteSamples();
    LoadProfiles(gametest::ProfilesXml(0, 0, LevelsXml({{0, 0, 3}, {0, 1, 3}, {0, 2, 1}})));
    BuildLevel();
    data->Write("nq/upgrades.xml", R"(<upgrades>
<upgrade id="5"><targets><target id="20000"/></targets></upgrade>
<upgrade id="6"><targets><target id="30000"/><target id="-1"/></targets></upgrade>
<upgrade id="7"/>
</upgrades>)");
    NQUpgradeTable table(L"nq/upgrades.xml");
    ASSERT_EQ(table.mUpgrades.size(), 3u);
    GoTo(0, 0);
    EXPECT_FALSE(table.mUpgrades[0]->IsAvailable(false));
    EXPECT_TRUE(table.mUpgrades[0]->IsAvailable(true)); // the furthest level is (0, 2)
    EXPECT_TRUE(table.mUpgrades[1]->IsAvailable(false));
    EXPECT_FALSE(table.mUpgrades[2]->IsAvailable(true)); // no targets
    GoTo(0, 2);
    EXPECT_TRUE(table.mUpgrades[0]->IsAvailable(false));
}

TEST_F(BalanceLevelTest, UnknownIdGivesNullAndOneLogLine)
{
    WriteSamples();
    BuildLevel();
    hvtest::LogLines().clear();
    EXPECT_EQ(CreateUpgradedProto(3004), nullptr);
    EXPECT_EQ(hvtest::CountLogLinesWith(L"3004"), 1);
}

TEST_F(BalanceLevelTest, ProgressAsksTheLevelForSetupAndUpgradeIds)
{
    WriteSamples();
    // Episode 1 open (20 stars in episode 0), with level 3 of episode 1 won.
    std::vector<std::array<int, 3>> records;
    for (int level = 0; level < 6; ++level)
        records.push_back({0, level, 3});
    records.push_back({0, 6, 2});
    records.push_back({1, 3, 1});
    LoadProfiles(gametest::ProfilesXml(0, 0, LevelsXml(records)));
    BuildLevel();
    int episode = -1;
    int level = -1;
    map->mProgress->GetFurthestLevel(episode, level);
    EXPECT_EQ(episode, 1);
    EXPECT_EQ(level, 3);

    // The first upgrade lookup writes every upgrade of the table, in table order, unbought.
    EXPECT_EQ(map->mProgress->GetUpgradeLevel(100), -1);
    const tinyxml2::XMLElement* upgrades = map->mProgress->GetProfileElement()->FirstChildElement("upgrades");
    ASSERT_NE(upgrades, nullptr);
    std::vector<std::pair<int, int>> entries;
    for (const tinyxml2::XMLElement* e = upgrades->FirstChildElement(); e != nullptr; e = e->NextSiblingElement())
        entries.push_back({e->IntAttribute("id"), e->IntAttribute("level")});
    EXPECT_EQ(entries, (std::vector<std::pair<int, int>>{{1, -1}, {100, -1}}));
}
} // namespace
