#pragma once

#include <cstdint>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}
class NQFrameEntry;
class NQParamSet;

// A build spot of the level: its prices, its closed picture, its parameters
// (the tower factors, a tower built free at the start) and its badges.
class NQSpot
{
public:
    // Prices and type from the parameters "cost_gold", "cost_real" and
    // "type", the centre from the attributes "x" and "y".
    explicit NQSpot(const tinyxml2::XMLElement* element);
    NQSpot(const NQSpot&) = delete;
    NQSpot& operator=(const NQSpot&) = delete;
    ~NQSpot();

    int32_t mGoldPrice = 0;
    int32_t mGemPrice = 0;
    // Closed picture: 0 "spots/s", 1 "spots/g", 2 "spots/p".
    int32_t mType = 0;
    // Owned.
    NQParamSet* mParams = nullptr;
    // Not owned: the decoration set draws and deletes them.
    std::vector<NQFrameEntry*> mBadges;
    float mX = 0.0f;
    float mY = 0.0f;
    // Open for building: free from the start, bought, or owned by the player.
    bool mOwned = false;
};
