#include "Game/Level/NQDecorationSet.h"

#include "Core/Base/DeleteAll.h"
#include "Game/Data/NQFrameEntry.h"

NQDecorationSet::~NQDecorationSet()
{
    mSpotFrames.clear();
    base::DeleteAll(mFrames);
}

void NQDecorationSet::ShowSpotFrames()
{
    for (NQFrameEntry* frame : mSpotFrames)
        frame->mShown = 1;
}
