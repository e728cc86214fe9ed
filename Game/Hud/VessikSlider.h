#pragma once

// The skinned slider: a bar that fills up to a draggable thumb. A press on
// the bar glides the thumb to the press; a sparkle plays while it is in use.
#include "Framework/Gui/GameControl.h"
#include "Framework/Widget/Slider.h"
#include "Framework/Widget/WidgetHitTestListener.h"
#include "Framework/Widget/WidgetListener.h"

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
namespace layer
{
class ParticlesLayer;
}
namespace render
{
class ParticleEmitter;
}

class SliderLayer;

class VessikSlider : public gui::GameControl,
                     public widget::Slider,
                     public widget::WidgetListener,
                     public widget::WidgetHitTestListener
{
public:
    enum Picture
    {
        kBarPicture = 0,
        kThumbHolder = 1,
        kPictureCount = 2,
    };
    // The sparkle effect of the particle library.
    static constexpr const char* kSparkleEffect = "blik_1";
    // Units per second of a glide toward a press on the bar.
    static constexpr float kGlideSpeed = 200.0f;
    static constexpr float kSqueezeRate = 10.0f;
    static constexpr float kSqueeze = 0.05f;
    // The thumb picture sits this far right of its holder's centre.
    static constexpr float kThumbOffset = 2.0f;

    VessikSlider();
    ~VessikSlider() override;

    HVResultEnum Load(file::ImageContainer* container, const std::wstring& bar, const std::wstring& thumb);

    widget::ClassId& GetClassId() override;
    HVResultEnum UpdateLook() override;

    HVResultEnum Update(float dt) override;
    HVResultEnum OnCapturedMouseUp(widget::CaptureInfo* capture, const math::Vector3& point, int button) override;
    HVResultEnum OnCapturedMouseDrag(widget::CaptureInfo* capture, const math::Vector3& point) override;
    HVResultEnum GetCaptureInfo(const math::Vector3& point, widget::CaptureInfo& capture) override;

    // The value of a thumb x; every x maps to the minimum when the range is empty.
    float ValueAt(float x) const;
    // The thumb x of a value.
    float XForValue(float value) const;
    float ClampX(float x) const;
    // The holder, the bar's source width and the sparkle follow x.
    void PlaceThumb(float x);
    bool IsGliding() const { return mGlideDuration > 0.0f; }
    void GrowUnion(const base::ImageInfo& info);

    widget::Slider* mSlider = nullptr;
    layer::ImageLayer* mThumbPicture = nullptr; // owned
    // The thumb holder is an image layer without a picture, so that it fits
    // the control's state table.
    layer::ImageLayer* mPictures[kPictureCount] = {nullptr, nullptr};
    SliderLayer* mBar = nullptr;
    layer::ImageLayer* mThumbHolder = nullptr;
    layer::ParticlesLayer* mSparkleLayer = nullptr;
    render::ParticleEmitter* mSparkle = nullptr;
    float mThumbMinX = 0.0f;
    float mThumbMaxX = 0.0f;
    float mHalfThumbWidth = 0.0f;
    float mSqueezeAmount = 0.0f;
    uint8_t mSparkleOn = 0;
    uint8_t mDragging = 0;
    float mGrabOffset = 0.0f;
    float mGlideStartX = 0.0f;
    float mGlideTargetX = 0.0f;
    float mGlideDuration = 0.0f;
    float mGlideTime = 0.0f;
};
