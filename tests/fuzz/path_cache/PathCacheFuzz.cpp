// The bytes as a path cache over a level of three links; every lane read is
// then walked as an enemy walks it.
#include "Core/Base/DeleteAll.h"
#include "Core/Base/MemoryStream.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/PathCache.h"
#include "Game/Roads/PathWalk.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static NQLink links[3];
    const std::vector<NQLink*> linkList{&links[0], &links[1], &links[2]};
    base::MemoryStream stream(data, size);
    std::vector<NQLinkLanes*> table;
    if (ReadPathCache(stream, linkList, table) == HV_OK)
    {
        volatile float sink = 0.0f;
        for (const NQLinkLanes* entry : table)
            for (const auto& [offset, lane] : entry->mLanes)
            {
                // A bounded walk: progress stops at the end of the lane.
                float u = 0.0f;
                for (int step = 0; step < 64 && u < 1.0f; ++step)
                {
                    const CurvePoint point = NQMap::GetPathPoint(lane, u);
                    sink = sink + point.x + point.y;
                    u = AdvancePathProgress(lane, u, 7.0f);
                }
                sink = sink + NQMap::GetPathPoint(lane, 1.3f).x + NQMap::GetPathPoint(lane, -0.2f).y;
            }
    }
    base::DeleteAll(table);
    return 0;
}
