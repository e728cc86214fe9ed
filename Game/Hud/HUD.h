#pragma once

#include "Game/Hud/HUDWindow.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}

class HUDSpellButton;
class NQMap;
class NQSpriteAnimation;

// The front end's root: the level's panel, the spell buttons and the stack
// of every other screen and window. The gameplay reaches it through the
// running level and calls it only through these virtual operations.
class HUD : public HUDWindow
{
public:
    // The backdrop that dims the level behind open windows.
    enum BackdropState
    {
        kBackdropOff = 0,
        kBackdropFadingIn = 1,
        kBackdropShown = 2,
    };

    // The level panel's layout and the armed-spell cursor's sprite set.
    static constexpr const wchar_t* kLayout = L"nq/ui";
    static constexpr const wchar_t* kSpellCursorSet = L"nq/spell_cast";
    // HitTest's answer for a spell button under the point that cannot be used now.
    static constexpr int kSpellNotReady = -2;

    HUD();
    // The cursor, the spell buttons, the slot frames and every window (no OnClose).
    ~HUD() override;

    void Draw(render::Graphics* graphics) override;
    // Adopts the windows pushed since the last update.
    void Update(float dt) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    void OnMouseWheel(int delta) override;
    void OnChar(int character) override;
    void OnKeyDown(int key) override;
    int HitTest(int x, int y) override;
    std::wstring Click(int x, int y) override;

    virtual void AddSpellButton(int32_t slot);
    // Joins the stack at the end of the next update.
    virtual void PushWindow(HUDWindow* window);
    // Deletes the topmost window without its OnClose; nothing when none is open.
    virtual void CloseTopWindow();
    virtual void RefreshTopWindow();
    virtual void DrawWindows(render::Graphics* graphics, int layer);
    virtual void ResetSpellCooldowns();
    virtual void NextLevel();
    // Starts the map's current level, or shows the level select with the
    // message that its file cannot be opened.
    void StartOrRefuseLevel(NQMap& map);

    virtual void UpdateGoldText();
    virtual void UpdateGemsText();
    virtual void UpdateLivesText();
    virtual void UpdateWavesText();

    virtual void ShowSplashScreens();
    virtual void ShowVideoIntro();
    virtual void ShowMainMenu();
    virtual void ShowProfiles();
    virtual void ShowModalInput();
    virtual void ShowEpisodeSelect();
    virtual void ShowLevelSelect();
    virtual void ShowShop(bool fromLevel);
    virtual void ShowGemShop(const std::wstring& returnTo);
    virtual void ShowUnlockMessage(const std::vector<int32_t>& ids);
    virtual void ShowModalMessage(const std::wstring& caption, const std::wstring& message, int32_t returnState);
    virtual void ShowModalDialog(const std::wstring& caption, const std::wstring& message, int32_t dialogId);
    // Opens the confirmation as the game window's overlay; the screen state stays.
    virtual void ConfirmProfileDeletion();
    // The profile-reset question in the root board's confirmation slot.
    virtual void ConfirmProfileReset();
    // The tutorial's skip question, as the same overlay.
    virtual void ConfirmTutorialCancel();

    bool HasWindows() const { return !mWindows.empty(); }
    HUDWindow* GetTopWindow() const { return mWindows.empty() ? nullptr : mWindows.back(); }

    std::vector<NQFrameEntry*> mSpellSlots;
    NQSpriteAnimation* mSpellCursor = nullptr;
    int32_t mBlockShop = 0;
    int32_t mBlockUI = 0;
    std::vector<HUDWindow*> mWindows;
    std::vector<HUDWindow*> mPendingWindows;
    std::vector<HUDSpellButton*> mSpellButtons;
    int32_t mBackdropState = kBackdropOff;

    // The release dispatcher turns the backdrop off.
    void SetBackdropState(int32_t state) { mBackdropState = state; }

private:
    bool IsOnStack(const HUDWindow* window) const
    {
        return std::find(mWindows.begin(), mWindows.end(), window) != mWindows.end();
    }
    // The four listings of the panel's layout, kept in listing order.
    void LoadPanel(file::ImageContainer* container);
};
