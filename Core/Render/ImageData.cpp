#include "Core/Render/ImageData.h"

#include <climits>

namespace render
{
int ImageData::GetDecodedSize()
{
    // Saturates: a lying size must not overflow into a small buffer.
    const long long size = static_cast<long long>(mWidth) * mHeight * 4;
    return size > INT_MAX ? INT_MAX : static_cast<int>(size);
}
} // namespace render
