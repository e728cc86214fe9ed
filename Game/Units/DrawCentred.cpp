#include "Game/Units/DrawCentred.h"

#include "Core/Math/Transform2D.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

namespace
{
constexpr int kAnchorCentre = 2;
} // namespace

void DrawCentred(render::Graphics* graphics, render::Image* picture, float x, float y)
{
    math::Transform2D at;
    at.Translate(x, y);
    DrawCentred(graphics, picture, at, false);
}

void DrawCentred(render::Graphics* graphics, render::Image* picture, const math::Transform2D& transform,
                 bool mirrored)
{
    if (!picture)
        return; // a missing picture is skipped
    auto record = graphics->DrawImage(*picture).Transform(transform);
    record->SetAnchor(kAnchorCentre, kAnchorCentre);
    if (mirrored)
        record->SetFlip(true, false);
}
