#pragma once

#include "Core/Resource/Destroyer.h"

namespace resource
{
// Frees the map without unloading or deleting the resources left in it: by
// the time the manager goes the renderer they need is already gone.
template <class Map>
class MapDestroyer : public Destroyer
{
public:
    explicit MapDestroyer(Map** slot)
        : m_slot(slot)
    {
    }

    ~MapDestroyer() override
    {
        delete *m_slot;
        *m_slot = nullptr;
    }

private:
    Map** m_slot;
};
}
