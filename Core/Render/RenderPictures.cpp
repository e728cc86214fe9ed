// The renderer's picture operations: named textures, render targets and
// dynamic textures, each handed out as an image.
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Texture.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"

#include <cstdint>
#include <memory>
#include <utility>

namespace render
{
HVResultEnum Render::LoadTexture(const std::wstring& name, file::ImageContainer* container, Image** out,
                                 base::ImageInfo* info)
{
    const std::wstring path = container ? container->GetRootPath() + name : name;
    // A failed load drops this last use, so the resource leaves the manager
    // and the next request tries afresh.
    resource::ResourceHandle<resource::ResourceTexture> handle =
        resource::ResourceManager::Instance()->Get<resource::ResourceTexture>(path);
    if (!handle)
        return HV_FAIL;
    handle->SetRender(this);
    if (container)
        handle->SetContainer(container, name);
    if (!handle->IsLoaded())
    {
        const HVResultEnum result = handle->Load();
        if (mLoadTick)
            mLoadTick();
        if (result != HV_OK)
            return result;
    }
    auto* image = new Image;
    image->Assign(handle);
    *out = image;
    if (info)
        *info = static_cast<const base::ImageInfo&>(*handle.Get());
    return HV_OK;
}

namespace
{
// A new texture made empty by `make`; deleted again when that fails.
template <class Make>
HVResultEnum CreateEmptyTexture(Render& render, uint32_t width, uint32_t height, Make make,
                                std::unique_ptr<Texture>& out)
{
    if (width > uint32_t(INT32_MAX) || height > uint32_t(INT32_MAX))
        return HV_FAIL;
    Texture* texture = nullptr;
    const HVResultEnum result = render.CreateTexture(&texture);
    if (result != HV_OK)
        return result;
    std::unique_ptr<Texture> owned(texture);
    if (const HVResultEnum made = make(*owned, int32_t(width), int32_t(height)); made != HV_OK)
        return made;
    out = std::move(owned);
    return HV_OK;
}
} // namespace

HVResultEnum Render::CreateRenderTarget(uint32_t width, uint32_t height, RenderTarget** out, bool makeProjection)
{
    std::unique_ptr<Texture> texture;
    const HVResultEnum result = CreateEmptyTexture(
        *this, width, height, [](Texture& t, int32_t w, int32_t h) { return t.CreateRenderTarget(w, h); }, texture);
    if (result != HV_OK)
        return result;
    *out = new RenderTarget(texture.release(), makeProjection);
    return HV_OK;
}

HVResultEnum Render::CreateDynamicTexture(uint32_t width, uint32_t height, Image** out)
{
    std::unique_ptr<Texture> texture;
    const HVResultEnum result = CreateEmptyTexture(
        *this, width, height, [](Texture& t, int32_t w, int32_t h) { return t.CreateDynamic(w, h); }, texture);
    if (result != HV_OK)
        return result;
    *out = new Image(texture.release());
    return HV_OK;
}
} // namespace render
