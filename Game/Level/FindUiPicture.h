#pragma once

namespace render
{
class Image;
}

// A picture of the level's interface set "nq/ui", borrowed from the preloaded
// set; null when the frame or its picture is missing.
render::Image* FindUiPicture(const wchar_t* name);
