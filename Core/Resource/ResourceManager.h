#pragma once

#include "Core/Base/Result.h"
#include "Core/Base/Singletone.h"
#include "Core/Resource/MapDestroyer.h"
#include "Core/Resource/ResourceHandle.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace resource
{
// One name map per resource type; names are exact (case-sensitive).
class ResourceManager : public base::Singletone<ResourceManager>
{
public:
    template <class T>
    using Map = std::map<std::wstring, std::pair<T*, int*>>;

    ResourceManager() = default;
    ~ResourceManager() override;

    // The shared resource of that name, created and initialised (not loaded)
    // when new; empty when its initialisation fails.
    template <class T>
    ResourceHandle<T> Get(const std::wstring& name)
    {
        Map<T>& map = GetMap<T>();
        const auto it = map.find(name);
        if (it != map.end())
        {
            ++*it->second.second;
            return ResourceHandle<T>(it->second.first, it->second.second);
        }
        T* resource = new T;
        if (resource->Init(name) != HV_OK)
        {
            delete resource;
            return ResourceHandle<T>();
        }
        int* count = new int(1);
        map.emplace(name, std::make_pair(resource, count));
        return ResourceHandle<T>(resource, count);
    }

    template <class T>
    Map<T>& GetMap()
    {
        Map<T>*& map = MapSlot<T>();
        if (!map)
        {
            map = new Map<T>;
            m_destroyers.push_back(std::make_unique<MapDestroyer<Map<T>>>(&map));
        }
        return *map;
    }

    // Unloads, deletes and forgets the resource; a failing unload keeps it.
    template <class T>
    HVResultEnum Remove(T* resource)
    {
        Map<T>& map = GetMap<T>();
        for (auto it = map.begin(); it != map.end(); ++it)
        {
            if (it->second.first != resource)
                continue;
            if (resource->IsLoaded())
            {
                const HVResultEnum result = resource->UnLoad();
                if (result != HV_OK)
                    return result;
            }
            delete resource;
            delete it->second.second;
            map.erase(it);
            return HV_OK;
        }
        return HV_OK;
    }

private:
    template <class T>
    static Map<T>*& MapSlot()
    {
        static Map<T>* map = nullptr;
        return map;
    }

    std::vector<std::unique_ptr<Destroyer>> m_destroyers;
};
}
