#include "GameFixture.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Framework/GameWindow.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQMap.h"
#include "LevelFixture.h"
#include "Platform/D3D9/TestSupport.h"
#include "Platform/Win32/Monitors.h"
#include "support/ApplicationFactory.h"
#include "support/HlslSamples.h"

namespace gametest
{
namespace
{
constexpr int kSideWidth = 100;
constexpr int kSideHeight = 200;
constexpr int kLoadingWidth = 1024;
constexpr int kLoadingHeight = 768;
constexpr float kFrameTime = 0.016f;

std::string UserFolderPart()
{
    return "Brenik/BramblecoatWars/profiles.xml";
}
} // namespace

void WriteGameContent(const DataRoot& data, const GameContent& content)
{
    if (content.sides)
        data.WriteLayeredImage("nq/data/sides", {{"l", 0, 0, kSideWidth, kSideHeight, kSideLeftColour},
                                                 {"r", 0, 0, kSideWidth, kSideHeight, kSideRightColour}});
    if (content.loading)
        data.Write("nq/data/loading.png", SolidPng(kLoadingWidth, kLoadingHeight, kLoadingColour));
    if (content.mobShader)
    {
        data.Write("nq/Shaders/MobShader/DX/VS.hlsl", hlsl::kTexturedVs);
        data.Write("nq/Shaders/MobShader/DX/PS.hlsl", hlsl::kEnemyPs);
    }
    if (content.particles)
        data.Write("nq/fx/fx2.ptc", ActiveEffectsLibrary());
}

void WriteRequiredData(const DataRoot& data)
{
    const std::string strings = base::WideToUtf8(LocalStrings::kFileName);
    if (!data.Has(strings))
        data.Write(strings, "fixture;fixture\r\n");
    if (!data.Has("nq/fx/fx2.ptc"))
        data.Write("nq/fx/fx2.ptc", ActiveEffectsLibrary());
    for (const wchar_t* name : GameWindow::kFontNames)
    {
        const std::string font = base::WideToUtf8(name);
        if (!data.Has(font + ".fnt"))
            data.WriteFixtureFont(font);
    }
    const std::string layout = base::WideToUtf8(HUD::kLayout);
    if (!data.Has(layout + "/layers.xml"))
        data.WriteLayeredImage(layout, {});
}

GameRun::GameRun()
{
    CallLog().clear();
    base::testing::TeardownSingletonsNow();
    data = std::make_unique<DataRoot>();
    mUserEnv = std::make_unique<hvtest::ScopedEnv>("XDG_DATA_HOME", user.Folder().string());
    SupplyMonitor(1920, 1080, 1040);
    hvtest::SetApplicationFactory([] { return new Game; });
    game::testing::SetHudFactory([] { return new RecordingHud; });
    tutorial = RecordingTutorial::Install();
    sounds = std::make_unique<SoundTagRecorder>();
}

GameRun::~GameRun()
{
    Teardown();
    hvtest::SetApplicationFactory(nullptr);
    game::testing::SetHudFactory(nullptr);
    win32::SetDisplaySource(nullptr);
    d3d9test::ClearFailures();
    sounds.reset();
    mUserEnv.reset();
    data.reset();
}

void GameRun::Teardown()
{
    if (mTornDown)
        return;
    mTornDown = true;
    base::testing::TeardownSingletonsNow();
    game = nullptr;
    tutorial = nullptr;
}

void GameRun::SupplyMonitor(int w, int h, int workHeight)
{
    win32::SetDisplaySource([=] {
        win32::DisplayArea area{};
        area.bounds = {0, 0, w, h};
        area.usable = {0, h - workHeight, w, h};
        return std::vector<win32::DisplayArea>{area};
    });
}

void GameRun::WriteProfiles(const std::string& xml) const
{
    user.Write(UserFolderPart(), xml);
}

std::string GameRun::ProfilesText() const
{
    return HasProfiles() ? user.Read(UserFolderPart()) : std::string();
}

bool GameRun::HasProfiles() const
{
    return user.Has(UserFolderPart());
}

Game* GameRun::Make(const std::vector<std::wstring>& arguments)
{
    game = static_cast<Game*>(app::Application::Instance());
    game->mArguments = arguments;
    EXPECT_EQ(game->PreInit(), HV_OK);
    game->mExeFolder = data->Folder().Wide();
    return game;
}

std::vector<std::wstring> GameRun::DataRootArguments() const
{
    return {L"--data_path", data->Folder().Wide()};
}

HVResultEnum GameRun::Start()
{
    return Start(DataRootArguments());
}

HVResultEnum GameRun::Start(const std::vector<std::wstring>& arguments)
{
    if (requiredData)
        WriteRequiredData(*data);
    return Make(arguments)->Init();
}

HVResultEnum GameRun::Frame()
{
    return game->Frame(kFrameTime);
}

HVResultEnum GameRun::Pump(int updates)
{
    for (int i = 0; i < updates; ++i)
        if (const HVResultEnum result = game->mWindow->Update(kFrameTime); result != HV_OK)
            return result;
    return HV_OK;
}

bool GameRun::ReadBackBuffer()
{
    auto* render = static_cast<render::RenderDX9*>(game->mRender);
    UINT w = 0;
    UINT h = 0;
    pixels.clear();
    if (!d3d9test::ReadPixels(render->GetBackBuffer(), pixels, w, h))
        return false;
    width = w;
    height = h;
    return true;
}

uint32_t GameRun::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || uint32_t(x) >= width || uint32_t(y) >= height)
        return 0xDEADBEEFu;
    return pixels[size_t(y) * width + size_t(x)] & 0xFFFFFFu;
}

GameWindow* GameRun::Board() const
{
    return game ? game->GetRootBoard() : nullptr;
}

NQMap* GameRun::Map() const
{
    return Game::GetMap();
}

RecordingHud* GameRun::Hud() const
{
    NQMap* map = Map();
    return map ? static_cast<RecordingHud*>(map->mHud) : nullptr;
}
} // namespace gametest
