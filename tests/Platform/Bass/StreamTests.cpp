// Streams read through the engine's file callbacks, in manual-output mode.
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "Platform/Bass/StandIn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace audiotest;

namespace
{
// A file in memory that records what the stream asks of it.
struct RecordingFile
{
    std::string bytes;
    QWORD position = 0;
    std::vector<QWORD> seeks;
    int closes = 0;
    bool freed = false;          // set by the test once the stream is gone
    QWORD failReadsFrom = ~0ull; // reads at or past this offset fail
    bool failSeeks = false;
    DWORD maxRead = ~0u; // short reads, so playing takes many

    static const BASS_FILEPROCS procs;

    static RecordingFile& Of(void* user)
    {
        auto* f = static_cast<RecordingFile*>(user);
        EXPECT_FALSE(f->freed) << "a file callback after the stream was freed";
        return *f;
    }
    static void Close(void* user) { ++Of(user).closes; }
    static QWORD Length(void* user) { return Of(user).bytes.size(); }
    static DWORD Read(void* buffer, DWORD length, void* user)
    {
        RecordingFile& f = Of(user);
        if (f.position >= f.failReadsFrom)
            return 0xFFFFFFFFu;
        DWORD n = static_cast<DWORD>(std::min<QWORD>(std::min(length, f.maxRead), f.bytes.size() - f.position));
        std::memcpy(buffer, f.bytes.data() + f.position, n);
        f.position += n;
        return n;
    }
    static BOOL Seek(QWORD offset, void* user)
    {
        RecordingFile& f = Of(user);
        f.seeks.push_back(offset);
        if (f.failSeeks || offset > f.bytes.size())
            return FALSE;
        f.position = offset;
        return TRUE;
    }
};
const BASS_FILEPROCS RecordingFile::procs = {Close, Length, Read, Seek};

class Streams : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartManualBass();
        m_file.bytes = OggTone({440, 0.5, 2, 44100, 0.3});
    }
    HSTREAM Open() { return BASS_StreamCreateFileUser(STREAMFILE_BUFFER, 0, &RecordingFile::procs, &m_file); }
    void Free(HSTREAM s)
    {
        EXPECT_TRUE(BASS_StreamFree(s));
        m_file.freed = true;
        bass::DeliverSyncs();
    }

    RecordingFile m_file;
};
} // namespace

TEST_F(Streams, PlaysTheFileWithAbsoluteSeeksOnly)
{
    HSTREAM s = Open();
    ASSERT_NE(s, 0u);
    // vorbisfile looks at the end of the file while opening: it arrives absolute.
    ASSERT_FALSE(m_file.seeks.empty());
    for (QWORD offset : m_file.seeks)
        EXPECT_LE(offset, m_file.bytes.size());
    EXPECT_TRUE(std::any_of(m_file.seeks.begin(), m_file.seeks.end(), [&](QWORD o) { return o > m_file.bytes.size() / 2; }));

    ASSERT_TRUE(BASS_ChannelPlay(s, TRUE));
    std::vector<float> out = MixMs(250);
    Measured m = Measure(out.data() + Frames(50) * 2, Frames(200), 1);
    EXPECT_NEAR(m.frequency, 440, 10);
    EXPECT_NEAR(m.rms, RmsOf(0.5), 0.02);
    Free(s);
    EXPECT_EQ(m_file.closes, 1);
}

TEST_F(Streams, EndsWithItsSyncAndRestartsFromOffsetZero)
{
    HSTREAM s = Open();
    SyncRecorder rec;
    BASS_ChannelSetSync(s, BASS_SYNC_END, 0, SyncRecorder::Proc, &rec);
    BASS_ChannelPlay(s, TRUE);
    MixMs(400);
    EXPECT_EQ(BASS_ChannelIsActive(s), 0u);
    bass::DeliverSyncs();
    EXPECT_EQ(rec.calls.size(), 1u);

    m_file.seeks.clear();
    ASSERT_TRUE(BASS_ChannelPlay(s, TRUE));
    ASSERT_FALSE(m_file.seeks.empty());
    EXPECT_EQ(m_file.seeks.front(), 0u);
    EXPECT_NEAR(Measure(MixMs(200)).rms, RmsOf(0.5), 0.03);
    Free(s);
}

TEST_F(Streams, FailingRestartSeekLeavesItStopped)
{
    HSTREAM s = Open();
    BASS_ChannelPlay(s, TRUE);
    MixMs(100);
    m_file.failSeeks = true;
    EXPECT_FALSE(BASS_ChannelPlay(s, TRUE));
    EXPECT_EQ(BASS_ChannelIsActive(s), 0u);
    EXPECT_EQ(Measure(MixMs(100)).rms, 0.0);
    Free(s);
}

TEST_F(Streams, ReadFailureMidStreamEndsIt)
{
    // Long enough that playing keeps reading for seconds.
    m_file.bytes = OggTone({440, 0.5, 2, 44100, 10.0});
    m_file.maxRead = 1024;
    HSTREAM s = Open();
    ASSERT_NE(s, 0u);
    SyncRecorder rec;
    BASS_ChannelSetSync(s, BASS_SYNC_END, 0, SyncRecorder::Proc, &rec);
    BASS_ChannelPlay(s, TRUE);
    EXPECT_NEAR(Measure(MixMs(200)).rms, RmsOf(0.5), 0.03);
    m_file.failReadsFrom = 0;
    // Well before the 10 s it would take to play to its end.
    MixMs(9000);
    EXPECT_EQ(BASS_ChannelIsActive(s), 0u);
    bass::DeliverSyncs();
    EXPECT_EQ(rec.calls.size(), 1u);
    Free(s);
}

TEST_F(Streams, AnythingButOggVorbisIsRefused)
{
    for (const std::string& bytes : {RandomBytes(5000), WavTone({}, 16), TruncatedOgg(), std::string()})
    {
        RecordingFile f;
        f.bytes = bytes;
        EXPECT_EQ(BASS_StreamCreateFileUser(STREAMFILE_BUFFER, 0, &RecordingFile::procs, &f), 0u);
        f.freed = true;
    }
}

// The sample decoder's limits hold for streams too.
TEST_F(Streams, RatesOutsideRealSoundsAreRefused)
{
    for (uint32_t rate : {999u, 384001u, 4500480u})
    {
        SCOPED_TRACE(rate);
        RecordingFile f;
        f.bytes = OggClaimingRate({}, rate);
        ASSERT_FALSE(f.bytes.empty());
        EXPECT_EQ(BASS_StreamCreateFileUser(STREAMFILE_BUFFER, 0, &RecordingFile::procs, &f), 0u);
        f.freed = true;
    }
    m_file.bytes = OggClaimingRate({}, 384000);
    const HSTREAM s = Open();
    ASSERT_NE(s, 0u);
    Free(s);
}

TEST_F(Streams, FreeStopsCallbacksAndDropsSyncs)
{
    m_file.bytes = OggTone({440, 0.5, 2, 44100, 2.0});
    HSTREAM s = Open();
    SyncRecorder rec;
    BASS_ChannelSetSync(s, BASS_SYNC_SLIDE, 0, SyncRecorder::Proc, &rec);
    BASS_ChannelPlay(s, TRUE);
    BASS_ChannelSlideAttribute(s, BASS_ATTRIB_VOL, 0, 10);
    MixMs(100); // the slide sync is queued
    Free(s);
    EXPECT_EQ(m_file.closes, 1);
    EXPECT_TRUE(rec.calls.empty());
    MixMs(100);
    EXPECT_FALSE(BASS_ChannelPlay(s, TRUE));
    EXPECT_FALSE(BASS_StreamFree(s));
}

namespace
{
// What the music switch does from its callback: free the stream, open the next.
struct Switcher
{
    RecordingFile* current;
    RecordingFile* next;
    HSTREAM stream;
    HSTREAM opened = 0;
    static void Proc(HSYNC, DWORD, DWORD, void* user)
    {
        auto* s = static_cast<Switcher*>(user);
        EXPECT_TRUE(BASS_StreamFree(s->stream));
        s->current->freed = true;
        s->opened = BASS_StreamCreateFileUser(STREAMFILE_BUFFER, 0, &RecordingFile::procs, s->next);
        BASS_ChannelPlay(s->opened, TRUE);
    }
};
} // namespace

TEST_F(Streams, CallbackMayFreeAndCreateStreams)
{
    RecordingFile other;
    other.bytes = OggTone({880, 0.25, 1, 44100, 0.3});
    HSTREAM s = Open();
    Switcher sw{&m_file, &other, s};
    BASS_ChannelSetSync(s, BASS_SYNC_END | BASS_SYNC_MIXTIME, 0, Switcher::Proc, &sw);
    BASS_ChannelPlay(s, TRUE);
    MixMs(400);
    bass::DeliverSyncs();
    ASSERT_NE(sw.opened, 0u);
    std::vector<float> out = MixMs(200);
    EXPECT_NEAR(Measure(out.data() + Frames(50) * 2, Frames(100)).frequency, 880, 20);
    EXPECT_TRUE(BASS_StreamFree(sw.opened));
    other.freed = true;
    EXPECT_EQ(m_file.closes, 1);
}
