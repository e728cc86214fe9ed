#pragma once

#include <cstdint>
#include <string>

namespace render
{
class Image;
}

// One row of the spells sheet: the spell's prototype, its two button
// pictures and its HUD slot.
struct NQSpellEntry
{
    NQSpellEntry() = default;
    NQSpellEntry(const NQSpellEntry&) = delete;
    NQSpellEntry& operator=(const NQSpellEntry&) = delete;
    // Releases both pictures.
    ~NQSpellEntry();

    std::string firstPicturePath;
    std::string secondPicturePath;
    int32_t protoId = 0;
    int32_t slot = 0;
    // Kept with the row; the game does not use it.
    int32_t extra = 0;
    // Owned; null when the picture did not load.
    render::Image* firstPicture = nullptr;
    render::Image* secondPicture = nullptr;
};
