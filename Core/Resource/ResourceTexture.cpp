#include "Core/Resource/ResourceTexture.h"

#include "Core/Base/LookupMiss.h"
#include "Core/Base/Paths.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/Render/ImageData.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/PictureDecodePool.h"
#include "Core/Render/Render.h"
#include "Core/Render/Texture.h"
#include "Core/Resource/ResourceManager.h"

#include <memory>

namespace resource
{
namespace
{
const wchar_t* const kExtensions[] = {L"", L".dds", L".jpg", L".gif", L".png", L".tga"};
constexpr int kExtensionCount = 6;

// The extension a picture found at that index of the list decodes by.
std::wstring PictureExtension(int found, const std::wstring& name)
{
    // The first ("") entry matched a name given with its own extension.
    return found > 0 && found < kExtensionCount ? std::wstring(kExtensions[found]) : base::GetExtension(name);
}
} // namespace

ResourceTexture::~ResourceTexture()
{
    delete mTexture;
    mTexture = nullptr;
}

const wchar_t* const* ResourceTexture::GetExtensions() { return kExtensions; }

int ResourceTexture::GetExtensionCount() { return kExtensionCount; }

HVResultEnum ResourceTexture::Release() { return ResourceManager::Instance()->Remove<ResourceTexture>(this); }

HVResultEnum ResourceTexture::LoadAtlasParent()
{
    mAtlasParent = ResourceManager::Instance()->Get<ResourceTexture>(atlasName);
    if (!mAtlasParent)
        return HV_FAIL;
    mAtlasParent->SetRender(mRender);
    if (mAtlasParent->IsLoaded())
        return HV_OK;
    return mAtlasParent->Load();
}

HVResultEnum ResourceTexture::DoLoad()
{
    const HVResultEnum result = LoadPicture();
    if (result != HV_OK)
        base::ReportLookupMiss(base::LookupMissKind::LayerPicture,
                              mContainer ? mContainer->CallerLayerPath(mNameInside) : GetName());
    return result;
}

HVResultEnum ResourceTexture::LoadPicture()
{
    // Entry, stream and picture are released on every path, failures included.
    std::unique_ptr<file::FileInfo> entry;
    int found = 0;
    if (mContainer)
    {
        file::ImageFileInfo* layer = mContainer->OpenChild(mNameInside, kExtensions, kExtensionCount, &found);
        if (!layer)
            return HV_FAIL;
        entry.reset(layer);
        static_cast<base::ImageInfo&>(*this) = static_cast<const base::ImageInfo&>(*layer);
        if (fromAtlas)
        {
            // The atlas holds the pixels; a part decodes none of its own.
            const HVResultEnum result = LoadAtlasParent();
            if (result != HV_OK)
                mAtlasParent.Reset();
            return result;
        }
    }
    else
    {
        entry.reset(file::FileManager::Instance()->Open(GetName(), kExtensions, kExtensionCount, &found));
        if (!entry)
            return HV_FAIL;
    }

    // A decoder may read its stream until it has decoded: the stream outlives it.
    std::unique_ptr<base::Stream> stream;
    std::unique_ptr<render::ImageData> picture;
    render::PictureDecodePool* pool = mRender ? mRender->GetDecodePool() : nullptr;
    if (auto decoded = pool ? pool->Take(GetName()) : std::nullopt)
    {
        picture = std::move(*decoded);
    }
    else
    {
        stream.reset(entry->OpenStream());
        if (!stream)
            return HV_FAIL;
        const std::wstring extension = PictureExtension(found, GetName());
        picture.reset(render::ImageLoader::Instance()->CreateImageData(stream.get(), extension.c_str(), this));
    }
    if (!picture)
        return HV_FAIL;
    if (!mContainer)
    {
        w = float(picture->GetWidth());
        h = float(picture->GetHeight());
    }

    if (!mRender)
        return HV_FAIL;
    render::Texture* texture = nullptr;
    HVResultEnum result = mRender->CreateTexture(&texture);
    if (result != HV_OK)
        return result;
    std::unique_ptr<render::Texture> owned(texture);
    if ((result = owned->CreateFromImage(picture.get())) != HV_OK)
        return result;
    delete mTexture;
    mTexture = owned.release();
    return HV_OK;
}

void ResourceTexture::QueuePicture(const std::wstring& name, file::ImageContainer* container,
                                   render::PictureDecodePool& pool)
{
    if (pool.Contains(container ? container->GetRootPath() + name : name))
        return;
    int found = 0;
    std::unique_ptr<file::FileInfo> entry;
    const base::ImageInfo* layer = nullptr;
    if (container)
    {
        // Looked up without a miss report: a missing picture is the load's to report.
        for (int i = 0; i < container->GetLayerCount() && !layer; ++i)
            if (const base::ImageInfo* candidate = container->GetLayer(i); candidate && candidate->name == name)
                layer = candidate;
        if (!layer || !layer->hasImage)
            return;
        // A part of an atlas decodes nothing of its own: the atlas holds the pixels.
        if (layer->fromAtlas)
        {
            QueuePicture(layer->atlasName, nullptr, pool);
            return;
        }
        entry.reset(container->OpenChild(name, kExtensions, kExtensionCount, &found));
    }
    else if (file::FileManager::Instance()->FileExists(name, kExtensions, kExtensionCount, &found))
    {
        entry.reset(file::FileManager::Instance()->Open(name, kExtensions, kExtensionCount, &found));
    }
    std::unique_ptr<base::Stream> stream(entry ? entry->OpenStream() : nullptr);
    if (!stream)
        return; // left to the load, which reports it
    render::PictureDecodePool::Bytes bytes(stream->Size());
    if (!bytes.empty() && stream->Read(bytes.data(), uint32_t(bytes.size())) != bytes.size())
        return;
    // Named and described as the load will be.
    const std::wstring key = container ? container->GetRootPath() + name : name;
    const base::ImageInfo info = container ? static_cast<const base::ImageInfo&>(
                                                 static_cast<const file::ImageFileInfo&>(*entry))
                                           : base::ImageInfo();
    pool.Submit(key, std::move(bytes), PictureExtension(found, key), info);
}

HVResultEnum ResourceTexture::DoUnLoad()
{
    delete mTexture;
    mTexture = nullptr;
    return HV_OK;
}
} // namespace resource
