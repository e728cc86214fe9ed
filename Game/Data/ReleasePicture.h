#pragma once

namespace render
{
class Image;
}

// Releases and deletes an owned picture and forgets it; no picture, no work.
void ReleasePicture(render::Image*& picture);
