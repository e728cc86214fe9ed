#pragma once

// Chooses the picture decoder for a stream and reads its header.
#include "Core/Base/Singletone.h"

namespace base
{
class ImageInfo;
class Stream;
}

namespace render
{
class ImageData;

class ImageLoader : public base::Singletone<ImageLoader>
{
public:
    // A loaded decoder owned by the caller, or null. A null extension never
    // decodes; layers of layered images (raw flag) decode whatever the extension.
    ImageData* CreateImageData(base::Stream* stream, const wchar_t* extension, const base::ImageInfo* info);

    // True when extension starts with '.' followed by the three given lower-case letters.
    static bool ExtensionIs(const wchar_t* extension, const char letters[4]);
};
} // namespace render
