#pragma once

// Writes a level's lane-path table in the path cache's byte layout (the game
// itself only reads caches): the content's caches, test fixtures and round trips.
#include <string>
#include <vector>

class NQLink;
class NQLinkLanes;

namespace pathcache
{
// Each entry's link is written as its index in links (-1 when absent); every
// sample's extra value is written as it is held.
std::string WritePathCache(const std::vector<NQLinkLanes*>& table, const std::vector<NQLink*>& links);
} // namespace pathcache
