#include "Layouts.h"
#include "Mapping.h"
#include "Misses.h"
#include "Picture.h"
#include "Probes.h"
#include "Script.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/Base/TextEncoding.h"
#include "Framework/DisplayApplication.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

namespace
{
using namespace playthrough;

// ---- logical units to window pixels ----

struct MappingRow
{
    int width;
    int height;
    Point logical;
    Point window; // where a person would point
};

std::ostream& operator<<(std::ostream& out, const MappingRow& row)
{
    return out << row.width << "x" << row.height << " (" << row.logical.x << ", " << row.logical.y << ")";
}

class LogicalToWindow : public testing::TestWithParam<MappingRow>
{
protected:
    void TearDown() override { base::testing::TeardownSingletonsNow(); }
};

// The inverse of the application's own ToLogical, over the display settings
// it chooses full screen on each monitor.
TEST_P(LogicalToWindow, IsTheInverseOfTheApplicationsMapping)
{
    const MappingRow& row = GetParam();
    auto* application = new frameworktest::DisplayApplication;
    application->SetMonitor(row.width, row.height, row.width, row.height);
    application->mPillarboxAllowed = 1;
    framework::DisplaySettings settings;
    ASSERT_EQ(application->ChooseDisplayMode(false, settings), HV_OK);
    const DisplayMapping mapping{application->mScreenToLogicalScaleX, application->mScreenToLogicalScaleY,
                                 application->mScreenToLogicalOffsetX, application->mScreenToLogicalOffsetY};

    const Point window = ToWindow(mapping, row.logical);
    EXPECT_NEAR(window.x, row.window.x, 0.01f);
    EXPECT_NEAR(window.y, row.window.y, 0.01f);
    input::Point back;
    application->ToLogical(back, {window.x, window.y});
    EXPECT_NEAR(back.x, row.logical.x, 0.01f);
    EXPECT_NEAR(back.y, row.logical.y, 0.01f);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, LogicalToWindow,
    testing::Values(
        // The logical size itself: one to one.
        MappingRow{1024, 768, {0.0f, 0.0f}, {0.0f, 0.0f}}, MappingRow{1024, 768, {896.0f, 563.0f}, {896.0f, 563.0f}},
        // The widest size: the 1024-wide play area sits 171 pixels in.
        MappingRow{1366, 768, {0.0f, 0.0f}, {171.0f, 0.0f}},
        MappingRow{1366, 768, {1024.0f, 768.0f}, {1195.0f, 768.0f}},
        // 5:4 is letterboxed: scaled by 1.25, 32-pixel bars above and below.
        MappingRow{1280, 1024, {0.0f, 0.0f}, {0.0f, 32.0f}},
        MappingRow{1280, 1024, {896.0f, 563.0f}, {1120.0f, 735.75f}},
        MappingRow{1280, 1024, {1024.0f, 768.0f}, {1280.0f, 992.0f}}));

// ---- probes ----

Picture Solid(uint32_t width, uint32_t height, uint32_t argb)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.argb.assign(size_t(width) * height, argb);
    return picture;
}

// A 128 x 16 strip at (100, 100): eight probe squares, in columns of 16.
struct Strip
{
    Picture picture = Solid(128, 16, 0xFF408020);
    ProbeSource Source() const
    {
        ProbeSource source;
        source.placed = {100.0f, 100.0f, 128.0f, 16.0f};
        source.picture = &picture;
        return source;
    }
};

std::vector<float> Columns(const std::vector<Probe>& probes)
{
    std::vector<float> out;
    for (const Probe& probe : probes)
        out.push_back(probe.logical.x);
    return out;
}

TEST(ProbeSelection, NeverPicksASquareThatIsCoveredTransparentOrNearTheRoad)
{
    Strip strip;
    // Square 0 is not fully opaque (one pixel is enough).
    strip.picture.argb[5] = 0x80408020;
    ProbeSource source = strip.Source();
    // A later layer over square 1, a text slot touching square 2 by one pixel.
    source.covers = {{116.0f, 90.0f, 16.0f, 40.0f}, {146.0f, 115.0f, 1.0f, 30.0f}};
    // A road sample in square 7, kept 20 units away: squares 6 and 7 go.
    source.keepAway = {{220.0f, 108.0f}};
    source.keepAwayDistance = 20.0f;

    EXPECT_EQ(Columns(SelectProbes(source)), (std::vector<float>{148.0f, 164.0f, 180.0f}));
}

TEST(ProbeSelection, SpreadsFourProbesOverThePictureAndTakesItsColours)
{
    Strip strip;
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 112; x < 128; ++x)
            strip.picture.argb[y * 128 + x] = 0xFF0000FF;
    const std::vector<Probe> probes = SelectProbes(strip.Source());
    ASSERT_EQ(Columns(probes), (std::vector<float>{100.0f, 132.0f, 164.0f, 212.0f}));
    EXPECT_FLOAT_EQ(probes[0].expected.g, 128.0f);
    EXPECT_FLOAT_EQ(probes[3].expected.b, 255.0f);
    EXPECT_FLOAT_EQ(probes[3].expected.r, 0.0f);
}

TEST(ProbeMatching, CatchesAShiftedOrColourSwappedPicture)
{
    Strip strip;
    // Distinct colours per square, so a shift shows.
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 128; ++x)
            strip.picture.argb[y * 128 + x] = 0xFF000000u | ((x / 16) * 30u << 16) | 0x2000u | 0xC0u;
    const std::vector<Probe> probes = SelectProbes(strip.Source());
    ASSERT_EQ(probes.size(), size_t(kMaxProbes));
    const DisplayMapping identity;

    auto screenWith = [&](int shiftX, bool swapRedBlue) {
        Picture screen = Solid(400, 200, 0xFF000000);
        for (uint32_t y = 0; y < 16; ++y)
            for (uint32_t x = 0; x < 128; ++x)
            {
                uint32_t pixel = strip.picture.At(x, y);
                if (swapRedBlue)
                    pixel = (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
                screen.argb[(100 + y) * 400 + uint32_t(100 + shiftX) + x] = pixel;
            }
        return screen;
    };
    EXPECT_EQ(MatchingProbes(screenWith(0, false), identity, probes), kMaxProbes);
    EXPECT_LT(MatchingProbes(screenWith(16, false), identity, probes), 3);
    EXPECT_LT(MatchingProbes(screenWith(0, true), identity, probes), 3);
}

// ---- waits ----

TEST(ScriptWait, ThatNeverComesTrueFailsAtItsTurnLimitWithItsFailScreenshot)
{
    hvtest::TempFolder folder;
    const Picture frame = Solid(8, 8, 0xFF336699);
    std::vector<std::string> done;
    std::string failedStep, savedShot;
    Script script({[&](const std::string& step, const std::string&) {
                       failedStep = step;
                       savedShot = SaveFailureShot(folder.Folder().string(), step, frame);
                   },
                   [&](const std::string& step) { done.push_back(step); }});
    script.Do("first", [] {});
    script.WaitUntil("main menu opens", [] { return false; }, 5);
    bool laterRan = false;
    script.Do("later", [&] { laterRan = true; });

    for (int turn = 0; turn < 5; ++turn)
    {
        EXPECT_FALSE(script.Failed()) << "turn " << turn;
        script.Turn();
    }
    // One turn for "first", then five turns of waiting.
    EXPECT_FALSE(script.Failed());
    script.Turn();
    ASSERT_TRUE(script.Failed());
    EXPECT_EQ(script.Turns(), 6);
    EXPECT_EQ(failedStep, "main menu opens");
    EXPECT_NE(script.Failure().find("main menu opens"), std::string::npos);
    EXPECT_EQ(done, std::vector<std::string>{"first"});
    for (int turn = 0; turn < 3; ++turn)
        script.Turn();
    EXPECT_FALSE(laterRan);

    ASSERT_EQ(savedShot, (folder.Folder() / "FAIL_main_menu_opens.png").string());
    Picture read;
    ASSERT_TRUE(LoadPng(savedShot, read));
    EXPECT_FALSE(Differs(read, frame));
}

TEST(ScriptWait, ThatComesTrueGoesOnTheSameTurn)
{
    int turns = 0;
    Script script({});
    script.WaitUntil("ready", [&] { return turns >= 3; }, 3);
    while (!script.Finished())
    {
        ++turns;
        script.Turn();
    }
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(script.Turns(), 3);
}

// ---- allowed misses ----

struct AllowRow
{
    base::LookupMissKind kind;
    const wchar_t* name;
    bool allowed;
};

TEST(AllowList, SuppressesOnlyItsListedKindsAndNames)
{
    const MissLog log({{base::LookupMissKind::File, L"profiles.xml", "first start"},
                       {base::LookupMissKind::LayerPicture, L"pos_*", "button positions are rectangles"}});
    const AllowRow rows[] = {
        {base::LookupMissKind::File, L"profiles.xml", true},
        {base::LookupMissKind::File, L"profiles.xml.tmp", false},
        {base::LookupMissKind::File, L"nq/profiles.xml", false},
        {base::LookupMissKind::Layer, L"profiles.xml", false},
        {base::LookupMissKind::LayerPicture, L"pos_play", true},
        {base::LookupMissKind::LayerPicture, L"pos_", true},
        {base::LookupMissKind::LayerPicture, L"po", false},
        {base::LookupMissKind::Layer, L"pos_play", false},
        {base::LookupMissKind::String, L"pos_play", false},
    };
    for (const AllowRow& row : rows)
        EXPECT_EQ(log.IsAllowed(row.kind, row.name), row.allowed)
            << base::WideToUtf8(base::LookupMissKindName(row.kind)) << " " << base::WideToUtf8(row.name);
}

TEST(AllowList, UnexpectedKeepsEveryOtherMissInOrder)
{
    MissLog log({{base::LookupMissKind::File, L"profiles.xml", "first start"}});
    log.Record(base::LookupMissKind::File, L"profiles.xml", 1);
    log.Record(base::LookupMissKind::Emitter, L"fog_01", 7);
    log.Record(base::LookupMissKind::Proto, L"10001", 9);
    const std::vector<Miss> unexpected = log.Unexpected();
    ASSERT_EQ(unexpected.size(), 2u);
    EXPECT_EQ(unexpected[0].name, L"fog_01");
    EXPECT_EQ(unexpected[1].turn, 9);
    EXPECT_EQ(log.Describe(), "1\tfile\tprofiles.xml\tallowed\n7\teffect\tfog_01\n9\tproto\t10001\n");
}

// ---- layouts ----

TEST(Layouts, ReadsRectanglesAndTellsPicturesFromRectangles)
{
    hvtest::TempFolder folder;
    folder.Write("nq/main_menu/layers.xml",
                 "<Layers><Layer name=\"back\" x=\"0\" y=\"0\" width=\"1024\" height=\"768\"/>"
                 "<Layer name=\"play\" x=\"400\" y=\"500\" width=\"200\" height=\"60\" atlas=\"a0\"/>"
                 "<Layer name=\"name_text\" x=\"10\" y=\"20\" width=\"30\" height=\"40\"/></Layers>");
    folder.Write("nq/main_menu/back.png", "not decoded here");
    const std::vector<LayoutLayer> layers = ReadLayout(folder.Folder().string(), "nq/main_menu");
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_TRUE(layers[0].picture);
    EXPECT_TRUE(layers[1].picture);
    EXPECT_FALSE(layers[2].picture);
    const std::optional<Rect> play = FindLayerRect(layers, "play");
    ASSERT_TRUE(play);
    EXPECT_FLOAT_EQ(Centre(*play).x, 500.0f);
    EXPECT_FLOAT_EQ(Centre(*play).y, 530.0f);
    EXPECT_FALSE(FindLayerRect(layers, "missing"));
    EXPECT_TRUE(ReadLayout(folder.Folder().string(), "nq/absent").empty());
}
} // namespace

namespace
{
TEST(Layouts, TellsRectangleLayersByTheirImageAndName)
{
    hvtest::TempFolder folder;
    folder.Write("nq/units/t1/layers.xml",
                 "<Layers><Layer name=\"bat/foot\" x=\"1\" y=\"2\" width=\"3\" height=\"4\"/>"
                 "<Layer name=\"bat/walk/0\" x=\"0\" y=\"0\" width=\"8\" height=\"8\"/></Layers>");
    folder.Write("nq/units/t1/bat/walk/0.png", "x");
    const std::string root = folder.Folder().string();
    EXPECT_TRUE(IsRectangleLayer(root, "nq/units/t1/bat/foot"));
    EXPECT_FALSE(IsRectangleLayer(root, "nq/units/t1/bat/walk/0"));
    EXPECT_FALSE(IsRectangleLayer(root, "nq/units/t1/bat/head"));
    EXPECT_FALSE(IsRectangleLayer(root, "nq/units/t2/bat/foot"));
    EXPECT_FALSE(IsRectangleLayer(root, "foot"));

    const MissLog log({}, {{base::LookupMissKind::LayerPicture,
                            [root](const std::wstring& name) { return IsRectangleLayer(root, base::WideToUtf8(name)); },
                            "rectangles"}});
    EXPECT_TRUE(log.IsAllowed(base::LookupMissKind::LayerPicture, L"nq/units/t1/bat/foot"));
    EXPECT_FALSE(log.IsAllowed(base::LookupMissKind::Layer, L"nq/units/t1/bat/foot"));
    EXPECT_FALSE(log.IsAllowed(base::LookupMissKind::LayerPicture, L"nq/units/t1/bat/walk/0"));
}
} // namespace

namespace
{
TEST(Layouts, ProbesOfARootPictureAvoidEveryLaterLayer)
{
    hvtest::TempFolder folder;
    folder.Write("nq/menu/layers.xml",
                 "<Layers><Layer name=\"back\" x=\"100\" y=\"50\" width=\"64\" height=\"32\"/>"
                 "<Layer name=\"button/play/pos\" x=\"100\" y=\"50\" width=\"32\" height=\"32\"/></Layers>");
    ASSERT_TRUE(SavePng(Solid(64, 32, 0xFF204060), (folder.Folder() / "nq/menu/back.png").string()));
    const std::vector<Probe> probes = LayoutProbes(folder.Folder().string(), "nq/menu", "back");
    ASSERT_EQ(probes.size(), 4u);
    for (const Probe& probe : probes)
    {
        EXPECT_GE(probe.logical.x, 132.0f);
        EXPECT_FLOAT_EQ(probe.expected.b, 96.0f);
    }
    // A window over the rest leaves nothing to probe.
    EXPECT_TRUE(LayoutProbes(folder.Folder().string(), "nq/menu", "back", {{132.0f, 0.0f, 100.0f, 100.0f}}).empty());
    EXPECT_TRUE(LayoutProbes(folder.Folder().string(), "nq/menu", "front").empty());
}
} // namespace
