#pragma once

#include "Game/Hud/HUDWindow.h"

#include <string>
#include <vector>

namespace render
{
class Image;
}

// The logos of "logo/logo.ini", one after another, each fading in from black,
// holding and fading out; a press skips to the next. The first window of the
// run; its close opens the intro video.
class NQSplashScreens : public HUDWindow
{
public:
    static constexpr const wchar_t* kListFile = L"logo/logo.ini";
    static constexpr const wchar_t* kFolder = L"logo/";

    struct Logo
    {
        enum Phase
        {
            kFadeIn = 0,
            kHold = 1,
            kFadeOut = 2,
            kDone = 3,
        };
        static constexpr float kFadeInTime = 0.5f;
        static constexpr float kHoldTime = 1.5f;
        static constexpr float kFadeOutTime = 0.5f;

        // Strict thresholds; the overshoot is dropped.
        void Update(float dt);

        render::Image* picture = nullptr; // owned
        int phase = kFadeIn;
        float timer = 0.0f;
    };

    NQSplashScreens();
    ~NQSplashScreens() override;

    // The picture names of a logo list's text, in order ("studio", "engine").
    static std::vector<std::string> ParseLogoList(const std::string& text);

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void OnClose() override;
    std::wstring Click(int x, int y) override;

    std::vector<Logo*> mLogos;
    int mCurrent = 0;
};
