#pragma once

// The level select: a plate per level of the current episode and mode, the
// difficulty tabs, the gems and the way into the hardcore levels.
#include "Game/Hud/HUDWindow.h"

#include <vector>

namespace layer
{
class ImageLayer;
class TextLayer;
}

class HUDLevelPlate;
class HUDTabStrip;

class HUDLevelSelect : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/level_select";
    static constexpr const wchar_t* kMenuName = L"levels";
    static constexpr int kHardcoreMode = 3;
    // Where the two hardcore buttons go (their rectangle origin).
    static constexpr float kHardcoreButtonX = 857.0f;
    static constexpr float kHardcoreButtonY = 448.0f;
    // The profile's event flag of the hardcore explanation.
    static constexpr int kHardcoreExplainedFlag = 0;

    HUDLevelSelect();
    ~HUDLevelSelect() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    // The level of the plate under the point, locked ones included; -1 when none.
    int HitTest(int x, int y) override;

    void RebuildPlates();

    std::vector<HUDLevelPlate*> mPlates;
    layer::TextLayer* mTitle = nullptr;
    layer::TextLayer* mBadgeText = nullptr;
    layer::ImageLayer* mBadge = nullptr;
    HUDTabStrip* mTabs = nullptr;
};
