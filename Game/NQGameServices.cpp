#include "Game/NQGameServices.h"

#include "Game/Data/NQFrameEntry.h"

namespace
{
NQGameServices& DefaultServices()
{
    static NQGameServices services;
    return services;
}

NQGameServices* sInstalled = nullptr;
} // namespace

NQGameServices* NQGameServices::Get()
{
    return sInstalled ? sInstalled : &DefaultServices();
}

NQGameServices* NQGameServices::Install(NQGameServices* services)
{
    NQGameServices* previous = Get();
    sInstalled = services;
    return previous;
}

void NQGameServices::Remove(NQGameServices* services)
{
    if (sInstalled == services)
        sInstalled = nullptr;
}

void NQGameServices::AppendDrawFrame(NQFrameEntry* entry)
{
    // No level draws it: the entry is the caller's per-frame copy, gone at once.
    delete entry;
}
