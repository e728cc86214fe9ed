#pragma once

// Pack entry names are UTF-16 in the file and wide (code points) in memory.
// The conversion is exact both ways: a surrogate pair becomes one code point
// and a lone surrogate keeps its value, so every name read writes back
// byte-identical.
#include <cstddef>
#include <string>

namespace file
{
std::u16string ToPackUnits(const std::wstring& name);
std::wstring FromPackUnits(const std::u16string& units);

// Orders names by their UTF-16 code units, the order of a written directory.
// It differs from comparing code points for characters above U+FFFF against
// U+E000 to U+FFFF.
struct PackNameLess
{
    bool operator()(const std::wstring& a, const std::wstring& b) const;
};
}
