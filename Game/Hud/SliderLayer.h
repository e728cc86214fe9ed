#pragma once

// The slider's bar: an image layer that draws only a source rectangle of its
// picture, so the bar fills up to the thumb.
#include "Framework/Layer/ImageLayer.h"

class SliderLayer : public layer::ImageLayer
{
public:
    using layer::ImageLayer::ImageLayer;

    HVResultEnum Draw(render::Graphics* g) override;

    float mSourceX = 0.0f;
    float mSourceY = 0.0f;
    float mSourceWidth = 0.0f;
    float mSourceHeight = 0.0f;
};
