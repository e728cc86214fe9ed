// The generated levels played to their end by a plain automatic player on the
// built data root: every normal level is won, the first one with three stars
// by the play its tutorial teaches, and every later one is lost when nothing
// is built; every hardcore level the level select offers is won, with its one
// life, by a stronger play, and at least half of them are lost by the plain one. The player sees what a person sees (gold, prices, the unlocked
// towers, the roads) and acts a few times a second at double speed.
#include "BuiltContentFixture.h"

#include "Game/Data/FindById.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQParamSet.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace
{
constexpr int kEasyMode = 0;
constexpr int kNormalMode = 1;
constexpr float kDoubleSpeed = 2.0f;
// Coarse frames keep a whole level to a fraction of a second; bullets and
// enemies still move less than a body length per frame at double speed.
constexpr float kFrameSeconds = 1.0f / 30.0f;
constexpr float kDecisionSeconds = 0.5f;
// Far more than the longest level takes at double speed.
constexpr float kGameSecondsLimit = 1800.0f;
constexpr int kCurveSamples = 24;
constexpr int32_t kTowerType = 1;
constexpr int32_t kSupportLine = 40000;
constexpr int32_t kDartLine = 10000;
constexpr int kEpisodes = 3;
constexpr int kNormalLevels = 6;
constexpr int kHardcoreLevels = 3;
constexpr int kHardcoreMode = 3;
// The strong play builds this many towers before it upgrades.
constexpr size_t kStrongTowersFirst = 4;
// The plain player keeps at least half the lives.
constexpr int32_t kMarginStars = 2;
// The play the first level's tutorial teaches: a dart tower on spot #0 and
// two more beside the road's bends.
constexpr int kTutorialSpots[] = {0, 3, 10};
// The tutorial's upgrade step comes when this many waves are over.
constexpr int kTutorialUpgradeAfterWaves = 2;

struct Point
{
    float x = 0.0f;
    float y = 0.0f;
};

void SampleCurve(std::vector<Point>& samples, Point from, Point anchor, Point to)
{
    for (int i = 0; i <= kCurveSamples; ++i)
    {
        const float t = float(i) / float(kCurveSamples);
        const float u = 1.0f - t;
        samples.push_back({u * u * from.x + 2.0f * u * t * anchor.x + t * t * to.x,
                           u * u * from.y + 2.0f * u * t * anchor.y + t * t * to.y});
    }
}

bool WalksStraight(const NQMap& map)
{
    for (const NQWaveProto* wave : map.mWaveManager->mWaves)
        for (const NQWaveEntry* entry : wave->mEntries)
            if (const NQUnitProto* proto = map.mUnitDatabase->FindProto(entry->mId); proto && proto->straight)
                return true;
    return false;
}

// What the enemies walk, as points: every spawn point's route to the goal
// along the road curves (a stretch that several routes share counts for
// each), and the straight line from spawn to goal when straight walkers come.
std::vector<Point> RouteSamples(NQMap& map)
{
    std::vector<Point> samples;
    NQPoint* goal = map.FindGoalPoint();
    if (!goal || !map.mPoints)
        return samples;
    const bool straight = WalksStraight(map);
    for (NQPoint* spawn : *map.mPoints)
    {
        if (!spawn->mParams || spawn->mParams->GetFloat("spawn") != 1.0f)
            continue;
        const std::vector<int32_t> route = map.FindRoute(spawn, goal);
        for (size_t i = 0; i + 1 < route.size(); ++i)
        {
            const NQPoint* a = FindById(*map.mPoints, route[i]);
            const NQPoint* b = FindById(*map.mPoints, route[i + 1]);
            const NQLink* link = a && b ? map.FindLink(a, b) : nullptr;
            if (link)
                SampleCurve(samples, {a->mX, a->mY}, {link->mAnchorX, link->mAnchorY}, {b->mX, b->mY});
        }
        if (straight)
        {
            const Point from{spawn->mX, spawn->mY};
            const Point to{goal->mX, goal->mY};
            SampleCurve(samples, from, {(from.x + to.x) * 0.5f, (from.y + to.y) * 0.5f}, to);
        }
    }
    return samples;
}

Point SpotCentre(const NQFrameEntry& frame)
{
    return {frame.mRect[0] + frame.mRect[2] * 0.5f, frame.mRect[1] + frame.mRect[3] * 0.5f};
}

int Coverage(const std::vector<Point>& road, Point at, float reach)
{
    int covered = 0;
    for (const Point& p : road)
        covered += std::hypot(p.x - at.x, p.y - at.y) < reach ? 1 : 0;
    return covered;
}

// A sensible player without tricks: it builds the unlocked attack towers in
// turn on the open spots that cover the most road, and once a few stand it
// takes the cheapest of "one more tower" and "the next upgrade". No spells,
// no gems, no selling, no early waves.
class PlainPlayer
{
public:
    explicit PlainPlayer(NQMap& map) : mMap(map), mRoad(RouteSamples(map)) {}

    // Towers built before upgrades are considered.
    size_t towersFirst = 6;

    void Act()
    {
        const std::vector<NQUnitProto*> lines = AttackLines();
        if (lines.empty())
            return;
        NQUnitProto* nextLine = lines[mBuilt % lines.size()];
        NQFrameEntry* spot = BestOpenSpot(*nextLine);
        NQTower* upgradeTower = nullptr;
        float upgradePrice = 0.0f;
        int32_t upgradeLevel = -1;
        CheapestUpgrade(upgradeTower, upgradeLevel, upgradePrice);

        const bool buildFirst = mMap.mTowers.size() < towersFirst || !upgradeTower ||
                                (spot && nextLine->cost <= upgradePrice);
        if (buildFirst && spot)
        {
            if (float(mMap.mEconomy->mGold) >= nextLine->cost && mMap.BuildTower(nextLine, spot))
                ++mBuilt;
            return;
        }
        if (!upgradeTower || float(mMap.mEconomy->mGold) < upgradePrice)
            return; // saving up
        if (upgradeLevel < 0)
            upgradeTower->UpgradeInPlace();
        else
            upgradeTower->UpgradeTo(upgradeLevel, upgradePrice);
    }

private:
    std::vector<NQUnitProto*> AttackLines() const
    {
        std::vector<NQUnitProto*> lines;
        for (NQUnitProto* proto : mMap.mUnitDatabase->mProtos)
            if (proto->type == kTowerType && proto->id != kSupportLine && mMap.mUnlockTable->IsUnlocked(proto->id))
                lines.push_back(proto);
        // The dart line first: it is the one that reaches flyers.
        std::stable_partition(lines.begin(), lines.end(), [](const NQUnitProto* p) { return p->id == kDartLine; });
        return lines;
    }

    bool Taken(const NQFrameEntry* frame) const
    {
        return std::any_of(mMap.mTowers.begin(), mMap.mTowers.end(),
                           [frame](const NQTower* t) { return t->mSpotFrame == frame; });
    }

    NQFrameEntry* BestOpenSpot(const NQUnitProto& line) const
    {
        NQFrameEntry* best = nullptr;
        int bestCoverage = -1;
        for (NQFrameEntry* frame : mMap.mDecorationSet->mSpotFrames)
        {
            if (!frame->mSpot || !frame->mSpot->mOwned || Taken(frame))
                continue;
            const int covered = Coverage(mRoad, SpotCentre(*frame), line.r * 0.5f);
            if (covered > bestCoverage)
            {
                best = frame;
                bestCoverage = covered;
            }
        }
        return best;
    }

    // The next step of the tower: an in-place tier (level -1) while the line
    // has them, else the next unlocked level whose chain starts at its own.
    void CheapestUpgrade(NQTower*& tower, int32_t& level, float& price) const
    {
        for (NQTower* candidate : mMap.mTowers)
        {
            const NQUnitProto* base = candidate->mBaseProto;
            if (!base)
                continue;
            if (candidate->mTierCount < base->tierUpdates)
            {
                if (!tower || base->tierCost < price)
                {
                    tower = candidate;
                    level = -1;
                    price = base->tierCost;
                }
                continue;
            }
            for (const NQUnitProto* child : base->children)
            {
                if (child->levelid != candidate->mLevel + 1 || child->require != candidate->mLevel ||
                    !mMap.mUnlockTable->IsUnlocked(child->id))
                    continue;
                // The tower takes the first child of a level: both branches
                // share it, so only that one is priced.
                if (candidate->GetProto(child->levelid) != child)
                    continue;
                if (!tower || child->cost < price)
                {
                    tower = candidate;
                    level = child->levelid;
                    price = child->cost;
                }
            }
        }
    }

    NQMap& mMap;
    std::vector<Point> mRoad;
    size_t mBuilt = 0;
};

class ContentBalanceTest : public contenttest::BuiltContentTest
{
protected:
    // Plays at double speed until the level ends; the player acts every
    // decision interval of game time. False when the time limit ran out.
    bool PlayToEnd(const std::function<void()>& act)
    {
        // The level opens with its unlock message; "ok" on it starts the play.
        if (map->mScreenState == screen::kUnlockMessage)
            map->mScreenState = screen::kPlaying;
        map->mSpeed = kDoubleSpeed;
        float sinceDecision = kDecisionSeconds;
        while (map->mScreenState == screen::kPlaying && map->mGameTime < kGameSecondsLimit)
        {
            sinceDecision += kFrameSeconds * kDoubleSpeed;
            if (act && sinceDecision >= kDecisionSeconds)
            {
                act();
                sinceDecision = 0.0f;
            }
            map->Update(kFrameSeconds);
        }
        return map->mScreenState != screen::kPlaying;
    }

    std::string Summary() const
    {
        char text[160];
        std::snprintf(text, sizeof(text), "lives %.0f/%.0f, towers %zu, gold %d, kills %d, waves %d/%d, %.0f s",
                      double(map->mLives), double(map->mMaxLives), map->mTowers.size(), map->mEconomy->mGold,
                      map->mEconomy->mKillScore,
                      map->mWaveManager->mGroupsDone, map->mWaveManager->GetWaveCount(), double(map->mGameTime));
        std::string out = text;
        for (const NQTower* tower : map->mTowers)
        {
            const NQUnitProto* proto = tower->GetProto(-1);
            out += " [" + std::to_string(proto ? proto->id : -1) + "@" + std::to_string(int(tower->mX)) + "," +
                   std::to_string(int(tower->mY)) + "]";
        }
        // Which enemies got through, wave by wave.
        for (size_t w = 0; w < map->mWaveManager->mWaves.size(); ++w)
        {
            std::map<int, int> leaked;
            for (const NQWaveEntry* entry : map->mWaveManager->mWaves[w]->mEntries)
                if (entry->mState == 3)
                    ++leaked[entry->mId];
            if (leaked.empty())
                continue;
            out += "; wave " + std::to_string(w + 1) + ":";
            for (const auto& [id, n] : leaked)
                out += " " + std::to_string(id) + "x" + std::to_string(n);
        }
        return out;
    }
};

struct LevelCase
{
    int episode = 0;
    int level = 0;
};

std::string LevelName(const testing::TestParamInfo<LevelCase>& info)
{
    return "Level" + std::to_string(info.param.episode + 1) + "_" + std::to_string(info.param.level + 1);
}

// Every level of every episode, the given number of each.
std::vector<LevelCase> Levels(int perEpisode)
{
    std::vector<LevelCase> levels;
    for (int episode = 0; episode < kEpisodes; ++episode)
        for (int level = 0; level < perEpisode; ++level)
            levels.push_back({episode, level});
    return levels;
}

class EveryNormalLevel : public ContentBalanceTest, public testing::WithParamInterface<LevelCase>
{
};

TEST_P(EveryNormalLevel, IsWonByThePlainPlayerInNormalMode)
{
    StartBattle(kNormalMode, GetParam().episode, GetParam().level);
    PlainPlayer player(*map);
    ASSERT_TRUE(PlayToEnd([&player] { player.Act(); })) << Summary();
    EXPECT_EQ(map->mScreenState, screen::kWon) << Summary();
    // The margin: a person playing a little worse still wins.
    EXPECT_GE(HUDLevelResultWindow::CountStars(map->mLives, map->mMaxLives), kMarginStars) << Summary();
    std::printf("level %d-%d: %s\n", GetParam().episode + 1, GetParam().level + 1, Summary().c_str());
}

INSTANTIATE_TEST_SUITE_P(Content, EveryNormalLevel, testing::ValuesIn(Levels(kNormalLevels)), LevelName);

class EveryHardcoreLevel : public ContentBalanceTest, public testing::WithParamInterface<LevelCase>
{
};

// One life: a single leak loses. The strong play is the plain player's, but
// it upgrades once four towers stand (waiting for six loses some of these).
TEST_P(EveryHardcoreLevel, IsWonByAStrongPlay)
{
    StartBattle(kHardcoreMode, GetParam().episode, GetParam().level);
    ASSERT_GT(map->mWaveManager->GetWaveCount(), 0) << "no waves";
    PlainPlayer player(*map);
    player.towersFirst = kStrongTowersFirst;
    ASSERT_TRUE(PlayToEnd([&player] { player.Act(); })) << Summary();
    EXPECT_EQ(map->mScreenState, screen::kWon) << Summary();
    std::printf("hardcore %d-%d: %s\n", GetParam().episode + 1, GetParam().level + 1, Summary().c_str());
}

INSTANTIATE_TEST_SUITE_P(Content, EveryHardcoreLevel, testing::ValuesIn(Levels(kHardcoreLevels)), LevelName);

// The strong play is needed: the plain one, which waits for six towers before
// it upgrades, loses at least half of the hardcore levels.
TEST_F(ContentBalanceTest, MostHardcoreLevelsAreLostByThePlainPlay)
{
    int lost = 0;
    std::string outcomes;
    for (const LevelCase& level : Levels(kHardcoreLevels))
    {
        StartBattle(kHardcoreMode, level.episode, level.level);
        PlainPlayer player(*map);
        ASSERT_TRUE(PlayToEnd([&player] { player.Act(); })) << Summary();
        lost += map->mScreenState == screen::kLost ? 1 : 0;
        outcomes += "\n  hardcore " + std::to_string(level.episode + 1) + "-" + std::to_string(level.level + 1) +
                    (map->mScreenState == screen::kLost ? " lost: " : " won: ") + Summary();
    }
    const int levels = kEpisodes * kHardcoreLevels;
    EXPECT_GE(2 * lost, levels) << outcomes;
    std::printf("plain play on the hardcore levels, %d of %d lost:%s\n", lost, levels, outcomes.c_str());
}

// The table above plays what the setup sheet ships.
TEST_F(ContentBalanceTest, TheLevelTablesCoverEveryLevelOfTheSetup)
{
    StartBattle(kNormalMode, 0, 0);
    ASSERT_EQ(map->mEpisodeSetup.size(), size_t(kEpisodes));
    for (int episode = 0; episode < kEpisodes; ++episode)
    {
        EXPECT_EQ(map->GetLevelCount(episode), kNormalLevels) << "episode " << episode;
        EXPECT_EQ(map->GetHardcoreLevelCount(episode), kHardcoreLevels) << "episode " << episode;
    }
}

// The first level as its tutorial teaches it, in the new player's mode:
// three dart towers at once, and when the second wave is over the tutorial's
// gift of one upgrade's price spent on the first of them. Nothing else.
TEST_F(ContentBalanceTest, TheFirstLevelIsWonWithThreeStarsByTheTutorialsPlay)
{
    StartBattle(kEasyMode, 0, 0);
    for (int spot : kTutorialSpots)
        ASSERT_NE(BuildOn(spot, kDartLine), nullptr) << "spot #" << spot << ", " << Summary();
    NQTower* first = map->mTowers.front();
    const NQUnitProto* upgrade = first->GetProto(1);
    ASSERT_NE(upgrade, nullptr);
    bool upgraded = false;
    ASSERT_TRUE(PlayToEnd([&] {
        if (upgraded || map->mWaveManager->mGroupsDone < kTutorialUpgradeAfterWaves)
            return;
        map->mEconomy->AddGold(int32_t(upgrade->cost));
        first->UpgradeTo(1, upgrade->cost);
        upgraded = true;
    })) << Summary();
    EXPECT_EQ(first->GetProto(-1), upgrade);
    EXPECT_EQ(map->mScreenState, screen::kWon) << Summary();
    EXPECT_EQ(HUDLevelResultWindow::CountStars(map->mLives, map->mMaxLives), 3) << Summary();
    std::printf("level 1-1, the tutorial's play: %s\n", Summary().c_str());
}

// The first level is the tutorial's short one; the second has its own test below.
std::vector<LevelCase> LevelsAfterTheSecond()
{
    std::vector<LevelCase> levels = Levels(kNormalLevels);
    levels.erase(levels.begin(), levels.begin() + 2);
    return levels;
}

class EveryLaterLevel : public ContentBalanceTest, public testing::WithParamInterface<LevelCase>
{
};

// Waiting is no way through: with nothing built even the new player's mode is lost.
TEST_P(EveryLaterLevel, IsLostWhenNothingIsBuilt)
{
    StartBattle(kEasyMode, GetParam().episode, GetParam().level);
    ASSERT_TRUE(PlayToEnd(nullptr)) << Summary();
    EXPECT_EQ(map->mScreenState, screen::kLost) << Summary();
}

INSTANTIATE_TEST_SUITE_P(Content, EveryLaterLevel, testing::ValuesIn(LevelsAfterTheSecond()), LevelName);

TEST_F(ContentBalanceTest, TheSecondLevelIsLostWhenNothingIsBuilt)
{
    StartBattle(kEasyMode, 0, 1);
    ASSERT_TRUE(PlayToEnd(nullptr)) << Summary();
    EXPECT_EQ(map->mScreenState, screen::kLost) << Summary();
    std::printf("level 1-2, nothing built: %s\n", Summary().c_str());
}
} // namespace
