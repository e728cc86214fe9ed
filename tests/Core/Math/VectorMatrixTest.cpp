#include "Core/Math/BoundingBox.h"
#include "Core/Math/Matrix4.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{
const float kHalfPi = 1.5707964f;

TEST(Vector3Test, EqualityTolerance)
{
    const math::Vector3 a(1.0f, 2.0f, 3.0f);
    EXPECT_TRUE(a == math::Vector3(1.0001f, 2.0f, 3.0f));
    EXPECT_FALSE(a != math::Vector3(1.0f, 1.9999f, 3.0f));
    EXPECT_FALSE(a == math::Vector3(1.0f, 2.0f, 3.0003f));
    EXPECT_TRUE(a != math::Vector3(1.0003f, 2.0f, 3.0f));
    math::Vector3 sum = a + math::Vector3(1, 1, 1);
    sum += a - math::Vector3(0, 0, 3);
    EXPECT_EQ(sum, math::Vector3(3, 5, 4));
}

TEST(Point4Test, Modulate)
{
    math::Point4 p;
    p.Modulate(math::Point4(1, 0.5f, 2, 0), math::Point4(0.5f, 0.5f, 3, 1));
    EXPECT_FLOAT_EQ(p.x, 0.5f);
    EXPECT_FLOAT_EQ(p.y, 0.25f);
    EXPECT_FLOAT_EQ(p.z, 6.0f);
    EXPECT_FLOAT_EQ(p.w, 0.0f);
}

math::Vector3 Map(const math::Matrix4& m, const math::Vector3& p)
{
    math::Vector3 out;
    m.TransformPoint(p, out);
    return out;
}

TEST(Matrix4Test, QuarterTurnsAboutEachAxis)
{
    // Row vectors: x' = p x M. Each row: angles, point, where it lands.
    const struct
    {
        float x, y, z;
        math::Vector3 point, expected;
    } cases[] = {
        {kHalfPi, 0, 0, {0, 1, 0}, {0, 0, 1}},  {kHalfPi, 0, 0, {0, 0, 1}, {0, -1, 0}},
        {0, kHalfPi, 0, {1, 0, 0}, {0, 0, -1}}, {0, kHalfPi, 0, {0, 0, 1}, {1, 0, 0}},
        {0, 0, kHalfPi, {1, 0, 0}, {0, 1, 0}},  {0, 0, kHalfPi, {0, 1, 0}, {-1, 0, 0}},
    };
    for (const auto& c : cases)
    {
        math::Matrix4 m(true);
        m.SetRotation(c.x, c.y, c.z);
        EXPECT_EQ(Map(m, c.point), c.expected) << c.x << " " << c.y << " " << c.z;
    }
}

TEST(Matrix4Test, RotateKeepsColumnThreeAndTurnsTheTranslationRow)
{
    math::Matrix4 m(true);
    m.SetTranslation(1, 0, 0);
    m.m[3] = 7.0f;
    m.Rotate(0, 0, kHalfPi);
    EXPECT_FLOAT_EQ(m.m[3], 7.0f);
    EXPECT_FLOAT_EQ(m.m[15], 1.0f);
    EXPECT_EQ(math::Vector3(m.m[12], m.m[13], m.m[14]), math::Vector3(0, 1, 0));
}

TEST(Matrix4Test, ScaleTranslateAndProduct)
{
    math::Matrix4 a(true);
    a.Translate(1, 2, 3);
    a.Scale(2, 3, 4); // scales the translation row too
    EXPECT_EQ(Map(a, math::Vector3(1, 1, 1)), math::Vector3(4, 9, 16));

    math::Matrix4 b(true);
    b.SetScale(10, 10, 10);
    b.SetTranslation(0, 0, 5);
    // a then b
    EXPECT_EQ(Map(a * b, math::Vector3(1, 1, 1)), math::Vector3(40, 90, 165));
    a *= b;
    EXPECT_EQ(Map(a, math::Vector3(1, 1, 1)), math::Vector3(40, 90, 165));
    math::Vector3 p(0, 0, 0);
    a.TransformPointInPlace(p);
    EXPECT_EQ(p, math::Vector3(20, 60, 125));

    const math::Matrix4 zero;
    for (float e : zero.m)
        EXPECT_EQ(e, 0.0f);
}

TEST(BoundingBoxTest, EmptyMergeExtendAndCorners)
{
    math::BoundingBox box;
    box.Extend(math::Vector3(1, 2, 3));
    EXPECT_EQ(box.mMin, math::Vector3(1, 2, 3));
    EXPECT_EQ(box.mMax, math::Vector3(1, 2, 3));
    box.Merge(math::BoundingBox(math::Vector3(-1, 5, 0), math::Vector3(0, 6, 1)));
    EXPECT_EQ(box.mMin, math::Vector3(-1, 2, 0));
    EXPECT_EQ(box.mMax, math::Vector3(1, 6, 3));

    const math::Vector3 corners[] = {{-1, 2, 0}, {-1, 2, 3}, {1, 2, 3}, {1, 2, 0},
                                     {-1, 6, 0}, {-1, 6, 3}, {1, 6, 3}, {1, 6, 0}};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(box.GetCorner(i), corners[i]) << i;
    EXPECT_EQ(box.GetCorner(8), math::Vector3(0, 0, 0));
    EXPECT_EQ(box.GetCorner(-1), math::Vector3(0, 0, 0));
    EXPECT_NE(box.GetCorner(4), box.GetCorner(6));
}
} // namespace
