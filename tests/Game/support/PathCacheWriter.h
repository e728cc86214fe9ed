#pragma once

// The tests write their cache fixtures with the content tool's writer.
#include "tools/make_path_cache/PathCacheWriter.h"

namespace gametest
{
using pathcache::WritePathCache;
} // namespace gametest
