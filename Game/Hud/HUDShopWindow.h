#pragma once

// The shop of permanent upgrades: three tabs, one per section of the upgrade
// table, a scrolled list of plates with buy buttons, the gem count and the
// buttons to leave, to open the gem shop and to reset every upgrade.
#include "Core/Base/DelegateHandle.h"
#include "Core/Base/Result.h"
#include "Game/Hud/HUDWindow.h"

#include <cstdint>
#include <vector>

namespace layer
{
class ImageLayer;
class Layer;
class TextLayer;
}

class HUDScrollBar;
class HUDTabStrip;
class HUDUpgradePlate;

// The upgrades of that section offered by the player's progress.
int CountAvailableUpgrades(int section);

class HUDShopWindow : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/shop";
    static constexpr int kTabCount = 3;
    // Plates lie this far apart; a full scroll moves 105 per plate beyond the third.
    static constexpr float kPlateSpacing = 99.0f;
    static constexpr float kScrollPerPlate = 105.0f;
    static constexpr int kShownPlates = 3;
    // More plates than this bring the scroll bar and its buttons.
    static constexpr int kPlatesWithoutScrollBar = 4;
    static constexpr float kScrollStep = 0.25f;
    static constexpr float kWheelRange = 1024.0f;
    // The scroll column, in screen units.
    static constexpr int kScrollColumnLeft = 865;
    static constexpr int kScrollColumnRight = 909;
    static constexpr int kScrollColumnTop = 201;
    static constexpr int kScrollColumnBottom = 619;

    enum DragState
    {
        kNoDrag = 0,
        kPressedInScrollColumn = 1,
        kDragging = 2,
    };

    explicit HUDShopWindow(bool fromLevel);
    // Takes the two texts off the root board's layer.
    ~HUDShopWindow() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    // Every plate follows the progress record.
    void Refresh() override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    void OnMouseWheel(int delta) override;
    std::wstring Click(int x, int y) override;

    // The plates of that section, scrolled to the top.
    void BuildPlates(int tab);
    // p from 0 (top) to 1 (bottom).
    void ScrollTo(float position);
    // The footer's post-draw hook: the shown buttons once more, above the footer.
    HVResultEnum DrawFooterButtons(render::Graphics* graphics, layer::Layer* layer);

    int32_t mFromLevel = 0;
    int32_t mCurrentTab = 0;
    std::vector<HUDUpgradePlate*> mPlates;
    HUDTabStrip* mTabStrip = nullptr;
    HUDScrollBar* mScrollBar = nullptr;
    layer::Layer* mList = nullptr;
    layer::ImageLayer* mHeader = nullptr;
    layer::ImageLayer* mFooter = nullptr;
    layer::TextLayer* mCaption = nullptr;
    layer::TextLayer* mGems = nullptr;
    int32_t mDragState = kNoDrag;

private:
    // Shown or hidden together: the scroll bar and its two buttons.
    void ShowScrolling(bool shown);
    void SetGemText();
    bool IsBlocked() const;

    base::DelegateHandle mFooterHook;
};
