#pragma once

// Layer names of layered-image documents are 8-bit Windows-1252 text.
#include <string>

namespace file
{
std::wstring PsdNameToWide(const std::string& name);
} // namespace file
