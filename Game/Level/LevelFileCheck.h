#pragma once

// Whether a level file's text can be played: a level without a goal, a road
// or a wave would open empty, and absurd counts would stall the game at its
// first wave. The limits are ten times the largest shipped level (12 points,
// 11 links, 12 waves, 20 units in a wave).
#include <cstddef>
#include <string>

constexpr size_t kMaxLevelPoints = 120;
constexpr size_t kMaxLevelLinks = 110;
constexpr size_t kMaxLevelWaves = 120;
constexpr size_t kMaxWaveUnits = 200;

// Why the level cannot be played; empty when it can.
std::wstring CheckLevelFile(const std::string& text);
