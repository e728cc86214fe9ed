#pragma once

#include "Core/Base/Result.h"

namespace widget
{
class Button;

class ButtonListener
{
public:
    virtual ~ButtonListener() = default;
    virtual HVResultEnum OnButtonClick(Button*) { return HV_OK; }
};
} // namespace widget
