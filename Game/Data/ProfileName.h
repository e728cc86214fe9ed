#pragma once

// What a player's name may be: the name input takes these characters only and
// no more than kMaxLength of them; names read from the profiles file are held
// to the same.
#include <cstddef>
#include <string>
#include <string_view>

namespace profilename
{
constexpr size_t kMaxLength = 16;

// A digit, a Latin letter or a Cyrillic letter from U+0410 to U+044F.
bool IsNameCharacter(int ch);

// The name (UTF-8) as the name input could have typed it: the characters it
// takes, in order, cut after kMaxLength. The placeholder profile's own name
// is kept as it is.
std::string Fit(std::string_view name);
} // namespace profilename
