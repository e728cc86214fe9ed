#pragma once

// Packs built the way the pack builder does: the directory with offsets in
// name order from its own size, then each file's bytes in the same order.
#include <string>
#include <utility>
#include <vector>

namespace hvtest
{
using PackFiles = std::vector<std::pair<std::wstring, std::string>>;

std::string BuildPack(const PackFiles& files);
// Writes BuildPack's bytes to a file, creating its parent folders.
void WritePack(const std::string& path, const PackFiles& files);
}
