#include "Framework/Animation/Envelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{
using animation::Envelope;
using animation::EnvelopeKey;

EnvelopeKey Key(float time, float value, int32_t shape = animation::kShapeLinear, float p0 = 0, float p1 = 0,
                float p2 = 0, float p3 = 0)
{
    EnvelopeKey key;
    key.time = time;
    key.value = value;
    key.shape = shape;
    key.p0 = p0;
    key.p1 = p1;
    key.p2 = p2;
    key.p3 = p3;
    return key;
}

Envelope Make(std::vector<EnvelopeKey> keys, int32_t pre = 1, int32_t post = 1)
{
    Envelope envelope;
    envelope.keys = std::move(keys);
    envelope.preBehaviour = pre;
    envelope.postBehaviour = post;
    return envelope;
}

struct Case
{
    std::string what;
    Envelope envelope;
    float time;
    float expected;
};

class EnvelopeEvaluate : public ::testing::TestWithParam<Case>
{
};

TEST_P(EnvelopeEvaluate, GivesTheExpectedValue)
{
    const Case& c = GetParam();
    EXPECT_NEAR(Envelope::Evaluate(c.envelope, c.time), c.expected, 1e-3f) << c.what;
}

const std::vector<EnvelopeKey> kRamp = {Key(0, 0), Key(1, 10)};
const std::vector<EnvelopeKey> kPeak = {Key(0, 0), Key(1, 10), Key(2, 0)};
const std::vector<EnvelopeKey> kTcbPeak = {Key(0, 0, 0), Key(1, 10, 0), Key(2, 0, 0)};
// Handles on the straight line from (0, 0) to (3, 30).
const std::vector<EnvelopeKey> kStraight2D = {Key(0, 0, 5, 0, 0, 1, 10), Key(3, 30, 5, -1, -10)};
const std::vector<EnvelopeKey> kSameTimeEnd = {Key(0, 0), Key(1, 5), Key(1, 10)};

INSTANTIATE_TEST_SUITE_P(
    Table, EnvelopeEvaluate,
    ::testing::Values(
        Case{"linear middle", Make(kRamp), 0.5f, 5.0f},
        Case{"post offset", Make(kRamp, 1, 4), 1.5f, 15.0f},
        Case{"post offset, two cycles", Make(kRamp, 1, 4), 2.5f, 25.0f},
        Case{"pre offset, one cycle back", Make(kRamp, 4, 1), -0.5f, -5.0f},
        Case{"post repeat", Make(kRamp, 1, 2), 1.5f, 5.0f},
        Case{"post constant", Make(kRamp, 1, 1), 7.0f, 10.0f},
        Case{"post linear", Make(kRamp, 1, 5), 2.0f, 20.0f},
        Case{"pre linear", Make(kRamp, 5, 1), -1.0f, -10.0f},
        Case{"pre reset", Make(kRamp, 0, 1), -1.0f, 0.0f},
        Case{"post reset", Make(kRamp, 1, 0), 2.0f, 0.0f},
        Case{"pre constant", Make(kRamp, 1, 1), -3.0f, 0.0f},
        Case{"tolerance keeps the interval ending at the key", Make(kPeak), 1.0001f, 10.001f},
        Case{"stepped key1 holds key0", Make({Key(0, 3), Key(1, 10, 4)}), 0.9f, 3.0f},
        Case{"no keys", Make({}), 0.5f, 0.0f},
        Case{"one key", Make({Key(4, 7)}), -100.0f, 7.0f},
        Case{"exact key time", Make(kPeak), 2.0f, 0.0f},
        Case{"TCB with neighbours", Make(kTcbPeak), 0.5f, 6.25f},
        Case{"2D Bezier on the straight line, 1", Make(kStraight2D), 1.0f, 10.0f},
        Case{"2D Bezier on the straight line, 2.4", Make(kStraight2D), 2.4f, 24.0f},
        Case{"unknown shape gives the offset only", Make({Key(0, 3), Key(1, 10, 9)}), 0.5f, 0.0f},
        Case{"oscillate mirrors about a key range not at 0", Make({Key(1, 0), Key(3, 10)}, 1, 3), 4.5f, 2.5f},
        Case{"oscillate even cycle", Make({Key(1, 0), Key(3, 10)}, 1, 3), 5.5f, 2.5f},
        Case{"pre oscillate, odd count below the range", Make({Key(1, 0), Key(3, 10)}, 3, 1), 0.5f, 2.5f},
        Case{"post linear over keys sharing a time", Make(kSameTimeEnd, 1, 5), 2.0f, 10.0f},
        Case{"pre linear over keys sharing a time", Make({Key(0, 0), Key(0, 10)}, 5, 1), -1.0f, 0.0f},
        Case{"unknown post behaviour past keys sharing a time", Make(kSameTimeEnd, 1, 9), 2.0f, 10.0f},
        Case{"repeat over a zero-length range", Make({Key(2, 4), Key(2, 8)}, 2, 2), 5.0f, 4.0f}));

TEST(EnvelopeBezier2D, BisectionEndsWhenNoHandleTimeMatches)
{
    // Handles a million seconds out make the time curve so steep that no
    // float u lands within the tolerance; NaN never does. Each call must
    // return, with a value inside the value handles' hull [0, 15].
    const Envelope envelope = Make({Key(0, 0, 5, 0, 0, -1e6f, 5), Key(1, 10, 5, 1e6f, 5)});
    for (float time : {0.3f, 0.77f, std::numeric_limits<float>::quiet_NaN()})
    {
        const float value = Envelope::Evaluate(envelope, time);
        EXPECT_TRUE(value >= -1e-3f && value <= 15.001f) << time << " -> " << value;
    }
}

TEST(EnvelopeEvaluate, HugeAndNonFiniteTimesStayDefined)
{
    // Cycle counts beyond any integer must not reach an integer conversion
    // (UBSan reports it); the values only need to be produced.
    for (int32_t behaviour : {2, 3, 4})
    {
        const Envelope envelope = Make({Key(1, 0), Key(3, 10)}, behaviour, behaviour);
        for (float time : {1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()})
            (void)Envelope::Evaluate(envelope, time);
    }
    SUCCEED();
}

TEST(EnvelopeEvaluate, KeysOutOfTimeOrderAreTakenAsTheyStand)
{
    const Envelope envelope = Make({Key(2, 0), Key(0, 10), Key(1, 5)}, 2, 3);
    for (float time = -3; time <= 3; time += 0.25f)
        EXPECT_FALSE(std::isnan(Envelope::Evaluate(envelope, time))) << time;
}
} // namespace
