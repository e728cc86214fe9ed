#include "Game/NQPlayerVolumes.h"

#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"

namespace
{
constexpr float kFullVolume = 1.0f;

// Null during start-up and teardown, when no level or record exists.
NQProgress* RunningProgress()
{
    NQMap* map = Game::GetMap();
    return map ? map->mProgress : nullptr;
}
} // namespace

float NQPlayerVolumes::GetSoundVolume() const
{
    NQProgress* progress = RunningProgress();
    return progress ? progress->GetSoundVolume() : kFullVolume;
}

float NQPlayerVolumes::GetMusicVolume() const
{
    NQProgress* progress = RunningProgress();
    return progress ? progress->GetMusicVolume() : kFullVolume;
}
