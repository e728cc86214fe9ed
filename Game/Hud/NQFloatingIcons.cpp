#include "Game/Hud/NQFloatingIcons.h"

#include "Core/Base/DeleteAll.h"

NQFloatingIcons::~NQFloatingIcons()
{
    Clear();
}

NQFloatingIcon* NQFloatingIcons::Spawn(float x, float y, int kind)
{
    auto* icon = new NQFloatingIcon;
    icon->x = x;
    icon->y = y;
    icon->kind = kind;
    mIcons.push_back(icon);
    return icon;
}

void NQFloatingIcons::Clear()
{
    base::DeleteAll(mIcons);
}

void NQFloatingIcons::Draw(render::Graphics*)
{
}
