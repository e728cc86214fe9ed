// Pictures and picture layers for the game and the toolkit.
#include "Core/Base/ImageInfo.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Framework/GameApplication.h"
#include "Framework/Layer/ImageLayer.h"

namespace framework
{
render::Image* GameApplication::LoadImage(const std::wstring& name, file::ImageContainer* container)
{
    render::Image* image = nullptr;
    if (mRender->LoadTexture(name, container, &image, nullptr) != HV_OK)
        return nullptr;
    return image;
}

HVResultEnum GameApplication::CreateImageLayer(const std::wstring& name, file::ImageContainer* container,
                                               layer::ImageLayer** out, base::ImageInfo* info)
{
    render::Image* image = nullptr;
    base::ImageInfo loaded;
    const HVResultEnum result = mRender->LoadTexture(name, container, &image, &loaded);
    if (result != HV_OK)
        return result;
    auto* created = new layer::ImageLayer;
    created->SetHitRectEnabled(true);
    created->SetImage(image, true);
    created->SetPosition(float(loaded.x), float(loaded.y), created->mPosition.z);
    if (info)
        *info = loaded;
    *out = created;
    return HV_OK;
}
} // namespace framework
