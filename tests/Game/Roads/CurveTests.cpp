#include "Core/Base/DeleteAll.h"
#include "Core/Math/MathFunctions.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/GameMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
const CurvePoint kStart{0.0f, 0.0f};
const CurvePoint kMiddle{50.0f, 0.0f};
const CurvePoint kEnd{100.0f, 0.0f};

TEST(BezierNormal, StraightCurveKeepsItsSideUpToTheEnd)
{
    // 0.995 and 1 take the backward, flipped difference.
    for (float t : {0.0f, 0.5f, 0.995f, 1.0f, 2.0f})
    {
        const CurvePoint normal = BezierNormal(kStart, kMiddle, kEnd, t);
        EXPECT_FLOAT_EQ(normal.x, 0.0f) << t;
        EXPECT_FLOAT_EQ(normal.y, 1.0f) << t;
    }
}

TEST(BezierNormal, CurveWithoutLengthHasNoNormal)
{
    const CurvePoint p{7.0f, 7.0f};
    const CurvePoint normal = BezierNormal(p, p, p, 0.3f);
    EXPECT_EQ(normal.x, 0.0f);
    EXPECT_EQ(normal.y, 0.0f);
}

TEST(BezierPoint, FollowsTheControlPoint)
{
    const CurvePoint point = BezierPoint({0.0f, 0.0f}, {50.0f, 100.0f}, {100.0f, 0.0f}, 0.5f);
    EXPECT_FLOAT_EQ(point.x, 50.0f);
    EXPECT_FLOAT_EQ(point.y, 50.0f);
}

TEST(OffsetBezierLength, StraightCurveMovedSidewaysKeepsItsLength)
{
    EXPECT_NEAR(OffsetBezierLength(kStart, kMiddle, kEnd, 10.0f), 100.0f, 0.05f);
}

TEST(OffsetBezierLength, OutsideOfABendIsLonger)
{
    // An arch towards +y: the normal (-dy, dx) points out of it.
    const CurvePoint bend{50.0f, 80.0f};
    const float outside = OffsetBezierLength(kStart, bend, kEnd, 20.0f);
    const float road = OffsetBezierLength(kStart, bend, kEnd, 0.0f);
    const float inside = OffsetBezierLength(kStart, bend, kEnd, -20.0f);
    EXPECT_LT(inside, road);
    EXPECT_LT(road, outside);
}

TEST(OffsetBezierParamAtDistance, NoDistanceStaysAndAStuckWalkEnds)
{
    EXPECT_EQ(OffsetBezierParamAtDistance(kStart, kMiddle, kEnd, 0.25f, 0.0f, 0.0f), 0.25f);
    EXPECT_EQ(OffsetBezierParamAtDistance(kStart, kMiddle, kEnd, 0.25f, -3.0f, 0.0f), 0.25f);
    // Neither a curve that does not move nor a NaN distance is ever covered.
    const CurvePoint p{1.0f, 1.0f};
    const float stuck = OffsetBezierParamAtDistance(p, p, p, 0.0f, 5.0f, 0.0f);
    EXPECT_GT(stuck, 1.9f);
    EXPECT_LT(stuck, 2.1f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_GT(OffsetBezierParamAtDistance(kStart, kMiddle, kEnd, 0.0f, nan, 0.0f), 1.9f);
}

TEST(SampleOffsetBezier, EvenSamplesAlongTheMovedCurve)
{
    std::vector<NQPathSample*> samples;
    SampleOffsetBezier(kStart, kMiddle, kEnd, 10.0f, 20, samples);
    // Whatever float stepping gives: about 21 samples.
    ASSERT_GE(samples.size(), 20u);
    ASSERT_LE(samples.size(), 22u);
    EXPECT_FLOAT_EQ(samples.front()->x, 0.0f);
    for (size_t i = 0; i < samples.size(); ++i)
    {
        EXPECT_FLOAT_EQ(samples[i]->y, 10.0f) << i;
        EXPECT_FLOAT_EQ(samples[i]->normalX, 0.0f) << i;
        EXPECT_FLOAT_EQ(samples[i]->normalY, 1.0f) << i;
        EXPECT_EQ(samples[i]->extra, 0.0f) << i;
        if (i > 0)
        {
            EXPECT_NEAR(samples[i]->x - samples[i - 1]->x, 5.0f, 0.02f) << i;
        }
    }
    base::DeleteAll(samples);
}

TEST(SampleOffsetBezier, AppendsToWhatTheListHolds)
{
    std::vector<NQPathSample*> samples{new NQPathSample};
    SampleOffsetBezier(kStart, kMiddle, kEnd, 0.0f, 20, samples);
    EXPECT_GT(samples.size(), 20u);
    EXPECT_EQ(samples[1]->x, 0.0f);
    base::DeleteAll(samples);
}

TEST(SampleOffsetBezier, CurvesThatCannotBeSteppedGiveOneSample)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const CurvePoint p{3.0f, 4.0f};
    struct Case
    {
        const char* name;
        CurvePoint p0, p1, p2;
        float offset;
        int32_t count;
    };
    const Case cases[] = {
        {"no length", p, p, p, 0.0f, 20},
        {"count 0", kStart, kMiddle, kEnd, 0.0f, 0},
        {"count below 0", kStart, kMiddle, kEnd, 0.0f, -4},
        {"NaN point", {nan, 0.0f}, kMiddle, kEnd, 0.0f, 20},
        {"infinite offset", kStart, kMiddle, kEnd, inf, 20},
    };
    for (const Case& c : cases)
    {
        std::vector<NQPathSample*> samples;
        SampleOffsetBezier(c.p0, c.p1, c.p2, c.offset, c.count, samples);
        EXPECT_EQ(samples.size(), 1u) << c.name;
        base::DeleteAll(samples);
    }
}

TEST(ToSpriteAngle, ShiftsByAQuarterTurn)
{
    const struct
    {
        float in, out;
    } cases[] = {{90.0f, 0.0f}, {45.0f, 315.0f}, {-30.0f, 240.0f}, {360.0f, 270.0f}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(ToSpriteAngle(c.in), c.out) << c.in;
}

TEST(SmallFloatHelpers, ClampAndMinimum)
{
    EXPECT_EQ(ClampNonNegative(-0.5f), 0.0f);
    EXPECT_EQ(ClampNonNegative(2.5f), 2.5f);
    EXPECT_EQ(MinFloat(3.0f, 2.0f), 2.0f);
    EXPECT_EQ(MinFloat(2.0f, 3.0f), 2.0f);
}

TEST(ClearBoostValues, ClearsStrengthCooldownAndRangeOnly)
{
    NQUnitProto boost;
    boost.strength = 3.0f;
    boost.cooldown = 2.0f;
    boost.r = 40.0f;
    boost.cost = 9.0f;
    ClearBoostValues(boost);
    EXPECT_EQ(boost.strength, 0.0f);
    EXPECT_EQ(boost.cooldown, 0.0f);
    EXPECT_EQ(boost.r, 0.0f);
    EXPECT_EQ(boost.cost, 9.0f);
}

TEST(NQWaveEntry, RunTimeEntryWaitsInItsWave)
{
    NQWaveProto wave;
    NQWaveEntry entry(&wave);
    EXPECT_EQ(entry.mState, -1);
    EXPECT_EQ(entry.mUpgrade, 1);
    EXPECT_TRUE(entry.mName.empty());
    EXPECT_EQ(entry.mEnemyValue, 0);
    EXPECT_EQ(entry.mHealthBonus, 0);
    EXPECT_FALSE(entry.mSpawned);
    EXPECT_EQ(entry.mWave, &wave);
}

TEST(RandomPointInRing, DrawsTheAngleFirstThenTheRadius)
{
    math::Random(77);
    const float angle = math::Random(0) * 360.0f * 3.1415927f / 180.0f;
    const float radius = 50.0f + math::Random(0) * 50.0f;
    math::Random(77);
    const CurvePoint point = RandomPointInRing(10.0f, 20.0f, 100.0f, 50.0f);
    EXPECT_FLOAT_EQ(point.x, 10.0f + math::Cos(angle) * radius);
    EXPECT_FLOAT_EQ(point.y, 20.0f + math::Sin(angle) * radius);

    for (int i = 0; i < 1000; ++i)
    {
        const CurvePoint p = RandomPointInRing(10.0f, 20.0f, 100.0f, 50.0f);
        const float distance = PointDistance(10.0f, 20.0f, p.x, p.y);
        EXPECT_GE(distance, 50.0f - 0.001f);
        EXPECT_LE(distance, 100.0f + 0.001f);
    }
}

TEST(GetLaneOffset, MiddleAndEdges)
{
    const struct
    {
        float y;
        int32_t offset;
    } cases[] = {{-65.0f, 0},    {0.0f, -20}, {-130.0f, 20}, {-9.75000477f, -16}, {-40.0f, -7},
                 {1e30f, INT32_MIN}, {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(GetLaneOffset(c.y), c.offset) << c.y;
}

std::vector<NQPathSample*> StraightPath(int count, float spacing)
{
    std::vector<NQPathSample*> path;
    for (int i = 0; i < count; ++i)
    {
        NQPathSample* sample = new NQPathSample;
        sample->x = float(i) * spacing;
        path.push_back(sample);
    }
    return path;
}

TEST(AdvancePathProgress, StepsInSampleUnitsAndNeverGoesBelowZero)
{
    std::vector<NQPathSample*> path = StraightPath(21, 5.0f);
    EXPECT_FLOAT_EQ(AdvancePathProgress(path, 0.0f, 50.0f), 0.5f);
    EXPECT_FLOAT_EQ(AdvancePathProgress(path, 0.9f, 10.0f), 1.0f);
    EXPECT_GT(AdvancePathProgress(path, 0.9f, 50.0f), 1.0f); // no upper clamp
    EXPECT_EQ(AdvancePathProgress(path, 0.1f, -50.0f), 0.0f);
    base::DeleteAll(path);
}

TEST(AdvancePathProgress, PathsThatCannotBeWalkedEndTheLink)
{
    std::vector<NQPathSample*> empty;
    EXPECT_EQ(AdvancePathProgress(empty, 0.2f, 5.0f), 1.0f);
    std::vector<NQPathSample*> single = StraightPath(1, 5.0f);
    EXPECT_EQ(AdvancePathProgress(single, 0.2f, 5.0f), 1.0f);
    std::vector<NQPathSample*> stuck = StraightPath(3, 0.0f);
    EXPECT_EQ(AdvancePathProgress(stuck, 0.2f, 5.0f), 1.0f);
    base::DeleteAll(single);
    base::DeleteAll(stuck);
}

TEST(PointDistance, StraightDistance)
{
    EXPECT_FLOAT_EQ(PointDistance(1.0f, 2.0f, 4.0f, 6.0f), 5.0f);
}
} // namespace
