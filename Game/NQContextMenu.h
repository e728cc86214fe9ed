#pragma once

// The context ring of the running level.
class NQContextMenu
{
public:
    virtual ~NQContextMenu() = default;
};
