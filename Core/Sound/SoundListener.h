#pragma once

class Sound;

// Told about the sounds a listener tracks. Both notifications do nothing here.
class SoundListener
{
public:
    virtual ~SoundListener() = default;
    virtual void OnSoundFinished(Sound* sound);
    virtual void OnSoundNotify();
};
