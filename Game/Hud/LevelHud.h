#pragma once

// The front end as the level, its units and its roads see it: the HUD's
// counters, buttons, screens and windows, and the tutorial's events. The
// level holds the HUD only through this face; the application chooses the
// HUD and hands its factory to the level.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace render
{
class Graphics;
}

class HUDSpellButton;
class NQButtonFrame;
class NQMap;

class LevelHud
{
public:
    // The backdrop that dims the level behind open windows.
    enum BackdropState
    {
        kBackdropOff = 0,
        kBackdropFadingIn = 1,
        kBackdropShown = 2,
    };
    // The window layers: screens, then modal windows over the level.
    static constexpr int kScreenLayer = 0;
    static constexpr int kModalLayer = 1;
    // The spell slot whose spell needs no target: it is cast where the pointer is.
    static constexpr int32_t kTowerSpellSlot = 4;

    virtual ~LevelHud() = default;

    // The frame and the pointer, as the level passes them on.
    virtual void Draw(render::Graphics* graphics) = 0;
    virtual void DrawWindows(render::Graphics* graphics, int layer) = 0;
    virtual void Update(float dt) = 0;
    virtual void OnMouseMove(int x, int y) = 0;
    virtual void OnMouseUp(int x, int y) = 0;
    virtual void OnMouseDown(int x, int y) = 0;
    virtual void OnMouseWheel(int delta) = 0;
    // The index of the spell button or plate under the point, or -1.
    virtual int HitTest(int x, int y) = 0;
    // The name of the button under the point, or empty.
    virtual std::wstring Click(int x, int y) = 0;

    // The panel's counters, read from the running level.
    virtual void UpdateGoldText() = 0;
    virtual void UpdateGemsText() = 0;
    virtual void UpdateLivesText() = 0;
    virtual void UpdateWavesText() = 0;

    // The panel's buttons: the first of that name, or null.
    virtual NQButtonFrame* FindButton(const std::wstring& name) const = 0;
    // What the tutorial blocks of the panel now.
    virtual int32_t GetBlockUI() const = 0;
    virtual void SetBackdropState(int32_t state) = 0;
    // The panel back to its first state, as a level starts.
    virtual void ResetState() = 0;

    // The spell bar. A button is the level's handle: it arms one and casts its slot.
    virtual void AddSpellButton(int32_t slot) = 0;
    // Deletes every spell button.
    virtual void RemoveSpellButtons() = 0;
    virtual void ResetSpellCooldowns() = 0;
    // Every button ready again, with the flash.
    virtual void FinishSpellCooldowns() = 0;
    // The button of HitTest's index, or null when the index is no spell button.
    virtual HUDSpellButton* SpellButtonAt(int index) const = 0;
    virtual int32_t SpellSlotOf(const HUDSpellButton& button) const = 0;
    // The button's centre, where the armed-spell effect starts.
    virtual void GetSpellButtonCentre(const HUDSpellButton& button, float& x, float& y) const = 0;
    // The cooldown of the button's spell with the bought upgrades.
    virtual void StartSpellCooldown(HUDSpellButton& button) = 0;

    // The window stack.
    virtual void CloseTopWindow() = 0;
    // Closes as many windows as are open now; windows still pending stay.
    virtual void CloseAllWindows() = 0;
    virtual void RefreshTopWindow() = 0;

    // The screens the level opens.
    virtual void ShowVideoIntro() = 0;
    virtual void ShowMainMenu() = 0;
    virtual void ShowProfiles() = 0;
    virtual void ShowModalInput() = 0;
    virtual void ShowEpisodeSelect() = 0;
    virtual void ShowLevelSelect() = 0;
    virtual void ShowShop(bool fromLevel) = 0;
    virtual void ShowGemShop(const std::wstring& returnTo) = 0;
    virtual void ShowUnlockMessage(const std::vector<int32_t>& ids) = 0;
    virtual void ShowModalMessage(const std::wstring& caption, const std::wstring& message, int32_t returnState) = 0;
    virtual void ShowModalDialog(const std::wstring& caption, const std::wstring& message, int32_t dialogId) = 0;
    virtual void ShowIngameMenu() = 0;
    // The level's name over the board as it starts.
    virtual void ShowLevelName() = 0;
    // The won or lost level's window with its heading and scores.
    virtual void ShowLevelResult(bool won, int32_t episode, int32_t level, int32_t mode, int32_t gemsGained) = 0;
    // The options dialog, over everything.
    virtual void ShowOptionsDialog() = 0;
    // The yes-or-no box of the message key; a yes runs the action.
    virtual void ShowMessageBox(const std::wstring& messageKey, const std::wstring& action) = 0;
    virtual void NextLevel() = 0;
    // Starts the map's current level, or shows the level select with the
    // message that its file cannot be opened.
    virtual void StartOrRefuseLevel(NQMap& map) = 0;
};

// Makes the level's HUD; the application's choice, handed to the level.
using LevelHudFactory = std::function<LevelHud*()>;

// The tutorial as the level sees it: steps that react to the game's events
// and show hints over the level.
class LevelTutorial
{
public:
    // Made on first use. Its making reads the running level, its progress
    // record and its HUD: the first call comes after the level made all three.
    static LevelTutorial* Get();
    // The tutorial when it exists; never makes it.
    static LevelTutorial* Find();

    virtual ~LevelTutorial() = default;

    virtual void OnEvent(const std::wstring& name) = 0;
    virtual void OnMouseMove(int x, int y) = 0;
    virtual void OnMouseUp(int x, int y) = 0;
    virtual void Update(float dt) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void ClearHints() = 0;
    // Started steps back to idle; the level's tutorial effects undone.
    virtual void ResetUnfinishedSteps() = 0;
    // Re-reads the enabled flag and the step states from the progress record.
    virtual void ReloadState() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // The hints and their pictures, while the renderer and the resources still exist.
    virtual void ReleaseGraphics() = 0;
};
