#include "Core/Render/ImageLoader.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Render/ImageDataDDS.h"
#include "Core/Render/ImageDataDevil.h"
#include "Core/Render/ImageDataRaw.h"

#include <memory>

namespace render
{
bool ImageLoader::ExtensionIs(const wchar_t* extension, const char letters[4])
{
    if (!extension || extension[0] != L'.')
        return false;
    // Stops at the first mismatch, so a short string is never read past its end.
    for (int i = 0; i < 3; ++i)
        if (extension[i + 1] != static_cast<wchar_t>(letters[i]))
            return false;
    return true;
}

ImageData* ImageLoader::CreateImageData(base::Stream* stream, const wchar_t* extension, const base::ImageInfo* info)
{
    if (!extension)
        return nullptr;
    std::unique_ptr<ImageData> data;
    if (info && info->documentLayer)
        data = std::make_unique<ImageDataRaw>(*info);
    else if (ExtensionIs(extension, "dds"))
        data = std::make_unique<ImageDataDDS>();
    else if (ExtensionIs(extension, "bmp") || ExtensionIs(extension, "gif") || ExtensionIs(extension, "jpg") ||
             ExtensionIs(extension, "png") || ExtensionIs(extension, "tga"))
        data = std::make_unique<ImageDataDevil>();
    else
        return nullptr;
    if (data->Load(stream, extension) != HV_OK)
        return nullptr;
    return data.release();
}
} // namespace render
