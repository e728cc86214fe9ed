#include "MagicFixture.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

const char* kStill = "<type rate=\"0\" burst=\"1\" speed=\"0\" life=\"10000\" size0=\"8\" size1=\"8\"/>";

TEST_F(MagicTest, NewInstanceStartsStoppedWithDefaults) {
    int f = OpenEmitter("", kStill);
    int e = Magic_LoadEmitter(f, "e");
    ASSERT_GT(e, 0);
    EXPECT_FALSE(Magic_InInterval(e));
    EXPECT_FALSE(Magic_IsInterrupt(e));
    EXPECT_TRUE(Magic_IsInterpolationMode(e));
    EXPECT_DOUBLE_EQ(Magic_GetUpdateTime(e), 1000.0 / 60.0);
    float xy[2] = {-1, -1};
    Magic_GetEmitterPosition(e, xy);
    EXPECT_EQ(xy[0], 0.0f);
    EXPECT_EQ(xy[1], 0.0f);
    EXPECT_EQ(Count(e), 0);
    EXPECT_FALSE(Magic_Update(e, 100));  // not running
    EXPECT_EQ(Count(e), 0);
}

TEST_F(MagicTest, DuplicateCopiesSettingsButNotParticles) {
    int f = OpenEmitter("", kStill);
    int e = Magic_LoadEmitter(f, "e");
    Magic_SetLoopMode(e, 1);
    Magic_SetInterpolationMode(e, false);
    Magic_SetEmitterPositionMode(e, 1);
    float at[2] = {30, 40}, dir = 90;
    Magic_SetEmitterPosition(e, at);
    Magic_SetEmitterDirection(e, &dir);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    int d = Magic_DuplicateEmitter(e);
    ASSERT_GT(d, e);
    EXPECT_FALSE(Magic_IsInterpolationMode(d));
    EXPECT_FALSE(Magic_InInterval(d));
    EXPECT_EQ(Count(d), 0);
    float xy[2];
    Magic_GetEmitterPosition(d, xy);
    EXPECT_EQ(xy[0], 30.0f);
    EXPECT_EQ(xy[1], 40.0f);
    // Loop mode 1 copied: the burst comes again at the wrap.
    Magic_EmitterToInterval1(d, 1.0f, nullptr);
    Magic_Update(d, 1000);
    EXPECT_EQ(Count(d), 2);
    // Position mode 1 copied: moving carries the particles.
    float to[2] = {50, 40};
    Magic_SetEmitterPosition(d, to);
    EXPECT_NEAR(Centre(Quads(d)[0]).first, 50, 1e-4);
}

TEST_F(MagicTest, RateBirthsAreSpacedEvenly) {
    int e = Start("", "<type rate=\"10\" speed=\"0\" life=\"10000\"/>");
    EXPECT_EQ(Count(e), 0);
    EXPECT_TRUE(Magic_Update(e, 250));
    EXPECT_EQ(Count(e), 2);
    EXPECT_TRUE(Magic_Update(e, 49));
    EXPECT_EQ(Count(e), 2);
    EXPECT_TRUE(Magic_Update(e, 1));
    EXPECT_EQ(Count(e), 3);
}

TEST_F(MagicTest, BurstAtStartAndAtEveryLoopWrap) {
    struct Case {
        int loop;
        int afterWrap;
        int afterTwoMore;
    } cases[] = {{0, 3, 3}, {1, 6, 12}, {2, 6, 12}, {7, 3, 3}};
    for (const Case& c : cases) {
        int e = Start("interval2=\"100\"", "<type rate=\"0\" burst=\"3\" speed=\"0\" life=\"10000\"/>", c.loop);
        EXPECT_EQ(Count(e), 3) << c.loop;
        Magic_Update(e, 99);
        EXPECT_EQ(Count(e), 3) << c.loop;
        Magic_Update(e, 1);
        EXPECT_EQ(Count(e), c.afterWrap) << c.loop;
        Magic_Update(e, 250);
        EXPECT_EQ(Count(e), c.afterTwoMore) << c.loop;
    }
}

TEST_F(MagicTest, LoopModeChangeAppliesAtTheNextCycleEnd) {
    int e = Start("interval2=\"100\"", "<type rate=\"0\" burst=\"1\" speed=\"0\" life=\"10000\"/>", 1);
    Magic_Update(e, 150);
    EXPECT_EQ(Count(e), 2);
    Magic_SetLoopMode(e, 0);  // this cycle still ends at 200; no wrap, no burst
    Magic_Update(e, 500);
    EXPECT_EQ(Count(e), 2);
    Magic_SetLoopMode(e, 1);  // the run is over: emission does not come back
    Magic_Update(e, 500);
    EXPECT_EQ(Count(e), 2);
}

TEST_F(MagicTest, PreWarmFillsBeforeTheFirstUpdate) {
    int e = Start("interval1=\"2000\" interval2=\"3000\"",
                  "<type rate=\"10\" burst=\"2\" speed=\"10\" life=\"4000\" color0=\"FF000000\" color1=\"00000000\"/>");
    EXPECT_TRUE(Magic_InInterval(e));
    // 20 rate births over [0, 2000] and the burst at interval1.
    auto q = Quads(e);
    ASSERT_EQ(q.size(), 22u);
    // The oldest was born at 100 ms and is 1900 ms old already.
    EXPECT_EQ(q[0].color >> 24, 134u);  // round(255 * (1 - 1900 / 4000))
}

TEST_F(MagicTest, OnceModeEndsExactlyWhenTheLastParticleDies) {
    for (int split : {1, 3}) {
        int e = Start("interval2=\"100\"", "<type rate=\"0\" burst=\"1\" speed=\"0\" life=\"1000\"/>");
        for (int i = 0; i < split; ++i)
            EXPECT_TRUE(Magic_Update(e, 999.0 / split));
        EXPECT_EQ(Count(e), 1);
        EXPECT_TRUE(Magic_InInterval(e));
        EXPECT_FALSE(Magic_Update(e, 1));
        EXPECT_FALSE(Magic_InInterval(e));
        EXPECT_EQ(Count(e), 0);
        EXPECT_FALSE(Magic_Update(e, 1));
    }
}

TEST_F(MagicTest, InterruptStopsBirthsAtOnceAndEndsWhenEmpty) {
    int e = Start("interval2=\"100\"", "<type rate=\"10\" burst=\"1\" speed=\"0\" life=\"400\"/>", 1);
    Magic_Update(e, 250);
    EXPECT_EQ(Count(e), 5);  // bursts at 0, 100, 200 and rate births at 100, 200
    Magic_SetInterrupt(e, true);
    EXPECT_TRUE(Magic_IsInterrupt(e));
    EXPECT_TRUE(Magic_Update(e, 100));  // no births, the wrap at 300 brings no burst
    EXPECT_EQ(Count(e), 5);
    EXPECT_TRUE(Magic_Update(e, 149));
    EXPECT_EQ(Count(e), 4);  // the one born at 0 died at 400
    EXPECT_TRUE(Magic_Update(e, 100));
    EXPECT_EQ(Count(e), 2);
    EXPECT_FALSE(Magic_Update(e, 1));  // the last two, born at 200, die at 600
    EXPECT_FALSE(Magic_InInterval(e));
}

TEST_F(MagicTest, InterruptedAndEmptyEndsOnTheNextUpdate) {
    int e = Start("", "<type rate=\"10\" speed=\"0\"/>", 1);
    Magic_SetInterrupt(e, true);
    EXPECT_FALSE(Magic_Update(e, 0));
    EXPECT_FALSE(Magic_InInterval(e));
}

TEST_F(MagicTest, InterruptDuringStartMeansNoBirths) {
    int f = OpenEmitter("interval1=\"500\"", "<type rate=\"10\" burst=\"4\" speed=\"0\"/>");
    int e = Magic_LoadEmitter(f, "e");
    Magic_SetInterrupt(e, true);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    EXPECT_TRUE(Magic_IsInterrupt(e));  // left as it was
    EXPECT_EQ(Count(e), 0);
}

TEST_F(MagicTest, StopClearsEverything) {
    int e = Start("", "<type rate=\"10\" burst=\"5\" speed=\"0\"/>", 1);
    Magic_Update(e, 300);
    ASSERT_GT(Count(e), 0);
    Magic_Stop(e);
    EXPECT_EQ(Count(e), 0);
    EXPECT_FALSE(Magic_InInterval(e));
    EXPECT_FALSE(Magic_Update(e, 100));
    // Restarting gives the same particles as the first start.
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    EXPECT_EQ(Count(e), 5);
}

TEST_F(MagicTest, UpdateTimeIsSanitised) {
    struct Case {
        double ms;
        int count;
    } cases[] = {{std::nan(""), 0}, {-500, 0}, {0, 0}, {1e9, 100}, {INFINITY, 100}, {-INFINITY, 0}};
    for (const Case& c : cases) {
        int e = Start("", "<type rate=\"10\" speed=\"0\" life=\"100000\" max=\"10000\"/>", 1);
        EXPECT_TRUE(Magic_Update(e, c.ms)) << c.ms;
        EXPECT_EQ(Count(e), c.count) << c.ms;
    }
}

TEST_F(MagicTest, MaxDropsBirthsUntilOneDies) {
    int e = Start("", "<type rate=\"100\" burst=\"5\" max=\"5\" speed=\"0\" life=\"95\"/>");
    EXPECT_EQ(Count(e), 5);
    Magic_Update(e, 90);
    EXPECT_EQ(Count(e), 5);  // every rate birth so far dropped
    Magic_Update(e, 10);     // the burst died at 95; the birth at 100 lives
    EXPECT_EQ(Count(e), 1);
}

// A busy effect: every random draw and every motion term takes part.
const std::string kBusy =
    "<type rate=\"37\" burst=\"4\" life=\"300\" life_var=\"100\" speed=\"80\" speed_var=\"30\" angle=\"45\" "
    "spread=\"90\" gravity_x=\"10\" gravity_y=\"150\" size0=\"10\" size1=\"3\" size_var=\"0.3\" rot=\"20\" "
    "rot_var=\"40\" spin=\"180\" color0=\"FF8040C0\" color1=\"10204080\"/>"
    "<type atlas=\"1\" rate=\"13\" life=\"700\" speed=\"20\" spread=\"0\"/>";

void ExpectSameQuads(const std::vector<MagicVertexRecord>& a, const std::vector<MagicVertexRecord>& b, double tol) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(a[i].corner[k].x, b[i].corner[k].x, tol) << i;
            EXPECT_NEAR(a[i].corner[k].y, b[i].corner[k].y, tol) << i;
        }
        EXPECT_EQ(a[i].color, b[i].color) << i;
    }
}

TEST_F(MagicTest, ResultsDoNotDependOnHowTimeIsSplit) {
    int e = Start("interval2=\"230\" shape=\"circle\" shape_w=\"20\"", kBusy, 1);
    float dir = 30;
    Magic_SetEmitterDirection(e, &dir);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    Magic_Update(e, 1000);
    auto whole = Quads(e);
    ASSERT_GT(whole.size(), 10u);

    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    for (int i = 0; i < 10; ++i)
        Magic_Update(e, 100);
    ExpectSameQuads(whole, Quads(e), 1e-3);
}

TEST_F(MagicTest, SameCallsGiveSameParticlesAndInstancesDiffer) {
    auto run = [](int e) {
        Magic_EmitterToInterval1(e, 1.0f, nullptr);
        Magic_Update(e, 16.7);
        Magic_Update(e, 500);
        return Quads(e);
    };
    int f = OpenEmitter("shape=\"rect\" shape_w=\"10\" shape_h=\"5\"", kBusy);
    int e1 = Magic_LoadEmitter(f, "e");
    int e2 = Magic_LoadEmitter(f, "e");
    auto a = run(e1);
    auto b = run(e1);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(0, std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]));
    auto c = run(e2);
    ASSERT_FALSE(c.empty());
    EXPECT_NE(0, std::memcmp(a.data(), c.data(), std::min(a.size(), c.size()) * sizeof a[0]));
    // A fresh file gives its first instance the same particles again.
    int f2 = OpenEmitter("shape=\"rect\" shape_w=\"10\" shape_h=\"5\"", kBusy);
    auto d = run(Magic_LoadEmitter(f2, "e"));
    ASSERT_EQ(a.size(), d.size());
    EXPECT_EQ(0, std::memcmp(a.data(), d.data(), a.size() * sizeof a[0]));
}

TEST_F(MagicTest, MotionFollowsTheFormula) {
    // Born at 0 at (10, 20), launched at 30 degrees with 100 px/s, gravity (4, 50).
    int f = OpenEmitter("", "<type rate=\"0\" burst=\"1\" speed=\"100\" angle=\"30\" spread=\"0\" gravity_x=\"4\" "
                            "gravity_y=\"50\" life=\"5000\"/>");
    int e = Magic_LoadEmitter(f, "e");
    float at[2] = {10, 20};
    Magic_SetEmitterPosition(e, at);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    Magic_Update(e, 1500);
    double a = 1.5, rad = 30 * std::numbers::pi / 180;
    auto [x, y] = Centre(Quads(e).at(0));
    EXPECT_NEAR(x, 10 + 100 * std::cos(rad) * a + 0.5 * 4 * a * a, 1e-3);
    EXPECT_NEAR(y, 20 + 100 * std::sin(rad) * a + 0.5 * 50 * a * a, 1e-3);
}

TEST_F(MagicTest, PositionModeDecidesWhetherParticlesFollow) {
    for (int mode : {0, 1, 5}) {
        int f = OpenEmitter("", kStill);
        int e = Magic_LoadEmitter(f, "e");
        Magic_SetEmitterPositionMode(e, mode);
        Magic_EmitterToInterval1(e, 1.0f, nullptr);
        float to[2] = {100, -20};
        Magic_SetEmitterPosition(e, to);
        float xy[2];
        Magic_GetEmitterPosition(e, xy);
        EXPECT_EQ(xy[0], 100.0f);
        EXPECT_EQ(xy[1], -20.0f);
        Magic_Update(e, 10);
        auto [x, y] = Centre(Quads(e).at(0));
        EXPECT_NEAR(x, mode == 0 ? 0 : 100, 1e-4) << mode;
        EXPECT_NEAR(y, mode == 0 ? 0 : -20, 1e-4) << mode;
    }
}

TEST_F(MagicTest, DirectionTurnsLaunchesAndTheLineShape) {
    struct Case {
        float direction;
        float dx, dy;  // unit launch direction
        float lx, ly;  // unit direction of the line shape
    } cases[] = {{0, 1, 0, 0, 1}, {90, 0, 1, -1, 0}, {180, -1, 0, 0, -1}, {-90, 0, -1, 1, 0}};
    for (const Case& c : cases) {
        // Launches: 100 px/s along angle 0 turned by the direction.
        int f = OpenEmitter("", "<type rate=\"0\" burst=\"1\" speed=\"100\" spread=\"0\"/>");
        int e = Magic_LoadEmitter(f, "e");
        Magic_SetEmitterDirection(e, &c.direction);
        Magic_EmitterToInterval1(e, 1.0f, nullptr);
        Magic_Update(e, 500);
        auto [x, y] = Centre(Quads(e).at(0));
        EXPECT_NEAR(x, 50 * c.dx, 1e-3) << c.direction;
        EXPECT_NEAR(y, 50 * c.dy, 1e-3) << c.direction;

        // Line shape: births spread along the turned local +y axis.
        f = OpenEmitter("shape=\"line\" shape_w=\"30\"", "<type rate=\"0\" burst=\"50\" speed=\"0\"/>");
        e = Magic_LoadEmitter(f, "e");
        Magic_SetEmitterDirection(e, &c.direction);
        Magic_EmitterToInterval1(e, 1.0f, nullptr);
        double reach = 0;
        for (const auto& q : Quads(e)) {
            auto [px, py] = Centre(q);
            double along = px * c.lx + py * c.ly, across = px * c.ly - py * c.lx;
            EXPECT_NEAR(across, 0, 1e-3) << c.direction;
            EXPECT_GE(along, -1e-3);
            EXPECT_LE(along, 30 + 1e-3);
            reach = std::max(reach, along);
        }
        EXPECT_GT(reach, 20) << c.direction;
    }
}

TEST_F(MagicTest, ShapesPlaceBirthsInsideThemselves) {
    int f = OpenEmitter("shape=\"rect\" shape_w=\"40\" shape_h=\"10\"", "<type rate=\"0\" burst=\"200\" speed=\"0\"/>");
    int e = Magic_LoadEmitter(f, "e");
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    float maxX = 0, maxY = 0;
    for (const auto& q : Quads(e)) {
        auto [x, y] = Centre(q);
        EXPECT_LE(std::fabs(x), 20.001f);
        EXPECT_LE(std::fabs(y), 5.001f);
        maxX = std::max(maxX, std::fabs(x));
        maxY = std::max(maxY, std::fabs(y));
    }
    EXPECT_GT(maxX, 15);
    EXPECT_GT(maxY, 3);

    f = OpenEmitter("shape=\"circle\" shape_w=\"25\"", "<type rate=\"0\" burst=\"200\" speed=\"0\"/>");
    e = Magic_LoadEmitter(f, "e");
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    double far = 0;
    for (const auto& q : Quads(e)) {
        auto [x, y] = Centre(q);
        EXPECT_LE(std::hypot(x, y), 25.001);
        far = std::max(far, static_cast<double>(std::hypot(x, y)));
    }
    EXPECT_GT(far, 20);
}

}  // namespace
