#pragma once

#include "Core/Video/TheoraVideoListener.h"
#include "Game/Hud/HUDWindow.h"

#include <cstdint>

namespace render
{
class Image;
}

// The intro video, full height with its soundtrack, between the splash
// screens and the main menu. A press skips it; its close opens the main menu.
class NQVideoIntro : public HUDWindow, public video::TheoraVideoListener
{
public:
    static constexpr const wchar_t* kVideo = L"nq/video/intro.ogv";
    static constexpr const wchar_t* kSoundtrack = L"nq/video/intro.ogg";

    NQVideoIntro();
    // The player and the frame picture with its texture.
    ~NQVideoIntro() override;

    // Opens the video, makes the frame texture of the draw context's renderer
    // and starts the soundtrack; any failure asks to close the window.
    void Start(render::Graphics* graphics);

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void OnClose() override;
    std::wstring Click(int x, int y) override;
    // Called by the player as the last thing of its update: deletes it.
    void OnVideoFinished(video::TheoraVideo* player) override;

    uint8_t mStarted = 0;
    video::TheoraVideo* mPlayer = nullptr;
    render::Image* mFrame = nullptr;

private:
    void DeletePlayer();
};
