#include "Game/Game.h"

#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/Profiles.h"
#include "Core/Math/Transform2D.h"
#include "Core/Render/DrawImageParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/PictureDecodePool.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderState.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Sound/SoundTags.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQResources.h"
#include "Game/Data/ProfileName.h"
#include "Game/Data/ReleasePicture.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/NQSplashScreens.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Level/NQMap.h"
#include "Game/NQPlayerVolumes.h"
#include "Game/RequiredData.h"
#include "Game/StartupFrames.h"
#include "Game/StartupPictures.h"
#include "Platform/Win32/Clock.h"
#include "Platform/Win32/MessageBox.h"
#include "Psd/PsdTypes.h"

#include <tinyxml2.h>

#include <filesystem>
#include <utility>

namespace
{
constexpr uint32_t kLogicalWidth = 1024;
constexpr uint32_t kLogicalHeight = 768;
constexpr uint32_t kMaxLogicalWidth = 1366;
// Where the side pictures meet the 1024-wide play area.
constexpr float kLeftSideEdge = 1.0f;
constexpr float kRightSideEdge = 1023.0f;
constexpr float kBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr int kClearColour = 1;
// Anchors of the draw records.
constexpr int kAnchorStart = 0;
constexpr int kAnchorEnd = 1;
constexpr int kAnchorCentre = 2;
// The strings may be what is damaged, so the box's caption is fixed.
constexpr const wchar_t* kDamagedDataCaption = L"Bramblecoat Wars";
constexpr int kDamagedDataExitCode = 1;

// The performance counter, as the frame timer reads it: the start-up's logo
// time and the frames' time run on one clock.
double CounterSeconds()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// The menu screens whose pillarbox bars show the side pictures.
bool ShowsSidePictures(NQScreenState state)
{
    return state == screen::kEpisodeSelect || state == screen::kLevelSelect || state == screen::kShop ||
           state == screen::kModalMessage;
}

// Draws the picture scaled by s with the anchor at (x, y).
void DrawAnchored(render::Graphics* graphics, const render::Image& picture, int anchorX, float s, float x, float y)
{
    math::Transform2D placement;
    placement.Scale(s, s);
    placement.Translate(x, y);
    auto record = graphics->DrawImage(picture);
    record->SetAnchor(anchorX, kAnchorStart);
    auto placed = record.Transform(placement);
}
} // namespace

Game::Game() : Game(LevelHudFactory([] { return new HUD; }), LevelSource()) {}

Game::Game(LevelHudFactory makeHud) : Game(std::move(makeHud), LevelSource()) {}

Game::Game(LevelSource level) : Game(LevelHudFactory([] { return new HUD; }), std::move(level)) {}

Game::Game(LevelHudFactory makeHud, LevelSource level)
    : mMakeHud(std::move(makeHud)), mLevelSource(std::move(level))
{
    mLogicalWidth = kLogicalWidth;
    mLogicalHeight = kLogicalHeight;
    mMaxLogicalWidth = kMaxLogicalWidth;
    mPublisher = L"Brenik";
    mTitle = L"BramblecoatWars";
    if (!mLevelSource)
        mLevelSource = [this] { return mGameWindow ? mGameWindow->GetLevel() : nullptr; };
    sGame = this;
}

Game::~Game()
{
    // Nothing may read the level's volumes while it goes.
    k2::SoundTags::Instance()->SetPlayerVolumes(nullptr);
    delete mVolumes;
    mVolumes = nullptr;

    render::ParticleSystem::Instance()->ReleaseTextures();
    // The frame manager opens the root board only at the next frame: before
    // it, the board is the game's to delete.
    const bool boardOpen = mFrameManager && mRootBoard && mFrameManager->FindFrame(mRootBoard) >= 0;
    if (mRootBoard && !boardOpen)
    {
        delete mRootBoard;
        mRootBoard = nullptr;
    }
    if (mFrameManager)
        mFrameManager->CloseAll(true, false);
    mRootBoard = nullptr;
    mGameWindow = nullptr;

    ReleasePicture(mLoading);
    ReleasePicture(mLeftSide);
    ReleasePicture(mRightSide);
    mMobShader.Reset();
    if (sGame == this)
        sGame = nullptr;
}

NQMap* Game::GetMap()
{
    return sGame && sGame->mLevelSource ? sGame->mLevelSource() : nullptr;
}

HVResultEnum Game::Configure()
{
    file::FileManager::Instance()->mountTable[L"nq/"] = L"data.dat";
    mCaption = LocalStrings::Instance()->Get(L"game_caption");
    file::Profiles* profiles = file::Profiles::Instance();
    profiles->SetNameRule(&profilename::Fit);
    profiles->Load();

    // Full screen unless the profile asks for a window.
    mWindowed = 0;
    tinyxml2::XMLElement* profile = profiles->GetCurrentProfile();
    if (const tinyxml2::XMLElement* fs = profile ? profile->FirstChildElement("fs") : nullptr)
    {
        bool fullScreen = false;
        fs->QueryBoolAttribute("v", &fullScreen); // missing or not a boolean: false
        mWindowed = fullScreen ? 0 : 1;
    }
    // Decoded while the window and the renderer are made; the pack builder needs none.
    if (mArguments.empty() || mArguments[0] != L"--pack")
        mStartupPictures = startup::DecodeStartupPicturesAhead();
    return HV_OK;
}

HVResultEnum Game::InitGame()
{
    // The first logo shows at once and fades in while the rest loads; the
    // HUD goes on with it.
    mRender->SetDecodePool(mStartupPictures.get());
    mStartupSplash = std::make_unique<NQSplashScreens>();
    StartupFrames frames(&CounterSeconds, [this](float dt) { ShowStartupFrame(dt); });
    frames.Tick();
    mRender->SetLoadTick([&frames] { frames.Tick(); });
    const HVResultEnum result = LoadGame();
    mRender->SetLoadTick(nullptr);
    // Not taken (a HUD of its own in tests, a failed start): no longer shown.
    mStartupSplash.reset();
    return result;
}

HVResultEnum Game::LoadGame()
{
    resource::ResourceHandle<TMobShader> shader = resource::ResourceManager::Instance()->Get<TMobShader>(kMobShaderName);
    if (shader && shader->SetRender(mRender) == HV_OK && shader->Load() == HV_OK)
        mMobShader = shader;

    // Without the container there is nothing to load the sides from.
    if (file::ImageContainer* sides = file::FileManager::Instance()->OpenImageContainer(startup::kSidesPath))
    {
        mLeftSide = LoadImage(startup::kSides[0], sides);
        mRightSide = LoadImage(startup::kSides[1], sides);
        delete sides;
    }
    mLoading = LoadImage(startup::kLoadingPath, nullptr);

    mVolumes = new NQPlayerVolumes;
    k2::SoundTags::Instance()->SetPlayerVolumes(mVolumes);

    // Set first: what the board's Load creates reaches the board through the game.
    mGameWindow = new GameWindow(mMakeHud);
    SetRootBoard(mGameWindow);
    // The level object has its sprites: what is left undecoded goes, the threads end.
    mRender->SetDecodePool(nullptr);
    mStartupPictures.reset();
    // The level's teardown, inside the game's, still uses these.
    AddDependency(this, k2::SoundTags::Instance());
    AddDependency(this, render::ParticleSystem::Instance());
    AddDependency(this, NQResources::Instance());
    AddDependency(this, file::Profiles::Instance());

    // The start-up pictures are loaded: the decoder's kept blocks go back.
    psdr_release_cache();
    const std::wstring damaged = FindDamagedGameData(*mGameWindow);
    if (!damaged.empty())
        return StopOnDamagedData(damaged);
    return HV_OK;
}

void Game::ShowStartupFrame(float dt)
{
    if (!mStartupSplash || !mRender->CheckDeviceReady() || mRender->IsInFrame())
        return;
    // The first logo fades in and then waits for the loading: the logos that
    // follow, and the first one's hold, run once the game is loaded.
    const bool firstLogoHolds = mStartupSplash->mCurrent == 0 && !mStartupSplash->mLogos.empty() &&
                                mStartupSplash->mLogos[0]->phase == NQSplashScreens::Logo::kHold;
    if (!firstLogoHolds)
        mStartupSplash->Update(dt);
    DrawFrame([this](render::Graphics* screen) {
        screen->SetBlendMode(render::kBlendAlpha);
        mStartupSplash->Draw(screen);
        return HV_OK;
    });
}

std::unique_ptr<NQSplashScreens> Game::TakeStartupSplash()
{
    return std::move(mStartupSplash);
}

HVResultEnum Game::StopOnDamagedData(const std::wstring& name)
{
    // The data root is the current folder since the start.
    std::error_code error;
    const std::wstring folder = base::Utf8ToWide(std::filesystem::current_path(error).string());
    const std::wstring message = DamagedDataMessage(name, folder);
    HV_LOG(L"%s\n") % message;
    mShowMessageBox(message, kDamagedDataCaption, MB_OK | MB_ICONERROR);
    // Without the stop the loop would run on, a black window.
    mExitCode = kDamagedDataExitCode;
    Stop();
    return HV_FAIL;
}

HVResultEnum Game::UpdateGame(float)
{
    return HV_OK;
}

HVResultEnum Game::DrawBars(render::Graphics* graphics)
{
    // No level (pack builder) or no left picture: plain bars.
    if (!mGameWindow || !mLeftSide)
        return GameApplication::DrawBars(graphics);
    const NQMap* map = GetMap();
    if (!map || !ShowsSidePictures(map->mScreenState))
        return HV_OK;
    if (!mBarsVertical)
        return GameApplication::DrawBars(graphics);

    const Rect& left = mBars[0];
    const Rect& right = mBars[1];
    const float s = left.height / float(mLeftSide->GetHeight());
    DrawAnchored(graphics, *mLeftSide, kAnchorEnd, s, left.x + left.width, left.y);
    if (mRightSide)
        DrawAnchored(graphics, *mRightSide, kAnchorStart, s, right.x, right.y);
    return HV_OK;
}

void Game::DrawSideImages(render::Graphics* graphics)
{
    render::Image* scaleFrom = mLeftSide ? mLeftSide : mRightSide;
    if (!scaleFrom)
        return;
    const float s = float(kLogicalHeight) / float(scaleFrom->GetHeight());
    if (mLeftSide)
        DrawAnchored(graphics, *mLeftSide, kAnchorEnd, s, kLeftSideEdge, 0.0f);
    if (mRightSide)
        DrawAnchored(graphics, *mRightSide, kAnchorStart, s, kRightSideEdge, 0.0f);
}

HVResultEnum Game::ShowLoadingScreen()
{
    if (!mRender || !mRender->CheckDeviceReady())
        return HV_OK; // nothing can be shown now
    HVResultEnum result = mRender->BeginFrame();
    if (result != HV_OK)
        return result;
    {
        render::Graphics screen(mRender);
        result = HVResultEnum(screen.Clear(kClearColour, kBlack, 1.0f, 0));
        if (result != HV_OK)
            return result;
        if (mLoading && mTarget)
        {
            math::Transform2D placement;
            placement.Scale(mTargetDrawScaleX, mTargetDrawScaleY);
            placement.Translate(mTargetDrawX, mTargetDrawY);
            auto record = screen.DrawImage(*mLoading);
            record->SetAnchor(kAnchorCentre, kAnchorCentre);
            auto placed = record.Transform(placement);
        }
        else if (mLoading)
        {
            screen.DrawImage(*mLoading);
        }
    }
    result = mRender->EndFrame();
    if (result != HV_OK)
        return result;
    result = mRender->Present();
    if (result != HV_OK)
        return result;
    return mRender->ExecuteCommands();
}

void Game::OnActivate()
{
    SoundSystem::Instance()->ResumeAll();
}

void Game::OnDeactivate()
{
    SoundSystem::Instance()->PauseAll();
    if (NQMap* map = GetMap())
        map->PauseIfPlaying();
}

HVResultEnum Game::SwitchScreenMode()
{
    const bool wasWindowed = IsWindowed();
    const HVResultEnum result = GameApplication::SwitchScreenMode();
    if (result != HV_OK)
        return result;
    NQMap* map = GetMap();
    // The pack builder has no level and no record to write.
    if (IsWindowed() != wasWindowed && map && map->mProgress)
        map->mProgress->SetFullscreen(!IsWindowed());
    return HV_OK;
}

HVResultEnum Game::OnScreenModeKey()
{
    // Full screen on a desktop too small for the window: the switch would do
    // nothing, so say why, as the options dialog does.
    if (IsWindowed() || !WindowDoesNotFitWorkArea())
        return SwitchScreenMode();
    if (!mFrameManager)
        return HV_OK;
    for (const widget::FrameManager::StackEntry& entry : mFrameManager->GetStack())
        if (auto* box = dynamic_cast<TMessageBox*>(entry.mFrame); box && box->mMessageKey == TMessageBox::kWindowTooLarge)
            return HV_OK; // already told
    auto* box = new TMessageBox(TMessageBox::kWindowTooLarge, L"");
    box->Load();
    mFrameManager->PushDialog(box, true);
    return HV_OK;
}

HVResultEnum Game::OnKeyDown(int key)
{
    if (!mGameWindow)
        return GameApplication::OnKeyDown(key);
    return mGameWindow->OnKeyDown(key);
}

HVResultEnum Game::OnKeyUp(int key)
{
    if (!mGameWindow)
        return GameApplication::OnKeyUp(key);
    return mGameWindow->OnKeyUp(key);
}

HVResultEnum Game::OnChar(char32_t character)
{
    if (!mGameWindow)
        return GameApplication::OnChar(character);
    return mGameWindow->OnChar(wchar_t(character));
}

void Game::OnRootBoardDeleted(GameWindow* board)
{
    if (mGameWindow == board)
        mGameWindow = nullptr;
}
