// The balance sheets and the episode setup.
#include "Game/NQMap.h"

namespace
{
constexpr float kSellFactor = 0.5f;
} // namespace

void NQMap::LoadSheets()
{
    mSellFactor = kSellFactor;
    mDefaultGems = 0;
}
