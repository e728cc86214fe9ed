#pragma once

// Writes a level's lane-path table in the path cache's byte layout (the game
// itself only reads caches): fixtures and round trips.
#include <string>
#include <vector>

class NQLink;
class NQLinkLanes;

namespace gametest
{
// Each entry's link is written as its index in links (-1 when absent).
std::string WritePathCache(const std::vector<NQLinkLanes*>& table, const std::vector<NQLink*>& links);
} // namespace gametest
