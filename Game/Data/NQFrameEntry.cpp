#include "Game/Data/NQFrameEntry.h"

#include "Core/Render/Image.h"

NQFrameEntry::NQFrameEntry() = default;

NQFrameEntry::NQFrameEntry(const NQFrameEntry& other) { *this = other; }

NQFrameEntry& NQFrameEntry::operator=(const NQFrameEntry& other)
{
    if (this == &other)
        return *this;
    // The copy borrows the picture: the level deletes its per-frame copies
    // every frame, and they must not take the picture with them.
    mOwnsPicture = 0;
    for (int i = 0; i < 4; ++i)
    {
        mColor[i] = other.mColor[i];
        mRect[i] = other.mRect[i];
        mShaderColor[i] = other.mShaderColor[i];
    }
    mPicture = other.mPicture;
    mName = other.mName;
    mLayerIndex = other.mLayerIndex;
    mTransform = other.mTransform;
    mDepth = other.mDepth;
    mSpot = other.mSpot;
    mEmitter = other.mEmitter;
    mShown = other.mShown;
    mShader = other.mShader;
    mAdditive = other.mAdditive;
    mMirrored = other.mMirrored;
    return *this;
}

NQFrameEntry::~NQFrameEntry()
{
    if (mOwnsPicture && mPicture)
    {
        mPicture->Release();
        delete mPicture;
    }
    mPicture = nullptr;
}

void NQFrameEntry::Draw(render::Graphics*, float) {}

void NQFrameEntry::HitTest(int, int) {}

void NQFrameEntry::Update(float) {}
