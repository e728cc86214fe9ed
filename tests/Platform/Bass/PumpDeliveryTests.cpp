// The message pump of the window stand-in delivers the audio syncs.
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "Platform/Win32/Messages.h"

#include <gtest/gtest.h>

using namespace audiotest;

TEST(PumpDelivery, OnePeekMessageDeliversAPendingEndSync)
{
    StartManualBass();
    HSAMPLE s = LoadSample(WavTone({}, 16));
    HCHANNEL ch = BASS_SampleGetChannel(s, TRUE);
    SyncRecorder rec;
    BASS_ChannelSetSync(ch, BASS_SYNC_END, 0, SyncRecorder::Proc, &rec);
    BASS_ChannelPlay(ch, TRUE);
    MixMs(400);
    EXPECT_TRUE(rec.calls.empty());
    MSG msg{};
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(rec.calls.size(), 1u);
    BASS_SampleFree(s);
}
