#pragma once

#include <cstdint>

// A road link between two points of the level file.
class NQLink
{
public:
    int32_t mFrom = 0;
    int32_t mTo = 0;
};
