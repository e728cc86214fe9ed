// Volume, slides and sync delivery in manual-output mode.
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "Platform/Bass/StandIn.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace audiotest;

namespace
{
class VolumeAndSyncs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartManualBass();
        m_sample = LoadSample(WavTone({440, 0.5, 1, 44100, 2.0}, 16));
        ASSERT_NE(m_sample, 0u);
        m_channel = BASS_SampleGetChannel(m_sample, TRUE);
    }
    void TearDown() override
    {
        BASS_SampleFree(m_sample);
        bass::DeliverSyncs();
    }

    // The gain at the middle of the next `ms` of output.
    double GainOver(double ms) { return Measure(MixMs(ms)).rms / RmsOf(0.5); }

    HSAMPLE m_sample = 0;
    HCHANNEL m_channel = 0;
};
} // namespace

TEST_F(VolumeAndSyncs, VolumeScalesAndIsClamped)
{
    BASS_ChannelPlay(m_channel, TRUE);
    ASSERT_TRUE(BASS_ChannelSetAttribute(m_channel, BASS_ATTRIB_VOL, 0.5f));
    EXPECT_NEAR(GainOver(100), 0.5, 0.01);
    BASS_ChannelSetAttribute(m_channel, BASS_ATTRIB_VOL, 3.0f);
    EXPECT_NEAR(GainOver(100), 1.0, 0.01);
    BASS_ChannelSetAttribute(m_channel, BASS_ATTRIB_VOL, -1.0f);
    EXPECT_EQ(GainOver(100), 0.0);
}

TEST_F(VolumeAndSyncs, SlideIsLinearAndFiresOnceAtItsEnd)
{
    SyncRecorder rec;
    HSYNC sync = BASS_ChannelSetSync(m_channel, BASS_SYNC_SLIDE | BASS_SYNC_MIXTIME, 0, SyncRecorder::Proc, &rec);
    BASS_ChannelPlay(m_channel, TRUE);
    ASSERT_TRUE(BASS_ChannelSlideAttribute(m_channel, BASS_ATTRIB_VOL, 0.0f, 1000));
    MixMs(225);
    EXPECT_NEAR(GainOver(50), 0.75, 0.03);
    MixMs(200);
    EXPECT_NEAR(GainOver(50), 0.5, 0.03);
    MixMs(200);
    EXPECT_NEAR(GainOver(50), 0.25, 0.03);
    MixMs(200);
    bass::DeliverSyncs();
    EXPECT_TRUE(rec.calls.empty()) << "fired before the slide's time";
    MixMs(30);
    bass::DeliverSyncs();
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0].sync, sync);
    EXPECT_EQ(rec.calls[0].data, static_cast<DWORD>(BASS_ATTRIB_VOL));
    EXPECT_EQ(GainOver(100), 0.0);
    bass::DeliverSyncs();
    EXPECT_EQ(rec.calls.size(), 1u);
}

TEST_F(VolumeAndSyncs, SetDuringSlideRestartsFromThereInTheTimeLeft)
{
    SyncRecorder rec;
    BASS_ChannelSetSync(m_channel, BASS_SYNC_SLIDE, 0, SyncRecorder::Proc, &rec);
    BASS_ChannelPlay(m_channel, TRUE);
    BASS_ChannelSlideAttribute(m_channel, BASS_ATTRIB_VOL, 0.0f, 1000);
    MixMs(500);
    BASS_ChannelSetAttribute(m_channel, BASS_ATTRIB_VOL, 1.0f);
    // 500 ms left from 1 to 0: half-way at 750 ms.
    MixMs(225);
    EXPECT_NEAR(GainOver(50), 0.5, 0.03);
    MixMs(150);
    bass::DeliverSyncs();
    EXPECT_TRUE(rec.calls.empty());
    MixMs(100);
    bass::DeliverSyncs();
    EXPECT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(GainOver(50), 0.0);
}

TEST_F(VolumeAndSyncs, SlideToTheCurrentValueStillTakesItsTime)
{
    SyncRecorder rec;
    BASS_ChannelSetSync(m_channel, BASS_SYNC_SLIDE, 0, SyncRecorder::Proc, &rec);
    BASS_ChannelSetAttribute(m_channel, BASS_ATTRIB_VOL, 0.0f);
    // Not even playing: output time still passes for the slide.
    BASS_ChannelSlideAttribute(m_channel, BASS_ATTRIB_VOL, 0.0f, 1000);
    MixMs(990);
    bass::DeliverSyncs();
    EXPECT_TRUE(rec.calls.empty());
    MixMs(20);
    bass::DeliverSyncs();
    EXPECT_EQ(rec.calls.size(), 1u);
}

TEST_F(VolumeAndSyncs, ReplacedSlideFiresOnlyForTheNewOne)
{
    SyncRecorder rec;
    BASS_ChannelSetSync(m_channel, BASS_SYNC_SLIDE, 0, SyncRecorder::Proc, &rec);
    BASS_ChannelPlay(m_channel, TRUE);
    BASS_ChannelSlideAttribute(m_channel, BASS_ATTRIB_VOL, 0.0f, 1000);
    MixMs(200);
    BASS_ChannelSlideAttribute(m_channel, BASS_ATTRIB_VOL, 0.5f, 300);
    MixMs(1300);
    bass::DeliverSyncs();
    EXPECT_EQ(rec.calls.size(), 1u);
    EXPECT_NEAR(GainOver(100), 0.5, 0.01);
}

TEST_F(VolumeAndSyncs, RemovedSyncIsNeverDelivered)
{
    SyncRecorder kept, removed;
    BASS_ChannelSetSync(m_channel, BASS_SYNC_END, 0, SyncRecorder::Proc, &kept);
    HSYNC gone = BASS_ChannelSetSync(m_channel, BASS_SYNC_END, 0, SyncRecorder::Proc, &removed);
    BASS_ChannelPlay(m_channel, TRUE);
    MixMs(2100);
    // Fired and queued, then removed before delivery.
    EXPECT_TRUE(BASS_ChannelRemoveSync(m_channel, gone));
    bass::DeliverSyncs();
    EXPECT_EQ(kept.calls.size(), 1u);
    EXPECT_TRUE(removed.calls.empty());
    EXPECT_FALSE(BASS_ChannelRemoveSync(m_channel, gone));
}

namespace
{
struct Action
{
    std::function<void()> run;
    int calls = 0;
    static void Proc(HSYNC, DWORD, DWORD, void* user)
    {
        auto* a = static_cast<Action*>(user);
        ++a->calls;
        a->run();
    }
};
} // namespace

TEST_F(VolumeAndSyncs, CallbackThatFreesItsChannelDropsTheNextQueuedSync)
{
    Action first, second;
    first.run = [&] { EXPECT_TRUE(BASS_SampleFree(m_sample)); };
    second.run = [] {};
    BASS_ChannelSetSync(m_channel, BASS_SYNC_END, 0, Action::Proc, &first);
    BASS_ChannelSetSync(m_channel, BASS_SYNC_END, 0, Action::Proc, &second);
    BASS_ChannelPlay(m_channel, TRUE);
    MixMs(2100);
    bass::DeliverSyncs();
    EXPECT_EQ(first.calls, 1);
    EXPECT_EQ(second.calls, 0);
}

TEST_F(VolumeAndSyncs, CallbacksRunOnTheDeliveringThreadOnly)
{
    std::thread::id seen;
    Action a;
    a.run = [&] { seen = std::this_thread::get_id(); };
    BASS_ChannelSetSync(m_channel, BASS_SYNC_END, 0, Action::Proc, &a);
    BASS_ChannelPlay(m_channel, TRUE);
    std::thread mixing([] { MixMs(2100); });
    mixing.join();
    EXPECT_EQ(a.calls, 0);
    bass::DeliverSyncs();
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(seen, std::this_thread::get_id());
}
