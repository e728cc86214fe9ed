#pragma once

// An enemy on the road.
class NQEnemy
{
public:
    virtual ~NQEnemy() = default;
};
