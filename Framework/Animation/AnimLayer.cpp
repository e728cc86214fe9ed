#include "Framework/Animation/AnimLayer.h"

#include "Core/Base/ReadString.h"
#include "Framework/Lightwave/StreamFields.h"

namespace animation
{
namespace
{
bool ReadFlag(base::Stream& stream, uint8_t& flag)
{
    uint32_t value;
    if (!lightwave::ReadUInt32(stream, value))
        return false;
    flag = value == 1 ? 1 : 0;
    return true;
}
} // namespace

HVResultEnum AnimLayer::Read(base::Stream& stream)
{
    uint32_t parent;
    if (base::ReadString(stream, mLayerName) != HV_OK || base::ReadString(stream, mLibraryName) != HV_OK ||
        base::ReadString(stream, mObjectName) != HV_OK || !lightwave::ReadUInt32(stream, parent) ||
        !ReadFlag(stream, mFlagA) || !ReadFlag(stream, mFlagB) || !ReadFlag(stream, mHasColour))
        return HV_FAIL;
    mHasParent = parent != 0 ? 1 : 0;
    mParentIndex = static_cast<int32_t>(parent - 1);
    if (mHasColour)
    {
        mColour = std::make_unique<std::array<Envelope, kColourChannels>>();
        for (Envelope& envelope : *mColour)
            if (envelope.Read(stream) != HV_OK)
                return HV_FAIL;
    }
    for (Envelope& envelope : mMotion)
        if (envelope.Read(stream) != HV_OK)
            return HV_FAIL;
    return HV_OK;
}
} // namespace animation
