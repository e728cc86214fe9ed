#pragma once

// A bullet or spell in flight.
class NQBullet
{
public:
    virtual ~NQBullet() = default;
};
