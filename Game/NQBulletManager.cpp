#include "Game/NQBulletManager.h"

#include "Core/Base/DeleteAll.h"
#include "Game/NQBullet.h"

NQBulletManager::~NQBulletManager()
{
    Clear();
}

void NQBulletManager::Clear()
{
    base::DeleteAll(mBullets);
}
