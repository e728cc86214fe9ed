#include "Game/Hud/SliderLayer.h"

#include "Core/Render/Graphics.h"
#include "Framework/Layer/LayerDrawScope.h"

HVResultEnum SliderLayer::Draw(render::Graphics* g)
{
    if (!GetImage() || !g)
        return HV_OK;
    // The scope saves and restores the context's transform, colour, shader and tint.
    layer::LayerDrawScope scope(*g, *this, mAdditive ? 2 : 1, false);
    const float source[4] = {mSourceX, mSourceY, mSourceWidth, mSourceHeight};
    g->DrawImageSource(*GetImage(), source);
    return HV_OK;
}
