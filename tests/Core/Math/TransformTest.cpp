#include "Core/Math/Transform2D.h"
#include "Core/Math/Transform3D.h"

#include <functional>
#include <gtest/gtest.h>

namespace
{
math::Vector3 Map2D(math::Transform2D& t, float x, float y)
{
    const float* m = t.GetMatrix();
    return math::Vector3(m[0] * x + m[1] * y + m[2], m[3] * x + m[4] * y + m[5], 0);
}

math::Vector3 Map3D(math::Transform3D& t, const math::Vector3& p)
{
    math::Vector3 out;
    t.GetMatrix().TransformPoint(p, out);
    return out;
}

struct Case2D
{
    const char* name;
    std::function<void(math::Transform2D&)> steps;
    bool matrixMode;
    math::Vector3 point, mapped;
};

TEST(Transform2DTest, Table)
{
    const Case2D cases[] = {
        {"translate then scale", [](auto& t) { t.Translate(5, 0); t.Scale(2, 2); }, true, {1, 0, 0}, {12, 0, 0}},
        {"scale then translate", [](auto& t) { t.Scale(2, 2); t.Translate(5, 0); }, false, {1, 0, 0}, {7, 0, 0}},
        {"scale, translate, scale", [](auto& t) { t.Scale(2, 2); t.Translate(5, 0); t.Scale(3, 3); }, false,
         {1, 0, 0}, {11, 0, 0}},
        {"mirror", [](auto& t) { t.Scale(-1, 1); }, false, {2, 3, 0}, {-2, 3, 0}},
        {"negative scale", [](auto& t) { t.Scale(-2, 1); }, true, {2, 3, 0}, {-4, 3, 0}},
        {"negative y", [](auto& t) { t.Scale(1, -1); }, true, {2, 3, 0}, {2, -3, 0}},
        {"rotate then translate", [](auto& t) { t.RotateDegrees(90); t.Translate(10, 0); }, false, {1, 0, 0},
         {10, -1, 0}},
        {"translate then rotate", [](auto& t) { t.Translate(1, 0); t.RotateDegrees(90); }, false, {0, 0, 0},
         {0, -1, 0}},
        {"rotate then scale", [](auto& t) { t.RotateDegrees(90); t.Scale(2, 2); }, true, {1, 0, 0}, {0, -2, 0}},
        {"scale then rotate", [](auto& t) { t.Scale(2, 2); t.RotateDegrees(90); }, true, {1, 0, 0}, {0, -2, 0}},
        {"two rotations add", [](auto& t) { t.RotateDegrees(45); t.RotateDegrees(45); }, false, {1, 0, 0},
         {0, -1, 0}},
        {"matrix then translate", [](auto& t) { t.Scale(-2, 1); t.Translate(1, 1); }, true, {1, 0, 0},
         {-1, 1, 0}},
        {"identity after matrix", [](auto& t) { t.Scale(-2, 1); t.SetIdentity(); }, false, {3, 4, 0}, {3, 4, 0}},
    };
    for (const Case2D& c : cases)
    {
        SCOPED_TRACE(c.name);
        math::Transform2D t;
        c.steps(t);
        EXPECT_EQ(t.mMatrixMode, c.matrixMode);
        EXPECT_EQ(Map2D(t, c.point.x, c.point.y), c.mapped);
    }
}

TEST(Transform2DTest, ScaleAfterPostTranslationStaysInParts)
{
    math::Transform2D t;
    t.Scale(2, 2);
    t.Translate(5, 0);
    t.Scale(3, 3);
    EXPECT_FALSE(t.mMatrixMode);
    EXPECT_FLOAT_EQ(t.mScaleX, 6.0f);
    EXPECT_FLOAT_EQ(t.mPostTranslationX, 5.0f);
    EXPECT_FLOAT_EQ(t.mPostTranslationY, 0.0f);

    math::Transform2D copy;
    copy = t;
    EXPECT_EQ(Map2D(copy, 1, 1), math::Vector3(11, 6, 0));
}

struct Case3D
{
    const char* name;
    std::function<void(math::Transform3D&)> steps;
    bool matrixMode;
    math::Vector3 point, mapped;
};

TEST(Transform3DTest, Table)
{
    const float quarter = 1.5707964f;
    const Case3D cases[] = {
        {"scale, translate, scale", [](auto& t) { t.Scale(2, 2, 2); t.Translate(5, 0, 0); t.Scale(3, 3, 3); }, true,
         {0, 0, 0}, {15, 0, 0}},
        {"translate then scale stays in parts", [](auto& t) { t.Translate(5, 0, 0); t.Scale(2, 2, 2); }, false,
         {1, 0, 0}, {12, 0, 0}},
        {"scale about a point", [](auto& t) { t.Translate(-10, -20, 0); t.Scale(2, 2, 1); t.Translate(10, 20, 0); },
         false, {11, 21, 5}, {12, 22, 5}},
        {"rotation then translation", [quarter](auto& t) { t.Rotate(0, 0, quarter); t.Translate(0, 0, 3); }, false,
         {1, 0, 0}, {0, 1, 3}},
        {"second rotation", [quarter](auto& t) { t.Rotate(0, 0, quarter); t.Rotate(0, 0, quarter); }, true,
         {1, 0, 0}, {-1, 0, 0}},
        {"scale after rotation", [quarter](auto& t) { t.Rotate(0, 0, quarter); t.Scale(2, 2, 2); }, true,
         {1, 0, 0}, {0, 2, 0}},
        {"negative factor", [](auto& t) { t.Scale(1, -1, 1); }, true, {1, 1, 1}, {1, -1, 1}},
        {"identity again", [](auto& t) { t.Scale(1, -1, 1); t.SetIdentity(); }, false, {1, 1, 1}, {1, 1, 1}},
    };
    for (const Case3D& c : cases)
    {
        SCOPED_TRACE(c.name);
        math::Transform3D t;
        c.steps(t);
        EXPECT_EQ(t.mMatrixMode, c.matrixMode);
        EXPECT_EQ(Map3D(t, c.point), c.mapped);
    }
}

TEST(Transform3DTest, CombineAppliesTheOtherAfterThis)
{
    math::Transform3D parts;
    parts.Translate(1, 0, 0);
    parts.Scale(2, 2, 2);
    parts.Translate(0, 1, 0);
    math::Transform3D t;
    t.Translate(0, 0, 1);
    t.Combine(parts);
    EXPECT_FALSE(t.mMatrixMode);
    EXPECT_EQ(Map3D(t, math::Vector3(0, 0, 0)), math::Vector3(2, 1, 2));

    math::Transform3D matrix;
    matrix.Scale(-1, 1, 1);
    math::Transform3D u;
    u.Translate(3, 0, 0);
    u.Combine(matrix);
    EXPECT_TRUE(u.mMatrixMode);
    EXPECT_EQ(Map3D(u, math::Vector3(1, 0, 0)), math::Vector3(-4, 0, 0));
}
} // namespace
