#pragma once

// The result of one level, as the progress record stores it.
class NQLevelRecord
{
public:
    int GetScore() const { return kills + healthBonus; }

    int kills = 0;
    int combo = 0;
    int healthBonus = 0;
    int stars = 0;
    int gems = 0;
    int high = 0;
    int mode = 0;
};
