#pragma once

#include <vector>

namespace render
{
class Graphics;
}

class NQBullet;
class NQEnemy;
class NQTower;

// The level's flying bullets and spells, owned; updated after the enemies.
class NQBulletManager
{
public:
    NQBulletManager() = default;
    ~NQBulletManager();
    NQBulletManager(const NQBulletManager&) = delete;
    NQBulletManager& operator=(const NQBulletManager&) = delete;

    // A tower's shot gets its firing effect and its flight emitter; then it
    // is appended.
    void Add(NQBullet* bullet);
    // Every bullet, those appended meanwhile too; the ended ones are deleted.
    void Update(float dt);
    // The enemy is about to be deleted: no bullet aims at it or remembers it.
    void ForgetEnemy(NQEnemy* enemy);
    // The tower is sold: its bullets go, and no modifier keeps it as source.
    void RemoveTowerBullets(NQTower* tower);
    // Deletes every bullet.
    void Clear();
    // Flight emitters and ammo pictures, in map space; spells draw nothing here.
    void Draw(render::Graphics* graphics);

    std::vector<NQBullet*> mBullets;
};
