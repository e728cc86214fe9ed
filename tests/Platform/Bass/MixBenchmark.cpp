// Mixing time per second of output: 16 playing sample channels and one Ogg
// Vorbis stream read through file callbacks, in 1024-frame blocks as SDL asks.
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "Platform/Bass/StandIn.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

using namespace audiotest;

namespace
{
struct MemoryFile
{
    std::string bytes;
    QWORD position = 0;
    static void Close(void*) {}
    static QWORD Length(void* u) { return static_cast<MemoryFile*>(u)->bytes.size(); }
    static DWORD Read(void* buffer, DWORD length, void* u)
    {
        auto* f = static_cast<MemoryFile*>(u);
        DWORD n = static_cast<DWORD>(std::min<QWORD>(length, f->bytes.size() - f->position));
        std::memcpy(buffer, f->bytes.data() + f->position, n);
        f->position += n;
        return n;
    }
    static BOOL Seek(QWORD offset, void* u)
    {
        auto* f = static_cast<MemoryFile*>(u);
        if (offset > f->bytes.size())
            return FALSE;
        f->position = offset;
        return TRUE;
    }
};

void MixOneSecond(benchmark::State& state)
{
    StartManualBass();
    HSAMPLE sample = LoadSample(OggTone({440, 0.5, 2, 44100, 2.0}));
    std::vector<HCHANNEL> channels;
    for (int i = 0; i < 16; ++i)
    {
        channels.push_back(BASS_SampleGetChannel(sample, TRUE));
        BASS_ChannelSetAttribute(channels.back(), BASS_ATTRIB_VOL, 0.05f);
    }
    MemoryFile music{OggTone({880, 0.25, 2, 44100, 10.0})};
    BASS_FILEPROCS procs{MemoryFile::Close, MemoryFile::Length, MemoryFile::Read, MemoryFile::Seek};
    HSTREAM stream = BASS_StreamCreateFileUser(STREAMFILE_BUFFER, 0, &procs, &music);
    std::vector<float> block(1024 * 2);
    for (auto _ : state)
    {
        for (uint32_t done = 0; done < 44100; done += 1024)
        {
            for (HCHANNEL ch : channels)
                if (!BASS_ChannelIsActive(ch))
                    BASS_ChannelPlay(ch, TRUE);
            if (!BASS_ChannelIsActive(stream))
                BASS_ChannelPlay(stream, TRUE);
            bass::MixFrames(block.data(), 1024);
            benchmark::DoNotOptimize(block.data());
        }
    }
    BASS_StreamFree(stream);
    BASS_SampleFree(sample);
}
BENCHMARK(MixOneSecond)->Unit(benchmark::kMillisecond);
} // namespace
