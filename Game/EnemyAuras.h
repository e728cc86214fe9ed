#pragma once

// What the enemies' abilities share: who an aura reaches.
#include <vector>

class NQEnemy;

// 2: killed, its death playing. Fading enemies still count as alive here.
bool IsDead(const NQEnemy* enemy);
// The other live enemies strictly nearer to the enemy than its prototype's
// "r" (a radius here), in list order.
std::vector<NQEnemy*> FindEnemiesWithinR(const NQEnemy* enemy);
