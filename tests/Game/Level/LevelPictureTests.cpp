#include "LevelFileFixture.h"

#include "Core/Base/TextEncoding.h"
#include "Core/Render/Image.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQResources.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQFxAnchor.h"
#include "Game/Units/NQSpot.h"
#include "LevelFileFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace leveltest
{
namespace
{
const std::wstring kLevelPath = L"nq/levels_normal/level_01_01.xml";

// The level picture sizes and the interface parts the loader takes pictures from.
class LevelPictureTest : public LevelFileTest
{
protected:
    void SetUp() override
    {
        LevelFileTest::SetUp();
        StartApplication();
        data->WriteLayeredImage("nq/data/ui_parts", {
                                                        {"spots/s", 0, 0, 40, 30},
                                                        {"spots/g", 0, 0, 50, 40},
                                                        {"spots/p", 0, 0, 60, 44},
                                                        {"ui/radius_boost", 0, 0, 10, 10},
                                                        {"ui/radius_unboost", 0, 0, 11, 11},
                                                        {"ui/power_boost", 0, 0, 12, 12},
                                                        {"ui/power_unboost", 0, 0, 13, 13},
                                                    });
        data->Write("nq/data/context/small_icons/income.png", gametest::SolidPng(14, 14, 0xFF00FF00u));
        NQResources::Instance()->PreloadSpriteSets(L"nq/data/ui_parts");
        // Two decorations (read in this order, "ind" the other way round), a
        // nested layer that is no decoration, and two anchors.
        data->WriteLayeredImage("nq/data/levels/l1", {
                                                         {"ground", 0, 0, 64, 48, 0xFF0000FFu, 5},
                                                         {"^trees", 10, 20, 30, 40, 0xFF00FF00u, 2},
                                                         {"deco/x", 1, 2, 3, 4, 0xFFFFFFFFu, 0},
                                                         {"fx/a1", 100, 200, 8, 8, 0xFFFFFFFFu, 7},
                                                         {"fx/a2", 300, 400, 8, 8, 0xFFFFFFFFu, 8},
                                                     });
    }

    void Load(const std::string& text)
    {
        data->Write(base::WideToUtf8(kLevelPath), text);
        map->LoadLevelXml(kLevelPath);
    }

    std::vector<NQFrameEntry*>& Frames() { return map->mDecorationSet->mFrames; }
    NQFrameEntry* Frame(const std::wstring& name)
    {
        for (NQFrameEntry* frame : Frames())
            if (frame->mName == name)
                return frame;
        return nullptr;
    }
    static render::Image* Picture(const wchar_t* set, const wchar_t* name)
    {
        NQFrameEntry* frame = NQResources::Instance()->FindFrame(set, L"", name);
        return frame ? frame->mPicture : nullptr;
    }
};

std::string SpotsLevel(const std::string& spots)
{
    return "<map><li>nq/data/levels/l1/map</li><spots>" + spots + "</spots></map>";
}

std::string Spot(float x, float y, int type, float gold, const std::string& multipliers)
{
    return "<spot x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"><param name=\"type\" value=\"" +
           std::to_string(type) + "\"/><param name=\"cost_gold\" value=\"" + std::to_string(gold) + "\"/>" +
           multipliers + "</spot>";
}

std::string Multipliers(const char* radius, const char* damage, const char* income)
{
    return std::string("<param name=\"radius_mult\" value=\"") + radius +
           "\"/><param name=\"damage_mult\" value=\"" + damage + "\"/><param name=\"income_mult\" value=\"" +
           income + "\"/>";
}

TEST_F(LevelPictureTest, DecorationsAndAnchors)
{
    Load(gametest::ExampleLevelXml());
    std::vector<std::wstring> names;
    for (const NQFrameEntry* frame : Frames())
        names.push_back(frame->mName);
    // The spot frame (-1) first, then the decorations by "ind"; "deco/x" is not one.
    EXPECT_EQ(names, (std::vector<std::wstring>{L"#0", L"^trees", L"ground"}));
    const NQFrameEntry* trees = Frame(L"^trees");
    ASSERT_NE(trees, nullptr);
    EXPECT_EQ(trees->mLayerIndex, 2);
    EXPECT_EQ(trees->mRect[0], 10.0f);
    EXPECT_EQ(trees->mRect[1], 20.0f);
    EXPECT_EQ(trees->mRect[2], 30.0f);
    EXPECT_EQ(trees->mRect[3], 40.0f);
    EXPECT_EQ(trees->mDepth, 60.0f);
    EXPECT_EQ(trees->mShown, 1);
    EXPECT_EQ(trees->mOwnsPicture, 1);
    ASSERT_NE(trees->mPicture, nullptr);
    EXPECT_EQ(trees->mPicture->GetWidth(), 30);

    ASSERT_EQ(map->mFxAnchors->size(), 2u);
    const NQFxAnchor* anchor = (*map->mFxAnchors)[1];
    EXPECT_EQ(anchor->mX, 300.0f);
    EXPECT_EQ(anchor->mY, 400.0f);
    EXPECT_EQ(anchor->mEffectName, "tr1");
    EXPECT_EQ(anchor->mPeriod, 30.0f);
    EXPECT_EQ(anchor->mSingle, 0);
    EXPECT_EQ(anchor->mNextDelay, 0.0f);
    EXPECT_EQ(anchor->mClock, 0.0f);
    EXPECT_EQ(anchor->mStarted, 0);
    EXPECT_EQ(anchor->mEffect, nullptr);
}

TEST_F(LevelPictureTest, AnchorsByEpisode)
{
    const struct
    {
        int32_t episode;
        const char* effect;
        float period;
        uint8_t single;
    } cases[] = {{0, "tr1", 30.0f, 0}, {1, "bird", 30.0f, 0}, {2, "", 0.0f, 1}};
    for (const auto& c : cases)
    {
        map->mEpisode = c.episode;
        Load(gametest::ExampleLevelXml());
        ASSERT_EQ(map->mFxAnchors->size(), 2u) << c.episode;
        for (const NQFxAnchor* anchor : *map->mFxAnchors)
        {
            EXPECT_EQ(anchor->mEffectName, c.effect) << c.episode;
            EXPECT_EQ(anchor->mPeriod, c.period) << c.episode;
            EXPECT_EQ(anchor->mSingle, c.single) << c.episode;
            EXPECT_GE(anchor->mFirstDelay, 3.0f);
            EXPECT_LT(anchor->mFirstDelay, 8.0f);
        }
    }
}

TEST_F(LevelPictureTest, PicturePathFromTheLiText)
{
    const struct
    {
        const char* li;
        const char* picture;
        size_t decorations;
    } cases[] = {
        {"nq/data/levels/l1/map", "nq/data/levels/l1/map", 2},
        {"D:/x/nq/data/levels/l1/map", "nq/data/levels/l1/map", 2},
        {"D:/nq/data/old/nq/data/levels/l1/map", "nq/data/levels/l1/map", 2},
        {"xx/data/levels/l1/map", "nq/data/levels/l1/map", 2},
        {"short", "nq/data/", 0},
        {"", "nq/data/", 0},
    };
    for (const auto& c : cases)
    {
        const std::string text = std::string("<map><li>") + c.li + "</li></map>";
        std::string picture;
        ASSERT_TRUE(map->ReadLevelText(text, picture));
        EXPECT_EQ(picture, c.picture) << c.li;
        Load(text);
        EXPECT_EQ(Frames().size(), c.decorations) << c.li;
    }
}

TEST_F(LevelPictureTest, SpotFramesAndBadges)
{
    map->mProgress->AddOwnedSpot(L"#4", 0, 0);
    Load(SpotsLevel(Spot(300, 470, 0, 0, Multipliers("1", "1", "1")) +
                    Spot(101.5f, 200.5f, 1, 10, Multipliers("1.2", "1", "1")) +
                    Spot(500, 300, 2, 10, Multipliers("0.5", "2", "1.5")) + Spot(640.7f, 80.2f, 3, 10, "") +
                    Spot(700, 500, 2, 5, Multipliers("1", "0.9", "1"))));
    const std::vector<NQFrameEntry*>& spots = map->mDecorationSet->mSpotFrames;
    ASSERT_EQ(spots.size(), 5u);
    ASSERT_NE(Picture(L"nq/spots", L"spots/p"), nullptr);
    ASSERT_NE(Picture(L"nq/ui", L"ui/power_unboost"), nullptr);

    const struct
    {
        const wchar_t* picture; // of "nq/spots"; null: none
        float rect[4];
        bool owned;
        std::vector<const wchar_t*> badges; // "income" is the loose picture
    } expected[] = {
        {L"spots/s", {280, 455, 40, 30}, true, {}},
        {L"spots/g", {76, 180, 50, 40}, false, {L"ui/radius_boost"}},
        {L"spots/p", {470, 278, 60, 44}, false, {L"ui/radius_unboost", L"ui/power_boost", L"income"}},
        {nullptr, {640, 80, 0, 0}, false, {L"ui/radius_unboost", L"ui/power_unboost", L"income"}},
        {L"spots/s", {680, 485, 40, 30}, true, {L"ui/power_unboost"}},
    };
    for (size_t i = 0; i < spots.size(); ++i)
    {
        SCOPED_TRACE(i);
        const NQFrameEntry* frame = spots[i];
        NQSpot* spot = (*map->mSpots)[i];
        EXPECT_EQ(frame->mName, L"#" + std::to_wstring(i));
        EXPECT_EQ(frame->mLayerIndex, -1);
        EXPECT_EQ(frame->mSpot, spot);
        EXPECT_EQ(frame->mPicture, expected[i].picture ? Picture(L"nq/spots", expected[i].picture) : nullptr);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(frame->mRect[k], expected[i].rect[k]) << k;
        EXPECT_EQ(spot->mOwned, expected[i].owned);

        ASSERT_EQ(spot->mBadges.size(), expected[i].badges.size());
        const size_t n = spot->mBadges.size();
        const float centerX = frame->mRect[0] + frame->mRect[2] * 0.5f;
        const float y = frame->mRect[1] + frame->mRect[3] * 0.5f + 25.0f;
        for (size_t k = 0; k < n; ++k)
        {
            const NQFrameEntry* badge = spot->mBadges[k];
            EXPECT_EQ(badge->mName, L"##");
            EXPECT_EQ(badge->mLayerIndex, 0);
            // Centred as a row: 33 apart, the middle one under the spot.
            EXPECT_EQ(badge->mRect[0], std::trunc(centerX + (float(k) - float(n - 1) * 0.5f) * 33.0f)) << k;
            EXPECT_EQ(badge->mRect[1], y);
            EXPECT_EQ(badge->mRect[2], 0.0f);
            EXPECT_EQ(badge->mRect[3], 0.0f);
            EXPECT_EQ(badge->mDepth, y + 30.0f);
            if (std::wstring(expected[i].badges[k]) == L"income")
            {
                ASSERT_NE(badge->mPicture, nullptr);
                EXPECT_EQ(badge->mPicture->GetWidth(), 14);
                EXPECT_EQ(badge->mOwnsPicture, 1);
            }
            else
            {
                EXPECT_EQ(badge->mPicture, Picture(L"nq/ui", expected[i].badges[k])) << k;
                EXPECT_EQ(badge->mOwnsPicture, 0);
            }
            EXPECT_NE(std::find(Frames().begin(), Frames().end(), badge), Frames().end());
        }
    }
    EXPECT_EQ(Logged(L"spot 3"), 1); // type 3 has no picture
    // One badge: centred 25 below the spot's centre.
    EXPECT_EQ((*map->mSpots)[1]->mBadges[0]->mRect[0], 101.0f);
    EXPECT_EQ((*map->mSpots)[1]->mBadges[0]->mRect[1], 225.0f);
    // Spot frames (-1) come before the badges (0) and the decorations.
    for (size_t i = 0; i < spots.size(); ++i)
        EXPECT_EQ(Frames()[i], spots[i]);
}

TEST_F(LevelFileTest, MissingPicturesStillGiveFrames)
{
    // No application and no interface parts: every picture is missing.
    data->Write("nq/levels_normal/level_01_01.xml", SpotsLevel(Spot(300.5f, 470, 0, 0, Multipliers("1", "1", "3"))));
    map->LoadLevelXml(kLevelPath);
    ASSERT_EQ(map->mDecorationSet->mSpotFrames.size(), 1u);
    const NQFrameEntry* frame = map->mDecorationSet->mSpotFrames[0];
    EXPECT_EQ(frame->mPicture, nullptr);
    EXPECT_EQ(frame->mRect[0], 300.0f);
    EXPECT_EQ(frame->mRect[1], 470.0f);
    EXPECT_EQ(frame->mRect[2], 0.0f);
    EXPECT_EQ(frame->mRect[3], 0.0f);
    ASSERT_EQ((*map->mSpots)[0]->mBadges.size(), 1u);
    EXPECT_EQ((*map->mSpots)[0]->mBadges[0]->mPicture, nullptr);
    EXPECT_EQ((*map->mSpots)[0]->mBadges[0]->mRect[0], 300.0f);
    EXPECT_EQ(Logged(L"spot 0: no picture"), 1);
    EXPECT_EQ(Logged(L"badge picture is missing"), 1);
}

std::string Without(std::string text, const std::string& open, const std::string& close)
{
    const size_t from = text.find(open);
    const size_t to = text.find(close, from);
    return text.erase(from, to + close.size() - from);
}

TEST_F(LevelPictureTest, BrokenFilesAfterAGoodLevel)
{
    const std::string example = gametest::ExampleLevelXml();
    const struct
    {
        const char* name;
        std::string text;
        size_t points, links, spots, waves, frames;
        int32_t budget;
    } cases[] = {
        {"does not parse", "<map><points><p id=\"1\"/>", 0, 0, 0, 0, 0, 0},
        {"empty file", "", 0, 0, 0, 0, 0, 0},
        {"no map", "<level><budget>5</budget></level>", 0, 0, 0, 0, 0, 0},
        {"no points", Without(example, "<points>", "</points>"), 0, 2, 1, 1, 3, 300},
        {"no links", Without(example, "<links>", "</links>"), 3, 0, 1, 1, 3, 300},
        {"no spots", Without(example, "<spots>", "</spots>"), 3, 2, 0, 1, 2, 300},
        {"no waves", Without(example, "<waves", "</waves>"), 3, 2, 1, 0, 3, 300},
        {"no budget", Without(example, "<budget>", "</budget>"), 3, 2, 1, 1, 3, 0},
        {"budget without text", Without(example, "<budget>", "</budget>").insert(5, "<budget/>"), 3, 2, 1, 1, 3, 0},
        {"no li", Without(example, "<li>", "</li>"), 3, 2, 1, 1, 1, 300},
        {"li of 5 characters", Without(example, "<li>", "</li>").insert(5, "<li>nq/da</li>"), 3, 2, 1, 1, 1, 300},
        {"link to a missing point",
         Without(example, "<links>", "</links>").insert(5, "<links><l sid=\"1\" eid=\"9\"/></links>"), 3, 1, 1, 1,
         3, 300},
        {"huge budget", Without(example, "<budget>", "</budget>").insert(5, "<budget>99999999999</budget>"), 3,
         2, 1, 1, 3, INT32_MAX},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Load(example);
        ASSERT_EQ(Frames().size(), 3u);
        Load(c.text);
        EXPECT_EQ(map->mPoints->size(), c.points);
        EXPECT_EQ(map->mLinks->size(), c.links);
        EXPECT_EQ(map->mSpots->size(), c.spots);
        EXPECT_EQ(map->mWaveManager->mWaves.size(), c.waves);
        ASSERT_NE(map->mDecorationSet, nullptr);
        EXPECT_EQ(Frames().size(), c.frames);
        EXPECT_EQ(map->mDecorationSet->mSpotFrames.size(), c.spots);
        EXPECT_EQ(map->mBudget, c.budget);
        // Whatever is left must be usable: the spots of the spot frames live.
        for (const NQFrameEntry* frame : map->mDecorationSet->mSpotFrames)
            EXPECT_FALSE(frame->mSpot->mBadges.size() > 3);
        map->mDecorationSet->ShowSpotFrames();
        map->BuildRoutes();
    }
}
} // namespace
} // namespace leveltest
