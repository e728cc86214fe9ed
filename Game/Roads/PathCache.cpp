#include "Game/Roads/PathCache.h"

#include "Core/Base/DeleteAll.h"
#include "Framework/Lightwave/StreamFields.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPathSample.h"

#include <cmath>
#include <cstdint>

namespace
{
// The least bytes of each record: what a count must leave room for.
constexpr uint32_t kEntryMinSize = 12;
constexpr uint32_t kNumberSize = 8;
constexpr uint32_t kLaneMinSize = 8;
constexpr uint32_t kSampleSize = 20;

bool ReadFiniteFloat(base::Stream& stream, float& value)
{
    return lightwave::ReadFloat(stream, value) && std::isfinite(value);
}

bool ReadCount(base::Stream& stream, uint32_t& count, uint32_t recordSize)
{
    return lightwave::ReadUInt32(stream, count) && lightwave::CountFits(stream, count, recordSize);
}

bool ReadSamples(base::Stream& stream, std::vector<NQPathSample*>& samples)
{
    uint32_t count;
    if (!ReadCount(stream, count, kSampleSize))
        return false;
    samples.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
    {
        NQPathSample* sample = new NQPathSample;
        samples.push_back(sample);
        // The file's order differs from the record's: extra comes first.
        if (!ReadFiniteFloat(stream, sample->extra) || !ReadFiniteFloat(stream, sample->normalX) ||
            !ReadFiniteFloat(stream, sample->normalY) || !ReadFiniteFloat(stream, sample->x) ||
            !ReadFiniteFloat(stream, sample->y))
            return false;
    }
    return true;
}

bool ReadEntry(base::Stream& stream, NQLinkLanes& entry)
{
    uint32_t numberCount;
    if (!ReadCount(stream, numberCount, kNumberSize))
        return false;
    for (uint32_t i = 0; i < numberCount; ++i)
    {
        int32_t key;
        float value;
        if (!lightwave::ReadInt32(stream, key) || !ReadFiniteFloat(stream, value))
            return false;
        entry.mNumbers[key] = value;
    }

    uint32_t laneCount;
    if (!ReadCount(stream, laneCount, kLaneMinSize))
        return false;
    for (uint32_t i = 0; i < laneCount; ++i)
    {
        int32_t offset;
        if (!lightwave::ReadInt32(stream, offset))
            return false;
        std::vector<NQPathSample*> samples;
        if (!ReadSamples(stream, samples))
        {
            base::DeleteAll(samples);
            return false;
        }
        entry.SetLane(offset, samples);
    }
    return true;
}

HVResultEnum ReadEntries(base::Stream& stream, const std::vector<NQLink*>& links, std::vector<NQLinkLanes*>& read)
{
    uint32_t entryCount;
    if (!ReadCount(stream, entryCount, kEntryMinSize))
        return HV_FAIL;
    for (uint32_t i = 0; i < entryCount; ++i)
    {
        int32_t linkIndex;
        if (!lightwave::ReadInt32(stream, linkIndex))
            return HV_FAIL;
        // An index outside the list would key the entry to no link.
        if (linkIndex < 0 || size_t(linkIndex) >= links.size())
            return HV_FAIL;
        NQLinkLanes* entry = new NQLinkLanes(links[size_t(linkIndex)]);
        read.push_back(entry);
        if (!ReadEntry(stream, *entry))
            return HV_FAIL;
    }
    return HV_OK;
}
} // namespace

HVResultEnum ReadPathCache(base::Stream& stream, const std::vector<NQLink*>& links,
                           std::vector<NQLinkLanes*>& table)
{
    std::vector<NQLinkLanes*> read;
    const HVResultEnum result = ReadEntries(stream, links, read);
    if (result != HV_OK)
    {
        // Half a cache would hide lanes the routes need: all or nothing.
        base::DeleteAll(read);
        return result;
    }
    table.insert(table.end(), read.begin(), read.end());
    return HV_OK;
}
