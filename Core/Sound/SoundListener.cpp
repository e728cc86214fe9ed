#include "Core/Sound/SoundListener.h"

void SoundListener::OnSoundFinished(Sound*)
{
}

void SoundListener::OnSoundNotify()
{
}
