#pragma once

namespace video
{
class TheoraVideo;

// Told when a video ends.
class TheoraVideoListener
{
public:
    virtual ~TheoraVideoListener() = default;
    // The player's last action in its Update: the listener may delete it here.
    virtual void OnVideoFinished(TheoraVideo* video) = 0;
};
} // namespace video
