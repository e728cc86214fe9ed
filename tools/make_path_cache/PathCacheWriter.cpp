#include "PathCacheWriter.h"

#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPathSample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pathcache
{
namespace
{
void PutUInt32(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(char((value >> shift) & 0xFF));
}

void PutInt32(std::string& out, int32_t value) { PutUInt32(out, static_cast<uint32_t>(value)); }

void PutFloat(std::string& out, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    PutUInt32(out, bits);
}
} // namespace

std::string WritePathCache(const std::vector<NQLinkLanes*>& table, const std::vector<NQLink*>& links)
{
    std::string out;
    PutUInt32(out, uint32_t(table.size()));
    for (const NQLinkLanes* entry : table)
    {
        const auto found = std::find(links.begin(), links.end(), entry->mLink);
        PutInt32(out, found == links.end() ? -1 : int32_t(found - links.begin()));
        PutUInt32(out, uint32_t(entry->mNumbers.size()));
        for (const auto& [key, value] : entry->mNumbers)
        {
            PutInt32(out, key);
            PutFloat(out, value);
        }
        PutUInt32(out, uint32_t(entry->mLanes.size()));
        for (const auto& [offset, samples] : entry->mLanes)
        {
            PutInt32(out, offset);
            PutUInt32(out, uint32_t(samples.size()));
            for (const NQPathSample* sample : samples)
            {
                PutFloat(out, sample->extra);
                PutFloat(out, sample->normalX);
                PutFloat(out, sample->normalY);
                PutFloat(out, sample->x);
                PutFloat(out, sample->y);
            }
        }
    }
    return out;
}
} // namespace pathcache
