#pragma once

// A picture loaded by name (from the file system or a layer of a layered
// image) into a texture shared by every image assigned to it.
#include "Core/Base/ImageInfo.h"
#include "Core/Resource/Resource.h"
#include "Core/Resource/ResourceHandle.h"

#include <string>

namespace file
{
class ImageContainer;
}
namespace render
{
class PictureDecodePool;
class Render;
class Texture;
}

namespace resource
{
class ResourceTexture : public Resource, public base::ImageInfo
{
public:
    ResourceTexture() = default;
    ~ResourceTexture() override;

    HVResultEnum Release() override;
    HVResultEnum DoLoad() override;
    HVResultEnum DoUnLoad() override;

    HVResultEnum SetRender(render::Render* render)
    {
        mRender = render;
        return HV_OK;
    }
    // The layered image the picture is a layer of (not owned), and the layer's name.
    void SetContainer(file::ImageContainer* container, const std::wstring& nameInside)
    {
        mContainer = container;
        mNameInside = nameInside;
    }

    // Tried in order: "", ".dds", ".jpg", ".gif", ".png", ".tga".
    static const wchar_t* const* GetExtensions();
    static int GetExtensionCount();
    // Reads the picture (a layer of the container, or a file when it is null)
    // and queues it for decoding, named and described as its load will ask
    // for it. What cannot be read is left to the load.
    static void QueuePicture(const std::wstring& name, file::ImageContainer* container,
                             render::PictureDecodePool& pool);

    render::Render* GetRender() const { return mRender; }
    render::Texture* GetTexture() const { return mTexture; }
    // Empty unless this picture is a part of an atlas texture.
    const ResourceHandle<ResourceTexture>& GetAtlasParent() const { return mAtlasParent; }

private:
    // DoLoad without the miss report.
    HVResultEnum LoadPicture();
    HVResultEnum LoadAtlasParent();

    ResourceHandle<ResourceTexture> mAtlasParent;
    render::Render* mRender = nullptr;
    render::Texture* mTexture = nullptr;
    file::ImageContainer* mContainer = nullptr;
    std::wstring mNameInside;
};
} // namespace resource
