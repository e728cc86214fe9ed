#include "Core/Sound/Sound.h"

Sound::Sound(const resource::ResourceHandle<resource::ResourceSound>& resource)
    : m_resource(resource)
{
    if (m_resource.Get())
        m_channel = BASS_SampleGetChannel(m_resource.Get()->GetSample(), TRUE);
}

Sound::~Sound()
{
    BASS_ChannelStop(m_channel);
    for (HSYNC sync : m_syncs)
        if (sync)
            BASS_ChannelRemoveSync(m_channel, sync);
    m_resource.Reset();
}

void Sound::Play()
{
    BASS_ChannelPlay(m_channel, TRUE);
}

bool Sound::IsPlaying() const
{
    return BASS_ChannelIsActive(m_channel) == BASS_ACTIVE_PLAYING;
}

void Sound::SetVolume(float volume, float fadeSeconds)
{
    if (fadeSeconds > 0.0f)
        BASS_ChannelSlideAttribute(m_channel, BASS_ATTRIB_VOL, volume, static_cast<DWORD>(fadeSeconds * 1000.0f));
    else
        BASS_ChannelSetAttribute(m_channel, BASS_ATTRIB_VOL, volume);
}
