// The drops of the level and the towers' own specials.
#include "Game/Level/NQMap.h"

#include "Game/Units/NQTowerSpecial.h"

void NQMap::UpdateDrops(std::vector<NQTowerSpecial*>& list, float dt)
{
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i)
    {
        NQTowerSpecial* special = list[i];
        special->Update(dt);
        if (!special->mAlive)
        {
            delete special;
            continue;
        }
        list[kept++] = special;
    }
    list.resize(kept);
}
