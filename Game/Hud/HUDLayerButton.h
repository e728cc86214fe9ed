#pragma once

#include "Framework/Layer/Layer.h"

#include <cstdint>
#include <string>

namespace layer
{
class ImageLayer;
class TextLayer;
}
namespace render
{
class Image;
}

class NQFrameEntry;

// A button that is itself a layer of the scene: the lower picture, the upper
// picture above it and a label, all centred on the button's position.
class HUDLayerButton : public layer::Layer
{
public:
    static constexpr float kGrowPerSecond = 1.0f;
    static constexpr float kShrinkPerSecond = 0.5f;
    static constexpr float kMaxScale = 1.1f;
    static constexpr float kLabelWidth = 400.0f;

    // The frames lend their pictures; they must outlive the button.
    HUDLayerButton(NQFrameEntry* lower, NQFrameEntry* upper, const std::wstring& label);
    // Deletes its three child layers.
    ~HUDLayerButton() override;

    // Strictly inside the lower picture; false while the button is hidden.
    bool HitTest(int x, int y) const;
    void OnMouseMove(int x, int y);
    void Update(float dt);
    virtual void OnClick(int x, int y);

    render::Image* mLowerPicture = nullptr;
    render::Image* mUpperPicture = nullptr;
    layer::ImageLayer* mLowerLayer = nullptr;
    layer::ImageLayer* mUpperLayer = nullptr;
    layer::TextLayer* mLabelLayer = nullptr;
    float mButtonScale = 1.0f;
    uint8_t mHovered = 0;
};
