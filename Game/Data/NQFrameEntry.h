#pragma once

// One picture taken from one layer of a layered image, with the layer's
// rectangle and name: the building block of HUD windows and sprite sets.
#include "Core/Math/Transform2D.h"

#include <cstdint>
#include <string>

namespace render
{
class Graphics;
class Image;
class ParticleEmitter;
class Shader;
}

class NQSpot;

class NQFrameEntry
{
public:
    NQFrameEntry();
    // Copies every field but the ownership of the picture: a copy only borrows it.
    NQFrameEntry(const NQFrameEntry& other);
    NQFrameEntry& operator=(const NQFrameEntry& other);
    // Releases and deletes an owned picture.
    virtual ~NQFrameEntry();

    virtual void Draw(render::Graphics* graphics, float windowScale);
    virtual void HitTest(int x, int y);
    virtual void Update(float dt);

    uint8_t mOwnsPicture = 0;
    float mColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    render::Image* mPicture = nullptr;
    std::wstring mName;
    // x, y, width, height in pixels of the layered image.
    float mRect[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int mLayerIndex = 0;
    math::Transform2D mTransform;
    // Sort key of the level's depth-ordered drawing.
    float mDepth = 0.0f;
    // The build spot of a spot frame.
    NQSpot* mSpot = nullptr;
    // Drawn in the entry's place when set.
    render::ParticleEmitter* mEmitter = nullptr;
    uint8_t mShown = 1;
    render::Shader* mShader = nullptr;
    float mShaderColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    uint8_t mAdditive = 0;
    uint8_t mMirrored = 0;
};
