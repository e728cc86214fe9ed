#include "Game/ContainerImages.h"

#include "Game/NQFrameEntry.h"

render::Image* LoadContainerImage(file::ImageContainer*, const std::wstring&) { return nullptr; }
base::ImageInfo* FindContainerImage(file::ImageContainer*, const std::wstring&) { return nullptr; }
void InitImageLayerFromContainer(layer::ImageLayer*, file::ImageContainer*, const std::wstring&, float, float) {}
NQFrameEntry* CreateFrameEntryFromContainer(file::ImageContainer*, const std::wstring& name)
{
    auto* entry = new NQFrameEntry;
    entry->mName = name;
    return entry;
}
void DetachLayerFromParent(layer::Layer*) {}
