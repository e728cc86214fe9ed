// The real game through the framework's start: configuration, screen-mode
// switches, pictures read back, the mob shader, the root board and its
// routing, the developer keys, the level intro, pack mode and teardown.
#include "GameFixture.h"
#include "LevelFixture.h"
#include "RecordingWindow.h"

#include "Core/File/FileManager.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Purchase/PurchaseResult.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Framework/GameWindow.h"
#include "Framework/Layer/RectHitLayer.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDLevelName.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Platform/D3D9/TestSupport.h"
#include "Platform/Win32/MessageBox.h"
#include "Psd/PsdInternal.h"
#include "support/LogCapture.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>

namespace
{
using gametest::CountCalls;
using gametest::GameAppTest;
using gametest::ProfilesXml;
using gametest::RecordingWindow;

constexpr uint32_t kRed = 0xFF0000u;
constexpr uint32_t kBlue = 0x0000FFu;
constexpr uint32_t kGreen = 0x00FF00u;
constexpr uint32_t kBlack = 0u;

// A window that draws through a function: a way into the middle of a frame.
class DrawingWindow : public RecordingWindow
{
public:
    explicit DrawingWindow(std::function<void(render::Graphics*)> draw) : RecordingWindow("drawing"), mDraw(draw) {}
    void Draw(render::Graphics* graphics) override { mDraw(graphics); }

private:
    std::function<void(render::Graphics*)> mDraw;
};

std::string WindowedProfile()
{
    return ProfilesXml(0, 0, "<fs v=\"false\"/>");
}

TEST_F(GameAppTest, TheProfileDecidesTheWindowMode)
{
    struct Case
    {
        const char* fs;
        bool windowed;
    };
    const Case cases[] = {
        {"", false}, {"<fs v=\"true\"/>", false}, {"<fs v=\"false\"/>", true}, {"<fs/>", true}, {"<fs v=\"abc\"/>", true},
    };
    for (const Case& c : cases)
    {
        run->WriteProfiles(ProfilesXml(0, 0, c.fs));
        Game* game = run->Make(run->DataRootArguments());
        file::UserDataFileContainer::Instance()->SetRootPath(run->user.Wide() + L"Brenik/BramblecoatWars/");
        ASSERT_EQ(game->Configure(), HV_OK);
        EXPECT_EQ(game->mWindowed != 0, c.windowed) << c.fs << "\n" << run->ProfilesText();
        EXPECT_EQ(game->mCaption, LocalStrings::Instance()->Get(L"game_caption"));
        EXPECT_EQ(file::FileManager::Instance()->mountTable[L"nq/"], L"data.dat");
        run.reset();
        run = std::make_unique<gametest::GameRun>();
    }
}

TEST_F(GameAppTest, ASwitchToFullScreenIsRecordedOnce)
{
    run->WriteProfiles(WindowedProfile());
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_TRUE(run->game->IsWindowed());
    ASSERT_EQ(run->game->SwitchScreenMode(), HV_OK);
    EXPECT_FALSE(run->game->IsWindowed());
    const std::string text = run->ProfilesText();
    EXPECT_NE(text.find("<fs v=\"true\"/>"), std::string::npos) << text;
    EXPECT_EQ(text.find("<fs v=\"false\"/>"), std::string::npos) << text;
    EXPECT_EQ(text.find("<fs"), text.rfind("<fs")) << "one element";
}

TEST_F(GameAppTest, ASkippedSwitchWritesNothing)
{
    // A window of the maximum size does not fit this work area: full screen stays.
    gametest::GameRun::SupplyMonitor(1366, 768, 728);
    run->WriteProfiles(ProfilesXml(0, 0));
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_FALSE(run->game->IsWindowed());
    ASSERT_EQ(run->game->SwitchScreenMode(), HV_OK);
    EXPECT_FALSE(run->game->IsWindowed());
    EXPECT_EQ(run->ProfilesText().find("<fs"), std::string::npos);
}

TEST_F(GameAppTest, AltEnterOnAScreenTooSmallForTheWindowSaysWhy)
{
    gametest::GameRun::SupplyMonitor(1366, 768, 728);
    run->WriteProfiles(ProfilesXml(0, 0));
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_FALSE(run->game->IsWindowed());
    hvtest::CaptureLog();
    const HWND hwnd = run->game->mWindow->GetHandle();
    testwin::PushAltEnter(hwnd);
    ASSERT_EQ(run->Pump(12), HV_OK);
    EXPECT_FALSE(run->game->IsWindowed());
    // The message box of the options dialog was built: this content has no
    // layout for it, which the box reports as it closes itself.
    EXPECT_EQ(hvtest::CountLogLinesWith(std::wstring(L"dialog could not be built: ") + TMessageBox::kLayout), 1);
    EXPECT_EQ(run->ProfilesText().find("<fs"), std::string::npos);
}

TEST_F(GameAppTest, AFailedSwitchIsReturnedAndWritesNothing)
{
    run->WriteProfiles(WindowedProfile());
    ASSERT_EQ(run->Start(), HV_OK);
    d3d9test::FailNextCalls("Reset", 1, E_FAIL);
    EXPECT_NE(run->game->SwitchScreenMode(), HV_OK);
    const std::string text = run->ProfilesText();
    EXPECT_NE(text.find("<fs v=\"false\"/>"), std::string::npos) << text;
    EXPECT_EQ(text.find("<fs v=\"true\"/>"), std::string::npos) << text;
}

TEST_F(GameAppTest, SidePicturesFillThePillarboxOnMenuScreensOnly)
{
    gametest::WriteGameContent(*run->data);
    gametest::GameRun::SupplyMonitor(2560, 1080, 1080);
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_TRUE(run->game->mBarsActive);
    ASSERT_TRUE(run->game->mBarsVertical);
    ASSERT_EQ(run->Frame(), HV_OK);

    run->Map()->mScreenState = screen::kLevelSelect;
    ASSERT_EQ(run->Frame(), HV_OK);
    ASSERT_TRUE(run->ReadBackBuffer());
    ASSERT_EQ(run->width, 2560u);
    for (int y : {2, 540, 1077})
    {
        EXPECT_EQ(run->Pixel(10, y), kRed) << y;
        EXPECT_EQ(run->Pixel(300, y), kRed) << y;
        EXPECT_EQ(run->Pixel(2259, y), kBlue) << y;
        EXPECT_EQ(run->Pixel(2550, y), kBlue) << y;
        EXPECT_EQ(run->Pixel(1280, y), kBlack) << y;
    }

    run->Map()->mScreenState = screen::kPlaying;
    ASSERT_EQ(run->Frame(), HV_OK);
    ASSERT_TRUE(run->ReadBackBuffer());
    EXPECT_EQ(run->Pixel(10, 540), kBlack);
    EXPECT_EQ(run->Pixel(2550, 540), kBlack);
}

TEST_F(GameAppTest, LetterboxBarsStayBlack)
{
    gametest::WriteGameContent(*run->data);
    gametest::GameRun::SupplyMonitor(1280, 1024, 1024);
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_TRUE(run->game->mBarsActive);
    ASSERT_FALSE(run->game->mBarsVertical);
    ASSERT_EQ(run->Frame(), HV_OK);
    run->Map()->mScreenState = screen::kShop;
    ASSERT_EQ(run->Frame(), HV_OK);
    ASSERT_TRUE(run->ReadBackBuffer());
    EXPECT_EQ(run->Pixel(640, 5), kBlack);
    EXPECT_EQ(run->Pixel(640, 1018), kBlack);
}

TEST_F(GameAppTest, SideImagesSitAgainstThePlayArea)
{
    gametest::WriteGameContent(*run->data);
    run->WriteProfiles(WindowedProfile());
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_EQ(run->game->mWindow->mWindowWidth, 1366);
    Game* game = run->game;
    run->Board()->SetBannerOverlay(new DrawingWindow([game](render::Graphics* g) { game->DrawSideImages(g); }));
    ASSERT_EQ(run->Frame(), HV_OK);
    ASSERT_TRUE(run->ReadBackBuffer());
    ASSERT_EQ(run->width, 1366u);
    // The play area starts at 171 on this screen.
    for (int y : {2, 400, 765})
    {
        EXPECT_EQ(run->Pixel(5, y), kRed) << y;
        EXPECT_EQ(run->Pixel(168, y), kRed) << y;
        EXPECT_EQ(run->Pixel(683, y), kBlack) << y;
        EXPECT_EQ(run->Pixel(1197, y), kBlue) << y;
        EXPECT_EQ(run->Pixel(1360, y), kBlue) << y;
    }
}

TEST_F(GameAppTest, TheLoadingPictureIsPresentedAtOnce)
{
    gametest::WriteGameContent(*run->data);
    gametest::GameRun::SupplyMonitor(1024, 768, 768);
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_EQ(run->game->mTarget, nullptr);
    ASSERT_EQ(run->Frame(), HV_OK);
    run->Map()->StartLevel();
    ASSERT_TRUE(run->ReadBackBuffer());
    EXPECT_EQ(run->Pixel(0, 0), kGreen);
    EXPECT_EQ(run->Pixel(1023, 767), kGreen);
    // The turn's own frame comes out whole, without the picture.
    ASSERT_EQ(run->Frame(), HV_OK);
    ASSERT_TRUE(run->ReadBackBuffer());
    EXPECT_EQ(run->Pixel(512, 384), kBlack);
}

// A window whose update runs a function once: a way into the frame's update.
class UpdatingWindow : public RecordingWindow
{
public:
    explicit UpdatingWindow(std::function<void()> update) : RecordingWindow("updating"), mUpdate(update) {}
    void Update(float dt) override
    {
        RecordingWindow::Update(dt);
        if (mUpdate)
            std::exchange(mUpdate, nullptr)();
    }

private:
    std::function<void()> mUpdate;
};

TEST_F(GameAppTest, ALevelStartInsideAFrameLeavesThatFrameWhole)
{
    gametest::WriteGameContent(*run->data);
    gametest::GameRun::SupplyMonitor(1024, 768, 768);
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_EQ(run->Frame(), HV_OK);
    NQMap* map = run->Map();
    run->Board()->SetConfirmOverlay(new UpdatingWindow([map] { map->StartLevel(); }));
    ASSERT_EQ(run->Frame(), HV_OK);
    EXPECT_EQ(map->mLevelPath, L"nq/levels_normal/level_01_01.xml");
    ASSERT_TRUE(run->ReadBackBuffer());
    EXPECT_EQ(run->Pixel(512, 384), kBlack) << "the frame drawn after the loading picture";
    ASSERT_EQ(run->Frame(), HV_OK);
    run->Board()->SetConfirmOverlay(nullptr);
}

TEST_F(GameAppTest, TheLoadingPictureIsCentredThroughTheTarget)
{
    gametest::WriteGameContent(*run->data);
    gametest::GameRun::SupplyMonitor(1280, 1024, 1024);
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_NE(run->game->mTarget, nullptr);
    ASSERT_EQ(run->Frame(), HV_OK);
    run->Map()->StartLevel();
    ASSERT_TRUE(run->ReadBackBuffer());
    // The picture is scaled as the target is and centred on the screen.
    const float sx = run->game->mTargetDrawScaleX;
    const float sy = run->game->mTargetDrawScaleY;
    const int left = int(640.0f - 512.0f * sx);
    const int top = int(512.0f - 384.0f * sy);
    const int right = int(640.0f + 512.0f * sx);
    const int bottom = int(512.0f + 384.0f * sy);
    ASSERT_GT(top, 4) << "a letterbox";
    EXPECT_EQ(run->Pixel(640, 512), kGreen);
    EXPECT_EQ(run->Pixel(std::max(left, 0) + 2, 512), kGreen);
    EXPECT_EQ(run->Pixel(std::min(right, 1280) - 3, 512), kGreen);
    EXPECT_EQ(run->Pixel(640, top + 2), kGreen);
    EXPECT_EQ(run->Pixel(640, bottom - 3), kGreen);
    EXPECT_EQ(run->Pixel(640, top - 3), kBlack);
    EXPECT_EQ(run->Pixel(640, bottom + 2), kBlack);
    ASSERT_EQ(run->Frame(), HV_OK);
    ASSERT_TRUE(run->ReadBackBuffer());
    EXPECT_EQ(run->Pixel(640, 512), kBlack);
}

TEST_F(GameAppTest, TheMobShaderTintsByColor2)
{
    gametest::WriteGameContent(*run->data);
    run->data->Write("white.png", gametest::SolidPng(64, 64, 0xFFFFFFFFu));
    gametest::GameRun::SupplyMonitor(1024, 768, 768);
    ASSERT_EQ(run->Start(), HV_OK);
    TMobShader* shader = run->game->GetMobShader();
    ASSERT_NE(shader, nullptr);
    ASSERT_NE(shader->GetColor2Variable(), nullptr);
    render::Image* white = run->game->LoadImage(L"white", nullptr);
    ASSERT_NE(white, nullptr);
    run->Board()->SetBannerOverlay(new DrawingWindow([shader, white](render::Graphics* g) {
        shader->SetColor2({1.0f, 0.0f, 0.0f, 1.0f});
        g->SetShader(shader);
        g->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
        auto record = g->DrawImage(*white);
        auto placed = record.Translate(std::array<float, 2>{100.0f, 100.0f}.data());
    }));
    ASSERT_EQ(run->Frame(), HV_OK);
    ASSERT_TRUE(run->ReadBackBuffer());
    EXPECT_EQ(run->Pixel(130, 130), kRed);
    EXPECT_EQ(run->Pixel(90, 90), kBlack);
    run->Board()->SetBannerOverlay(nullptr);
    white->Release();
    delete white;
}

TEST_F(GameAppTest, AMissingMobShaderLeavesTheHandleEmpty)
{
    gametest::GameContent content;
    content.mobShader = false;
    gametest::WriteGameContent(*run->data, content);
    ASSERT_EQ(run->Start(), HV_OK);
    EXPECT_EQ(run->game->GetMobShader(), nullptr);
    EXPECT_NE(run->Map(), nullptr);
}

TEST_F(GameAppTest, TheRootBoardLoadsTheLevel)
{
    gametest::WriteGameContent(*run->data);
    run->WriteProfiles(ProfilesXml(0, 7));
    ASSERT_EQ(run->Start(), HV_OK);
    GameWindow* board = run->Board();
    ASSERT_NE(board, nullptr);
    const layer::RectHitLayer* hit = board->GetRootHitLayer();
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->GetX(), -10000.0f);
    EXPECT_EQ(hit->GetY(), -10000.0f);
    EXPECT_EQ(hit->GetWidth(), 20000.0f);
    EXPECT_EQ(hit->GetHeight(), 20000.0f);
    NQMap* map = run->Map();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->mEconomy->mGems, 7);
    EXPECT_EQ(CountCalls("HUD.ShowSplashScreens"), 1);
    EXPECT_EQ(map->mScreenState, screen::kSplashScreens);
    ASSERT_NE(map->mSpellEmitter, nullptr);
    ASSERT_NE(map->mButtonEmitter, nullptr);
    EXPECT_EQ(map->mSpellEmitter->mState, 1);
    EXPECT_EQ(map->mButtonEmitter->mState, 1);
    const float* play = gametest::RecordingHud::Buttons()[3].rect; // "play_btn_ac"
    EXPECT_EQ(map->mButtonEmitter->GetPosition(),
              (std::array<float, 2>{play[0] + play[2] * 0.5f, play[1] + play[3] * 0.5f}));
    // The fonts the start needs are loaded for the board.
    const auto font = board->GetFont(L"nq/data/fonts/main_42_3");
    EXPECT_TRUE(font && font->IsLoaded());
    EXPECT_EQ(run->Frame(), HV_OK);
}

TEST_F(GameAppTest, WithOnlyTheDataItCannotDoWithoutTheGameStillStarts)
{
    gametest::WriteGameContent(*run->data, {.sides = false, .loading = false, .mobShader = false});
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_NE(run->Map(), nullptr);
    EXPECT_EQ(run->game->mLeftSide, nullptr);
    EXPECT_EQ(run->game->mLoading, nullptr);
    ASSERT_EQ(run->Frame(), HV_OK);
    run->Map()->mScreenState = screen::kLevelSelect;
    run->Map()->StartLevel();
    EXPECT_EQ(run->Frame(), HV_OK);
}

// Decoder blocks kept from the start-up pictures go back once the game has started.
TEST_F(GameAppTest, TheStartGivesTheDecoderBlocksBack)
{
    constexpr size_t kBlock = size_t(4) << 20;
    gametest::WriteGameContent(*run->data);
    psdr_mem_free(psdr_mem_alloc_unset(kBlock));
    ASSERT_GE(psdr_cache_current().bytes, kBlock);
    ASSERT_EQ(run->Start(), HV_OK);
    EXPECT_EQ(psdr_cache_current().bytes, 0u);
}

// Each file the game cannot start without, missing or unreadable in turn:
// the start fails with exit code 1 and the application stopped, the log and
// an error box name the file and the data folder.
TEST_F(GameAppTest, DamagedRequiredDataStopsTheStartAndNamesTheFile)
{
    struct Case
    {
        const char* what;
        std::function<void(const gametest::DataRoot&)> damage;
        const wchar_t* file;
    };
    const auto remove = [](const char* path) {
        return [path](const gametest::DataRoot& data) { std::filesystem::remove(data.Folder().File(path)); };
    };
    const std::vector<Case> cases = {
        {"strings file missing", remove("nq/strings_en.csv"), L"nq/strings_en.csv"},
        {"strings file empty", [](const gametest::DataRoot& data) { data.Write("nq/strings_en.csv", ""); },
         L"nq/strings_en.csv"},
        {"particle library missing", remove("nq/fx/fx2.ptc"), L"nq/fx/fx2.ptc"},
        {"particle library unreadable", [](const gametest::DataRoot& data) { data.Write("nq/fx/fx2.ptc", "x"); },
         L"nq/fx/fx2.ptc"},
        {"first font missing", remove("nq/data/fonts/main_32_1.fnt"), L"nq/data/fonts/main_32_1"},
        {"the fonts' page missing", remove("nq/data/fonts/page0.png"), L"nq/data/fonts/main_32_1"},
        {"HUD layout missing",
         [](const gametest::DataRoot& data) { std::filesystem::remove_all(data.Folder().File("nq/ui")); }, L"nq/ui"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        run.reset();
        run = std::make_unique<gametest::GameRun>();
        gametest::WriteGameContent(*run->data);
        gametest::WriteRequiredData(*run->data);
        c.damage(*run->data);
        run->requiredData = false;
        std::vector<std::pair<std::wstring, UINT>> boxes;
        win32::testing::SetMessageBoxHook(
            [&boxes](const std::wstring& text, const std::wstring&, UINT type) { boxes.emplace_back(text, type); });
        hvtest::CaptureLog();
        EXPECT_NE(run->Start(), HV_OK);
        win32::testing::SetMessageBoxHook(nullptr);
        EXPECT_EQ(run->game->mExitCode, 1);
        EXPECT_TRUE(run->game->mStopRequested);
        const std::wstring text = std::wstring(L"The game's data are damaged or incomplete: ") + c.file +
                                  L". Reinstall the game.\n\nData folder: " +
                                  std::filesystem::canonical(run->data->Folder().Folder()).wstring();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].first, text);
        EXPECT_EQ(boxes[0].second & MB_ICONERROR, MB_ICONERROR);
        EXPECT_EQ(hvtest::CountLogLinesWith(text), 1);
    }
}

struct RouteCase
{
    bool overlay;
    const char* event;
    int button;
    // What the overlay saw, in order; empty for nothing.
    std::vector<std::string> overlayCalls;
    // Whether the pointer position is stored.
    bool stores;
};

TEST_F(GameAppTest, PointerEventsGoToTheFirstOverlay)
{
    ASSERT_EQ(run->Start(), HV_OK);
    GameWindow* board = run->Board();
    const std::vector<RouteCase> cases = {
        {true, "down", 1, {"OnMouseDown 0,12", "OnMouseMove 0,12"}, false},
        {true, "down", 2, {}, false},
        {true, "up", 1, {"OnMouseUp 0,12"}, false},
        {true, "up", 2, {"OnMouseUp 0,12"}, false},
        {true, "move", 0, {"OnMouseMove 0,12"}, true},
        {true, "drag", 0, {"OnMouseMove 0,12"}, false},
        {false, "move", 0, {}, true},
        {false, "drag", 0, {}, false},
    };
    const math::Vector3 point{-0.7f, 12.9f, 0.0f};
    for (const RouteCase& c : cases)
    {
        const math::Vector3 away{300.0f, 200.0f, 0.0f};
        board->OnWidgetMouseMove(away);
        RecordingWindow* overlay = c.overlay ? new RecordingWindow("overlay") : nullptr;
        board->SetConfirmOverlay(overlay);
        gametest::CallLog().clear();
        const std::string event = c.event;
        if (event == "down")
            board->OnWidgetMouseDown(point, c.button);
        else if (event == "up")
            board->OnWidgetMouseUp(point, c.button);
        else if (event == "move")
            board->OnWidgetMouseMove(point);
        else
            board->OnWidgetMouseDrag(point);
        std::vector<std::string> seen;
        for (const auto& call : gametest::CallsStarting("Window.overlay."))
            seen.push_back(call.call.substr(std::string("Window.overlay.").size()));
        EXPECT_EQ(seen, c.overlayCalls) << c.overlay << " " << c.event << " " << c.button;
        EXPECT_EQ(board->GetPointerX(), c.stores ? 0 : 300) << c.event;
        EXPECT_EQ(board->GetPointerY(), c.stores ? 12 : 200) << c.event;
    }
    board->SetConfirmOverlay(nullptr);
}

TEST_F(GameAppTest, OverlaysAreDeletedWhenTheyDieOrAreReplaced)
{
    ASSERT_EQ(run->Start(), HV_OK);
    GameWindow* board = run->Board();
    RecordingWindow::sDestroyed = 0;
    auto* first = new RecordingWindow("first");
    board->SetConfirmOverlay(first);
    board->SetConfirmOverlay(new RecordingWindow("second"));
    EXPECT_EQ(RecordingWindow::sDestroyed, 1);
    EXPECT_EQ(CountCalls("Window.first.~Window"), 1);

    auto* banner = new RecordingWindow("banner");
    board->SetBannerOverlay(banner);
    board->Update(0.016f);
    EXPECT_EQ(banner->Count("Update"), 1);
    banner->SetAlive(false);
    gametest::CallLog().clear();
    board->Update(0.016f);
    EXPECT_EQ(board->GetOverlay(GameWindow::kBannerSlot), nullptr);
    EXPECT_EQ(CountCalls("Window.banner.~Window"), 1);
    EXPECT_EQ(CountCalls("Window.banner.Update"), 0);
    EXPECT_EQ(RecordingWindow::sDestroyed, 2);
}

struct KeyCase
{
    int key;
    bool developerKeys;
    NQScreenState state;
    std::function<void(NQMap*)> check;
};

TEST_F(GameAppTest, DeveloperKeysActOnlyWhenAllowedWhilePlaying)
{
    run->WriteProfiles(ProfilesXml(0, 5));
    ASSERT_EQ(run->Start(), HV_OK);
    Game* game = run->game;
    NQMap* map = run->Map();
    const auto untouched = [](NQMap* m) {
        EXPECT_EQ(m->mDebugFlags[0], 0);
        EXPECT_EQ(m->mDebugFlags[2], 0);
        EXPECT_EQ(m->mEconomy->mGems, 5);
        EXPECT_EQ(m->mEconomy->mGold, 0);
        EXPECT_EQ(m->mLives, 0.0f);
    };
    const std::vector<KeyCase> cases = {
        {'1', false, screen::kPlaying, untouched},
        {'c', false, screen::kPlaying, untouched},
        {'c', true, screen::kMainMenu, untouched},
        {'m', true, screen::kIngameMenu, untouched},
        {'1', true, screen::kPlaying, [](NQMap* m) { EXPECT_EQ(m->mDebugFlags[0], 1); }},
        {'3', true, screen::kPlaying, [](NQMap* m) { EXPECT_EQ(m->mDebugFlags[2], 1); }},
        {'4', true, screen::kPlaying, [](NQMap*) { EXPECT_EQ(CountCalls("HUD.ResetSpellCooldowns"), 1); }},
        {'c', true, screen::kPlaying, [](NQMap* m) { EXPECT_EQ(m->mEconomy->mGems, 105); }},
        {'h', true, screen::kPlaying,
         [](NQMap* m) {
             EXPECT_EQ(m->mLives, 100.0f);
             EXPECT_EQ(m->mMaxLives, 100.0f);
         }},
        {'m', true, screen::kPlaying, [](NQMap* m) { EXPECT_EQ(m->mEconomy->mGold, 1000); }},
        {'r', true, screen::kPlaying,
         [](NQMap* m) {
             EXPECT_EQ(m->mScreenState, screen::kPlaying);
             EXPECT_EQ(m->mSpeed, 1.0f);
             EXPECT_EQ(m->mLives, 25.0f);
             EXPECT_EQ(CountCalls("HUD.CloseTopWindow") + CountCalls("Tutorial.ResetUnfinishedSteps"), 1);
         }},
    };
    for (const KeyCase& c : cases)
    {
        map->mDebugFlags[0] = map->mDebugFlags[2] = 0;
        map->mEconomy->mGems = 5;
        map->mEconomy->mGold = 0;
        map->mLives = map->mMaxLives = 0.0f;
        map->mSpeed = 0.5f;
        map->mDeveloperKeys = c.developerKeys;
        map->mScreenState = c.state;
        gametest::CallLog().clear();
        EXPECT_EQ(game->OnKeyDown(c.key), HV_OK);
        EXPECT_EQ(CountCalls("HUD.OnKeyDown " + std::to_string(c.key)), 1) << char(c.key);
        SCOPED_TRACE(std::string("key ") + char(c.key));
        c.check(map);
    }
    // The gems reached the profile at once.
    EXPECT_NE(run->ProfilesText().find("<gems amount=\"105\"/>"), std::string::npos) << run->ProfilesText();
}

TEST_F(GameAppTest, KeysAndCharactersGoStraightToTheBoard)
{
    ASSERT_EQ(run->Start(), HV_OK);
    gametest::CallLog().clear();
    EXPECT_EQ(run->game->OnChar(U'x'), HV_OK);
    EXPECT_EQ(run->game->OnKeyUp('x'), HV_OK);
    EXPECT_EQ(CountCalls("HUD.OnChar 120"), 1);
}

TEST_F(GameAppTest, LosingFocusPausesOnlyARunningLevel)
{
    ASSERT_EQ(run->Start(), HV_OK);
    NQMap* map = run->Map();
    map->mScreenState = screen::kMainMenu;
    run->game->OnDeactivate();
    EXPECT_EQ(map->mScreenState, screen::kMainMenu);
    EXPECT_EQ(map->mSpeed, 1.0f);
    run->game->OnActivate();
    map->mScreenState = screen::kPlaying;
    run->game->OnDeactivate();
    EXPECT_EQ(map->mScreenState, screen::kIngameMenu);
    EXPECT_EQ(map->mSpeed, 0.0f);
    EXPECT_EQ(CountCalls("HUD.PushWindow"), 1);
}

TEST_F(GameAppTest, ALevelStartShowsTheBannerAndARestartReplacesIt)
{
    ASSERT_EQ(run->Start(), HV_OK);
    GameWindow* board = run->Board();
    RecordingWindow::sDestroyed = 0;
    board->SetBannerOverlay(new RecordingWindow("old banner"));
    run->Map()->StartLevel();
    EXPECT_EQ(RecordingWindow::sDestroyed, 1);
    HUDWindow* banner = board->GetOverlay(GameWindow::kBannerSlot);
    ASSERT_NE(dynamic_cast<HUDLevelName*>(banner), nullptr);
    board->Update(1.0f);
    run->Map()->ResetLevel();
    HUDWindow* second = board->GetOverlay(GameWindow::kBannerSlot);
    ASSERT_NE(dynamic_cast<HUDLevelName*>(second), nullptr);
    EXPECT_NE(second, banner);
    // The banner lets go of itself after its fade in, hold and fade out.
    board->Update(0.6f);
    board->Update(2.1f);
    EXPECT_EQ(board->GetOverlay(GameWindow::kBannerSlot), second);
    board->Update(0.6f);
    board->Update(0.016f);
    EXPECT_EQ(board->GetOverlay(GameWindow::kBannerSlot), nullptr);
}

TEST_F(GameAppTest, PackModeSurvivesKeysSwitchesAndBars)
{
    gametest::GameRun::SupplyMonitor(1280, 1024, 1024);
    run->data->Write("nq/a.txt", "packed");
    ASSERT_EQ(run->Start({L"--pack", L"folder"}), HV_OK);
    EXPECT_EQ(Game::GetMap(), nullptr);
    EXPECT_EQ(run->game->GetRootBoard(), nullptr);
    EXPECT_EQ(run->game->OnKeyDown('c'), HV_OK);
    EXPECT_EQ(run->game->OnChar(U'c'), HV_OK);
    EXPECT_EQ(run->game->OnKeyUp('c'), HV_OK);
    run->game->OnDeactivate();
    EXPECT_EQ(run->game->SwitchScreenMode(), HV_OK);
    EXPECT_EQ(run->game->SwitchScreenMode(), HV_OK);
    ASSERT_TRUE(run->game->mBarsActive);
    EXPECT_EQ(run->Frame(), HV_OK);
    EXPECT_TRUE(run->data->Has("data.dat"));
    run->Teardown();
    EXPECT_EQ(run->ProfilesText().find("<fs"), std::string::npos) << run->ProfilesText();
}

TEST_F(GameAppTest, TeardownLeavesNoLevelBehind)
{
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_EQ(run->Frame(), HV_OK); // the frame manager holds the board now
    const void* key = run->Map();
    run->Teardown();
    EXPECT_EQ(Game::GetMap(), nullptr);
    EXPECT_EQ(CountCalls("HUD.~HUD"), 1);
    EXPECT_FALSE(purchase::GetListenerTable()[key]);
}

TEST_F(GameAppTest, AGameGoneBeforeItsFirstFrameTakesItsBoardAlong)
{
    ASSERT_EQ(run->Start(), HV_OK);
    const void* key = run->Map();
    ASSERT_NE(key, nullptr);
    run->Teardown();
    EXPECT_EQ(Game::GetMap(), nullptr);
    EXPECT_EQ(CountCalls("HUD.~HUD"), 1);
    EXPECT_FALSE(purchase::GetListenerTable()[key]);
}
} // namespace
