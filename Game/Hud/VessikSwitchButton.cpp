#include "Game/Hud/VessikSwitchButton.h"

#include "Core/Math/MathFunctions.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Widget/TrapHitTestListener.h"
#include "Game/Hud/VessikButton.h"

#include <cmath>
#include <numbers>

VessikSwitchButton::VessikSwitchButton()
{
    mStates = mPictures;
    mStateCount = kPictureCount;
}

VessikSwitchButton::~VessikSwitchButton() = default;

widget::ClassId& VessikSwitchButton::GetClassId()
{
    static widget::ClassId id(&widget::Button::GetClassId());
    return id;
}

HVResultEnum VessikSwitchButton::Load(file::ImageContainer* container, const std::wstring& normal,
                                      const std::wstring& active, const std::wstring& selected,
                                      const std::wstring& shadow)
{
    if (const HVResultEnum result = VessikButton::Bind(this, container); result != HV_OK)
        return result;
    if (const HVResultEnum result = AddStateImage(kSelectedPicture, selected, nullptr); result != HV_OK)
        return result;
    // Presses on the selected look are swallowed.
    if (mPictures[kSelectedPicture])
        mPictures[kSelectedPicture]->mHitListener = GetTrapListener();
    if (const HVResultEnum result = AddStateImage(kNormalPicture, normal, nullptr); result != HV_OK)
        return result;
    if (const HVResultEnum result = AddStateImage(kActivePicture, active, nullptr); result != HV_OK)
        return result;
    CenterOnStates();
    if (const HVResultEnum result = CreateImageLayerBack(shadow, kModeNoHit, nullptr, nullptr); result != HV_OK)
        return result;
    if (const HVResultEnum result = OnStateChanged(widget::Button::kNormal); result != HV_OK)
        return result;
    // The opacities are right from the first frame.
    return Update(0.0f);
}

void VessikSwitchButton::SetSelected(bool selected)
{
    mSelected = selected ? 1 : 0;
    layer::HitTestListener* listener = selected ? nullptr : static_cast<widget::WidgetHitTestListener*>(this);
    for (const int index : {kNormalPicture, kActivePicture})
    {
        if (mPictures[index])
            mPictures[index]->mHitListener = listener;
    }
}

HVResultEnum VessikSwitchButton::OnStateChanged(int state)
{
    VessikButton::SwitchHitPictures(mPictures[kNormalPicture], mPictures[kActivePicture], state);
    return HV_OK;
}

HVResultEnum VessikSwitchButton::Update(float dt)
{
    const int state = mVisualState;
    const bool lit = state == widget::Button::kHover || state == widget::Button::kPressed;
    math::Approach(mHighlight, kHighlightRate * dt, lit ? 1.0f : 0.0f);
    math::Approach(mSelection, kSelectionRate * dt, mSelected ? 1.0f : 0.0f);
    const float unselected = 1.0f - mSelection;
    if (mPictures[kActivePicture])
        mPictures[kActivePicture]->mOpacity = unselected * mHighlight;
    if (mPictures[kNormalPicture])
        mPictures[kNormalPicture]->mOpacity = unselected * VessikButton::NormalOpacity(mHighlight);
    if (mPictures[kSelectedPicture])
        mPictures[kSelectedPicture]->mOpacity = mSelection < kSelectedFadeEnd ? mSelection * 10.0f : 1.0f;

    VessikButton::ApplyScale(*this, 1.0f + (0.5f - 0.5f * std::cos(mHighlight * std::numbers::pi_v<float>)) * kGrow);
    return HV_OK;
}
