// The music switch, playlists and volumes on the manual mixer, with files
// read through the file manager from a temporary data root.
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "SoundTestSupport.h"
#include "Core/Sound/SoundSystem.h"
#include "Platform/Bass/StandIn.h"

#include <gtest/gtest.h>

#include <functional>

using namespace soundtest;
using audiotest::OggTone;

namespace
{
class Music : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_world.Write("music/a.ogg", OggTone({440, 0.5, 2, 44100, 2.0}));
        m_world.Write("music/b.ogg", OggTone({880, 0.5, 2, 44100, 2.0}));
        m_world.Write("music/c.ogg", OggTone({660, 0.5, 1, 22050, 2.0}));
        m_world.Write("music/damaged.ogg", "OggS" + audiotest::RandomBytes(3000));
    }
    SoundSystem* Sound() { return SoundSystem::Instance(); }
    DWORD Active() { return BASS_ChannelIsActive(Sound()->GetMusicStream()); }

    SoundWorld m_world;
};

struct SwitchCase
{
    const char* name;
    std::function<void(SoundSystem*)> before; // the starting state
    std::function<void(SoundSystem*)> call;
    double thenMs;       // mixed with deliveries after the call
    const char* current; // expected afterwards
    const char* next;
    DWORD active;
    const char* audible; // in the last 100 ms
};
} // namespace

TEST(MusicSwitch, Table)
{
    const SwitchCase cases[] = {
        {"same track while it plays does not restart",
         [](SoundSystem* s) { s->PlayMusic(std::string("music/a.ogg")); Mix(1500); },
         [](SoundSystem* s) { s->SwitchMusic("music/a.ogg"); }, 600, "music/a.ogg", "", 0, ""},
        {"same track after it ended restarts",
         [](SoundSystem* s) { s->PlayMusic(std::string("music/a.ogg")); Mix(2100); },
         [](SoundSystem* s) { s->SwitchMusic("music/a.ogg"); }, 300, "music/a.ogg", "", 1, "a"},
        {"another track fades the old one out, then plays",
         [](SoundSystem* s) { s->PlayMusic(std::string("music/a.ogg")); Mix(100); },
         [](SoundSystem* s) { s->PlayMusic(std::string("music/b.ogg")); }, 1300, "music/b.ogg", "music/b.ogg", 1, "b"},
        {"a missing track after the fade leaves the music off",
         [](SoundSystem* s) { s->PlayMusic(std::string("music/a.ogg")); Mix(100); },
         [](SoundSystem* s) { s->PlayMusic(std::string("music/missing.ogg")); }, 1300, "", "music/missing.ogg", 0, ""},
        {"the empty name stops at once",
         [](SoundSystem* s) { s->PlayMusic(std::string("music/a.ogg")); Mix(100); },
         [](SoundSystem* s) { s->PlayMusic(std::string()); }, 100, "", "", 0, ""},
        {"after an ended track a missing one clears the name, so the old one plays again",
         [](SoundSystem* s) { s->PlayMusic(std::string("music/a.ogg")); Mix(2100); s->SwitchMusic("music/missing.ogg"); },
         [](SoundSystem* s) { s->SwitchMusic("music/a.ogg"); }, 300, "music/a.ogg", "", 1, "a"},
        {"a damaged file leaves the music off and leaks nothing",
         [](SoundSystem*) {},
         [](SoundSystem* s) { s->PlayMusic(std::string("music/damaged.ogg")); }, 300, "", "", 0, ""},
        {"a damaged file after a fade leaves the music off",
         [](SoundSystem* s) { s->PlayMusic(std::string("music/a.ogg")); Mix(100); },
         [](SoundSystem* s) { s->PlayMusic(std::string("music/damaged.ogg")); }, 1300, "", "music/damaged.ogg", 0, ""},
    };
    for (const SwitchCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        {
            SoundWorld world;
            world.Write("music/a.ogg", OggTone({440, 0.5, 2, 44100, 2.0}));
            world.Write("music/b.ogg", OggTone({880, 0.5, 2, 44100, 2.0}));
            world.Write("music/damaged.ogg", "OggS" + audiotest::RandomBytes(3000));
            SoundSystem* s = SoundSystem::Instance();
            c.before(s);
            c.call(s);
            std::vector<float> out = Mix(c.thenMs);
            std::vector<float> last(out.end() - audiotest::Frames(100) * 2, out.end());
            EXPECT_EQ(s->GetCurrentMusicName(), c.current);
            EXPECT_EQ(s->GetNextMusicName(), c.next);
            EXPECT_EQ(BASS_ChannelIsActive(s->GetMusicStream()), c.active);
            EXPECT_EQ(Audible(last), c.audible);
        }
    }
}

TEST_F(Music, FadeTakesOneSecondAndTheNewTrackStartsAtTheStoredVolume)
{
    Sound()->SetMusicVolume(0.5f);
    Sound()->PlayMusic(std::string("music/a.ogg"));
    EXPECT_NEAR(Level(Mix(100)), 0.25, 0.02);
    Sound()->PlayMusic(std::string("music/b.ogg"));
    Mix(450);
    std::vector<float> mid = Mix(100);
    EXPECT_EQ(Audible(mid), "a");
    EXPECT_NEAR(Level(mid), 0.125, 0.02) << "half-way through the fade";
    Mix(400);
    EXPECT_EQ(Sound()->GetCurrentMusicName(), "music/a.ogg") << "switched before the fade ended";
    Mix(100);
    std::vector<float> after = Mix(200);
    EXPECT_EQ(Audible(after), "b");
    EXPECT_NEAR(Level(after), 0.25, 0.02);
}

TEST_F(Music, TwoSwitchesWithinOneFadeStartOnlyTheLastOnce)
{
    Sound()->PlayMusic(std::string("music/a.ogg"));
    Mix(100);
    Sound()->PlayMusic(std::string("music/b.ogg"));
    Mix(300);
    Sound()->PlayMusic(std::string("music/c.ogg"));
    Mix(1100);
    HSTREAM started = Sound()->GetMusicStream();
    EXPECT_EQ(Sound()->GetCurrentMusicName(), "music/c.ogg");
    EXPECT_EQ(Audible(Mix(200)), "c");
    // Nothing queued from the old stream stops or replaces it later.
    std::vector<float> later = Mix(500);
    EXPECT_EQ(Sound()->GetMusicStream(), started);
    EXPECT_EQ(Audible(later), "c");
}

TEST_F(Music, PlaylistCyclesThroughEndSyncs)
{
    m_world.Write("music/p1.ogg", OggTone({440, 0.5, 1, 44100, 0.3}));
    m_world.Write("music/p2.ogg", OggTone({880, 0.5, 1, 44100, 0.3}));
    m_world.Write("music/p3.ogg", OggTone({660, 0.5, 1, 44100, 0.3}));
    Sound()->SetPlaylist({"music/p1.ogg", "music/p2.ogg", "music/p3.ogg"});
    std::vector<std::string> heard, tones;
    for (int i = 0; i < 4; ++i)
    {
        heard.push_back(Sound()->GetCurrentMusicName());
        tones.push_back(Audible(Mix(150, 3)));
        // On to the next track: its end sync, delivered, opens a new stream.
        HSTREAM playing = Sound()->GetMusicStream();
        for (int n = 0; n < 40 && Sound()->GetMusicStream() == playing; ++n)
            Mix(10, 1);
    }
    EXPECT_EQ(tones, (std::vector<std::string>{"a", "b", "c", "a"}));
    EXPECT_EQ(heard, (std::vector<std::string>{"music/p1.ogg", "music/p2.ogg", "music/p3.ogg", "music/p1.ogg"}));
}

TEST_F(Music, OneEntryPlaylistRepeats)
{
    m_world.Write("music/p1.ogg", OggTone({440, 0.5, 1, 44100, 0.3}));
    Sound()->SetPlaylist({"music/p1.ogg"});
    EXPECT_EQ(Sound()->GetNextMusicName(), "music/p1.ogg");
    Mix(350, 7);
    EXPECT_EQ(Audible(Mix(200, 4)), "a");
    EXPECT_EQ(Sound()->GetCurrentMusicName(), "music/p1.ogg");
}

TEST_F(Music, ZeroMusicVolumeSilencesThisAndLaterStreams)
{
    Sound()->PlayMusic(std::string("music/a.ogg"));
    Mix(100);
    Sound()->SetMusicVolume(0.0f);
    EXPECT_EQ(Level(Mix(100)), 0.0);
    // The fade from silence still completes, and the next track stays silent.
    Sound()->PlayMusic(std::string("music/b.ogg"));
    Mix(1100);
    EXPECT_EQ(Sound()->GetCurrentMusicName(), "music/b.ogg");
    EXPECT_EQ(BASS_ChannelIsActive(Sound()->GetMusicStream()), 1u);
    EXPECT_EQ(Level(Mix(100)), 0.0);
    EXPECT_EQ(Sound()->GetMusicVolume(), 0.0f);
}

TEST_F(Music, WideNameAndStoredVolumes)
{
    EXPECT_EQ(Sound()->GetMusicVolume(), 1.0f);
    EXPECT_EQ(Sound()->GetSoundVolume(), 1.0f);
    Sound()->SetSoundVolume(0.25f);
    EXPECT_EQ(Sound()->GetSoundVolume(), 0.25f);
    Sound()->PlayMusic(std::wstring(L"music/a.ogg"));
    EXPECT_EQ(Sound()->GetCurrentMusicName(), "music/a.ogg");
    EXPECT_EQ(Audible(Mix(100)), "a");
}

TEST_F(Music, PauseAndResumeAll)
{
    Sound()->PlayMusic(std::string("music/a.ogg"));
    Mix(100);
    Sound()->PauseAll();
    EXPECT_EQ(Level(Mix(3000)), 0.0);
    EXPECT_EQ(Active(), 1u);
    Sound()->ResumeAll();
    EXPECT_EQ(Audible(Mix(100)), "a");
}
