// The splash screens: the logo list, the logo phases, presses, drawing on a
// wide logical screen and the hand-over to the intro video.
#include "CallLog.h"
#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/NQSplashScreens.h"
#include "Game/Hud/NQVideoIntro.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

namespace gametest
{
namespace
{
using Names = std::vector<std::string>;

TEST(SplashListTest, LinesFieldsAndItemsGiveThePictureNames)
{
    struct Case
    {
        const char* name;
        std::string text;
        Names names;
    };
    const Case cases[] = {
        {"windows and unix line ends", "1;studio,engine\r\n2;a,b\n", {"studio", "engine", "a", "b"}},
        {"blanks inside names", "1; stu dio , en gine \n", {"studio", "engine"}},
        {"a line without ';'", "studio\n", {""}},
        {"empty fields kept", "1;a,,b\n", {"a", "", "b"}},
        {"third field ignored", "1;a;b\n", {"a"}},
        {"empty lines skipped", "\n\n1;a\n\n", {"a"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NQSplashScreens::ParseLogoList(c.text), c.names) << c.name;
}

class SplashTest : public FrontEndTest
{
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        data->Write("logo/studio.png", SolidPng(100, 50, 0xFFFF0000u));
        data->Write("logo/engine.png", SolidPng(60, 40, 0xFF00FF00u));
        data->Write("logo/third.png", SolidPng(20, 20, 0xFF0000FFu));
        // A 1366-wide logical screen, 171 units left of the play area.
        GetGame()->mViewportX = -171.0f;
        GetGame()->mViewportY = 0.0f;
        GetGame()->mViewportWidth = 1366.0f;
        GetGame()->mViewportHeight = 768.0f;
    }

    int OtherDraws(const std::function<void(render::Graphics*)>& draw, std::vector<RecordedQuad>* quads = nullptr)
    {
        const int before = Quads()->mOtherDraws;
        std::vector<RecordedQuad> recorded = Record(draw);
        if (quads)
            *quads = recorded;
        return Quads()->mOtherDraws - before;
    }
};

TEST_F(SplashTest, ALogoFadesInHoldsAndFadesOutWithStrictThresholds)
{
    NQSplashScreens::Logo logo;
    struct Step
    {
        float dt;
        int phase;
        float timer;
    };
    const Step steps[] = {{0.5f, 0, 0.5f}, {0.01f, 1, 0.0f}, {1.5f, 1, 1.5f}, {0.2f, 2, 0.0f},
                          {0.7f, 3, 0.0f}, {0.1f, 3, 0.1f}};
    for (const Step& s : steps)
    {
        logo.Update(s.dt);
        EXPECT_EQ(logo.phase, s.phase) << s.dt;
        EXPECT_FLOAT_EQ(logo.timer, s.timer) << s.dt;
    }
}

TEST_F(SplashTest, ThreeLogosCloseIntoTheIntroVideoOnce)
{
    data->Write("logo/logo.ini", "1;studio,engine\n2;third\n");
    HUD* hud = Map()->mHud;
    hud->ShowSplashScreens();
    EXPECT_EQ(Map()->mScreenState, screen::kSplashScreens);
    hud->Update(0.0f);
    ASSERT_EQ(hud->mWindows.size(), 1u);
    auto* splash = dynamic_cast<NQSplashScreens*>(hud->mWindows[0]);
    ASSERT_NE(splash, nullptr);
    ASSERT_EQ(splash->mLogos.size(), 3u);

    constexpr float kFrame = 0.1f;
    float elapsed = 0.0f;
    int frames = 0;
    while (hud->mWindows.size() == 1 && hud->mWindows[0] == splash && frames < 200)
    {
        hud->Update(kFrame);
        elapsed += kFrame;
        ++frames;
    }
    EXPECT_GT(elapsed, 7.5f);
    EXPECT_LE(elapsed, 7.5f + 9 * kFrame + 1e-3f);
    // Closed in the update that ended the last logo, the video on the stack at once.
    ASSERT_EQ(hud->mWindows.size(), 1u);
    EXPECT_NE(dynamic_cast<NQVideoIntro*>(hud->mWindows[0]), nullptr);
    EXPECT_EQ(Map()->mScreenState, screen::kIntroVideo);
    EXPECT_TRUE(hud->mPendingWindows.empty());
}

TEST_F(SplashTest, APressStartsTheNextLogoAtOnceAndTheLastAnswersDone)
{
    data->Write("logo/logo.ini", "1;studio,engine,third\n");
    NQSplashScreens splash;
    splash.Update(0.6f);
    splash.Update(0.5f);
    ASSERT_EQ(splash.mLogos[0]->phase, NQSplashScreens::Logo::kHold);
    EXPECT_EQ(splash.Click(0, 0), L"");
    EXPECT_EQ(splash.mCurrent, 1);
    EXPECT_EQ(splash.mLogos[1]->phase, NQSplashScreens::Logo::kFadeIn);
    EXPECT_EQ(splash.mLogos[1]->timer, 0.0f);
    EXPECT_EQ(splash.mLogos[0]->phase, NQSplashScreens::Logo::kHold) << "the first is not faded out";
    EXPECT_EQ(splash.Click(0, 0), L"");
    EXPECT_EQ(splash.Click(0, 0), L"done");
    // Past the last logo: nothing drawn, and the window still closes.
    EXPECT_EQ(splash.Click(0, 0), L"");
    EXPECT_EQ(OtherDraws([&](render::Graphics* g) { splash.Draw(g); }), 0);
    EXPECT_TRUE(Record([&](render::Graphics* g) { splash.Draw(g); }).empty());
    splash.Update(0.1f);
    EXPECT_EQ(splash.mAlive, 0);
}

TEST_F(SplashTest, NoLogosClosesAtTheFirstUpdateAndDrawsNothing)
{
    for (const char* text : {static_cast<const char*>(""), static_cast<const char*>(nullptr)})
    {
        if (text)
            data->Write("logo/logo.ini", text);
        NQSplashScreens splash;
        EXPECT_TRUE(splash.mLogos.empty());
        std::vector<RecordedQuad> quads;
        EXPECT_EQ(OtherDraws([&](render::Graphics* g) { splash.Draw(g); }, &quads), 0);
        EXPECT_TRUE(quads.empty());
        splash.Update(0.016f);
        EXPECT_EQ(splash.mAlive, 0);
        // Nothing more once closed.
        splash.Update(0.016f);
        EXPECT_EQ(splash.mCurrent, 0);
    }
}

TEST_F(SplashTest, TheLogoIsCentredOnTheLogicalScreenUnderItsFades)
{
    data->Write("logo/logo.ini", "1;studio\n");
    NQSplashScreens splash;
    ASSERT_NE(splash.mLogos[0]->picture, nullptr);
    std::vector<RecordedQuad> quads;
    EXPECT_EQ(OtherDraws([&](render::Graphics* g) { splash.Draw(g); }, &quads), 1) << "the fade-in cover";
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].CentreX(), 512.0f);
    EXPECT_FLOAT_EQ(quads[0].CentreY(), 384.0f);
    EXPECT_FLOAT_EQ(quads[0].Width(), 100.0f);
    EXPECT_EQ(quads[0].texture, TextureOf(splash.mLogos[0]->picture));

    splash.Update(0.6f);
    EXPECT_EQ(OtherDraws([&](render::Graphics* g) { splash.Draw(g); }), 0) << "no cover while holding";
    splash.Update(1.6f);
    EXPECT_EQ(OtherDraws([&](render::Graphics* g) { splash.Draw(g); }), 1) << "the fade-out cover";
}

TEST_F(SplashTest, AMissingPictureOrAnEmptyItemDrawsOnlyTheFadesAndTakesItsTime)
{
    data->Write("logo/logo.ini", "1;nothing,\n");
    NQSplashScreens splash;
    ASSERT_EQ(splash.mLogos.size(), 2u);
    for (const NQSplashScreens::Logo* logo : splash.mLogos)
        EXPECT_EQ(logo->picture, nullptr);
    std::vector<RecordedQuad> quads;
    EXPECT_EQ(OtherDraws([&](render::Graphics* g) { splash.Draw(g); }, &quads), 1);
    EXPECT_TRUE(quads.empty());
    float elapsed = 0.0f;
    while (splash.mAlive && elapsed < 10.0f)
    {
        splash.Update(0.1f);
        elapsed += 0.1f;
    }
    EXPECT_GT(elapsed, 5.0f);
    EXPECT_LE(elapsed, 5.0f + 6 * 0.1f + 1e-3f);
}
} // namespace
} // namespace gametest
