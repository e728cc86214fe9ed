#pragma once

#include <vector>

class NQBullet;

// The level's bullets and spells.
class NQBulletManager
{
public:
    NQBulletManager() = default;
    ~NQBulletManager();
    NQBulletManager(const NQBulletManager&) = delete;
    NQBulletManager& operator=(const NQBulletManager&) = delete;

    // Deletes every bullet.
    void Clear();

    std::vector<NQBullet*> mBullets;
};
