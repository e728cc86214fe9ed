#include "Core/Base/ImageInfo.h"

namespace base
{
ImageInfo::ImageInfo(const std::wstring& name_, int x_, int y_, int w_, int h_, int opacity_, int index_,
                     bool hasImage_, bool documentLayer_, float scale_)
    : name(name_)
    , opacity(opacity_)
    , index(index_)
    , hasImage(hasImage_)
    , documentLayer(documentLayer_)
    , scale(scale_)
    , x(static_cast<float>(x_) * scale_)
    , y(static_cast<float>(y_) * scale_)
    , w(static_cast<float>(w_) * scale_)
    , h(static_cast<float>(h_) * scale_)
{
}
}
