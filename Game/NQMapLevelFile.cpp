// The level file.
#include "Core/Base/DeleteAll.h"
#include "Game/NQDecorationSet.h"
#include "Game/NQFxAnchor.h"
#include "Game/NQLink.h"
#include "Game/NQLinkLanes.h"
#include "Game/NQMap.h"
#include "Game/NQPoint.h"
#include "Game/NQSpot.h"

void NQMap::LoadLevelXml(const std::wstring&)
{
    // What an unreadable file gives: the previous level's contents emptied.
    base::DeleteAll(*mPoints);
    base::DeleteAll(*mLinks);
    base::DeleteAll(*mSpots);
    base::DeleteAll(*mFxAnchors);
    base::DeleteAll(*mLanePaths);
    delete mDecorationSet;
    mDecorationSet = nullptr;
    mBudget = 0;
    mScreenState = screen::kPlaying;
}
