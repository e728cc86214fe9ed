#include "Game/Level/NQWaveHintStrip.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Render/Image.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQResources.h"
#include "Game/Roads/NQPoint.h"

#include <algorithm>

NQWaveHintStrip::NQWaveHintStrip()
{
    if (NQFrameEntry* frame = NQResources::Instance()->FindFrame(L"nq/ui", L"", L"ui/wave_hint"))
        mPicture = frame->mPicture;
}

NQWaveHintStrip::~NQWaveHintStrip()
{
    Clear();
}

void NQWaveHintStrip::AddHint(const NQPoint& point)
{
    auto* hint = new NQFrameEntry;
    hint->mPicture = mPicture;
    const int width = mPicture ? mPicture->GetWidth() : 0;
    const int height = mPicture ? mPicture->GetHeight() : 0;
    int x = std::min(int(std::max(point.mX, 0.0f)), kAreaWidth);
    int y = std::min(int(std::max(point.mY, 0.0f)), kAreaHeight);
    if (x + width > kAreaWidth)
        x = kAreaWidth - width;
    if (y < kTop)
        y = kTop;
    else if (y + height > kBottom)
        y = kBottom - height;
    hint->mRect[0] = float(x);
    hint->mRect[1] = float(y);
    hint->mRect[2] = float(width);
    hint->mRect[3] = float(height);
    mHints.push_back(hint);
}

void NQWaveHintStrip::Clear()
{
    base::DeleteAll(mHints);
}

bool NQWaveHintStrip::HitTest(int x, int y) const
{
    const float px = float(x);
    const float py = float(y);
    for (const NQFrameEntry* hint : mHints)
    {
        const float* r = hint->mRect;
        if (px > r[0] && px < r[0] + r[2] && py > r[1] && py < r[1] + r[3])
            return true;
    }
    return false;
}
