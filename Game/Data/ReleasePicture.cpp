#include "Game/Data/ReleasePicture.h"

#include "Core/Render/Image.h"

void ReleasePicture(render::Image*& picture)
{
    if (!picture)
        return;
    picture->Release();
    delete picture;
    picture = nullptr;
}
