#include "Platform/Bass/PlayableLayout.h"

#include "Platform/Win32/DebugOutput.h"

#include <string>

namespace bass
{
bool IsPlayableLayout(int channels, long rate)
{
    if (channels >= kMinChannels && channels <= kMaxChannels && rate >= kMinSampleRate && rate <= kMaxSampleRate)
        return true;
    const std::wstring line = L"Sound refused: " + std::to_wstring(channels) + L" channels at " +
                              std::to_wstring(rate) + L" Hz\n";
    OutputDebugStringW(line.c_str());
    return false;
}
} // namespace bass
