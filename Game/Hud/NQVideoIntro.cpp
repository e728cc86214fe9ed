#include "Game/Hud/NQVideoIntro.h"

#include "Core/Base/Result.h"
#include "Core/Math/Transform2D.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Sound/SoundTags.h"
#include "Core/Video/TheoraVideo.h"
#include "Framework/GameApplication.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQMap.h"

namespace
{
constexpr int kOpenFailed = 1;
} // namespace

NQVideoIntro::NQVideoIntro() = default;

NQVideoIntro::~NQVideoIntro()
{
    DeletePlayer();
    // The frame picture made its texture itself: deleting it releases both.
    if (mFrame)
    {
        mFrame->Release();
        delete mFrame;
        mFrame = nullptr;
    }
}

void NQVideoIntro::DeletePlayer()
{
    if (!mPlayer)
        return;
    mPlayer->Close();
    delete mPlayer;
    mPlayer = nullptr;
}

void NQVideoIntro::Start(render::Graphics* graphics)
{
    mPlayer = new video::TheoraVideo(this);
    if (mPlayer->Open(kVideo) == kOpenFailed)
    {
        DeletePlayer();
        mAlive = 0;
        return;
    }
    render::Render* renderer = graphics ? graphics->GetRender() : nullptr;
    if (!renderer || renderer->CreateDynamicTexture(mPlayer->GetWidth(), mPlayer->GetHeight(), &mFrame) != HV_OK ||
        !mFrame)
    {
        mFrame = nullptr;
        DeletePlayer();
        mAlive = 0;
        return;
    }
    k2::SoundTags::Instance()->PlayMusic(kSoundtrack);
    mStarted = 1;
}

void NQVideoIntro::Draw(render::Graphics* graphics)
{
    if (!mAlive || !graphics)
        return;
    if (!mStarted)
    {
        Start(graphics);
        return;
    }
    if (!mFrame || mFrame->GetHeight() == 0)
        return;
    const framework::GameApplication* application = framework::GameApplication::Current();
    const framework::GameApplication::Rect screen =
        application ? application->GetLogicalScreenRect() : framework::GameApplication::Rect{};
    // Full height, aspect kept: wider or narrower videos leave bars or are cut at the sides.
    const float scale = screen.height / float(mFrame->GetHeight());
    const float width = float(mFrame->GetWidth()) * scale;
    const float height = float(mFrame->GetHeight()) * scale;
    math::Transform2D transform;
    transform.Scale(scale, scale);
    transform.Translate(screen.x + (screen.width - width) * 0.5f, screen.y + (screen.height - height) * 0.5f);
    auto record = graphics->DrawImage(*mFrame).Transform(transform);
}

void NQVideoIntro::Update(float dt)
{
    if (!mAlive || !mStarted || !mPlayer)
        return;
    // The player may finish inside and delete itself through OnVideoFinished:
    // nothing of it or of this window's player is touched after the call.
    mPlayer->Update(dt, mFrame);
}

void NQVideoIntro::OnVideoFinished(video::TheoraVideo* player)
{
    if (player == mPlayer)
        DeletePlayer();
    mAlive = 0;
}

void NQVideoIntro::OnClose()
{
    if (NQMap* map = Game::GetMap(); map && map->mHud)
        map->mHud->ShowMainMenu();
}

std::wstring NQVideoIntro::Click(int, int)
{
    return L"done";
}
