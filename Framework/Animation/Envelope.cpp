#include "Framework/Animation/Envelope.h"

#include "Framework/Lightwave/StreamFields.h"

#include <cmath>
#include <cstddef>

namespace animation
{
namespace
{
// A time this close past a key still belongs to the interval ending there.
constexpr float kIntervalTolerance = 2e-4f;
constexpr float kBisectionTolerance = 1e-4f;
constexpr float kFlatHandle = 1e-5f;
constexpr float kSteepHandleFactor = 100000.0f;
// Enough for float precision; a time outside the handle curve would
// otherwise halve for ever.
constexpr int kMaxHalvings = 64;

// Zero denominators (keys sharing a time) give 0 rather than inf or NaN.
float Ratio(float numerator, float denominator) { return denominator != 0.0f ? numerator / denominator : 0.0f; }

float Outgoing(const EnvelopeKey& key0, const EnvelopeKey& key1, const EnvelopeKey* prev)
{
    const float d = key1.value - key0.value;
    const float r = prev ? Ratio(key1.time - key0.time, key1.time - prev->time) : 1.0f;
    switch (key0.shape)
    {
    case kShapeTCB:
    {
        const float a = (1.0f - key0.p0) * (1.0f - key0.p1) * (1.0f - key0.p2) * d;
        if (!prev)
            return a;
        return r * ((1.0f - key0.p0) * (1.0f + key0.p1) * (1.0f + key0.p2) * (key0.value - prev->value) + a);
    }
    case kShapeHermite:
    case kShapeBezier:
        return prev ? r * key0.p1 : key0.p1;
    case kShapeLinear:
        return prev ? r * (key0.value - prev->value + d) : d;
    case kShapeBezier2D:
    {
        const float span = key1.time - key0.time;
        if (std::fabs(key0.p2) <= kFlatHandle)
            return key0.p3 * span * kSteepHandleFactor;
        return key0.p3 * span / key0.p2;
    }
    default:
        return 0.0f;
    }
}

float Incoming(const EnvelopeKey& key0, const EnvelopeKey& key1, const EnvelopeKey* next)
{
    const float d = key1.value - key0.value;
    const float s = next ? Ratio(key1.time - key0.time, next->time - key0.time) : 1.0f;
    switch (key1.shape)
    {
    case kShapeTCB:
    {
        const float b = (1.0f - key1.p0) * (1.0f - key1.p1) * (1.0f + key1.p2) * d;
        if (!next)
            return b;
        return s * ((1.0f - key1.p0) * (1.0f + key1.p1) * (1.0f - key1.p2) * (next->value - key1.value) + b);
    }
    case kShapeHermite:
    case kShapeBezier:
        return next ? s * key1.p0 : key1.p0;
    case kShapeLinear:
        return next ? s * (next->value - key1.value + d) : d;
    case kShapeBezier2D:
    {
        const float span = key1.time - key0.time;
        if (std::fabs(key1.p0) <= kFlatHandle)
            return key1.p1 * span * kSteepHandleFactor;
        return key1.p1 * span / key1.p0;
    }
    default:
        return 0.0f;
    }
}

float Bezier(float a, float b, float c, float e, float u)
{
    const float k1 = 3.0f * (b - a);
    const float k2 = 3.0f * (c - b) - k1;
    const float k3 = e - a - k1 - k2;
    return ((k3 * u + k2) * u + k1) * u + a;
}

float Bezier2D(const EnvelopeKey& key0, const EnvelopeKey& key1, float time)
{
    const bool handle0 = key0.shape == kShapeBezier2D;
    const float x1 = handle0 ? key0.time + key0.p2 : key0.time + (key1.time - key0.time) / 3.0f;
    const float x2 = key1.time + key1.p0;
    float low = 0.0f;
    float high = 1.0f;
    float u = 0.5f;
    for (int i = 0; i < kMaxHalvings; ++i)
    {
        const float x = Bezier(key0.time, x1, x2, key1.time, u);
        if (std::fabs(time - x) <= kBisectionTolerance)
            break;
        if (x > time)
            high = u;
        else
            low = u;
        u = (low + high) * 0.5f;
    }
    const float y1 = handle0 ? key0.value + key0.p3 : key0.value + key0.p1 / 3.0f;
    const float y2 = key1.value + key1.p1;
    return Bezier(key0.value, y1, y2, key1.value, u);
}

// Moves time into [first, last] and gives the whole cycles removed. Counts
// stay floating point: they may be negative, huge or not finite.
float Wrap(float& time, const EnvelopeKey& first, const EnvelopeKey& last)
{
    const float length = last.time - first.time;
    if (length == 0.0f)
    {
        time = first.time;
        return 0.0f;
    }
    const float cycles = std::floor((time - first.time) / length);
    time -= cycles * length;
    return cycles;
}

bool IsOdd(float cycles) { return std::fmod(cycles, 2.0f) != 0.0f; }

// The behaviours that move time into the key range; the others leave it.
void ApplyBehaviour(int32_t behaviour, const EnvelopeKey& first, const EnvelopeKey& last, float& time, float& offset)
{
    switch (behaviour)
    {
    case kBehaviourRepeat:
        Wrap(time, first, last);
        return;
    case kBehaviourOscillate:
        // Mirrored about the middle of the key range.
        if (IsOdd(Wrap(time, first, last)))
            time = first.time + last.time - time;
        return;
    case kBehaviourOffset:
        offset = Wrap(time, first, last) * (last.value - first.value);
        return;
    default:
        return;
    }
}
} // namespace

HVResultEnum Envelope::Read(base::Stream& stream)
{
    uint32_t count;
    if (!lightwave::ReadUInt32(stream, count) || !lightwave::ReadInt32(stream, preBehaviour) ||
        !lightwave::ReadInt32(stream, postBehaviour) || !lightwave::CountFits(stream, count, EnvelopeKey::kFileSize))
        return HV_FAIL;
    keys.resize(count);
    for (EnvelopeKey& key : keys)
        if (!key.Read(stream))
            return HV_FAIL;
    return HV_OK;
}

float Envelope::Evaluate(const Envelope& envelope, float time)
{
    const std::vector<EnvelopeKey>& keys = envelope.keys;
    const size_t count = keys.size();
    if (count == 0)
        return 0.0f;
    if (count == 1)
        return keys[0].value;

    const EnvelopeKey& first = keys.front();
    const EnvelopeKey& last = keys.back();
    float offset = 0.0f;

    if (time < first.time)
    {
        switch (envelope.preBehaviour)
        {
        case kBehaviourReset:
            return 0.0f;
        case kBehaviourConstant:
            return first.value;
        case kBehaviourLinear:
            return first.value +
                   (time - first.time) * Ratio(Outgoing(first, keys[1], nullptr), keys[1].time - first.time);
        default:
            ApplyBehaviour(envelope.preBehaviour, first, last, time, offset);
        }
    }
    else if (time > last.time)
    {
        const EnvelopeKey& before = keys[count - 2];
        switch (envelope.postBehaviour)
        {
        case kBehaviourReset:
            return 0.0f;
        case kBehaviourConstant:
            return last.value;
        case kBehaviourLinear:
            return last.value + (time - last.time) * Ratio(Incoming(before, last, nullptr), last.time - before.time);
        default:
            ApplyBehaviour(envelope.postBehaviour, first, last, time, offset);
        }
    }

    size_t index = count - 2;
    bool found = false;
    for (size_t i = 0; i + 1 < count; ++i)
    {
        if (keys[i + 1].time >= time - kIntervalTolerance)
        {
            index = i;
            found = true;
            break;
        }
    }
    const EnvelopeKey& key0 = keys[index];
    const EnvelopeKey& key1 = keys[index + 1];
    const EnvelopeKey* prev = found && index > 0 ? &keys[index - 1] : nullptr;
    const EnvelopeKey* next = found && index + 2 < count ? &keys[index + 2] : nullptr;

    if (time == key0.time)
        return key0.value + offset;
    if (time == key1.time)
        return key1.value + offset;
    const float span = key1.time - key0.time;
    // Keys sharing a time (or out of order) leave no interval to blend over.
    if (!(span > 0.0f))
        return key1.value + offset;

    const float t = (time - key0.time) / span;
    switch (key1.shape)
    {
    case kShapeTCB:
    case kShapeHermite:
    case kShapeBezier:
    {
        const float t2 = t * t;
        const float t3 = t2 * t;
        const float h2 = 3.0f * t2 - 2.0f * t3;
        const float h1 = 1.0f - h2;
        const float h3 = t3 - 2.0f * t2 + t;
        const float h4 = t3 - t2;
        return h1 * key0.value + h2 * key1.value + h3 * Outgoing(key0, key1, prev) +
               h4 * Incoming(key0, key1, next) + offset;
    }
    case kShapeLinear:
        return key0.value + t * (key1.value - key0.value) + offset;
    case kShapeStepped:
        return key0.value + offset;
    case kShapeBezier2D:
        return Bezier2D(key0, key1, time) + offset;
    default:
        return offset;
    }
}
} // namespace animation
