// The wave hints' texts over the root board's own fonts: which text, which
// side of its marker, and the rows of the later markers.
#include "FrontEndFixture.h"

#include "Game/Data/NQFrameEntry.h"
#include "Game/GameWindow.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQScreenState.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
using gametest::RecordedQuad;

constexpr float kMarkerSize = 40.0f;
constexpr float kGap = 32.0f;
constexpr float kRow = 25.0f;
// The fixture glyphs are 8 wide on an advance of 10.
constexpr float kGlyphSlack = 2.0f;
// The glyph box sits within a few units of the line's middle.
constexpr float kMiddleSlack = 6.0f;

struct Text
{
    size_t glyphs = 0;
    float left = 0.0f;
    float right = 0.0f;
    float middle = 0.0f;
};

class WaveHintTextTest : public gametest::FrontEndTest
{
protected:
    WaveHintTextTest()
    {
        recordingHud = true;
        extraStrings = "game_incoming;Incoming\ngame_nextwave;Next\n";
    }

    void TearDown() override
    {
        if (Map() && Map()->mWaveHints)
            Map()->mWaveHints->Clear();
        FrontEndTest::TearDown();
    }

    void AddMarker(float x, float y)
    {
        auto* marker = new NQFrameEntry;
        marker->mRect[0] = x;
        marker->mRect[1] = y;
        marker->mRect[2] = kMarkerSize;
        marker->mRect[3] = kMarkerSize;
        Map()->mWaveHints->mHints.push_back(marker);
    }

    // The texts drawn in the hints' font, one per marker, in marker order.
    std::vector<Text> DrawTexts()
    {
        const render::Texture* page = FontPage(GameWindow::kFontNormal);
        std::vector<Text> texts;
        float lastMiddle = 0.0f;
        for (const RecordedQuad& quad : Record([&](render::Graphics* g) { Map()->Draw(g); }))
        {
            if (quad.texture != page)
                continue;
            const float left = std::min({quad.x[0], quad.x[1], quad.x[2], quad.x[3]});
            const float right = std::max({quad.x[0], quad.x[1], quad.x[2], quad.x[3]});
            // A new text starts on another row.
            if (texts.empty() || quad.CentreY() != lastMiddle)
                texts.push_back({0, left, right, quad.CentreY()});
            Text& text = texts.back();
            ++text.glyphs;
            text.left = std::min(text.left, left);
            text.right = std::max(text.right, right);
            lastMiddle = quad.CentreY();
        }
        return texts;
    }
};

TEST_F(WaveHintTextTest, TheTextReadsTheSecondsLeftTruncated)
{
    NQMap* map = Map();
    ASSERT_NE(map, nullptr);
    ASSERT_NE(map->mWaveHints, nullptr);
    map->mScreenState = screen::kPlaying;
    AddMarker(100.0f, 300.0f);
    struct Case
    {
        float left;
        size_t glyphs;
    };
    const Case cases[] = {
        {0.9f, 8},  // "Incoming"
        {0.0f, 8},  // "Incoming"
        {-0.5f, 8}, // a late wave truncates to 0 as well
        {1.0f, 5},  // "Next1"
        {3.7f, 5},  // "Next3"
        {12.2f, 6}, // "Next12"
    };
    for (const Case& c : cases)
    {
        map->mWaveManager->mClock = 50.0f;
        map->mWaveHints->mNextWaveTime = 50.0f + c.left;
        const std::vector<Text> texts = DrawTexts();
        ASSERT_EQ(texts.size(), 1u) << c.left;
        EXPECT_EQ(texts[0].glyphs, c.glyphs) << c.left;
    }
}

TEST_F(WaveHintTextTest, LeftHalfTextsStartRightOfTheMarkerOthersEndLeftOfIt)
{
    NQMap* map = Map();
    ASSERT_NE(map, nullptr);
    map->mScreenState = screen::kPlaying;
    map->mWaveManager->mClock = 0.0f;
    map->mWaveHints->mNextWaveTime = 3.7f;
    // The middle column counts as the right half.
    const float xs[] = {100.0f, 700.0f, 512.0f, 511.0f};
    for (const float x : xs)
        AddMarker(x, 300.0f);
    struct View
    {
        float zoom;
        float offsetX;
        float offsetY;
    };
    for (const View& view : {View{1.0f, 0.0f, 0.0f}, View{0.75f, 171.0f, 40.0f}})
    {
        SCOPED_TRACE(testing::Message() << "zoom " << view.zoom);
        map->mZoom = view.zoom;
        map->mViewOffsetX = view.offsetX;
        map->mViewOffsetY = view.offsetY;
        const std::vector<Text> texts = DrawTexts();
        ASSERT_EQ(texts.size(), 4u);
        for (size_t i = 0; i < texts.size(); ++i)
        {
            const float cx = xs[i] + kMarkerSize / 2.0f;
            const float cy = 300.0f + kMarkerSize / 2.0f - kRow * float(i);
            const bool leftHalf = xs[i] < 512.0f;
            const float anchor = (leftHalf ? cx + kGap : cx - kGap) * view.zoom + view.offsetX;
            EXPECT_EQ(texts[i].glyphs, 5u) << i;
            if (leftHalf)
            {
                EXPECT_FLOAT_EQ(texts[i].left, anchor) << i;
            }
            else
            {
                EXPECT_LE(texts[i].right, anchor) << i;
                EXPECT_GE(texts[i].right, anchor - kGlyphSlack) << i;
            }
            EXPECT_NEAR(texts[i].middle, cy * view.zoom + view.offsetY, kMiddleSlack) << i;
            // Each later marker's text one row higher, a row of the map.
            if (i > 0)
            {
                EXPECT_FLOAT_EQ(texts[i].middle - texts[i - 1].middle, -kRow * view.zoom) << i;
            }
        }
    }
}

TEST_F(WaveHintTextTest, NoTextsOutsideTheWorldOrWithoutMarkers)
{
    NQMap* map = Map();
    ASSERT_NE(map, nullptr);
    map->mScreenState = screen::kPlaying;
    EXPECT_TRUE(DrawTexts().empty());
    AddMarker(100.0f, 300.0f);
    map->mScreenState = screen::kMainMenu;
    EXPECT_TRUE(DrawTexts().empty());
    map->mScreenState = screen::kWon;
    EXPECT_EQ(DrawTexts().size(), 1u);
}
} // namespace
