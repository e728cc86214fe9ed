#pragma once

// One choice of the context ring: what it means (key), what it costs, and
// the prototype behind a build, upgrade or branch choice.
#include <cstdint>
#include <string>

namespace render
{
class Image;
}

class AttributedText;
class NQUnitProto;

class NQContextMenuItem
{
public:
    // The price text in the windows' font, with '$' and '#' shown as the
    // ring's coin and gem pictures.
    NQContextMenuItem(int32_t index, int32_t key);
    NQContextMenuItem(const NQContextMenuItem&) = delete;
    NQContextMenuItem& operator=(const NQContextMenuItem&) = delete;
    // Deletes the price text and the prototype copy.
    ~NQContextMenuItem();

    // Owned.
    AttributedText* mPriceText = nullptr;
    // UTF-8; only the buy-spot item has one.
    std::string mCaption;
    // Degrees from the centre; written by every drawing, read by the hit test.
    float mAngle = 0.0f;
    int32_t mKey = 0;
    float mPrice = 0.0f;
    // Owned copy with the bought upgrades applied; null on sell and buy items.
    NQUnitProto* mProto = nullptr;
    // The place the opener gave it.
    int32_t mIndex = 0;
    // The prototype's single picture; borrowed, not drawn by the ring.
    render::Image* mIcon = nullptr;
};
