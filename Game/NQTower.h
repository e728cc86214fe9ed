#pragma once

// A tower standing on a build spot.
class NQTower
{
public:
    virtual ~NQTower() = default;
};
