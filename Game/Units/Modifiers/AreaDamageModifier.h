#pragma once

// The marker of a splash hit on the map: an area and a kind, no effect of its own.
#include "Game/Units/Modifiers/NQModifier.h"

class AreaDamageModifier : public NQModifier
{
public:
    static constexpr int32_t kAreaDamageKind = 101;

    AreaDamageModifier(const std::string& name, float value, float duration, void* source, float x, float y,
                       float size);
};
