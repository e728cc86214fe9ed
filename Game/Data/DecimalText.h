#pragma once

// Whole numbers shown to the player, written by the engine's formatter so
// that every visible number follows one rule.
#include <cstdint>
#include <string>

std::wstring DecimalText(int32_t value);
