#pragma once

#include <map>
#include <memory>
#include <string>

namespace file
{
class Archiver;

// The archivers a container has opened for its mounts, by pack-file path.
using ArchiveCache = std::map<std::wstring, std::unique_ptr<Archiver>>;
}
