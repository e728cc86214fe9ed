#pragma once

// One gem pack of the gem shop: its pictures from the shop's layout and its
// store product, drawn scaled about the pack's centre.
#include "Core/Math/Transform3D.h"

#include <cstdint>
#include <string>

namespace base
{
class ImageInfo;
}
namespace file
{
class ImageContainer;
}
namespace purchase
{
struct Product;
}
namespace render
{
class Graphics;
class Image;
}

// The store ids of the five packs, in pack order.
inline constexpr int kGemPackCount = 5;
inline constexpr const wchar_t* GemPackProductIds[kGemPackCount] = {
    L"buy_50_cr", L"buy_150_cr", L"buy_300_cr", L"buy_500_cr", L"buy_1000_cr",
};

class HUDGemPack
{
public:
    // The second pack carries the badge.
    static constexpr int kBadgeIndex = 1;
    static constexpr float kHoverScale = 0.9f;
    static constexpr float kRestScale = 1.0f;
    // Scale change per second toward the target.
    static constexpr float kScaleRate = 0.5f;
    // The active area lies this far inside the button rectangle.
    static constexpr int kActiveInset = 50;

    // The store product is looked up once, here.
    HUDGemPack(file::ImageContainer* layout, int index);
    HUDGemPack(const HUDGemPack&) = delete;
    HUDGemPack& operator=(const HUDGemPack&) = delete;
    ~HUDGemPack();

    void Draw(render::Graphics* graphics);
    // Empty without a product.
    std::wstring GetPriceText() const;
    std::wstring GetProductId() const;
    // rx + 50 <= x < rx + rw - 50, likewise y; false without a rectangle.
    bool Contains(int x, int y) const;

    int mIndex = 0;
    base::ImageInfo* mButtonRect = nullptr; // the layout's
    render::Image* mButtonPicture = nullptr;
    base::ImageInfo* mPriceRect = nullptr;
    render::Image* mPricePicture = nullptr;
    base::ImageInfo* mBadgeRect = nullptr;
    render::Image* mBadgePicture = nullptr;
    base::ImageInfo* mTextRect = nullptr;
    purchase::Product* mProduct = nullptr; // the store's
    float mScale = kRestScale;
    uint8_t mHovered = 0;

private:
    math::Transform3D mTransform;
};
