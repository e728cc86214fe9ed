// No build spot of a shipped level lies under a wave marker: the marker the
// level places at the start point of each wave group, its picture and every
// text it shows while it counts down, measured in the font the level draws it in.
#include "BuiltContentFixture.h"
#include "DataRootFixture.h"
#include "ShippedLevels.h"

#include "Core/Base/TextEncoding.h"
#include "Core/Math/BoundingBox.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Framework/GameApplication.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/GameWindow.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace
{
using contenttest::ShippedLevel;

// The draw's alignments: left, right, centre.
constexpr int kAlignLeft = 0;
constexpr int kAlignRight = 1;
constexpr int kAlignCentre = 2;
constexpr int kUtf8 = 1;

struct Box
{
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

bool Overlap(const Box& a, const Box& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Box FrameBox(const NQFrameEntry& frame)
{
    const float* r = frame.mRect;
    return {r[0], r[1], r[0] + r[2], r[1] + r[3]};
}

std::string Describe(const Box& b)
{
    return "(" + std::to_string(int(b.left)) + ", " + std::to_string(int(b.top)) + ") - (" +
           std::to_string(int(b.right)) + ", " + std::to_string(int(b.bottom)) + ")";
}

// The box the text of hint i takes as the level draws it: the same font,
// anchor and alignment, at zoom 1.
Box TextBox(const NQWaveHintStrip& strip, size_t i, render::Font& font, const std::wstring& text)
{
    const NQWaveHintStrip::TextAnchor anchor = strip.TextAnchorOf(i);
    math::BoundingBox box;
    {
        auto record = font.Text(text);
        record->SetAlign(anchor.runsRight ? kAlignLeft : kAlignRight, kAlignCentre);
        record->SetBoxOut(&box);
        const float at[2] = {anchor.x, anchor.y};
        auto placed = record.Translate(at);
    } // measures here
    return {box.mMin.x, box.mMin.y, box.mMax.x, box.mMax.y};
}

class WaveMarkerClearanceTest : public contenttest::BuiltContentTest, public testing::WithParamInterface<ShippedLevel>
{
};

TEST_P(WaveMarkerClearanceTest, NoSpotUnderAMarkerOrItsText)
{
    const ShippedLevel& level = GetParam();
    StartBattle(level.Mode(), level.episode, level.level);
    const resource::ResourceHandle<render::Font> font =
        gametest::LoadFixtureFont(GameWindow::kFontNames[GameWindow::kFontNormal], application->mRender);
    ASSERT_TRUE(font) << "no hint font";
    NQWaveManager* waves = map->mWaveManager;
    NQWaveHintStrip* strip = map->mWaveHints;
    ASSERT_NE(strip, nullptr);
    ASSERT_NE(strip->mPicture, nullptr) << "no marker picture";
    ASSERT_FALSE(map->mDecorationSet->mSpotFrames.empty());

    // Each group started by the wave manager itself, from its first wave;
    // a spot under the same marker in several groups counts once.
    std::set<std::string> covered;
    for (size_t first = 0; first < waves->mWaves.size(); ++first)
    {
        waves->mActiveWaves.clear();
        strip->Clear();
        waves->mNextWave = int32_t(first);
        waves->mClock = 0.0f;
        waves->Update(0.0f);
        for (size_t i = 0; i < strip->mHints.size(); ++i)
        {
            std::vector<Box> marker = {FrameBox(*strip->mHints[i])};
            // The count goes down from the group's start to "Incoming!".
            for (int32_t seconds = 0; seconds <= int32_t(strip->mNextWaveTime); ++seconds)
                marker.push_back(TextBox(*strip, i, *font.Get(), NQWaveHintStrip::Text(seconds)));
            for (const NQFrameEntry* spot : map->mDecorationSet->mSpotFrames)
                for (const Box& part : marker)
                    if (Overlap(FrameBox(*spot), part))
                        covered.insert("spot " + base::ToNarrow(spot->mName, kUtf8) + " at " +
                                       Describe(FrameBox(*spot)) + " under " + Describe(part));
        }
    }
    std::string listed;
    for (const std::string& line : covered)
        listed += line + "\n";
    EXPECT_TRUE(covered.empty()) << listed;
}

INSTANTIATE_TEST_SUITE_P(Content, WaveMarkerClearanceTest, testing::ValuesIn(contenttest::ShippedLevels()),
                         contenttest::ShippedLevelName);
} // namespace
