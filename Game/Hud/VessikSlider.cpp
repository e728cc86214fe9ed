#include "Game/Hud/VessikSlider.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Math/MathFunctions.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/Render.h"
#include "Framework/GameApplication.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/ParticlesLayer.h"
#include "Framework/Widget/CaptureInfo.h"
#include "Game/Hud/SliderLayer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
constexpr int kLoopForever = 1;
constexpr int kEmitterPlay = 1;
constexpr int kEmitterFinishCycle = 2;
constexpr int kEmitterPositionAbsolute = 0;

HVResultEnum LoadPicture(const std::wstring& name, file::ImageContainer* container, render::Image** picture,
                         base::ImageInfo* info)
{
    framework::GameApplication* application = framework::GameApplication::Current();
    if (!application || !application->mRender)
        return HV_FAIL;
    if (const HVResultEnum result = application->mRender->LoadTexture(name, container, picture, info);
        result != HV_OK)
        return result;
    return *picture ? HV_OK : HV_FAIL;
}
} // namespace

VessikSlider::VessikSlider()
{
    mSlider = this;
    mStates = mPictures;
    mStateCount = kPictureCount;
}

VessikSlider::~VessikSlider()
{
    // The thumb picture is the slider's own; the holder (a state) lets go of it first.
    if (mThumbPicture)
    {
        if (layer::Layer* parent = mThumbPicture->GetParent())
            parent->RemoveChild(mThumbPicture);
        delete mThumbPicture;
        mThumbPicture = nullptr;
    }
    auto* own = static_cast<layer::Layer*>(static_cast<gui::GameControl*>(this));
    if (own->mHitListener == static_cast<widget::WidgetHitTestListener*>(this))
        own->mHitListener = nullptr;
}

widget::ClassId& VessikSlider::GetClassId()
{
    static widget::ClassId id(&widget::Slider::GetClassId());
    return id;
}

HVResultEnum VessikSlider::Load(file::ImageContainer* container, const std::wstring& bar, const std::wstring& thumb)
{
    auto* control = static_cast<gui::GameControl*>(this);
    auto* hitFace = static_cast<widget::WidgetHitTestListener*>(this);
    widget::Slider::SetListener(static_cast<widget::WidgetListener*>(this), false);
    widget::Slider::SetLayer(control, false, true);
    WidgetHitTestListener::mWidget = mSlider;
    if (const HVResultEnum result = InitWithContainer(container, mSlider, hitFace, control, false); result != HV_OK)
        return result;
    // The bar and the thumb have no listener: their presses reach the control's.
    static_cast<layer::Layer*>(control)->mHitListener = hitFace;

    if (!bar.empty())
    {
        render::Image* picture = nullptr;
        base::ImageInfo info;
        if (const HVResultEnum result = LoadPicture(bar, container, &picture, &info); result != HV_OK)
            return result;
        mBar = new SliderLayer(picture, true);
        mBar->mSourceWidth = float(picture->GetWidth());
        mBar->mSourceHeight = float(picture->GetHeight());
        mBar->SetPosition(info.x, info.y, 0.0f);
        mPictures[kBarPicture] = mBar;
        GrowUnion(info);
    }
    if (!thumb.empty())
    {
        render::Image* picture = nullptr;
        base::ImageInfo info;
        if (const HVResultEnum result = LoadPicture(thumb, container, &picture, &info); result != HV_OK)
            return result;
        const float w = float(picture->GetWidth());
        const float h = float(picture->GetHeight());
        mThumbPicture = new layer::ImageLayer(picture, true);
        mThumbPicture->SetPosition(kThumbOffset - w / 2.0f, -h / 2.0f, 0.0f);
        mThumbHolder = new layer::ImageLayer;
        mThumbHolder->SetPosition(info.x + w / 2.0f - kThumbOffset, info.y + h / 2.0f, 0.0f);
        mThumbHolder->AddChild(mThumbPicture);
        mPictures[kThumbHolder] = mThumbHolder;
        GrowUnion(info);
    }
    CenterOnStates();

    if (mBar && mThumbPicture)
    {
        const int thumbWidth = mThumbPicture->GetImage()->GetWidth();
        const int barWidth = mBar->GetImage()->GetWidth();
        mHalfThumbWidth = float(thumbWidth / 2);
        mThumbMinX = mBar->mPosition.x + mHalfThumbWidth;
        mThumbMaxX = mThumbMinX + float(barWidth - thumbWidth) - kThumbOffset;
    }

    // No sparkle effect in the library: the slider works without one.
    if (render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->CreateEmitter(kSparkleEffect))
    {
        emitter->SetLoopMode(kLoopForever);
        mSparkle = emitter;
        mSparkleLayer = new layer::ParticlesLayer;
        mSparkleLayer->SetEmitter(emitter, true);
        if (const HVResultEnum result = AddLayer(mSparkleLayer, kModeNoHit, nullptr); result != HV_OK)
            return result;
    }
    return SetValueChanged(mMaximum, true);
}

void VessikSlider::GrowUnion(const base::ImageInfo& info)
{
    const int32_t x = int32_t(info.x);
    const int32_t y = int32_t(info.y);
    const int32_t width = int32_t(info.w);
    const int32_t height = int32_t(info.h);
    if (!mUnionValid)
    {
        mUnionX = x;
        mUnionY = y;
        mUnionWidth = width;
        mUnionHeight = height;
        mUnionValid = 1;
        return;
    }
    const int32_t right = std::max(mUnionX + mUnionWidth, x + width);
    const int32_t bottom = std::max(mUnionY + mUnionHeight, y + height);
    mUnionX = std::min(mUnionX, x);
    mUnionY = std::min(mUnionY, y);
    mUnionWidth = right - mUnionX;
    mUnionHeight = bottom - mUnionY;
}

float VessikSlider::ValueAt(float x) const
{
    // A bar no wider than the thumb leaves no range to divide by.
    if (mThumbMaxX <= mThumbMinX)
        return mMinimum;
    return mMinimum + (mMaximum - mMinimum) * (x - mThumbMinX) / (mThumbMaxX - mThumbMinX);
}

float VessikSlider::XForValue(float value) const
{
    if (mThumbMaxX <= mThumbMinX || mMaximum == mMinimum)
        return mThumbMinX;
    const float c = (value - mMinimum) / (mMaximum - mMinimum);
    return mThumbMinX + (mThumbMaxX - mThumbMinX) * c;
}

float VessikSlider::ClampX(float x) const
{
    if (mThumbMaxX <= mThumbMinX)
        return mThumbMinX;
    return std::clamp(x, mThumbMinX, mThumbMaxX);
}

void VessikSlider::PlaceThumb(float x)
{
    if (mThumbHolder)
        mThumbHolder->SetPosition(x, mThumbHolder->mPosition.y, mThumbHolder->mPosition.z);
    if (mBar)
        mBar->mSourceWidth = x - mBar->mPosition.x;
    if (mSparkle)
    {
        const float at[2] = {x, 0.0f};
        mSparkle->SetPosition(at, kEmitterPositionAbsolute);
    }
}

HVResultEnum VessikSlider::UpdateLook()
{
    PlaceThumb(XForValue(mValue));
    return HV_OK;
}

HVResultEnum VessikSlider::GetCaptureInfo(const math::Vector3& point, widget::CaptureInfo& capture)
{
    // The press arrives in the control's own space, where the thumb lives.
    const math::Vector3& local = point;
    math::Vector3 recorded = point;
    const layer::Layer* hit = WidgetHitTestListener::mHitLayer;
    const float holderX = mThumbHolder ? mThumbHolder->mPosition.x : mThumbMinX;
    if (hit && hit == mBar)
    {
        mDragging = 1;
        mGlideStartX = holderX;
        mGlideTargetX = ClampX(local.x);
        mGlideDuration = std::fabs(mGlideTargetX - mGlideStartX) / kGlideSpeed;
        mGlideTime = 0.0f;
        mGrabOffset = 0.0f;
        recorded.x = mGrabOffset;
    }
    else if (hit && hit == mThumbPicture)
    {
        mDragging = 1;
        mGlideDuration = 0.0f;
        mGlideTime = 0.0f;
        mGrabOffset = local.x - holderX;
        recorded.x = mGrabOffset;
    }
    capture.Set(mSlider, mSlider->mLayer, recorded, false);
    return HV_OK;
}

HVResultEnum VessikSlider::OnCapturedMouseDrag(widget::CaptureInfo* capture, const math::Vector3& point)
{
    if (const HVResultEnum result = WidgetListener::OnCapturedMouseDrag(capture, point); result != HV_OK)
        return result;
    if (!mDragging)
        return HV_OK;
    const float x = ClampX(point.x - mGrabOffset);
    if (IsGliding())
    {
        mGlideTargetX = x;
        return HV_OK;
    }
    PlaceThumb(x);
    return SetValueChanging(ValueAt(x), false);
}

HVResultEnum VessikSlider::OnCapturedMouseUp(widget::CaptureInfo* capture, const math::Vector3& point, int button)
{
    if (const HVResultEnum result = WidgetListener::OnCapturedMouseUp(capture, point, button); result != HV_OK)
        return result;
    HVResultEnum result = HV_OK;
    if (mDragging && !IsGliding())
    {
        const float x = ClampX(point.x - mGrabOffset);
        PlaceThumb(x);
        result = SetValueChanged(ValueAt(x), false);
    }
    mDragging = 0;
    return result;
}

HVResultEnum VessikSlider::Update(float dt)
{
    if (mSparkle)
    {
        mSparkle->Update(dt);
        const bool active = mSlider->IsHovered() || mSlider->IsCaptured() || IsGliding();
        if (uint8_t(active) != mSparkleOn)
        {
            mSparkleOn = active ? 1 : 0;
            mSparkle->SetState(active ? kEmitterPlay : kEmitterFinishCycle);
        }
    }
    math::Approach(mSqueezeAmount, kSqueezeRate * dt, mDragging && !IsGliding() ? 1.0f : 0.0f);
    if (mThumbHolder)
    {
        const float s = 1.0f - mSqueezeAmount * kSqueeze;
        mThumbHolder->SetScale(s, s, mThumbHolder->mScale.z);
    }
    if (!IsGliding())
        return HV_OK;

    math::Approach(mGlideTime, dt, mGlideDuration);
    if (mGlideTime >= mGlideDuration)
    {
        const float x = mGlideTargetX;
        mGlideDuration = 0.0f;
        mGlideTime = 0.0f;
        PlaceThumb(x);
        return mDragging ? SetValueChanging(ValueAt(x), false) : SetValueChanged(ValueAt(x), false);
    }
    const float ease = 0.5f - 0.5f * std::cos(mGlideTime * std::numbers::pi_v<float> / mGlideDuration);
    const float x = mGlideStartX + (mGlideTargetX - mGlideStartX) * ease;
    PlaceThumb(x);
    return SetValueChanging(ValueAt(x), false);
}
