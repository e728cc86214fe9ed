#pragma once

#include "Core/Base/ImageInfo.h"
#include "Core/File/FileInfo.h"

namespace file
{
// An opened layer, with a copy of its description.
class ImageFileInfo : public FileInfo, public base::ImageInfo
{
public:
    ImageFileInfo(const std::wstring& name, const std::wstring& path, Container* container, bool packed,
                  const base::ImageInfo& layer)
        : FileInfo(name, path, container, packed)
        , base::ImageInfo(layer)
    {
    }
};
}
