#pragma once

// Base of the timed effects on enemies, towers and the level.
class NQModifier
{
public:
    virtual ~NQModifier() = default;
};
