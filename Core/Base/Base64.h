#pragma once

// Base64 with the standard alphabet, no line breaks.
#include <string>

namespace base
{
std::string Base64Encode(const std::string& data);
// Stops at the first '=' or any character outside the alphabet; what
// follows is ignored.
std::string Base64Decode(const std::string& text);
} // namespace base
