#pragma once

namespace input
{
// Engine key codes are the SDL 1.2 key numbers: 0 to 323.
constexpr int kEngineKeyCount = 324;

// Fills the engine-key-to-virtual-key table (0 where no virtual key exists).
void BuildEngineToVirtualKey(int (&table)[kEngineKeyCount]);
// Fills the inverse, walking the engine keys upward so that the highest
// engine key wins where several share a virtual key.
void BuildVirtualKeyToEngine(const int (&engineToVirtual)[kEngineKeyCount], int (&table)[kEngineKeyCount]);
} // namespace input
