#pragma once

// Targets on the live game: HUD and window buttons, points of the level,
// its spots, towers, drops and the context ring's items. Each answers
// nothing until its thing exists (and, for the ring, can be chosen), so a
// click on it waits.
#include "Driver.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class NQContextMenuItem;
class NQTower;

namespace playthrough
{
// A button of the window on top of the HUD's stack.
Target WindowButton(const std::wstring& name);
// A button of the level's panel (play, speed, pause, options).
Target HudButton(const std::wstring& name);
// A point of the level, in the level's own units.
Target LevelPoint(Point level);
// The centre of the level's spot number `index`, as the level file lists them.
Target Spot(int index);
// The tower standing on spot number `index`.
Target TowerOnSpot(int index);
// The first drop lying on the ground.
Target LyingDrop();
// The buy button of the shop's plate number `index`, while it shows one.
Target ShopBuyButton(int index);
// The open ring's item with that key (a prototype id on the build ring, a
// level id on the tower ring, 0 for sell), once the ring has opened fully.
Target RingItem(int32_t key);

// Probes of the level's picture, clear of the panel, the tutorial's hints
// and skip button, `covers` (logical) and the screen's edges, and at least
// 80 units from every road sample, spot, tower, enemy and drop. Empty
// outside a level.
std::vector<Probe> LevelProbes(const std::string& layoutRoot, std::vector<Rect> covers = {});

// Probes of the tower pictures of the open ring's choices, where the ring
// draws them: clear of each choice's price above, its star mark on the
// right rim, its ability icons below, and of the panel and the tutorial's
// hints and skip button. `iconFrame` names the content picture ("ui/..."),
// relative to the ring's picture folder, of a prototype id; empty for none.
std::vector<Probe> RingChoiceProbes(const std::string& layoutRoot,
                                    const std::function<std::string(int32_t)>& iconFrame);

// Read-only lookups.
NQTower* FindTowerOnSpot(int index);
// The level's centre of the spot; false when the level has no such spot.
bool SpotCentre(int index, Point& out);
// A ring is shown and not closing (fully open or still growing).
bool RingOpen();
NQContextMenuItem* FindRingItem(int32_t key);
} // namespace playthrough
