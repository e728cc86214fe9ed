#pragma once

#include "Game/Hud/HUDWindow.h"
#include "Game/Hud/LevelHud.h"

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
// of every other screen and window. The gameplay reaches it only through
// the level's face, LevelHud.
class HUD : public HUDWindow, public LevelHud
{
public:
    using HUDWindow::kModalLayer;
    using HUDWindow::kScreenLayer;

    // The level panel's layout and the armed-spell cursor's sprite set.
    static constexpr const wchar_t* kLayout = L"nq/ui";
    static constexpr const wchar_t* kSpellCursorSet = L"nq/spell_cast";
    // HitTest's answer for a spell button under the point that cannot be used now.
    static constexpr int kSpellNotReady = -2;

    // The running level's HUD: the front end's own view of the level's face,
    // null without a level or when its face is no HUD.
    static HUD* Of(const NQMap* map);

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

    void AddSpellButton(int32_t slot) override;
    void RemoveSpellButtons() override;
    void FinishSpellCooldowns() override;
    HUDSpellButton* SpellButtonAt(int index) const override;
    int32_t SpellSlotOf(const HUDSpellButton& button) const override;
    void GetSpellButtonCentre(const HUDSpellButton& button, float& x, float& y) const override;
    void StartSpellCooldown(HUDSpellButton& button) override;
    // Joins the stack at the end of the next update.
    virtual void PushWindow(HUDWindow* window);
    // Deletes the topmost window without its OnClose; nothing when none is open.
    void CloseTopWindow() override;
    // Bounded, so a HUD that keeps its windows cannot hold the caller.
    void CloseAllWindows() override;
    void RefreshTopWindow() override;
    void DrawWindows(render::Graphics* graphics, int layer) override;
    void ResetSpellCooldowns() override;
    void NextLevel() override;
    void StartOrRefuseLevel(NQMap& map) override;

    NQButtonFrame* FindButton(const std::wstring& name) const override { return HUDWindow::FindButton(name); }
    int32_t GetBlockUI() const override { return mBlockUI; }
    void ResetState() override { mState = 0; }

    void UpdateGoldText() override;
    void UpdateGemsText() override;
    void UpdateLivesText() override;
    void UpdateWavesText() override;

    virtual void ShowSplashScreens();
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
    void ShowIngameMenu() override;
    // On the game's root board; a level built without a game shows none.
    void ShowLevelName() override;
    void ShowLevelResult(bool won, int32_t episode, int32_t level, int32_t mode, int32_t gemsGained) override;
    // On the application's frame manager; none without a running application.
    void ShowOptionsDialog() override;
    void ShowMessageBox(const std::wstring& messageKey, const std::wstring& action) override;
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
    void SetBackdropState(int32_t state) override { mBackdropState = state; }

private:
    bool IsOnStack(const HUDWindow* window) const
    {
        return std::find(mWindows.begin(), mWindows.end(), window) != mWindows.end();
    }
    // The four listings of the panel's layout, kept in listing order.
    void LoadPanel(file::ImageContainer* container);
};
