#include "Core/Resource/ResourceManager.h"

namespace resource
{
ResourceManager::~ResourceManager()
{
    // In registration order.
    for (std::unique_ptr<Destroyer>& destroyer : m_destroyers)
        destroyer.reset();
}
}
