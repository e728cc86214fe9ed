#include "Game/Hud/VessikButton.h"

#include "Core/Math/MathFunctions.h"
#include "Framework/Layer/ImageLayer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
// Only a change beyond this is written to the layer.
constexpr float kScaleEpsilon = 1e-6f;
} // namespace

VessikButton::VessikButton()
{
    mStates = mPictures;
    mStateCount = kPictureCount;
}

// The mediator part goes before the button and the control it points at.
VessikButton::~VessikButton() = default;

widget::ClassId& VessikButton::GetClassId()
{
    static widget::ClassId id(&widget::Button::GetClassId());
    return id;
}

HVResultEnum VessikButton::Load(file::ImageContainer* container, const std::wstring& normal,
                                const std::wstring& active, const std::wstring& shadow)
{
    if (const HVResultEnum result = Bind(this, container); result != HV_OK)
        return result;
    if (const HVResultEnum result = AddStateImage(kNormalPicture, normal, nullptr); result != HV_OK)
        return result;
    if (const HVResultEnum result = AddStateImage(kActivePicture, active, nullptr); result != HV_OK)
        return result;
    CenterOnStates();
    if (const HVResultEnum result = CreateImageLayerBack(shadow, kModeNoHit, nullptr, nullptr); result != HV_OK)
        return result;
    return OnStateChanged(widget::Button::kNormal);
}

void VessikButton::SwitchHitPictures(layer::ImageLayer* normal, layer::ImageLayer* active, int state)
{
    const bool lit = state == widget::Button::kHover || state == widget::Button::kPressed;
    if (state != widget::Button::kNormal && !lit)
        return;
    if (normal)
        normal->mHitEnabled = !lit;
    if (active)
        active->mHitEnabled = lit;
}

HVResultEnum VessikButton::OnStateChanged(int state)
{
    SwitchHitPictures(mPictures[kNormalPicture], mPictures[kActivePicture], state);
    return HV_OK;
}

float VessikButton::NormalOpacity(float highlight)
{
    if (highlight <= kNormalFadeStart)
        return 1.0f;
    // Rounding would leave a hair below zero at full highlight.
    return std::max(0.0f, 1.0f - (highlight - kNormalFadeStart) * 10.0f);
}

void VessikButton::ApplyScale(gui::GameControl& control, float s)
{
    const math::Vector3& scale = control.mScale;
    if (std::fabs(scale.x - s) <= kScaleEpsilon && std::fabs(scale.y - s) <= kScaleEpsilon && scale.z == 0.0f)
        return;
    control.mScale = math::Vector3(s, s, 0.0f);
    control.MarkTransformChanged();
}

HVResultEnum VessikButton::Update(float dt)
{
    const int state = mVisualState;
    const bool lit = state == widget::Button::kHover || state == widget::Button::kPressed;
    math::Approach(mHighlight, kHighlightRate * dt, lit ? 1.0f : 0.0f);
    math::Approach(mPress, kPressRate * dt, state == widget::Button::kPressed ? 1.0f : 0.0f);
    if (mPictures[kActivePicture])
        mPictures[kActivePicture]->mOpacity = mHighlight;
    if (mPictures[kNormalPicture])
        mPictures[kNormalPicture]->mOpacity = NormalOpacity(mHighlight);
    ApplyScale(*this, 1.0f - (0.5f - 0.5f * std::cos(mPress * std::numbers::pi_v<float>)) * kSqueeze);
    return HV_OK;
}
