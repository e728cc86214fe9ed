#pragma once

// A HUD that records every call in the shared call log and answers from
// tables, never reaching the real front end: the eight speed and option
// buttons as button frames, Click and HitTest from named rectangles, the
// window stack with its push, close and pending rules, and the Show
// operations' effects on the running level.
#include "Game/Hud/HUD.h"

#include <string>
#include <vector>

namespace gametest
{
class RecordingHud : public HUD
{
public:
    struct Target
    {
        std::wstring name;
        int index = -1;
        float rect[4] = {0, 0, 0, 0};
    };
    struct ButtonPlace
    {
        const wchar_t* name;
        float rect[4];
    };
    // The plain buttons and their lit twins, each twin over its button.
    static const std::vector<ButtonPlace>& Buttons();

    // With the eight buttons; without them when `withButtons` is false.
    explicit RecordingHud(bool withButtons = true);
    ~RecordingHud() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    // The frame time of the last update; -1 before the first.
    float lastUpdateDt = -1.0f;
    void Refresh() override;
    void OnClose() override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    void OnMouseWheel(int delta) override;
    void OnChar(int character) override;
    void OnKeyDown(int key) override;
    // Edges included, first target first.
    int HitTest(int x, int y) override;
    std::wstring Click(int x, int y) override;

    void AddSpellButton(int32_t slot) override;
    void PushWindow(HUDWindow* window) override;
    void CloseTopWindow() override;
    void RefreshTopWindow() override;
    void DrawWindows(render::Graphics* graphics, int layer) override;
    void ResetSpellCooldowns() override;
    void NextLevel() override;
    void UpdateGoldText() override;
    void UpdateGemsText() override;
    void UpdateLivesText() override;
    void UpdateWavesText() override;
    void ShowSplashScreens() override;
    void ShowVideoIntro() override;
    void ShowMainMenu() override;
    void ShowProfiles() override;
    void ShowModalInput() override;
    void ShowEpisodeSelect() override;
    void ShowLevelSelect() override;
    void ShowShop(bool fromLevel) override;
    void ShowGemShop(const std::wstring& returnTo) override;
    void ShowUnlockMessage(const std::vector<int32_t>& ids) override;
    void ShowModalMessage(const std::wstring& caption, const std::wstring& message, int32_t returnState) override;
    void ShowModalDialog(const std::wstring& caption, const std::wstring& message, int32_t dialogId) override;

    // Whether the named button exists and is enabled (shown).
    bool IsEnabled(const std::wstring& name) const;

    std::vector<Target> targets;
    std::vector<int32_t> lastUnlocks;
};
} // namespace gametest
