#pragma once

#include <cstdint>

namespace tinyxml2
{
class XMLElement;
}
class NQParamSet;

// A road point of the level file: an id, a position in map units and its
// parameters ("spawn", "goal").
class NQPoint
{
public:
    // At (0, 0) with id 0 and no parameters.
    NQPoint();
    // From the element's "id", "x", "y" and its parameter children.
    explicit NQPoint(const tinyxml2::XMLElement* element);
    NQPoint(const NQPoint&) = delete;
    NQPoint& operator=(const NQPoint&) = delete;
    ~NQPoint();

    int32_t mId = 0;
    float mX = 0.0f;
    float mY = 0.0f;
    // Owned.
    NQParamSet* mParams = nullptr;
};
