#pragma once

#include <cstdint>

namespace tinyxml2
{
class XMLElement;
}

// A road of the level file: a quadratic curve from the point sid through the
// anchor to the point eid.
class NQLink
{
public:
    NQLink() = default;
    // From the element's "sid", "eid", "anchor_x" and "anchor_y".
    explicit NQLink(const tinyxml2::XMLElement* element);

    int32_t mSid = 0;
    int32_t mEid = 0;
    float mAnchorX = 0.0f;
    float mAnchorY = 0.0f;
};
