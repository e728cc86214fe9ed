#include "Core/Render/ImageDataDevil.h"

#include "Core/Base/Stream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/PictureCheck.h"

#include <IL/il.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace render
{
namespace
{
bool HasError()
{
    // Drains the whole error stack so a later picture starts clean.
    bool error = false;
    while (ilGetError() != IL_NO_ERROR)
        error = true;
    return error;
}
} // namespace

namespace
{
std::mutex& DevilLock()
{
    static std::mutex lock;
    return lock;
}

// The library's state for one picture, from ilInit to ilShutDown.
class DevilSession
{
public:
    DevilSession()
    {
        ilInit();
        ilGenImages(1, &mName);
        ilBindImage(mName);
    }
    DevilSession(const DevilSession&) = delete;
    DevilSession& operator=(const DevilSession&) = delete;
    ~DevilSession()
    {
        ilDeleteImages(1, &mName);
        ilShutDown();
    }

private:
    ILuint mName = 0;
};
} // namespace

HVResultEnum ImageDataDevil::Load(base::Stream* stream, const wchar_t* extension)
{
    if (!stream || !extension)
        return HV_FAIL;
    std::vector<unsigned char> block(stream->Size());
    if (!block.empty() && stream->Read(block.data(), uint32_t(block.size())) != block.size())
        return HV_FAIL;

    ILenum type;
    PictureKind kind;
    if (ImageLoader::ExtensionIs(extension, "bmp"))
        type = IL_BMP, kind = PictureKind::Bmp;
    else if (ImageLoader::ExtensionIs(extension, "gif"))
        type = IL_GIF, kind = PictureKind::Gif;
    else if (ImageLoader::ExtensionIs(extension, "jpg"))
        type = IL_JPG, kind = PictureKind::Jpg;
    else if (ImageLoader::ExtensionIs(extension, "png"))
        type = IL_PNG, kind = PictureKind::Png;
    else if (ImageLoader::ExtensionIs(extension, "tga"))
        type = IL_TGA, kind = PictureKind::Tga;
    else
        return HV_FAIL; // no structural check exists for guessed types
    // DevIL's readers follow lengths and offsets past the buffer; refuse those files first.
    if (!CheckPictureStructure(kind, block.data(), block.size()))
        return HV_FAIL;

    std::lock_guard<std::mutex> held(DevilLock());
    DevilSession session;
    ilLoadL(type, block.data(), ILuint(block.size()));
    if (HasError())
        return HV_FAIL;
    ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
    if (HasError())
        return HV_FAIL;
    mWidth = ilGetInteger(IL_IMAGE_WIDTH);
    mHeight = ilGetInteger(IL_IMAGE_HEIGHT);
    mBytesPerPixel = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
    mLowerLeft = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT;
    const unsigned char* pixels = ilGetData();
    if (HasError() || !pixels || mWidth <= 0 || mHeight <= 0 || mBytesPerPixel < 3)
        return HV_FAIL;
    mPixels.assign(pixels, pixels + size_t(mWidth) * size_t(mHeight) * size_t(mBytesPerPixel));
    mLevelCount = 1;
    mType = 0; // uncompressed 32-bit
    return HV_OK;
}

HVResultEnum ImageDataDevil::Decode(uint32_t pitch, void* destination, HitMask* mask)
{
    if (mPixels.empty() || !destination || pitch / 4 < uint32_t(mWidth))
        return HV_FAIL;
    if (mask)
        mask->Resize(uint32_t(mWidth) * uint32_t(mHeight));
    const size_t sourcePitch = size_t(mWidth) * size_t(mBytesPerPixel);
    for (int i = 0; i < mHeight; ++i)
    {
        const int sourceRow = mLowerLeft ? mHeight - 1 - i : i;
        const unsigned char* in = mPixels.data() + size_t(sourceRow) * sourcePitch;
        unsigned char* out = static_cast<unsigned char*>(destination) + size_t(i) * size_t(pitch);
        for (int j = 0; j < mWidth; ++j, in += mBytesPerPixel)
        {
            const uint32_t a = mBytesPerPixel == 4 ? in[3] : 255u;
            const uint32_t value = a << 24 | uint32_t(in[0]) << 16 | uint32_t(in[1]) << 8 | uint32_t(in[2]);
            std::memcpy(out + size_t(j) * 4, &value, 4);
            if (mask)
                mask->Set(uint32_t(j) + uint32_t(i) * uint32_t(mWidth), a >= 50);
        }
    }
    return HV_OK;
}
} // namespace render
