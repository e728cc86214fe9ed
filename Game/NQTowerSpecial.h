#pragma once

// A collectable lying on the map.
class NQTowerSpecial
{
public:
    virtual ~NQTowerSpecial() = default;
};
