// A tower's drawn picture over the quad recorder: its base point lands on
// the tower's anchor, whichever frame is shown.
#include "Game/Battle/TowerFixture.h"

#include "Core/Math/Transform2D.h"
#include "Game/NQFrameEntry.h"
#include "Game/NQTower.h"

#include <gtest/gtest.h>

namespace
{
using gametest::RecordedQuad;
using gametest::TowerTest;
namespace towers = gametest::towers;

// Where the fixture's tower sets put "base_point": the same container point
// in the non-rotating (cannon) and the rotating (arrow) set.
constexpr float kCannonBaseX = 30.0f;
constexpr float kCannonBaseY = 70.0f;
constexpr float kArrowBaseX = 32.0f;
constexpr float kArrowBaseY = 56.0f;

class TowerDrawTest : public TowerTest
{
};

TEST_F(TowerDrawTest, TheBasePointLandsOnTheAnchor)
{
    struct Case
    {
        int spot;
        int proto;
        float baseX;
        float baseY;
    };
    const Case cases[] = {{0, towers::kCannon, kCannonBaseX, kCannonBaseY},
                          {1, towers::kArrow, kArrowBaseX, kArrowBaseY}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.proto);
        NQTower* tower = BuildOn(c.spot, c.proto);
        ASSERT_NE(tower, nullptr);
        for (int frames : {0, 7, 40})
        {
            SCOPED_TRACE(frames);
            StepFrames(frames);
            math::Transform2D unused;
            const NQFrameEntry* frame = tower->PlaceCurrentFrame(unused);
            ASSERT_NE(frame, nullptr);
            const std::vector<RecordedQuad> quads =
                Recorder()->Record([&](render::Graphics* g) { tower->Draw(g); });
            ASSERT_EQ(quads.size(), 1u);
            const RecordedQuad& quad = quads[0];
            EXPECT_NEAR(quad.Width(), frame->mRect[2], 0.01f);
            EXPECT_NEAR(quad.Height(), frame->mRect[3], 0.01f);
            // The base point's place inside the shown picture.
            EXPECT_NEAR(quad.x[0] + c.baseX - frame->mRect[0], tower->mAnchorX, 0.01f);
            EXPECT_NEAR(quad.y[0] + c.baseY - frame->mRect[1], tower->mAnchorY, 0.01f);
        }
    }
}
} // namespace
