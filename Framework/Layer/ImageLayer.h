#pragma once

// Draws one picture at the layer's place, anchored by two alignments; its
// hit area is the picture's hit mask.
#include "Framework/Layer/Layer.h"

namespace render
{
class Image;
}

namespace layer
{
class ImageLayer : public Layer
{
public:
    // Alignments: 0 left/top, 1 right/bottom, 2 centre.
    enum Alignment
    {
        ALIGN_NEAR = 0,
        ALIGN_FAR = 1,
        ALIGN_CENTRE = 2,
    };

    ImageLayer();
    ImageLayer(render::Image* image, bool owns);
    ~ImageLayer() override;

    // An owned previous picture is released and deleted first.
    void SetImage(render::Image* image, bool owns);
    render::Image* GetImage() const { return mImage; }
    void SetAlignment(int horizontal, int vertical);
    // The picture's size; 0 without one.
    float GetWidth() const;
    float GetHeight() const;

    HVResultEnum Draw(render::Graphics* g) override;
    void UpdateHitRect() override;
    bool HitTestPoint(const math::Vector3& point) override;

    render::Image* mImage = nullptr;
    bool mOwnsImage = false;
    int mHorizontalAlignment = ALIGN_NEAR;
    int mVerticalAlignment = ALIGN_NEAR;
};
} // namespace layer
