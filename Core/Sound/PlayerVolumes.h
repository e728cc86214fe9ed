#pragma once

namespace k2
{
// Where the sound tags read the player's volumes. The game installs one that
// reads its progress record; until then everything plays at full volume.
class PlayerVolumes
{
public:
    virtual ~PlayerVolumes() = default;
    virtual float GetSoundVolume() const;
    virtual float GetMusicVolume() const;
};
} // namespace k2
