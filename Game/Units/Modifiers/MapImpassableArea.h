#pragma once

// An area on the map that holds every enemy in it still.
#include "Game/Units/Modifiers/NQModifier.h"

class MapImpassableArea : public NQModifier
{
public:
    MapImpassableArea(float duration, float x, float y, float size);

    void Tick(NQEnemy* owner, float dt) override;
};
