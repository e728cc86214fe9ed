#pragma once

// What the enemies' abilities and the slowing effects share: who an aura
// reaches, holding back and healing.
#include <vector>

class NQEnemy;

// 2: killed, its death playing. Fading enemies still count as alive here.
bool IsDead(const NQEnemy* enemy);
// The other live enemies strictly nearer to the enemy than its prototype's
// "r" (a radius here), in list order.
std::vector<NQEnemy*> FindEnemiesWithinR(const NQEnemy* enemy);
// This frame the enemy loses that share of its unit's own speed.
void HoldBack(NQEnemy* enemy, float share);
// A heal of a tenth of the enemy's maximum, never above it; false, and
// nothing done, when it is not wounded.
bool HealTenth(NQEnemy* enemy);
