#include "Platform/Bass/Mixer.h"

#include <algorithm>
#include <cstring>

namespace bass
{
Mixer& Mixer::Get()
{
    static Mixer* mixer = new Mixer;
    return *mixer;
}

Voice* Mixer::FindVoice(DWORD handle)
{
    auto it = voices.find(handle);
    return it == voices.end() ? nullptr : it->second.get();
}

void Mixer::DropSyncs(DWORD channel)
{
    std::erase_if(syncs, [channel](const auto& entry) { return entry.second.channel == channel; });
}

void Mixer::Mix(float* out, uint32_t frames)
{
    std::fill(out, out + static_cast<size_t>(frames) * 2, 0.0f);
    if (paused)
        return;
    for (auto& [id, voice] : voices)
        MixVoice(id, *voice, out, frames);
}

void Mixer::MixVoice(DWORD id, Voice& voice, float* out, uint32_t frames)
{
    if (!voice.playing && !voice.slide.active)
        return;
    size_t available = 0;
    if (voice.playing)
    {
        m_scratch.resize(static_cast<size_t>(frames) * 2);
        if (voice.stream)
        {
            available = voice.stream->Fill(m_scratch.data(), frames);
        }
        else
        {
            size_t total = voice.pcm->size() / 2;
            available = std::min<size_t>(frames, total - std::min(voice.position, total));
            std::memcpy(m_scratch.data(), voice.pcm->data() + voice.position * 2, available * 2 * sizeof(float));
            voice.position += available;
        }
    }
    Slide& slide = voice.slide;
    for (uint32_t f = 0; f < frames; ++f)
    {
        if (slide.active)
        {
            ++slide.elapsed;
            if (slide.elapsed >= slide.total)
            {
                voice.volume = slide.target;
                slide.active = false;
                Fire(id, BASS_SYNC_SLIDE, BASS_ATTRIB_VOL);
            }
            else
            {
                float t = static_cast<float>(static_cast<double>(slide.elapsed) / static_cast<double>(slide.total));
                voice.volume = slide.from + (slide.target - slide.from) * t;
            }
        }
        else if (f >= available)
        {
            break;
        }
        if (f < available)
        {
            out[f * 2] += m_scratch[f * 2] * voice.volume;
            out[f * 2 + 1] += m_scratch[f * 2 + 1] * voice.volume;
        }
    }
    if (voice.playing && available < frames)
    {
        voice.playing = false;
        Fire(id, BASS_SYNC_END, 0);
    }
}

void Mixer::Fire(DWORD channel, DWORD type, DWORD data)
{
    for (const auto& [id, sync] : syncs)
        if (sync.channel == channel && sync.type == type)
            fired.push_back({id, channel, data});
}
} // namespace bass
