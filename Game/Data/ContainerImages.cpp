#include "Game/Data/ContainerImages.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/File/ImageContainer.h"
#include "Framework/GameApplication.h"
#include "Framework/Layer/ImageLayer.h"
#include "Game/Data/NQFrameEntry.h"

render::Image* LoadGamePicture(const std::wstring& name, file::ImageContainer* container)
{
    // Without a renderer no picture loads; names and rectangles are still read.
    framework::GameApplication* application = framework::GameApplication::Current();
    if (!application || !application->mRender)
        return nullptr;
    return application->LoadImage(name, container);
}

base::ImageInfo* FindContainerImage(file::ImageContainer* container, const std::wstring& name)
{
    return container ? container->FindLayer(name) : nullptr;
}

render::Image* LoadContainerImage(file::ImageContainer* container, const std::wstring& name)
{
    const base::ImageInfo* info = FindContainerImage(container, name);
    if (!info)
        return nullptr;
    return LoadGamePicture(info->name, container);
}

void InitImageLayerFromContainer(layer::ImageLayer* imageLayer, file::ImageContainer* container,
                                 const std::wstring& name, float originX, float originY)
{
    if (!imageLayer)
        return;
    const base::ImageInfo* info = FindContainerImage(container, name);
    if (!info)
        return;
    imageLayer->SetImage(LoadContainerImage(container, name), true);
    imageLayer->SetPosition(info->x - originX, info->y - originY, 0.0f);
}

NQFrameEntry* CreateFrameEntryFromContainer(file::ImageContainer* container, const std::wstring& name)
{
    auto* entry = new NQFrameEntry;
    entry->mShown = 1;
    entry->mOwnsPicture = 1;
    const base::ImageInfo* info = FindContainerImage(container, name);
    if (!info)
    {
        // Callers do not test for null: they get an empty entry of that name.
        entry->mName = name;
        HV_LOG(L"Missing layer %s in %s\n") % name % (container ? container->GetPath() : std::wstring());
        return entry;
    }
    entry->mPicture = LoadGamePicture(info->name, container);
    entry->mRect[0] = info->x;
    entry->mRect[1] = info->y;
    entry->mRect[2] = info->w;
    entry->mRect[3] = info->h;
    entry->mName = info->name;
    entry->mLayerIndex = info->index;
    return entry;
}

void DetachLayerFromParent(layer::Layer* child)
{
    if (!child)
        return;
    layer::Layer* parent = child->GetParent();
    if (!parent || parent->GetChildren().empty())
        return;
    parent->RemoveChild(child);
}
