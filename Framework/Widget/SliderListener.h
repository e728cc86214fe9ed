#pragma once

#include "Core/Base/Result.h"

namespace widget
{
class Slider;

// Told of a new slider value before the slider stores it.
class SliderListener
{
public:
    virtual ~SliderListener() = default;
    virtual HVResultEnum OnSliderChanged(Slider*, float) { return HV_OK; }
    virtual HVResultEnum OnSliderChanging(Slider*, float) { return HV_OK; }
};
} // namespace widget
