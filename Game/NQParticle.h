#pragma once

// A particle effect of the level.
class NQParticle
{
public:
    virtual ~NQParticle() = default;
};
