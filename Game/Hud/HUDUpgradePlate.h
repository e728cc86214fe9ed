#pragma once

// One upgrade in the shop's list: icon, name, step pips, the next step's text
// and price, and a buy button. Its root layer is a child of the shop's list.
#include <cstdint>

namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
class TextLayer;
}

class NQUpgrade;

class HUDUpgradePlate
{
public:
    static constexpr const wchar_t* kPlatePicture = L"item_plate/Layer_1";
    // A plate shows at most this many pips, however many steps it has.
    static constexpr int kPipSlots = 6;
    static constexpr float kHoverScale = 1.1f;
    static constexpr float kRestScale = 1.0f;
    // Only this band of the screen shows plates between header and footer.
    static constexpr int kVisibleTop = 170;
    static constexpr int kVisibleBottom = 610;
    // The buy area lies this far inside the active buy picture.
    static constexpr int kBuyInset = 5;

    HUDUpgradePlate(file::ImageContainer* layout, NQUpgrade* upgrade);
    HUDUpgradePlate(const HUDUpgradePlate&) = delete;
    HUDUpgradePlate& operator=(const HUDUpgradePlate&) = delete;
    // Detaches the root layer from the list first.
    ~HUDUpgradePlate();

    // Pips, price, affordability and the step text from the progress record.
    void Refresh();
    // Buys the next step when the gems reach its price; the shop refreshes.
    void Buy();
    // Inside the active buy picture, inset by 5, on screen, within the visible band.
    bool HitTestBuy(int x, int y) const;
    void OnMouseMove(int x, int y);
    // A plate ignores presses.
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    // The buy button grows while hovered and shrinks back.
    void Update(float dt);

    int32_t mUpgradeId = 0;
    float mButtonScale = kRestScale;
    int32_t mHovered = 0;
    layer::ImageLayer* mPlate = nullptr; // the root
    layer::ImageLayer* mClearStar = nullptr;
    layer::ImageLayer* mPips[kPipSlots] = {};
    layer::ImageLayer* mBuyActive = nullptr;
    layer::ImageLayer* mBuyInactive = nullptr;
    layer::Layer* mBuyButton = nullptr;
    layer::ImageLayer* mGem = nullptr;
    layer::TextLayer* mPrice = nullptr;
    layer::TextLayer* mStepText = nullptr;
    layer::TextLayer* mName = nullptr;
    layer::ImageLayer* mIcon = nullptr;
    uint8_t mComplete = 0;

private:
    // The upgrade of that id in the running level's table, or null.
    NQUpgrade* FindUpgrade() const;
    // The number of pips the upgrade shows.
    int PipCount(const NQUpgrade& upgrade) const;
};
