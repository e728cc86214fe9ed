#include "Game/Level/FindUiPicture.h"

#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQResources.h"

namespace
{
constexpr const wchar_t* kUiSet = L"nq/ui";
} // namespace

render::Image* FindUiPicture(const wchar_t* name)
{
    const NQFrameEntry* frame = NQResources::Instance()->FindFrame(kUiSet, L"", name);
    return frame ? frame->mPicture : nullptr;
}
