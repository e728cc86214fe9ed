#include "Game/Units/SpritePoints.h"

#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQSpriteSet.h"

#include <algorithm>

void GetSpriteExtent(const NQSpriteSet* set, float& w, float& h)
{
    w = 0.0f;
    h = 0.0f;
    if (!set)
        return;
    for (const auto& group : set->mFrames)
        for (const NQFrameEntry* frame : group.second)
        {
            w = std::max(w, frame->mRect[0] + frame->mRect[2]);
            h = std::max(h, frame->mRect[1] + frame->mRect[3]);
        }
}

void GetMarkerPoint(const NQSpriteSet* set, const char* group, size_t index, float w, float h, float& x, float& y)
{
    x = w * 0.5f;
    y = h * 0.5f;
    if (!set)
        return;
    const NQSpriteSet::FrameList& frames = set->GetFrames(group);
    if (frames.empty())
        return;
    const NQFrameEntry* frame = frames[std::min(index, frames.size() - 1)];
    x = frame->mRect[0];
    y = frame->mRect[1];
}
