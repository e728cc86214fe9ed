#include "Core/Math/MathFunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace
{
TEST(ApproachTest, Table)
{
    const struct
    {
        float value, step, target;
        bool reached;
        float after;
    } cases[] = {
        {5, 1, 5, true, 5},   {4.5f, 1, 5, true, 5}, {5.5f, 1, 5, true, 5},  {2, 1, 5, false, 3},
        {8, 1, 5, false, 7},  {4, 1, 5, false, 5},   {-1, 0.5f, 0, false, -0.5f},
    };
    for (const auto& c : cases)
    {
        float value = c.value;
        EXPECT_EQ(math::Approach(value, c.step, c.target), c.reached) << c.value;
        EXPECT_FLOAT_EQ(value, c.after) << c.value;
        float other = c.value;
        EXPECT_EQ(math::Approach(&other, c.step, c.target), c.reached);
        EXPECT_FLOAT_EQ(other, c.after);
    }
}

TEST(RandomTest, SeedsAreRepeatableAndZeroContinues)
{
    const float five = math::Random(5);
    EXPECT_EQ(math::Random(5), five);
    const float six = math::Random(6);
    const float seven = math::Random(7);
    math::Random(5);
    EXPECT_EQ(math::Random(0), six);
    EXPECT_EQ(math::Random(0), seven);
    for (uint32_t seed = 1; seed < 2000; ++seed)
    {
        const float r = math::Random(seed);
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

TEST(RandomTest, HashNearTwoToThe32StaysBelowOne)
{
    // The hash of this seed is 4294967202, within 128 of 2^32: it rounds to 1.0f.
    EXPECT_LT(math::Random(26244664u), 1.0f);
    EXPECT_GT(math::Random(26244664u), 0.99999f);
}

TEST(RandomTest, Ranges)
{
    const float r = math::Random(11);
    EXPECT_FLOAT_EQ(math::RandomRange(10, 20, 11), 10 + r * 10);
    math::Random(11);
    const float twelve = math::Random(12);
    math::Random(11);
    EXPECT_FLOAT_EQ(math::RandomRange(-1, 1), -1 + twelve * 2);
    // RandomRange with a seed also moves the sequence on.
    const float fortyOne = math::Random(41);
    math::RandomRange(0, 1, 40);
    EXPECT_EQ(math::Random(0), fortyOne);
}

TEST(MathFunctionsTest, TruncateToInt32Table)
{
    const struct
    {
        float value;
        int32_t expected;
    } cases[] = {
        {7.9f, 7},
        {-7.9f, -7},
        {-0.5f, 0},
        {2147483520.0f, 2147483520},   // the largest float below 2^31
        {2147483648.0f, INT32_MAX},    // 2^31 saturates
        {1e30f, INT32_MAX},
        {-2147483648.0f, INT32_MIN},   // exactly representable, saturated the same
        {-1e30f, INT32_MIN},
        {std::nanf(""), 0},
        {std::numeric_limits<float>::infinity(), INT32_MAX},
        {-std::numeric_limits<float>::infinity(), INT32_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(math::TruncateToInt32(c.value), c.expected) << c.value;
}

TEST(MathFunctionsTest, Wrappers)
{
    EXPECT_FLOAT_EQ(math::Atan2(1, 0), 1.5707964f);
    EXPECT_EQ(math::Ceil(1.2f), 2.0f);
    EXPECT_EQ(math::Floor(-1.2f), -2.0f);
    EXPECT_EQ(math::Floor(-1.5), -2.0);
    EXPECT_EQ(math::Abs(-3.0f), 3.0f);
    EXPECT_EQ(math::Sqrt(9.0f), 3.0f);
    EXPECT_EQ(math::Log10(1000.0), 3.0);
    EXPECT_EQ(math::Pow(2.0, 10.0), 1024.0);
    EXPECT_NEAR(math::Sin(1.5707964f), 1.0f, 1e-6f);
    EXPECT_NEAR(math::Cos(0.0), 1.0, 1e-12);
}
} // namespace
