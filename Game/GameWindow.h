#pragma once

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourceHandle.h"
#include "Framework/Widget/BaseBoard.h"
#include "Game/Hud/LevelHud.h"

#include <string>

class HUDWindow;
class NQMap;

// The game's root board (not the engine's OS window of the same short name):
// owns the running level, the six fonts and two overlay windows, and passes
// the engine's events to the overlays or the level.
class GameWindow : public widget::BaseBoard
{
public:
    static constexpr int kFontCount = 6;
    enum FontIndex
    {
        kFontMain32_1 = 0,
        kFontMain32_2 = 1,
        kFontMain42_1 = 2,
        kFontMain42_2 = 3,
        kFontLarge = 4,  // "nq/data/fonts/main_80"
        kFontNormal = 5, // "nq/data/fonts/main_42_3", the windows' font
    };
    static const wchar_t* const kFontNames[kFontCount];

    // Modal confirmations; takes the pointer while it holds a window.
    static constexpr int kConfirmSlot = 0;
    // The level-name banner; takes no input.
    static constexpr int kBannerSlot = 1;
    static constexpr int kOverlayCount = 2;

    // The level's HUD is made by `makeHud`.
    explicit GameWindow(LevelHudFactory makeHud);
    ~GameWindow() override;

    HVResultEnum Load() override;

    HVResultEnum Update(float dt) override;
    HVResultEnum PreDraw(render::Graphics* graphics, layer::Layer* layer) override;
    HVResultEnum PostDraw(render::Graphics* graphics, layer::Layer* layer) override;
    HVResultEnum OnKeyDown(int key) override;
    HVResultEnum OnChar(wchar_t character) override;

    HVResultEnum OnWidgetMouseDown(const math::Vector3& point, int button) override;
    HVResultEnum OnWidgetMouseUp(const math::Vector3& point, int button) override;
    HVResultEnum OnWidgetMouseMove(const math::Vector3& point) override;
    HVResultEnum OnWidgetMouseDrag(const math::Vector3& point) override;
    HVResultEnum OnWidgetMouseWheel(const math::Vector3& point, int delta) override;

    NQMap* GetLevel() const { return mLevel; }
    const resource::ResourceHandle<render::BMFont>& GetFont(int index) const { return mFonts[index]; }
    // An empty handle for a name that is not one of the six.
    resource::ResourceHandle<render::BMFont> GetFont(const std::wstring& name) const;
    // The tutorial, the level select and the shop attach their layers here.
    layer::Layer* GetRootLayer() const { return mLayer; }
    int GetPointerX() const { return mPointerX; }
    int GetPointerY() const { return mPointerY; }

    HUDWindow* GetOverlay(int slot) const { return mOverlays[slot]; }
    // Deletes the window the slot held (unless it is the same one).
    void SetOverlay(int slot, HUDWindow* window);
    void SetConfirmOverlay(HUDWindow* window) { SetOverlay(kConfirmSlot, window); }
    void SetBannerOverlay(HUDWindow* window) { SetOverlay(kBannerSlot, window); }

private:
    void RunDeveloperKey(int key);

    NQMap* mLevel = nullptr;
    LevelHudFactory mMakeHud;
    resource::ResourceHandle<render::BMFont> mFonts[kFontCount];
    HUDWindow* mOverlays[kOverlayCount] = {nullptr, nullptr};
    int mPointerX = 0;
    int mPointerY = 0;
};
