#include "Game/Units/Modifiers/AreaDamageModifier.h"

AreaDamageModifier::AreaDamageModifier(const std::string& name, float value, float duration, void* source, float x,
                                       float y, float size)
    : NQModifier(name, value, duration, source)
{
    mKind = kAreaDamageKind;
    SetArea(x, y, size);
}
