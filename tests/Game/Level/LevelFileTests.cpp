#include "LevelFileFixture.h"

#include "CallLog.h"
#include "Core/Base/Log.h"
#include "Game/Data/FindById.h"
#include "Game/Data/NQParamSet.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQFxAnchor.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQSprite.h"
#include "Game/Units/NQTower.h"
#include "LevelFileFixtures.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace leveltest
{
namespace
{
const char* kPoints = R"(<points>
    <p id="1" x="60" y="380"><param name="spawn" value="1"/></p>
    <p id="2" x="500" y="380"/>
    <p id="3" x="980" y="380"><param name="goal" value="1"/></p></points>)";
const char* kLinks = R"(<links>
    <l sid="1" eid="2" anchor_x="280" anchor_y="300"/>
    <l sid="2" eid="3" anchor_x="740" anchor_y="460"/></links>)";
const char* kSpots = R"(<spots><spot x="300" y="470"><param name="cost_gold" value="0"/>
    <param name="cost_real" value="0"/><param name="type" value="0"/></spot></spots>)";
const char* kWaves = R"(<waves timeout="2"><wave timeout="0" spawn="1" wipeAward="20" scale="1">
    <e id="50" upgrade="1" x="0" y="-65"/><e id="50" upgrade="1" x="45" y="-40"/></wave></waves>)";

std::string Level(const std::string& points = kPoints, const std::string& links = kLinks,
                  const std::string& spots = kSpots, const std::string& waves = kWaves,
                  const std::string& budget = "<budget>300</budget>")
{
    return "<map><li>nq/data/levels/l1/map</li>" + budget + points + links + spots + waves + "</map>";
}

struct Case
{
    const char* name;
    std::string text;
    std::function<void(NQMap&)> check;
};

TEST_F(LevelFileTest, LevelFileVariants)
{
    const Case cases[] = {
        {"the example", gametest::ExampleLevelXml(),
         [](NQMap& m) {
             EXPECT_EQ(m.mBudget, 300);
             ASSERT_EQ(m.mPoints->size(), 3u);
             const NQPoint* first = (*m.mPoints)[0];
             EXPECT_EQ(first->mId, 1);
             EXPECT_EQ(first->mX, 60.0f);
             EXPECT_EQ(first->mY, 380.0f);
             EXPECT_EQ(first->mParams->GetFloat("spawn"), 1.0f);
             EXPECT_EQ((*m.mPoints)[2]->mParams->GetFloat("goal"), 1.0f);
             ASSERT_EQ(m.mLinks->size(), 2u);
             const NQLink* link = (*m.mLinks)[1];
             EXPECT_EQ(link->mSid, 2);
             EXPECT_EQ(link->mEid, 3);
             EXPECT_EQ(link->mAnchorX, 740.0f);
             EXPECT_EQ(link->mAnchorY, 460.0f);
             ASSERT_EQ(m.mSpots->size(), 1u);
             const NQSpot* spot = (*m.mSpots)[0];
             EXPECT_EQ(spot->mX, 300.0f);
             EXPECT_EQ(spot->mY, 470.0f);
             EXPECT_EQ(spot->mParams->GetFloat("radius_mult"), 1.0f);
             EXPECT_TRUE(spot->mOwned);
             ASSERT_EQ(m.mWaveManager->mWaves.size(), 1u);
             const NQWaveProto* wave = m.mWaveManager->mWaves[0];
             EXPECT_EQ(wave->mTimeout, 2);
             EXPECT_EQ(wave->mSpawn, 1);
             EXPECT_EQ(wave->mWipeAward, 20);
             EXPECT_EQ(wave->mScale, 1.0f);
             EXPECT_EQ(wave->mLinked, -1);
             EXPECT_EQ(wave->mState, 0);
             EXPECT_EQ(wave->mTime, 0.0f);
             ASSERT_EQ(wave->mEntries.size(), 2u);
             const NQWaveEntry* entry = wave->mEntries[1];
             EXPECT_EQ(entry->mState, -1);
             EXPECT_EQ(entry->mId, 50);
             EXPECT_EQ(entry->mUpgrade, 1);
             EXPECT_EQ(entry->mX, 45.0f);
             EXPECT_EQ(entry->mY, -40.0f);
             EXPECT_FALSE(entry->mSpawned);
             EXPECT_EQ(entry->mEnemyValue, 0);
             EXPECT_EQ(entry->mHealthBonus, 0);
             EXPECT_EQ(entry->mWave, wave);
             EXPECT_EQ(m.mWaveManager->mGlobalDelay, 2.0f);
         }},
        {"spot prices and parameters",
         Level(kPoints, kLinks,
               R"(<spots><skipped x="1"/>
                  <spot x="1" y="2"><param name="cost_gold" value="0"/><param name="cost_real" value="3"/></spot>
                  <other x="5"><param name="cost_gold" value="12.9"/><param name="type" value="2"/></other>
                  <spot><price name="cost_gold" value="7"/></spot>
                  <spot/></spots>)"),
         [](NQMap& m) {
             ASSERT_EQ(m.mSpots->size(), 4u);
             const NQSpot* locked = (*m.mSpots)[0];
             EXPECT_EQ(locked->mGoldPrice, 0);
             EXPECT_EQ(locked->mGemPrice, 3);
             EXPECT_FALSE(locked->mOwned);
             const NQSpot* truncated = (*m.mSpots)[1];
             EXPECT_EQ(truncated->mGoldPrice, 12);
             EXPECT_EQ(truncated->mType, 2);
             EXPECT_EQ(truncated->mX, 5.0f);
             EXPECT_EQ(truncated->mY, 0.0f);
             EXPECT_FALSE(truncated->mOwned);
             EXPECT_EQ((*m.mSpots)[2]->mGoldPrice, 7); // any child is a parameter
             const NQSpot* bare = (*m.mSpots)[3];
             EXPECT_EQ(bare->mGoldPrice + bare->mGemPrice + bare->mType, 0);
             EXPECT_TRUE(bare->mOwned);
         }},
        {"waves",
         Level(kPoints, kLinks, kSpots,
               R"(<waves timeout="2.9"><intro/>
                  <wave timeout="1" spawn="3" scale="0"><a id="7"/><b id="8" upgrade="2" x="abc" y="-130"/></wave>
                  <wave timeout="5"/>
                  <group timeout="4" linked="x" scale="0.5"><e id="9"/></group>
                  <wave linked="1" spawn="-1"><e id="10"/></wave></waves>)"),
         [](NQMap& m) {
             const std::vector<NQWaveProto*>& waves = m.mWaveManager->mWaves;
             ASSERT_EQ(waves.size(), 3u); // the empty wave is dropped
             EXPECT_EQ(waves[0]->mTimeout, 3);
             EXPECT_EQ(waves[0]->mSpawn, 3);
             EXPECT_EQ(waves[0]->mScale, 1.0f);
             EXPECT_EQ(waves[0]->mLinked, -1);
             ASSERT_EQ(waves[0]->mEntries.size(), 2u);
             EXPECT_EQ(waves[0]->mEntries[0]->mId, 7);
             EXPECT_EQ(waves[0]->mEntries[0]->mUpgrade, 0);
             EXPECT_EQ(waves[0]->mEntries[1]->mUpgrade, 2);
             EXPECT_EQ(waves[0]->mEntries[1]->mX, 0.0f);
             EXPECT_EQ(waves[0]->mEntries[1]->mY, -130.0f);
             EXPECT_EQ(waves[1]->mTimeout, 6);
             EXPECT_EQ(waves[1]->mLinked, 0);
             EXPECT_EQ(waves[1]->mScale, 0.5f);
             EXPECT_EQ(waves[1]->mSpawn, 0);
             // Indices count only the waves kept.
             ASSERT_EQ(waves[2]->mLinked, 1);
             EXPECT_EQ(waves[size_t(waves[2]->mLinked)], waves[1]);
             EXPECT_EQ(waves[2]->mSpawn, -1);
         }},
        {"two points with one id",
         Level(R"(<points><p id="4" x="1" y="1"/><p id="4" x="2" y="2"/></points>)", "<links/>"),
         [](NQMap& m) {
             ASSERT_EQ(m.mPoints->size(), 2u);
             EXPECT_EQ(FindById(*m.mPoints, 4), (*m.mPoints)[0]);
         }},
        {"coordinates that are not finite or do not parse",
         Level(R"(<points><p id="1" x="nan" y="inf"/><p id="x" x="-infinity" y="12abc"/></points>)",
               R"(<links><l sid="1" eid="0" anchor_x="NAN" anchor_y="1e99"/></links>)"),
         [](NQMap& m) {
             ASSERT_EQ(m.mPoints->size(), 2u);
             EXPECT_EQ((*m.mPoints)[0]->mX, 0.0f);
             EXPECT_EQ((*m.mPoints)[0]->mY, 0.0f);
             EXPECT_EQ((*m.mPoints)[1]->mId, 0);
             EXPECT_EQ((*m.mPoints)[1]->mX, 0.0f);
             EXPECT_EQ((*m.mPoints)[1]->mY, 12.0f);
             EXPECT_EQ((*m.mLinks)[0]->mAnchorX, 0.0f);
             EXPECT_EQ((*m.mLinks)[0]->mAnchorY, 0.0f);
         }},
        {"sections in any order", "<map><waves/><links/><budget> 42 </budget><points><p id=\"9\"/></points></map>",
         [](NQMap& m) {
             EXPECT_EQ(m.mBudget, 42);
             EXPECT_EQ(m.mPoints->size(), 1u);
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ReadLevel(c.text));
        c.check(*map);
    }
}

TEST_F(LevelFileTest, LogTexts)
{
    ASSERT_TRUE(ReadLevel(Level(kPoints, kLinks, kSpots,
                                R"(<waves timeout="2.5"><wave timeout="4" spawn="3"><e/></wave></waves>)")));
    EXPECT_EQ(Logged(L"new nq point (60, 380)#1!"), 1);
    EXPECT_EQ(Logged(L"new nq point (980, 380)#3!"), 1);
    EXPECT_EQ(Logged(L"link loaded!"), 2);
    // The wave's own timeout, before the global delay is added.
    EXPECT_EQ(Logged(L"LOADED ENEMY WAVE=(timeout=4, spawner=3)"), 1);
    EXPECT_EQ(map->mWaveManager->mWaves[0]->mTimeout, 6);
}

// The file of the log keeps one line per level, not one per point and link:
// those lines go to the debugger output alone.
TEST_F(LevelFileTest, PointAndLinkLinesStayOutOfTheLogFile)
{
    // Shared: the log keeps the output, and writes to it, after the test.
    const auto lines = std::make_shared<std::vector<std::wstring>>();
    struct FileCapture : base::LogOutput
    {
        explicit FileCapture(std::shared_ptr<std::vector<std::wstring>> lines) : mLines(std::move(lines)) {}
        void Write(const std::wstring& text) override { mLines->push_back(text); }
        std::shared_ptr<std::vector<std::wstring>> mLines;
    };
    base::MainLog::Instance()->AddHtmlOutput(new FileCapture(lines));
    const std::vector<std::wstring>& file = *lines;
    ASSERT_TRUE(ReadLevel(gametest::ExampleLevelXml()));
    EXPECT_EQ(Logged(L"new nq point"), 3);
    EXPECT_EQ(Logged(L"link loaded!"), 2);
    for (const std::wstring& line : file)
    {
        EXPECT_EQ(line.find(L"new nq point"), std::wstring::npos) << gametest::Narrow(line);
        EXPECT_EQ(line.find(L"link loaded"), std::wstring::npos) << gametest::Narrow(line);
    }
    EXPECT_GT(file.size(), 1u) << "the level's other lines still reach the file";
}

TEST_F(LevelFileTest, EveryLogEntryEndsItsLine)
{
    // Entries without their own line feed run together in the debugger output.
    hvtest::LogLines().clear();
    ASSERT_TRUE(ReadLevel(Level(kPoints, kLinks, kSpots,
                                R"(<waves timeout="2.5"><wave timeout="4" spawn="3"><e/></wave></waves>)")));
    ASSERT_FALSE(hvtest::LogLines().empty());
    for (const std::wstring& line : hvtest::LogLines())
        EXPECT_TRUE(!line.empty() && line.back() == L'\n') << line;
}

const std::wstring kLevelPath = L"nq/levels_normal/level_01_01.xml";

std::string TowerSpot(const char* towerId)
{
    return std::string(R"(<map><budget>300</budget><spots><spot x="10" y="10"><param name="tower_id" value=")") +
           towerId + R"("/></spot></spots></map>)";
}

TEST_F(LevelFileTest, StartGoldWithTheBoughtBonus)
{
    const struct
    {
        const char* budget;
        float factor;
        int32_t goldBefore, gold;
    } cases[] = {
        {"300", 0.0f, 0, 300},
        {"300", 0.5f, 0, 450},
        {"301", 0.5f, 7, 458}, // 301 + trunc(150.5) on top of the gold there was
        {"2147483647", 1.0f, 0, INT32_MAX},
        {"-5", 0.0f, 0, -5},
    };
    for (const auto& c : cases)
    {
        data->Write("nq/levels_normal/level_01_01.xml", std::string("<map><budget>") + c.budget + "</budget></map>");
        map->mStartGoldFactor = c.factor;
        map->mEconomy->mGold = c.goldBefore;
        map->mEconomy->mShownGold = -1;
        map->LoadLevelXml(kLevelPath);
        EXPECT_EQ(map->mEconomy->mGold, c.gold) << c.budget << " " << c.factor;
        EXPECT_EQ(map->mEconomy->mShownGold, c.gold) << c.budget;
    }
}

TEST_F(LevelFileTest, FreeTowerCreditsTheUpgradedCost)
{
    // Prototype 12 costs 100; a bought upgrade takes 10 % off it.
    data->Write("nq/towers_sheet.csv", "id;parent;cost;r\n12;-1;100;100\n");
    data->Write("nq/upgrades.xml", R"(<upgrades><upgrade id="7"><targets><target id="12"/><target id="-1"/></targets>
        <steps><step><attributes><param name="cost" value="-10"/></attributes></step></steps></upgrade></upgrades>)");
    LoadProfiles(gametest::ProfilesXml(0, 0, R"(<upgrades><upgrade id="7" level="0"/></upgrades>)"));
    BuildLevel();
    ClearLog();

    const struct
    {
        const char* id;
        int32_t gold;
        int goldTexts, logged;
    } cases[] = {{"12", 300, 2, 0}, {"12.7", 300, 2, 0}, {"99", 300, 0, 1}, {"0", 300, 0, 0}};
    for (const auto& c : cases)
    {
        data->Write("nq/levels_normal/level_01_01.xml", TowerSpot(c.id));
        map->mEconomy->mGold = 0;
        gametest::CallLog().clear();
        ClearLog();
        map->LoadLevelXml(kLevelPath);
        // BuildTower takes the same 90 again (its own gold-text refresh): the tower costs nothing.
        EXPECT_EQ(map->mEconomy->mGold, c.gold) << c.id;
        EXPECT_EQ(gametest::CountCalls("HUD.UpdateGoldText"), c.goldTexts) << c.id;
        EXPECT_EQ(Logged(L"no tower prototype"), c.logged) << c.id;
    }
}

TEST_F(LevelFileTest, LoadingEmptiesThePreviousLevel)
{
    data->Write("nq/levels_normal/level_01_01.xml", gametest::ExampleLevelXml());
    map->LoadLevelXml(kLevelPath);
    NQEnemy* enemy = new NQEnemy(map->mWaveManager->mWaves[0]->mEntries[0]);
    map->mWaveManager->mEnemies.push_back(enemy);
    map->mSelectedEnemy = enemy;
    map->mWaveManager->mActiveWaves.push_back(map->mWaveManager->mWaves[0]);
    map->mHints->push_back(new NQSprite);
    map->mFxAnchors->push_back(new NQFxAnchor);
    map->mEffects.push_back(new NQEffect("none"));
    map->mDepthEffects.push_back(new NQEffect("none"));
    map->mTowers.push_back(new NQTower);
    map->mModifiers.push_back(new NQModifier("", 0.0f, NQModifier::kEndless, nullptr));
    gametest::CallLog().clear();

    data->Write("nq/levels_normal/level_01_02.xml", "<map/>");
    map->LoadLevelXml(L"nq/levels_normal/level_01_02.xml");
    EXPECT_EQ(map->mLevelPath, L"nq/levels_normal/level_01_02.xml");
    EXPECT_EQ(map->mSelectedEnemy, nullptr);
    EXPECT_TRUE(map->mWaveManager->mEnemies.empty());
    EXPECT_TRUE(map->mWaveManager->mActiveWaves.empty());
    EXPECT_TRUE(map->mWaveManager->mWaves.empty());
    EXPECT_TRUE(map->mHints->empty());
    EXPECT_TRUE(map->mFxAnchors->empty());
    EXPECT_TRUE(map->mEffects.empty());
    EXPECT_TRUE(map->mDepthEffects.empty());
    EXPECT_TRUE(map->mTowers.empty());
    EXPECT_TRUE(map->mModifiers.empty());
    EXPECT_TRUE(map->mSpots->empty());
    EXPECT_TRUE(map->mPoints->empty());
    EXPECT_TRUE(map->mLinks->empty());
    std::vector<std::string> spellButtons;
    for (const gametest::LoggedCall& call : gametest::CallsStarting("HUD.AddSpellButton"))
        spellButtons.push_back(call.call);
    EXPECT_EQ(spellButtons, (std::vector<std::string>{"HUD.AddSpellButton 0", "HUD.AddSpellButton 1",
                                                      "HUD.AddSpellButton 2", "HUD.AddSpellButton 3",
                                                      "HUD.AddSpellButton 4"}));
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
}
} // namespace
} // namespace leveltest
