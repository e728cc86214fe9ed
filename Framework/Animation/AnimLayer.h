#pragma once

// One animated layer of an animation file: its names, its colour and motion
// envelopes and the mesh object it is bound to.
#include "Core/Base/Result.h"
#include "Framework/Animation/Envelope.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace base
{
class Stream;
}
namespace lightwave
{
struct MeshObject;
}

namespace animation
{
class AnimData;

enum MotionChannel
{
    kPositionX = 0,
    kPositionY,
    kPositionZ,
    kHeading,
    kPitch,
    kBank,
    kScaleX,
    kScaleY,
    kScaleZ,
    kDissolve,
    kMotionChannels
};

enum ColourChannel
{
    kRed = 0,
    kGreen,
    kBlue,
    kTintAmount,
    kColourChannels
};

class AnimLayer
{
public:
    // Three empty strings, four words and ten empty envelopes.
    static constexpr uint32_t kMinFileSize = 3 * 4 + 4 * 4 + kMotionChannels * Envelope::kMinFileSize;

    explicit AnimLayer(AnimData* owner) : mOwner(owner) {}

    HVResultEnum Read(base::Stream& stream);

    AnimData* mOwner;
    std::string mLayerName;
    std::string mLibraryName;
    std::string mObjectName;
    // Kept from the file; playback does not use them.
    uint8_t mHasParent = 0;
    int32_t mParentIndex = 0;
    uint8_t mFlagA = 0;
    uint8_t mFlagB = 0;
    uint8_t mHasColour = 0;
    // Red, green, blue and tint amount; only when the record has colour.
    std::unique_ptr<std::array<Envelope, kColourChannels>> mColour;
    std::array<Envelope, kMotionChannels> mMotion;
    const lightwave::MeshObject* mObject = nullptr;
};
} // namespace animation
