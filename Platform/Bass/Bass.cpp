#include "Platform/Bass/Bass.h"

#include "Platform/Bass/Mixer.h"
#include "Platform/Bass/Output.h"
#include "Platform/Bass/SampleDecoder.h"
#include "Platform/Bass/StandIn.h"
#include "Platform/Win32/Messages.h"

#include <algorithm>

using bass::Mixer;
using bass::Voice;

namespace
{
constexpr DWORD kSyncTypeMask = ~static_cast<DWORD>(BASS_SYNC_MIXTIME);

float ClampVolume(float v)
{
    return v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v;
}

// The mixer, locked, when the library is up; calls before a successful
// BASS_Init fail like calls on a bad handle.
struct Locked
{
    Locked()
        : mixer(Mixer::Get())
        , guard(mixer.lock)
    {
    }
    explicit operator bool() const { return mixer.initialised; }
    Mixer& mixer;
    std::unique_lock<std::mutex> guard;
};
} // namespace

BOOL BASS_Init(int, DWORD, DWORD, HWND, const void*)
{
    Mixer& mixer = Mixer::Get();
    bool manual;
    {
        std::lock_guard guard(mixer.lock);
        if (mixer.initAttempted)
            return FALSE;
        mixer.initAttempted = true;
        manual = mixer.manualOutput;
    }
    SDL_AudioDeviceID device = 0;
    if (!manual)
    {
        device = bass::OpenOutput();
        if (device == 0)
            return FALSE;
    }
    {
        std::lock_guard guard(mixer.lock);
        mixer.device = device;
        mixer.initialised = true;
    }
    // Every turn of the message pump hands the fired syncs to their callbacks.
    win32::AddMainThreadWork(bass::DeliverSyncs);
    return TRUE;
}

BOOL BASS_SetConfig(DWORD, DWORD)
{
    return Locked() ? TRUE : FALSE;
}

static BOOL SetPaused(bool pause)
{
    SDL_AudioDeviceID device;
    {
        Locked m;
        if (!m)
            return FALSE;
        m.mixer.paused = pause;
        device = m.mixer.device;
    }
    bass::PauseOutput(device, pause);
    return TRUE;
}

BOOL BASS_Start()
{
    return SetPaused(false);
}

BOOL BASS_Pause()
{
    return SetPaused(true);
}

HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max, DWORD)
{
    if (!mem || !file || max == 0 || max > 65535)
        return 0;
    if (!Locked())
        return 0;
    // Decoding takes a while: do it outside the lock.
    auto pcm = std::make_shared<const std::vector<float>>(
        bass::DecodeSampleFile(static_cast<const unsigned char*>(file) + offset, length));
    if (pcm->empty())
        return 0;
    Locked m;
    DWORD id = m.mixer.NewHandle();
    m.mixer.samples[id] = bass::Sample{pcm, max, {}};
    return id;
}

BOOL BASS_SampleFree(HSAMPLE handle)
{
    std::vector<std::unique_ptr<Voice>> doomed;
    Locked m;
    if (!m)
        return FALSE;
    auto it = m.mixer.samples.find(handle);
    if (it == m.mixer.samples.end())
        return FALSE;
    for (HCHANNEL ch : it->second.channels)
    {
        auto v = m.mixer.voices.find(ch);
        if (v == m.mixer.voices.end())
            continue;
        doomed.push_back(std::move(v->second));
        m.mixer.voices.erase(v);
        m.mixer.DropSyncs(ch);
    }
    m.mixer.samples.erase(it);
    return TRUE;
}

HCHANNEL BASS_SampleGetChannel(HSAMPLE handle, BOOL)
{
    Locked m;
    if (!m)
        return 0;
    auto it = m.mixer.samples.find(handle);
    if (it == m.mixer.samples.end() || it->second.channels.size() >= it->second.max)
        return 0;
    auto voice = std::make_unique<Voice>();
    voice->sample = handle;
    voice->pcm = it->second.pcm;
    DWORD id = m.mixer.NewHandle();
    m.mixer.voices[id] = std::move(voice);
    it->second.channels.push_back(id);
    return id;
}

HSTREAM BASS_StreamCreateFileUser(DWORD system, DWORD, const BASS_FILEPROCS* procs, void* user)
{
    if (system != STREAMFILE_BUFFER || !procs || !Locked())
        return 0;
    // Opening reads through the engine's callbacks: on this thread, unlocked.
    auto stream = std::make_unique<bass::UserFileStream>(*procs, user);
    if (!stream->Open())
        return 0;
    auto voice = std::make_unique<Voice>();
    voice->stream = std::move(stream);
    Locked m;
    DWORD id = m.mixer.NewHandle();
    m.mixer.voices[id] = std::move(voice);
    return id;
}

BOOL BASS_StreamFree(HSTREAM handle)
{
    std::unique_ptr<Voice> doomed;
    {
        Locked m;
        if (!m)
            return FALSE;
        auto it = m.mixer.voices.find(handle);
        if (it == m.mixer.voices.end() || !it->second->stream)
            return FALSE;
        doomed = std::move(it->second);
        m.mixer.voices.erase(it);
        m.mixer.DropSyncs(handle);
    }
    // Out of the mixer now: closing calls the engine without the lock.
    doomed.reset();
    return TRUE;
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart)
{
    Locked m;
    Voice* v = m ? m.mixer.FindVoice(handle) : nullptr;
    if (!v)
        return FALSE;
    if (v->stream)
    {
        if (restart && !v->stream->Rewind())
        {
            v->playing = false;
            return FALSE;
        }
    }
    else if (restart || v->position >= v->pcm->size() / 2)
    {
        v->position = 0;
    }
    v->playing = true;
    return TRUE;
}

BOOL BASS_ChannelStop(DWORD handle)
{
    Locked m;
    Voice* v = m ? m.mixer.FindVoice(handle) : nullptr;
    if (!v)
        return FALSE;
    v->playing = false;
    return TRUE;
}

DWORD BASS_ChannelIsActive(DWORD handle)
{
    Locked m;
    Voice* v = m ? m.mixer.FindVoice(handle) : nullptr;
    return v && v->playing ? BASS_ACTIVE_PLAYING : BASS_ACTIVE_STOPPED;
}

BOOL BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value)
{
    Locked m;
    Voice* v = m ? m.mixer.FindVoice(handle) : nullptr;
    if (!v || attrib != BASS_ATTRIB_VOL)
        return FALSE;
    v->volume = ClampVolume(value);
    bass::Slide& slide = v->slide;
    if (slide.active)
    {
        // The slide goes on from here to its target in the time it has left.
        slide.from = v->volume;
        slide.total -= slide.elapsed;
        slide.elapsed = 0;
    }
    return TRUE;
}

BOOL BASS_ChannelSlideAttribute(DWORD handle, DWORD attrib, float value, DWORD time)
{
    Locked m;
    Voice* v = m ? m.mixer.FindVoice(handle) : nullptr;
    if (!v || attrib != BASS_ATTRIB_VOL)
        return FALSE;
    v->slide = bass::Slide{true, v->volume, ClampVolume(value), bass::MillisecondsToFrames(time), 0};
    return TRUE;
}

HSYNC BASS_ChannelSetSync(DWORD handle, DWORD type, QWORD, SYNCPROC* proc, void* user)
{
    DWORD kind = type & kSyncTypeMask;
    if (!proc || (kind != BASS_SYNC_END && kind != BASS_SYNC_SLIDE))
        return 0;
    Locked m;
    if (!m || !m.mixer.FindVoice(handle))
        return 0;
    DWORD id = m.mixer.NewHandle();
    m.mixer.syncs[id] = bass::Sync{handle, kind, proc, user};
    return id;
}

BOOL BASS_ChannelRemoveSync(DWORD handle, HSYNC sync)
{
    Locked m;
    if (!m)
        return FALSE;
    auto it = m.mixer.syncs.find(sync);
    if (it == m.mixer.syncs.end() || it->second.channel != handle)
        return FALSE;
    m.mixer.syncs.erase(it);
    return TRUE;
}
