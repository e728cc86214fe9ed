#include "Platform/Win32/WindowState.h"

namespace
{
// The program icon: a green shield with a gold star, one letter per pixel.
const char* const kIconRows[16] = {
    "................",
    ".GGGGGGGGGGGGGG.",
    ".GggggggggggggG.",
    ".GggggggYggggggG",
    ".GgggggYYYgggggG",
    ".GggYYYYYYYYYggG",
    ".GgggYYYYYYYgggG",
    ".GggggYYYYYggggG",
    ".GggggYYgYYggggG",
    ".GgggYYgggYYgggG",
    "..GggggggggggGG.",
    "...GgggggggggG..",
    "....GgggggggG...",
    ".....GgggggG....",
    "......GGGGG.....",
    "................",
};

uint32_t Colour(char c)
{
    switch (c)
    {
    case 'G': return 0xFF1E5A28; // ARGB
    case 'g': return 0xFF3C9A46;
    case 'Y': return 0xFFF0C83C;
    default: return 0x00000000;
    }
}
} // namespace

namespace win32
{
SDL_Surface* ProgramIcon()
{
    static uint32_t pixels[16 * 16];
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels[y * 16 + x] = Colour(kIconRows[y][x]);
    return SDL_CreateRGBSurfaceWithFormatFrom(pixels, 16, 16, 32, 16 * 4, SDL_PIXELFORMAT_ARGB8888);
}
} // namespace win32
