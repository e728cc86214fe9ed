#pragma once

// A named kind of dialog transition, read from the dialog-effects table; it
// makes a fresh effects task for each dialog that opens with it.
#include "Core/Base/Result.h"

namespace tinyxml2
{
class XMLElement;
}

namespace widget
{
class Dialog;
class DialogEffects;

class DialogEffectsData
{
public:
    virtual ~DialogEffectsData() = default;
    virtual HVResultEnum Load(const tinyxml2::XMLElement* element) = 0;
    // Nothing is handed out on failure.
    virtual HVResultEnum CreateEffects(Dialog* dialog, DialogEffects** out) = 0;
};
} // namespace widget
