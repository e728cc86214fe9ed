#include "Core/Sound/PlayerVolumes.h"

namespace k2
{
float PlayerVolumes::GetSoundVolume() const
{
    return 1.0f;
}

float PlayerVolumes::GetMusicVolume() const
{
    return 1.0f;
}
} // namespace k2
