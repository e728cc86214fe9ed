#include "LevelFileFixture.h"

#include "Core/Base/DeleteAll.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/LinkGeometry.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Roads/PathWalk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace leveltest
{
namespace
{
// Link 0 straight along x (100 long), link 1 an arch towards +y, link 2 all
// in one point, link 3 to a missing point.
const char* kLinks = R"(<map><points>
  <p id="1" x="0" y="0"/><p id="2" x="100" y="0"/><p id="3" x="200" y="0"/><p id="4" x="7" y="7"/></points>
  <links><l sid="1" eid="2" anchor_x="50" anchor_y="0"/><l sid="2" eid="3" anchor_x="150" anchor_y="80"/>
  <l sid="4" eid="4" anchor_x="7" anchor_y="7"/><l sid="1" eid="9" anchor_x="5" anchor_y="5"/></links></map>)";

class RoadGeometryTest : public LevelFileTest
{
protected:
    void SetUp() override
    {
        LevelFileTest::SetUp();
        ASSERT_TRUE(ReadLevel(kLinks));
    }
    CurvePoint Normal(size_t link, float t) const { return GetLinkNormal(*map->mPoints, Link(link), t); }
};

TEST_F(RoadGeometryTest, LinkNormal)
{
    for (float t : {0.0f, 0.5f, 1.0f, 2.0f})
    {
        EXPECT_FLOAT_EQ(Normal(0, t).x, 0.0f) << t;
        EXPECT_FLOAT_EQ(Normal(0, t).y, 1.0f) << t;
    }
    // At 1 the difference runs forward to B(1.01), past the end; 2 counts as 1.
    const CurvePoint end = BezierPoint({100, 0}, {150, 80}, {200, 0}, 1.0f);
    const CurvePoint beyond = BezierPoint({100, 0}, {150, 80}, {200, 0}, 1.01f);
    const float dx = beyond.x - end.x;
    const float dy = beyond.y - end.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    EXPECT_FLOAT_EQ(Normal(1, 1.0f).x, -dy / length);
    EXPECT_FLOAT_EQ(Normal(1, 1.0f).y, dx / length);
    EXPECT_EQ(Normal(1, 2.0f).x, Normal(1, 1.0f).x);
    EXPECT_EQ(Normal(1, 2.0f).y, Normal(1, 1.0f).y);
    // The curve's own normal differs there: it turns backwards.
    EXPECT_NE(BezierNormal({100, 0}, {150, 80}, {200, 0}, 1.0f).x, Normal(1, 1.0f).x);
    for (size_t degenerate : {size_t(2), size_t(3)})
    {
        EXPECT_EQ(Normal(degenerate, 0.3f).x, 0.0f);
        EXPECT_EQ(Normal(degenerate, 0.3f).y, 0.0f);
    }
    EXPECT_EQ(GetLinkNormal(*map->mPoints, nullptr, 0.5f).y, 0.0f);
}

TEST_F(RoadGeometryTest, LinkLengthIsTheTenChordSum)
{
    EXPECT_FLOAT_EQ(map->GetLinkLength(Link(0)), 100.0f);
    float sum = 0.0f;
    CurvePoint previous{100, 0};
    for (int i = 1; i <= 10; ++i)
    {
        const CurvePoint point = BezierPoint({100, 0}, {150, 80}, {200, 0}, float(i) / 10.0f);
        sum += PointDistance(previous.x, previous.y, point.x, point.y);
        previous = point;
    }
    EXPECT_EQ(map->GetLinkLength(Link(1)), sum);
    EXPECT_EQ(map->GetLinkLength(Link(2)), 0.0f);
    EXPECT_EQ(map->GetLinkLength(Link(3)), 0.0f);
    EXPECT_EQ(map->GetLinkLength(nullptr), 0.0f);
}

TEST_F(RoadGeometryTest, AdvanceOnLink)
{
    // Stamping every 25 units along the straight link.
    float t = 0.0f;
    for (float expected : {0.250f, 0.501f, 0.752f})
    {
        t = map->AdvanceOnLink(Link(0), t, 25.0f, 0.0f);
        EXPECT_NEAR(t, expected, 0.0015f);
    }
    EXPECT_EQ(map->AdvanceOnLink(Link(0), 0.9f, 25.0f, 0.0f), 1.0f);
    // Outside the bend (+20, the normal's side) covers more road per step.
    const float outside = map->AdvanceOnLink(Link(1), 0.0f, 40.0f, 20.0f);
    const float road = map->AdvanceOnLink(Link(1), 0.0f, 40.0f, 0.0f);
    const float inside = map->AdvanceOnLink(Link(1), 0.0f, 40.0f, -20.0f);
    EXPECT_LT(outside, road);
    EXPECT_LT(road, inside);
    // No length: over at once; no distance: where it was.
    EXPECT_EQ(map->AdvanceOnLink(Link(2), 0.2f, 5.0f, 0.0f), 1.0f);
    EXPECT_EQ(map->AdvanceOnLink(Link(3), 0.2f, 5.0f, 0.0f), 1.0f);
    EXPECT_EQ(map->AdvanceOnLink(Link(2), 0.2f, 0.0f, 0.0f), 0.2f);
    EXPECT_EQ(map->AdvanceOnLink(Link(0), 0.3f, -4.0f, 0.0f), 0.3f);
    EXPECT_EQ(map->AdvanceOnLink(Link(0), NAN, 4.0f, 0.0f), 1.0f);
    EXPECT_EQ(map->AdvanceOnLink(Link(0), -1e9f, 4.0f, 0.0f), 1.0f);
}

TEST(GetPathPoint, PositionsAlongTheSamples)
{
    std::vector<NQPathSample*> path;
    for (int i = 0; i < 21; ++i)
    {
        NQPathSample* sample = new NQPathSample;
        sample->x = float(i) * 5.0f;
        sample->y = float(i * i);
        path.push_back(sample);
    }
    const struct
    {
        float u, x, y;
    } cases[] = {{0.0f, 0.0f, 0.0f},   {1.0f, 100.0f, 400.0f}, {0.5f, 50.0f, 100.0f}, {0.525f, 52.5f, 110.5f},
                 {1.3f, 100.0f, 400.0f}, {-0.2f, 0.0f, 0.0f},   {NAN, 0.0f, 0.0f}};
    for (const auto& c : cases)
    {
        const CurvePoint point = NQMap::GetPathPoint(path, c.u);
        EXPECT_FLOAT_EQ(point.x, c.x) << c.u;
        EXPECT_FLOAT_EQ(point.y, c.y) << c.u;
    }
    base::DeleteAll(path);
    const CurvePoint none = NQMap::GetPathPoint(path, 0.5f);
    EXPECT_EQ(none.x, 0.0f);
    EXPECT_EQ(none.y, 0.0f);
}
} // namespace
} // namespace leveltest
