// The live path through SDL's dummy driver: real time, the SDL callback mixing.
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "Platform/Bass/StandIn.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace audiotest;
using namespace std::chrono;

namespace
{
bool WaitUntilStopped(HCHANNEL ch, milliseconds limit)
{
    auto end = steady_clock::now() + limit;
    while (steady_clock::now() < end)
    {
        if (BASS_ChannelIsActive(ch) == 0)
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}
} // namespace

TEST(SdlOutput, ShortSamplePlaysToItsEndInRealTimeAndPauseHoldsIt)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, 0, nullptr));
    EXPECT_TRUE(BASS_SetConfig(34, 4));
    HSAMPLE s = LoadSample(OggTone({440, 0.5, 1, 44100, 0.3}));
    HCHANNEL ch = BASS_SampleGetChannel(s, TRUE);
    SyncRecorder rec;
    BASS_ChannelSetSync(ch, BASS_SYNC_END, 0, SyncRecorder::Proc, &rec);

    auto start = steady_clock::now();
    ASSERT_TRUE(BASS_ChannelPlay(ch, TRUE));
    ASSERT_TRUE(WaitUntilStopped(ch, 3000ms));
    EXPECT_GE(steady_clock::now() - start, 200ms) << "played faster than real time";
    bass::DeliverSyncs();
    EXPECT_EQ(rec.calls.size(), 1u);

    ASSERT_TRUE(BASS_Pause());
    BASS_ChannelPlay(ch, TRUE);
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(BASS_ChannelIsActive(ch), 1u) << "advanced while paused";
    ASSERT_TRUE(BASS_Start());
    EXPECT_TRUE(WaitUntilStopped(ch, 3000ms));
    BASS_SampleFree(s);
}
