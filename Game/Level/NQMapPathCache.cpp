// The level's path cache: the lane-path table read from a file beside the
// level file.
#include "Core/Base/FileStream.h"
#include "Core/Base/Format.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/PathCache.h"

namespace
{
constexpr int32_t kHardcoreMode = 3;
// FileHandleWin32::Open: read access, existing file only.
constexpr int kReadAccess = 0;
constexpr int kOpenExisting = 2;
} // namespace

std::wstring NQMap::GetPathCacheName() const
{
    base::Format name(L"nq/levels_%s/level_%02d_%02d.cache");
    name % (mMode == kHardcoreMode ? L"hardcore" : L"normal") % (mEpisode + 1) % (mLevel + 1);
    return name.GetText();
}

HVResultEnum NQMap::LoadPathCache(std::vector<NQLinkLanes*>& table)
{
    // A loose file on the disk, never from a pack: a cache ships beside "data.dat".
    base::FileStream stream;
    if (stream.GetFile().Open(GetPathCacheName(), kReadAccess, kOpenExisting) != HV_OK)
        return HV_FAIL;
    return ReadPathCache(stream, *mLinks, table);
}
