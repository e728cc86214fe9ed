#pragma once

#include "Core/Base/DelegateHandle.h"
#include "Framework/Widget/SliderListener.h"
#include "Framework/Widget/Widget.h"

namespace widget
{
// A widget with a float value. Its listener (the slider itself unless
// replaced) is told of every new value before it is stored and can refuse
// it; the slider's own face forwards to two delegates. Dragging and the look
// belong to subclasses.
class Slider : public Widget, public SliderListener
{
public:
    using ValueDelegate = base::Delegate2<Slider*, float, HVResultEnum>;

    Slider();

    ClassId& GetClassId() override;
    // Never called.
    virtual HVResultEnum ReservedHook();
    // Subclasses move their thumb and bar here.
    virtual HVResultEnum UpdateLook();

    HVResultEnum OnSliderChanged(Slider* slider, float value) override;
    HVResultEnum OnSliderChanging(Slider* slider, float value) override;

    // Stores the value; with refresh, UpdateLook.
    HVResultEnum SetValueSilent(float value, bool refresh);
    // The listener first: a failure is returned and the value is kept.
    HVResultEnum SetValueChanged(float value, bool refresh);
    HVResultEnum SetValueChanging(float value, bool refresh);

    float GetValue() const { return mValue; }

    SliderListener* mSliderListener = this;
    // Of ValueDelegates.
    base::DelegateHandle mChangedDelegate;
    base::DelegateHandle mChangingDelegate;
    // For subclasses; the base reads none of them.
    float mReserved = 0.0f;
    float mMinimum = 0.0f;
    float mMaximum = 1.0f;
    float mValue = 0.0f;
};
} // namespace widget
