#include "Framework/Animation/EnvelopeKey.h"

#include "Framework/Lightwave/StreamFields.h"

namespace animation
{
bool EnvelopeKey::Read(base::Stream& stream)
{
    using lightwave::ReadFloat;
    return ReadFloat(stream, value) && ReadFloat(stream, time) && lightwave::ReadInt32(stream, shape) &&
           ReadFloat(stream, p0) && ReadFloat(stream, p1) && ReadFloat(stream, p2) && ReadFloat(stream, p3) &&
           lightwave::ReadUInt32(stream, unused[0]) && lightwave::ReadUInt32(stream, unused[1]);
}
} // namespace animation
