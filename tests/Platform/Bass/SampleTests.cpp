// Samples and sample channels in manual-output mode: decoding, playing,
// restarting, ending, and what bad handles get.
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "Platform/Bass/StandIn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace audiotest;

namespace
{
class Samples : public ::testing::Test
{
protected:
    void SetUp() override { StartManualBass(); }
};

// The index after the last audible frame of one side.
size_t AudibleFrames(const std::vector<float>& stereo)
{
    for (size_t i = stereo.size() / 2; i > 0; --i)
        if (std::fabs(stereo[(i - 1) * 2]) > 1e-3f || std::fabs(stereo[(i - 1) * 2 + 1]) > 1e-3f)
            return i;
    return 0;
}

struct DecodeCase
{
    const char* name;
    std::string bytes;
    double seconds; // 0: refused
    double frequency;
    double level;
};

std::vector<DecodeCase> DecodeCases()
{
    return {
        {"ogg 440 mono 44k 0.3s", OggTone({440, 0.5, 1, 44100, 0.3}), 0.3, 440, 0.5},
        {"ogg 880 stereo 44k 2s", OggTone({880, 0.25, 2, 44100, 2.0}), 2.0, 880, 0.25},
        {"ogg 440 mono 22k 0.3s", OggTone({440, 0.5, 1, 22050, 0.3}), 0.3, 440, 0.5},
        {"ogg 880 stereo 22k 2s", OggTone({880, 0.25, 2, 22050, 2.0}), 2.0, 880, 0.25},
        {"wav16 440 mono", WavTone({440, 0.5, 1, 44100, 0.3}, 16), 0.3, 440, 0.5},
        {"wav16 880 stereo 22k", WavTone({880, 0.25, 2, 22050, 0.3}, 16), 0.3, 880, 0.25},
        {"wav8 440 mono", WavTone({440, 0.5, 1, 44100, 0.3}, 8), 0.3, 440, 0.5},
        {"wav8 880 stereo", WavTone({880, 0.25, 2, 44100, 0.3}, 8), 0.3, 880, 0.25},
        {"truncated ogg", TruncatedOgg(), 0, 0, 0},
        {"random bytes", RandomBytes(4096), 0, 0, 0},
        {"random bytes behind OggS", "OggS" + RandomBytes(4096), 0, 0, 0},
        {"RIFF with an overlong data chunk", OverlongWav(), -1, 0, 0},
        {"empty", std::string(), 0, 0, 0},
    };
}
} // namespace

TEST_F(Samples, DecodeTable)
{
    for (const DecodeCase& c : DecodeCases())
    {
        SCOPED_TRACE(c.name);
        HSAMPLE s = LoadSample(c.bytes);
        if (c.seconds == 0)
        {
            EXPECT_EQ(s, 0u);
            continue;
        }
        if (c.seconds < 0)
        {
            // Either refused or the bytes that are there; never more.
            if (s)
            {
                HCHANNEL ch = BASS_SampleGetChannel(s, TRUE);
                BASS_ChannelPlay(ch, TRUE);
                EXPECT_LE(AudibleFrames(MixMs(100)), 64u);
                BASS_SampleFree(s);
            }
            continue;
        }
        ASSERT_NE(s, 0u);
        HCHANNEL ch = BASS_SampleGetChannel(s, TRUE);
        ASSERT_NE(ch, 0u);
        ASSERT_TRUE(BASS_ChannelPlay(ch, TRUE));
        std::vector<float> out = MixMs(c.seconds * 1000 + 200);
        EXPECT_NEAR(static_cast<double>(AudibleFrames(out)), c.seconds * 44100, 0.01 * 44100);
        // The middle of the tone, away from codec edges; mono plays on both sides.
        size_t from = Frames(50), count = Frames(200);
        for (int side = 0; side < 2; ++side)
        {
            Measured m = Measure(out.data() + from * 2, count, side);
            EXPECT_NEAR(m.frequency, c.frequency, c.frequency * 0.03);
            EXPECT_NEAR(m.rms, RmsOf(c.level), RmsOf(c.level) * 0.05);
        }
        EXPECT_TRUE(BASS_SampleFree(s));
    }
}

// Layouts no real sound has are refused before SDL sizes a converter from
// them, with one line naming the layout; the limits themselves play.
TEST_F(Samples, LayoutsOutsideRealSoundsAreRefused)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        bool plays;
    };
    const Case cases[] = {
        // Found by fuzzing: 44 bytes, no data, a 4,500,480 Hz rate.
        {"wav 4,500,480 Hz, no data", SilentWav(1, 4500480, 0), false},
        {"wav 999 Hz", SilentWav(1, 999, 1000), false},
        {"wav 384,001 Hz", SilentWav(2, 384001, 1000), false},
        {"wav 9 channels", SilentWav(9, 44100, 1000), false},
        {"ogg claiming 999 Hz", OggClaimingRate({}, 999), false},
        {"ogg claiming 384,001 Hz", OggClaimingRate({}, 384001), false},
        {"ogg claiming 4,500,480 Hz", OggClaimingRate({}, 4500480), false},
        {"wav 1,000 Hz", SilentWav(1, 1000, 1000), true},
        {"wav 384,000 Hz", SilentWav(2, 384000, 1000), true},
        {"wav 8 channels", SilentWav(8, 44100, 1000), true},
        {"ogg claiming 1,000 Hz", OggClaimingRate({}, 1000), true},
        {"ogg claiming 384,000 Hz", OggClaimingRate({}, 384000), true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty());
        testing::internal::CaptureStderr();
        const HSAMPLE s = LoadSample(c.bytes);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(s != 0, c.plays);
        if (c.plays)
        {
            EXPECT_EQ(said, "");
            EXPECT_TRUE(BASS_SampleFree(s));
            continue;
        }
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(" Hz"), std::string::npos) << said;
    }
}

// SDL would allocate what the data chunk claims; the chunk is cut to the
// bytes the file holds, which play as they are.
TEST_F(Samples, ADataChunkClaimingMoreThanTheFileHoldsPlaysWhatIsThere)
{
    std::string wav = WavTone({440, 0.5, 1, 44100, 0.3}, 16);
    constexpr size_t kDataLengthAt = 40;
    for (size_t i = 0; i < 4; ++i)
        wav[kDataLengthAt + i] = '\xF0';
    const HSAMPLE s = LoadSample(wav);
    ASSERT_NE(s, 0u);
    const HCHANNEL ch = BASS_SampleGetChannel(s, TRUE);
    ASSERT_TRUE(BASS_ChannelPlay(ch, TRUE));
    const std::vector<float> out = MixMs(500);
    EXPECT_NEAR(static_cast<double>(AudibleFrames(out)), 0.3 * 44100, 0.01 * 44100);
    EXPECT_NEAR(Measure(out.data() + Frames(50) * 2, Frames(200)).frequency, 440, 440 * 0.03);
    EXPECT_TRUE(BASS_SampleFree(s));
}

TEST_F(Samples, EndStopsTheChannelAndFiresOnlyOnDelivery)
{
    HSAMPLE s = LoadSample(WavTone({440, 0.5, 1, 44100, 0.3}, 16));
    HCHANNEL ch = BASS_SampleGetChannel(s, TRUE);
    SyncRecorder rec;
    HSYNC sync = BASS_ChannelSetSync(ch, BASS_SYNC_END | BASS_SYNC_MIXTIME, 0, SyncRecorder::Proc, &rec);
    ASSERT_NE(sync, 0u);
    BASS_ChannelPlay(ch, TRUE);
    MixMs(200);
    EXPECT_EQ(BASS_ChannelIsActive(ch), 1u);
    MixMs(200);
    EXPECT_EQ(BASS_ChannelIsActive(ch), 0u);
    EXPECT_TRUE(rec.calls.empty()) << "a sync ran outside the delivery call";
    bass::DeliverSyncs();
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0].sync, sync);
    EXPECT_EQ(rec.calls[0].channel, ch);
    EXPECT_EQ(rec.calls[0].data, 0u);
    bass::DeliverSyncs();
    EXPECT_EQ(rec.calls.size(), 1u);

    // The ended channel stays valid and plays again from its start; the sync fires again.
    ASSERT_TRUE(BASS_ChannelPlay(ch, TRUE));
    EXPECT_EQ(BASS_ChannelIsActive(ch), 1u);
    Measured m = Measure(MixMs(100));
    EXPECT_NEAR(m.rms, RmsOf(0.5), 0.02);
    MixMs(300);
    bass::DeliverSyncs();
    EXPECT_EQ(rec.calls.size(), 2u);
    BASS_SampleFree(s);
}

TEST_F(Samples, RestartWhilePlayingIsOneCopyTwoChannelsSum)
{
    HSAMPLE s = LoadSample(WavTone({440, 0.25, 1, 44100, 0.3}, 16));
    HCHANNEL a = BASS_SampleGetChannel(s, TRUE);
    HCHANNEL b = BASS_SampleGetChannel(s, TRUE);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    ASSERT_NE(a, b);
    BASS_ChannelPlay(a, TRUE);
    MixMs(100);
    BASS_ChannelPlay(a, TRUE);
    std::vector<float> one = MixMs(100);
    EXPECT_NEAR(Measure(one).rms, RmsOf(0.25), 0.01);
    // And it restarted: 100 ms more, not 0.
    MixMs(150);
    EXPECT_EQ(BASS_ChannelIsActive(a), 1u);

    BASS_ChannelPlay(a, TRUE);
    BASS_ChannelPlay(b, TRUE);
    EXPECT_NEAR(Measure(MixMs(100)).rms, RmsOf(0.5), 0.01);
    BASS_SampleFree(s);
    EXPECT_EQ(BASS_ChannelIsActive(a), 0u);
    EXPECT_FALSE(BASS_ChannelPlay(b, TRUE)) << "freeing a sample frees its channels";
}

TEST_F(Samples, ChannelsUpToTheSampleMaximum)
{
    std::string wav = WavTone({}, 16);
    HSAMPLE s = BASS_SampleLoad(TRUE, wav.data(), 0, static_cast<DWORD>(wav.size()), 2, 0);
    EXPECT_NE(BASS_SampleGetChannel(s, TRUE), 0u);
    EXPECT_NE(BASS_SampleGetChannel(s, TRUE), 0u);
    EXPECT_EQ(BASS_SampleGetChannel(s, TRUE), 0u);
    BASS_SampleFree(s);
}

TEST_F(Samples, StopSilencesWithoutEndSync)
{
    HSAMPLE s = LoadSample(WavTone({}, 16));
    HCHANNEL ch = BASS_SampleGetChannel(s, TRUE);
    SyncRecorder rec;
    BASS_ChannelSetSync(ch, BASS_SYNC_END, 0, SyncRecorder::Proc, &rec);
    BASS_ChannelPlay(ch, TRUE);
    MixMs(50);
    EXPECT_TRUE(BASS_ChannelStop(ch));
    EXPECT_EQ(BASS_ChannelIsActive(ch), 0u);
    EXPECT_EQ(Measure(MixMs(400)).rms, 0.0);
    bass::DeliverSyncs();
    EXPECT_TRUE(rec.calls.empty());
    BASS_SampleFree(s);
}

TEST_F(Samples, PauseHoldsEverythingUntilStart)
{
    HSAMPLE s = LoadSample(WavTone({440, 0.5, 1, 44100, 0.3}, 16));
    HCHANNEL a = BASS_SampleGetChannel(s, TRUE);
    HCHANNEL b = BASS_SampleGetChannel(s, TRUE);
    BASS_ChannelPlay(a, TRUE);
    MixMs(100);
    ASSERT_TRUE(BASS_Pause());
    BASS_ChannelPlay(b, TRUE);
    EXPECT_EQ(Measure(MixMs(1000)).rms, 0.0);
    EXPECT_EQ(BASS_ChannelIsActive(a), 1u);
    EXPECT_EQ(BASS_ChannelIsActive(b), 1u);
    ASSERT_TRUE(BASS_Start());
    // a has 200 ms left, b all 300 ms: both heard, a ends first.
    EXPECT_NEAR(Measure(MixMs(150)).rms, RmsOf(1.0), 0.02);
    MixMs(60);
    EXPECT_EQ(BASS_ChannelIsActive(a), 0u);
    EXPECT_EQ(BASS_ChannelIsActive(b), 1u);
    MixMs(100);
    EXPECT_EQ(BASS_ChannelIsActive(b), 0u);
    BASS_SampleFree(s);
}

TEST_F(Samples, BadHandlesFailAndIdsAreNeverReused)
{
    std::string wav = WavTone({}, 16);
    HSAMPLE s = LoadSample(wav);
    HCHANNEL ch = BASS_SampleGetChannel(s, TRUE);
    SyncRecorder rec;
    HSYNC sync = BASS_ChannelSetSync(ch, BASS_SYNC_END, 0, SyncRecorder::Proc, &rec);
    ASSERT_NE(sync, 0u);

    // Wrong kinds: a sample is no channel, a channel no sample or stream, a sync nothing else.
    EXPECT_FALSE(BASS_ChannelPlay(s, TRUE));
    EXPECT_FALSE(BASS_ChannelPlay(sync, TRUE));
    EXPECT_EQ(BASS_SampleGetChannel(ch, TRUE), 0u);
    EXPECT_FALSE(BASS_SampleFree(ch));
    EXPECT_FALSE(BASS_StreamFree(ch));
    EXPECT_FALSE(BASS_StreamFree(s));
    EXPECT_EQ(BASS_ChannelSetSync(s, BASS_SYNC_END, 0, SyncRecorder::Proc, &rec), 0u);
    EXPECT_FALSE(BASS_ChannelSetAttribute(s, BASS_ATTRIB_VOL, 1));
    EXPECT_FALSE(BASS_ChannelRemoveSync(s, sync));
    EXPECT_FALSE(BASS_ChannelSetAttribute(ch, 1, 1)) << "only the volume attribute exists";

    BASS_SampleFree(s);
    for (DWORD h : {DWORD(0), s, ch})
    {
        SCOPED_TRACE(h);
        EXPECT_FALSE(BASS_ChannelPlay(h, TRUE));
        EXPECT_FALSE(BASS_ChannelStop(h));
        EXPECT_EQ(BASS_ChannelIsActive(h), 0u);
        EXPECT_FALSE(BASS_ChannelSetAttribute(h, BASS_ATTRIB_VOL, 1));
        EXPECT_FALSE(BASS_ChannelSlideAttribute(h, BASS_ATTRIB_VOL, 0, 100));
        EXPECT_EQ(BASS_ChannelSetSync(h, BASS_SYNC_END, 0, SyncRecorder::Proc, &rec), 0u);
        EXPECT_FALSE(BASS_ChannelRemoveSync(h, sync));
        EXPECT_FALSE(BASS_SampleFree(h));
        EXPECT_EQ(BASS_SampleGetChannel(h, TRUE), 0u);
        EXPECT_FALSE(BASS_StreamFree(h));
    }

    HSAMPLE again = LoadSample(wav);
    HCHANNEL againCh = BASS_SampleGetChannel(again, TRUE);
    for (DWORD old : {s, ch, sync})
    {
        EXPECT_NE(again, old);
        EXPECT_NE(againCh, old);
    }
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, 0, nullptr)) << "a second init";
    BASS_SampleFree(again);
}
