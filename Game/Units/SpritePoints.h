#pragma once

// Where a unit's sprite set puts its marker points ("s_point", "base_point")
// and how far its frames reach.
#include <cstddef>

class NQSpriteSet;

// The largest right and bottom edge over every frame of every group; 0 for no set.
void GetSpriteExtent(const NQSpriteSet* set, float& w, float& h);
// The top-left corner of frame `index` of the group. A missing frame counts
// as the extent's centre, so a shot starts at the tower's centre; an index
// beyond the group takes its last frame.
void GetMarkerPoint(const NQSpriteSet* set, const char* group, size_t index, float w, float h, float& x, float& y);
