#pragma once

// Towers and spells work on copies of their prototypes, with the player's
// bought upgrades applied.
#include <cstdint>

class NQUnitProto;

// A new copy of the running level's prototype of that id with the upgrades in
// force; the caller owns it. Null, with one log line, when the level's
// database has no such prototype (the callers skip it).
NQUnitProto* CreateUpgradedProto(int32_t id);
