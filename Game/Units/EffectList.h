#pragma once

// The level's lists of running effects (anchor and front effects): placing a
// new effect and the per-frame advance and purge both lists share.
#include <functional>
#include <string>
#include <vector>

class NQEffect;

using NQEffectList = std::vector<NQEffect*>;

// Leaves the emitter's loop mode as the library made it.
constexpr int kKeepLoopMode = -1;

// A new effect of the name at (x, y), set playing, appended to the list.
// Without an emitter (a name the library lacks) it is appended all the same.
NQEffect* PlaceEffect(NQEffectList& list, const std::string& name, float x, float y, int loopMode);
// A playing effect advances by dt; a stopped one is deleted and removed
// unless an owner holds it.
void UpdateEffectList(NQEffectList& list, float dt);

namespace game::testing
{
// Sees every effect placed: name, position and the list it joined. Empty: none.
using EffectObserver =
    std::function<void(const std::string& name, float x, float y, const NQEffectList& list)>;
void SetEffectObserver(EffectObserver observer);
} // namespace game::testing
