#pragma once

// The sample rates and channel counts any real sound uses. Anything else is
// damaged data: it is refused before SDL sizes its buffers from it.
namespace bass
{
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 384000;
constexpr int kMinChannels = 1;
constexpr int kMaxChannels = 8;

// True when the layout can be played; otherwise one line on the debugger output says why.
bool IsPlayableLayout(int channels, long rate);
} // namespace bass
