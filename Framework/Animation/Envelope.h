#pragma once

// A key-framed curve of one animated value, with behaviours before the first
// and after the last key.
#include "Core/Base/Result.h"
#include "Framework/Animation/EnvelopeKey.h"

#include <cstdint>
#include <vector>

namespace base
{
class Stream;
}

namespace animation
{
enum Behaviour : int32_t
{
    kBehaviourReset = 0,
    kBehaviourConstant = 1,
    kBehaviourRepeat = 2,
    kBehaviourOscillate = 3,
    kBehaviourOffset = 4,
    kBehaviourLinear = 5,
};

class Envelope
{
public:
    // Key count, two behaviours.
    static constexpr uint32_t kMinFileSize = 12;

    int32_t preBehaviour = kBehaviourReset;
    int32_t postBehaviour = kBehaviourReset;
    // In file order; out-of-order keys are taken as they stand.
    std::vector<EnvelopeKey> keys;

    // 1 on a short read or a key count the stream cannot hold.
    HVResultEnum Read(base::Stream& stream);

    static float Evaluate(const Envelope& envelope, float time);
};
} // namespace animation
