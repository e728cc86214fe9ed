#pragma once

#include "Core/Resource/ResourceHandle.h"
#include "Core/Sound/ResourceSound.h"
#include "Platform/Bass/Bass.h"

// One playable sound effect on a channel of its own. Owned by its creator.
class Sound
{
public:
    explicit Sound(const resource::ResourceHandle<resource::ResourceSound>& resource);
    virtual ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // From the start; a sound that still plays restarts.
    void Play();
    bool IsPlaying() const;
    void SetVolume(float volume, float fadeSeconds);

    HCHANNEL GetChannel() const { return m_channel; }

private:
    resource::ResourceHandle<resource::ResourceSound> m_resource;
    HCHANNEL m_channel = 0;
    HSYNC m_syncs[2] = {0, 0};
};
