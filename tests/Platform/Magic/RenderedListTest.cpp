#include "MagicFixture.h"

#include <cmath>
#include <functional>

namespace {

struct Shape {
    int count, texture, intense;
    bool operator==(const Shape&) const = default;
};

std::vector<Shape> Shapes(const std::vector<MagicTest::List>& lists) {
    std::vector<Shape> out;
    for (const auto& l : lists) {
        EXPECT_EQ(static_cast<int>(l.quads.size()), l.count);
        out.push_back({l.count, l.texture, l.intense});
    }
    return out;
}

TEST_F(MagicTest, ListsHoldAtMost170ParticlesOfOneTypeEach) {
    struct Case {
        const char* what;
        std::string types;
        std::vector<Shape> lists;
    } cases[] = {
        {"one type", "<type rate=\"0\" burst=\"400\" speed=\"0\"/>", {{170, 0, 0}, {170, 0, 0}, {60, 0, 0}}},
        {"exactly full", "<type rate=\"0\" burst=\"170\" speed=\"0\"/>", {{170, 0, 0}}},
        {"two types",
         "<type rate=\"0\" burst=\"5\" speed=\"0\"/><type atlas=\"1\" intense=\"1\" rate=\"0\" burst=\"3\" speed=\"0\"/>",
         {{5, 0, 0}, {3, 1, 1}}},
        {"empty type between",
         "<type rate=\"0\" burst=\"2\" speed=\"0\"/><type rate=\"0\"/><type atlas=\"1\" rate=\"0\" burst=\"1\" speed=\"0\"/>",
         {{2, 0, 0}, {1, 1, 0}}},
        {"nothing alive", "<type rate=\"0\"/>", {}},
    };
    for (const Case& c : cases) {
        int e = Start("", c.types);
        EXPECT_EQ(Shapes(Walk(e)), c.lists) << c.what;
    }
}

TEST_F(MagicTest, WalkEndsWithACountZeroListThatStaysEnded) {
    int e = Start("", "<type rate=\"0\" burst=\"3\" speed=\"0\"/>");
    MagicListRecord rec{};
    Magic_CreateFirstRenderedParticlesList(e, &rec);
    EXPECT_EQ(rec.count, 3);
    Magic_CreateNextRenderedParticlesList(&rec);
    EXPECT_EQ(rec.count, 0);
    Magic_CreateNextRenderedParticlesList(&rec);
    EXPECT_EQ(rec.count, 0);
    MagicVertexRecord v;
    EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 0);
}

TEST_F(MagicTest, ParticlesComeOldestFirst) {
    int e = Start("", "<type rate=\"10\" speed=\"0\" life=\"10000\" color0=\"FFFFFFFF\" color1=\"00FFFFFF\"/>");
    Magic_Update(e, 500);
    auto q = Quads(e);
    ASSERT_EQ(q.size(), 5u);
    for (size_t i = 1; i < q.size(); ++i)
        EXPECT_LT(q[i - 1].color >> 24, q[i].color >> 24);  // older has faded more
}

double Cross(const MagicVertexRecord& q, int k) {
    const auto &a = q.corner[k], &b = q.corner[(k + 1) % 4], &c = q.corner[(k + 2) % 4];
    return (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
}

TEST_F(MagicTest, QuadIsCentredClockwiseWithItsPicture) {
    int f = OpenEmitter("", "<type rate=\"0\" burst=\"1\" speed=\"0\" size0=\"8\" size1=\"8\" u0=\"0.25\" "
                            "v0=\"0.5\" u1=\"0.75\" v1=\"1\"/>");
    int e = Magic_LoadEmitter(f, "e");
    float at[2] = {100, 100};
    Magic_SetEmitterPosition(e, at);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    auto q = Quads(e).at(0);
    const float want[4][4] = {{96, 96, 0.25f, 0.5f}, {104, 96, 0.75f, 0.5f}, {104, 104, 0.75f, 1}, {96, 104, 0.25f, 1}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(q.corner[k].x, want[k][0], 1e-4) << k;
        EXPECT_NEAR(q.corner[k].y, want[k][1], 1e-4) << k;
        EXPECT_EQ(q.corner[k].u, want[k][2]) << k;
        EXPECT_EQ(q.corner[k].v, want[k][3]) << k;
    }
}

TEST_F(MagicTest, RotationTurnsTheQuadAndKeepsItClockwise) {
    // rot 30 at birth, spin 60 per second: 90 degrees after 1 s.
    int e = Start("", "<type rate=\"0\" burst=\"1\" speed=\"0\" size0=\"8\" size1=\"8\" rot=\"30\" spin=\"60\" "
                      "life=\"5000\"/>");
    auto q0 = Quads(e).at(0);
    for (int k = 0; k < 4; ++k)
        EXPECT_GT(Cross(q0, k), 0) << k;
    Magic_Update(e, 1000);
    auto q = Quads(e).at(0);
    // Top-left (-4, -4) turned by 90 degrees lands on (4, -4).
    EXPECT_NEAR(q.corner[0].x, 4, 1e-3);
    EXPECT_NEAR(q.corner[0].y, -4, 1e-3);
    for (int k = 0; k < 4; ++k)
        EXPECT_GT(Cross(q, k), 0) << k;
}

TEST_F(MagicTest, ColourAndSizeAreLinearInAge) {
    int e = Start("", "<type rate=\"0\" burst=\"1\" speed=\"0\" life=\"1000\" size0=\"8\" size1=\"16\" "
                      "color0=\"FF102030\" color1=\"00305070\"/>");
    struct Step {
        double ms;
        uint32_t color;
        float side;
    } steps[] = {{0, 0xFF102030u, 8}, {500, 0x80203850u, 12}, {499, 0x00305070u, 15.992f}};
    for (const Step& s : steps) {
        Magic_Update(e, s.ms);
        auto q = Quads(e).at(0);
        EXPECT_EQ(q.color, s.color) << s.ms;
        EXPECT_NEAR(q.corner[1].x - q.corner[0].x, s.side, 1e-3) << s.ms;
    }
}

TEST_F(MagicTest, SizeVariationScalesBothEnds) {
    int e = Start("", "<type rate=\"0\" burst=\"100\" speed=\"0\" life=\"1000\" size0=\"10\" size1=\"20\" "
                      "size_var=\"0.5\"/>");
    std::vector<float> birth;
    for (const auto& q : Quads(e))
        birth.push_back(q.corner[1].x - q.corner[0].x);
    Magic_Update(e, 500);
    auto later = Quads(e);
    ASSERT_EQ(later.size(), birth.size());
    float lo = 100, hi = 0;
    for (size_t i = 0; i < birth.size(); ++i) {
        EXPECT_GE(birth[i], 5 - 1e-3);
        EXPECT_LE(birth[i], 15 + 1e-3);
        // side(t) = f * (10 + 10 t): at half life 1.5 times the birth side.
        EXPECT_NEAR(later[i].corner[1].x - later[i].corner[0].x, birth[i] * 1.5f, 1e-3);
        lo = std::min(lo, birth[i]);
        hi = std::max(hi, birth[i]);
    }
    EXPECT_LT(lo, 7);
    EXPECT_GT(hi, 13);
}

TEST_F(MagicTest, VertexReadsStopAtTheListEndAndWhenTheEmitterChanges) {
    int e = Start("", "<type rate=\"0\" burst=\"2\" speed=\"0\" life=\"5000\"/>");
    MagicListRecord rec{};
    MagicVertexRecord v;
    Magic_CreateFirstRenderedParticlesList(e, &rec);
    ASSERT_EQ(rec.count, 2);
    EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 1);
    EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 1);
    EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 0);  // beyond the count

    struct Case {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"update", [e] { Magic_Update(e, 0); }},
        {"start", [e] { Magic_EmitterToInterval1(e, 1.0f, nullptr); }},
        {"stop", [e] { Magic_Stop(e); }},
    };
    for (const Case& c : cases) {
        Magic_EmitterToInterval1(e, 1.0f, nullptr);
        Magic_CreateFirstRenderedParticlesList(e, &rec);
        ASSERT_EQ(rec.count, 2);
        EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 1);
        c.change();
        EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 0) << c.what;
    }
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    Magic_CreateFirstRenderedParticlesList(e, &rec);
    Magic_UnloadEmitter(e);
    EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 0);
    Magic_CreateNextRenderedParticlesList(&rec);
    EXPECT_EQ(rec.count, 0);
}

TEST_F(MagicTest, TheLastListCallChoosesTheCurrentList) {
    int a = Start("", "<type rate=\"0\" burst=\"1\" speed=\"0\" color0=\"FF0000AA\"/>");
    int b = Start("", "<type rate=\"0\" burst=\"3\" speed=\"0\" color0=\"FF0000BB\"/>");
    MagicListRecord ra{}, rb{};
    MagicVertexRecord v;
    Magic_CreateFirstRenderedParticlesList(a, &ra);
    Magic_CreateFirstRenderedParticlesList(b, &rb);
    ASSERT_EQ(Magic_GetNextParticleVertexes(&v), 1);
    EXPECT_EQ(v.color, 0xFF0000BBu);
    Magic_CreateFirstRenderedParticlesList(a, &ra);
    ASSERT_EQ(Magic_GetNextParticleVertexes(&v), 1);
    EXPECT_EQ(v.color, 0xFF0000AAu);
    EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 0);
}

TEST_F(MagicTest, GarbageListRecordEndsTheWalk) {
    int e = Start("", "<type rate=\"0\" burst=\"3\" speed=\"0\"/>");
    const MagicListRecord records[] = {
        {5, 0, 0, e, -1, 0}, {5, 0, 0, e, 99, 0}, {5, 0, 0, e, 0, -7}, {2147483647, 0, 0, e, 0, 2147483647},
        {-3, 0, 0, e, 0, 0}, {5, 0, 0, 0, 0, 0}};
    for (MagicListRecord r : records) {
        Magic_CreateNextRenderedParticlesList(&r);
        EXPECT_EQ(r.count, 0);
        MagicVertexRecord v;
        EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 0);
    }
}

}  // namespace
