#include "Framework/Widget/Slider.h"

namespace widget
{
Slider::Slider()
{
    mTakesCapture = 1;
    mHitTestWhileCaptured = 1;
}

ClassId& Slider::GetClassId()
{
    static ClassId id(&Widget::GetClassId());
    return id;
}

HVResultEnum Slider::ReservedHook()
{
    return HV_OK;
}

HVResultEnum Slider::UpdateLook()
{
    return HV_OK;
}

HVResultEnum Slider::OnSliderChanged(Slider* slider, float value)
{
    if (!mChangedDelegate)
        return HV_OK;
    return mChangedDelegate.As<ValueDelegate>()->Invoke(slider, value);
}

HVResultEnum Slider::OnSliderChanging(Slider* slider, float value)
{
    if (!mChangingDelegate)
        return HV_OK;
    return mChangingDelegate.As<ValueDelegate>()->Invoke(slider, value);
}

HVResultEnum Slider::SetValueSilent(float value, bool refresh)
{
    mValue = value;
    return refresh ? UpdateLook() : HV_OK;
}

HVResultEnum Slider::SetValueChanged(float value, bool refresh)
{
    if (mSliderListener)
    {
        if (const HVResultEnum result = mSliderListener->OnSliderChanged(this, value); result != HV_OK)
            return result;
    }
    return SetValueSilent(value, refresh);
}

HVResultEnum Slider::SetValueChanging(float value, bool refresh)
{
    if (mSliderListener)
    {
        if (const HVResultEnum result = mSliderListener->OnSliderChanging(this, value); result != HV_OK)
            return result;
    }
    return SetValueSilent(value, refresh);
}
} // namespace widget
