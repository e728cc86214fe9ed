#pragma once

#include <cstdint>

// One row of the setup sheet: the levels of an episode and the stars that open it.
struct NQEpisodeSetup
{
    int32_t levels = 0;
    int32_t hardcoreLevels = 0;
    int32_t starsToOpen = 0;
};
