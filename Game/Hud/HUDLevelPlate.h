#pragma once

// One level's plate on the level select, drawn through its layers.
#include <string>

namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
class ParticlesLayer;
class TextLayer;
}
namespace render
{
class Image;
class ParticleEmitter;
}

class HUDLevelPlate
{
public:
    static constexpr int kMaxStars = 3;
    static constexpr int kColumns = 7;
    static constexpr int kSpacing = 125;
    static constexpr int kFirstX = 80;
    static constexpr int kFirstY = 220;
    static constexpr float kGrowPerSecond = 0.5f;
    static constexpr float kShrinkPerSecond = 1.0f;
    static constexpr float kMaxScale = 1.1f;
    static constexpr float kRestScale = 1.0f;

    HUDLevelPlate(int episode, int level, file::ImageContainer* layout);
    HUDLevelPlate(const HUDLevelPlate&) = delete;
    HUDLevelPlate& operator=(const HUDLevelPlate&) = delete;
    ~HUDLevelPlate();

    void Update(float dt);
    // Strictly inside the plate rectangle.
    bool Contains(int x, int y) const;

    bool mOpen = false;
    int mEpisode = 0;
    bool mComplete = false;
    int mStars = 0;
    layer::Layer* mRoot = nullptr;
    layer::ImageLayer* mPlate = nullptr;
    layer::TextLayer* mNumber = nullptr;
    layer::ImageLayer* mBadge = nullptr;
    layer::TextLayer* mBadgeText = nullptr;
    layer::ImageLayer* mStarLayers[kMaxStars] = {nullptr, nullptr, nullptr};
    layer::ImageLayer* mStarsLayer = nullptr;
    render::Image* mStarsBackground = nullptr;
    render::Image* mStatePicture = nullptr;
    layer::ParticlesLayer* mParticles = nullptr;
    render::ParticleEmitter* mEmitter = nullptr;
    int mHovered = 0;
    float mScale = kRestScale;
    int mLevel = 0;
    int mRect[4] = {0, 0, 0, 0};
    // The state picture's layout name.
    std::wstring mStateName;
};
