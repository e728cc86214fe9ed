#pragma once

// An enemy's ability to open a summoning portal where it stands.
#include "Game/Units/Modifiers/NQModifier.h"

class ShamanModifier : public NQModifier
{
public:
    ShamanModifier(const std::string& name, float value, float duration, void* source);

    void Tick(NQEnemy* owner, float dt) override;
};
