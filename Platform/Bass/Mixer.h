#pragma once

// The state behind every audio call, guarded by one lock. The lock is held
// briefly by the calling thread and for a whole block by the mixing thread;
// the only engine code that runs under it is a stream's file callbacks.
#include "Platform/Bass/Bass.h"
#include "Platform/Bass/UserFileStream.h"

#include <SDL2/SDL_audio.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace bass
{
struct Slide
{
    bool active = false;
    float from = 0.0f;
    float target = 0.0f;
    uint64_t total = 0;
    uint64_t elapsed = 0;
};

// A sample channel or a stream.
struct Voice
{
    HSAMPLE sample = 0; // 0 for a stream
    std::shared_ptr<const std::vector<float>> pcm;
    size_t position = 0; // frames into pcm
    std::unique_ptr<UserFileStream> stream;
    bool playing = false;
    float volume = 1.0f;
    Slide slide;
};

struct Sample
{
    std::shared_ptr<const std::vector<float>> pcm;
    DWORD max = 0;
    std::vector<HCHANNEL> channels;
};

struct Sync
{
    DWORD channel = 0;
    DWORD type = 0; // without the mix-time flag
    SYNCPROC* proc = nullptr;
    void* user = nullptr;
};

struct FiredSync
{
    HSYNC sync;
    DWORD channel;
    DWORD data;
};

struct Mixer
{
    // Lives on the heap for the whole run, so calls made during teardown at
    // exit still find it.
    static Mixer& Get();

    DWORD NewHandle() { return ++lastHandle; }
    Voice* FindVoice(DWORD handle);
    // Removes the syncs of a channel that goes away.
    void DropSyncs(DWORD channel);
    // Call with the lock held.
    void Mix(float* out, uint32_t frames);

    std::mutex lock;
    bool initAttempted = false;
    bool initialised = false;
    bool manualOutput = false;
    bool paused = false;
    SDL_AudioDeviceID device = 0;
    DWORD lastHandle = 0;
    std::map<DWORD, Sample> samples;
    std::map<DWORD, std::unique_ptr<Voice>> voices;
    std::map<DWORD, Sync> syncs;
    std::vector<FiredSync> fired;

private:
    void MixVoice(DWORD id, Voice& voice, float* out, uint32_t frames);
    void Fire(DWORD channel, DWORD type, DWORD data);

    std::vector<float> m_scratch;
};

inline uint64_t MillisecondsToFrames(DWORD ms)
{
    uint64_t frames = static_cast<uint64_t>(ms) * 44100 / 1000;
    return frames ? frames : 1;
}
} // namespace bass
