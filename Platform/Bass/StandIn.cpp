#include "Platform/Bass/StandIn.h"

#include "Platform/Bass/Mixer.h"

namespace bass
{
void DeliverSyncs()
{
    Mixer& mixer = Mixer::Get();
    std::vector<FiredSync> batch;
    {
        std::lock_guard guard(mixer.lock);
        batch.swap(mixer.fired);
    }
    for (const FiredSync& event : batch)
    {
        SYNCPROC* proc = nullptr;
        void* user = nullptr;
        {
            // An earlier callback may have removed the sync or freed its channel.
            std::lock_guard guard(mixer.lock);
            auto it = mixer.syncs.find(event.sync);
            if (it == mixer.syncs.end() || !mixer.FindVoice(event.channel))
                continue;
            proc = it->second.proc;
            user = it->second.user;
        }
        proc(event.sync, event.channel, event.data, user);
    }
}

void UseManualOutput()
{
    Mixer& mixer = Mixer::Get();
    std::lock_guard guard(mixer.lock);
    mixer.manualOutput = true;
}

void MixFrames(float* out, uint32_t frames)
{
    Mixer& mixer = Mixer::Get();
    std::lock_guard guard(mixer.lock);
    mixer.Mix(out, frames);
}
} // namespace bass
