#include "Core/Render/RenderTarget.h"

#include "Core/Render/Render.h"
#include "Core/Render/Texture.h"

namespace render
{
RenderTarget::RenderTarget(Texture* owned, bool makeProjection)
    : Image(owned)
{
    if (makeProjection && owned && owned->GetRender())
        owned->GetRender()->MakeOrthoProjection(float(mWidth), float(mHeight), 0.0f, &mProjection);
}
} // namespace render
