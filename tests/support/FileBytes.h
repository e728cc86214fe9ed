#pragma once

// Whole-file helpers for tests that prepare or inspect files directly.
#include <string>

namespace hvtest
{
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
// An ASCII path as a wide string.
std::wstring Wide(const std::string& path);
} // namespace hvtest
