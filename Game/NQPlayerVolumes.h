#pragma once

#include "Core/Sound/PlayerVolumes.h"

// The player's volumes for the sound tags: those of the running level's
// progress record, full volume while there is none.
class NQPlayerVolumes : public k2::PlayerVolumes
{
public:
    float GetSoundVolume() const override;
    float GetMusicVolume() const override;
};
