// The bytes as an animation file body; a file that reads is evaluated at its
// start, end and middle and far outside its range.
#include "Core/Base/MemoryStream.h"
#include "Framework/Animation/AnimData.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    base::MemoryStream stream(data, size);
    animation::AnimData anim;
    if (anim.Read(stream) != HV_OK)
        return 0;
    const float times[] = {anim.mStartTime, anim.mEndTime, (anim.mStartTime + anim.mEndTime) * 0.5f, -1e6f, 1e6f};
    volatile float sink = 0;
    for (const auto& layer : anim.mLayers)
    {
        for (float time : times)
        {
            for (const animation::Envelope& envelope : layer->mMotion)
                sink = sink + animation::Envelope::Evaluate(envelope, time);
            if (layer->mColour)
                for (const animation::Envelope& envelope : *layer->mColour)
                    sink = sink + animation::Envelope::Evaluate(envelope, time);
        }
    }
    return 0;
}
