// Sound effects as resources and the sound tags, on the manual mixer.
#include "AudioFixtures.h"
#include "SoundTestSupport.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/FileManager.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/PlayerVolumes.h"
#include "Core/Sound/ResourceSound.h"
#include "Core/Sound/Sound.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Sound/SoundTags.h"

#include "support/PackBuilder.h"

#include <gtest/gtest.h>

#include <memory>

using namespace soundtest;
using audiotest::OggTone;
using audiotest::WavTone;

namespace
{
const audiotest::ToneSpec kClick{1320, 0.5, 1, 44100, 0.3};

class FixedVolumes : public k2::PlayerVolumes
{
public:
    float sound = 1.0f;
    float music = 1.0f;
    float GetSoundVolume() const override { return sound; }
    float GetMusicVolume() const override { return music; }
};
} // namespace

TEST(SoundResources, ExtensionTable)
{
    struct Case
    {
        const char* file;
        std::string bytes;
    };
    const Case cases[] = {
        {"nq/data/sound/click", WavTone(kClick, 16)},
        {"nq/data/sound/click.ogg", OggTone(kClick)},
        {"nq/data/sound/click.wav", WavTone(kClick, 16)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        SoundWorld world;
        world.Write(c.file, c.bytes);
        std::unique_ptr<Sound> sound(SoundSystem::Instance()->CreateSound("nq/data/sound/click"));
        ASSERT_NE(sound->GetChannel(), 0u);
        sound->Play();
        EXPECT_TRUE(sound->IsPlaying());
        EXPECT_EQ(Audible(Mix(200)), "click");
    }
}

TEST(SoundResources, MissingOrRefusedFilesGiveSoundsThatPlayNothing)
{
    SoundWorld world;
    world.Write("nq/data/sound/noise.ogg", audiotest::RandomBytes(2000));
    for (const char* name : {"nq/data/sound/none", "nq/data/sound/noise"})
    {
        SCOPED_TRACE(name);
        std::unique_ptr<Sound> sound(SoundSystem::Instance()->CreateSound(name));
        EXPECT_EQ(sound->GetChannel(), 0u);
        sound->Play();
        sound->SetVolume(0.5f, 1.0f);
        EXPECT_FALSE(sound->IsPlaying());
        EXPECT_EQ(Level(Mix(100)), 0.0);
    }
}

TEST(SoundResources, OneResourcePerNameOneChannelPerSound)
{
    SoundWorld world;
    world.Write("nq/data/sound/click.ogg", OggTone(kClick));
    std::unique_ptr<Sound> first(SoundSystem::Instance()->CreateSound("nq/data/sound/click"));
    std::unique_ptr<Sound> second(SoundSystem::Instance()->CreateSound("nq/data/sound/click"));
    ASSERT_NE(first->GetChannel(), 0u);
    ASSERT_NE(second->GetChannel(), 0u);
    EXPECT_NE(first->GetChannel(), second->GetChannel());
    first->Play();
    second->Play();
    EXPECT_NEAR(Level(Mix(100)), 1.0, 0.05) << "two channels of one sample sum";

    HCHANNEL secondChannel = second->GetChannel();
    first.reset();
    EXPECT_TRUE(second->IsPlaying()) << "the shared sample outlives one of its sounds";
    second.reset();
    // The last sound unloaded the resource: its sample and channels are gone.
    EXPECT_FALSE(BASS_ChannelPlay(secondChannel, TRUE));
}

namespace
{
class SoundTagsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Each file its own tone, so the mix tells which row played.
        m_world.Write("nq/data/sound/click.ogg", OggTone(kClick));
        m_world.Write("nq/data/sound/a.wav", WavTone({440, 0.5, 1, 44100, 0.3}, 16));
        m_world.Write("nq/data/sound/b.ogg", OggTone({880, 0.5, 1, 44100, 0.3}));
        m_world.Write("nq/data/sound/c.ogg", OggTone({660, 0.5, 1, 44100, 0.3}));
        m_world.Write("nq/sounds_sheet.csv",
                     "#comment;a;1;1;0\n"
                     "simple;click;1;2;0\n"
                     "\n"
                     "twice;;0.5;3;0\n"
                     "twice;b;0.5;3;0\n"
                     "twice;c;0.5;3;0\n"
                     "cli ck; c ;1;4;0\n"
                     "short;a\n"
                     "nofile\n"
                     "#hidden;c;0.3;9;0\n");
        Tags().SetPlayerVolumes(&m_volumes);
    }
    void TearDown() override { Tags().SetPlayerVolumes(nullptr); }
    k2::SoundTags& Tags() { return *k2::SoundTags::Instance(); }

    SoundWorld m_world;
    FixedVolumes m_volumes;
};
} // namespace

TEST_F(SoundTagsTest, PlayTable)
{
    ASSERT_TRUE(Tags().Load(L"nq/sounds_sheet.csv"));
    struct Case
    {
        const wchar_t* tag;
        bool found;
        const char* audible;
    };
    const Case cases[] = {
        {L"simple", true, "click"},
        {L"twice", true, "b"},  // the row with an empty file is passed over
        {L"click", true, "c"},  // blanks are removed from the whole line
        {L"cli ck", false, ""},
        {L"short", true, "a"},
        {L"nofile", false, ""},
        {L"#comment", false, ""},
        {L"#hidden", false, ""},
        {L"a", false, ""},
        {L"Simple", false, ""},
        {L"", false, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.tag)));
        EXPECT_EQ(Tags().Play(c.tag), c.found);
        EXPECT_EQ(Audible(Mix(200)), c.audible);
        Mix(200);
    }
}

TEST_F(SoundTagsTest, RowsKeepThePreviousVolumeAndGroupWhenCellsAreMissing)
{
    Tags().Load(L"nq/sounds_sheet.csv");
    const auto& entries = Tags().GetEntries();
    ASSERT_EQ(entries.size(), 7u) << "comment lines and empty lines define nothing";
    struct Expected
    {
        const wchar_t* tag;
        const wchar_t* file;
        float volume;
        int group;
        bool hasSound;
    };
    const Expected expected[] = {
        {L"simple", L"click", 1.0f, 2, true}, {L"twice", L"", 0.5f, 3, false}, {L"twice", L"b", 0.5f, 3, true},
        {L"twice", L"c", 0.5f, 3, true},      {L"click", L"c", 1.0f, 4, true}, {L"short", L"a", 1.0f, 4, true},
        {L"nofile", L"", 1.0f, 4, false},
    };
    for (size_t i = 0; i < entries.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i]->tag, expected[i].tag);
        EXPECT_EQ(entries[i]->file, expected[i].file);
        EXPECT_EQ(entries[i]->volume, expected[i].volume);
        EXPECT_EQ(entries[i]->group, expected[i].group);
        EXPECT_EQ(entries[i]->sound != nullptr, expected[i].hasSound);
    }
}

TEST_F(SoundTagsTest, FirstLineWithoutVolumeAndGroupGetsFullVolumeAndGroupZero)
{
    m_world.Write("nq/other.csv", "solo;click\n");
    Tags().Load(L"nq/other.csv");
    ASSERT_EQ(Tags().GetEntries().size(), 1u);
    EXPECT_EQ(Tags().GetEntries()[0]->volume, 1.0f);
    EXPECT_EQ(Tags().GetEntries()[0]->group, 0);
}

TEST_F(SoundTagsTest, MissingSheetDefinesNothing)
{
    Tags().Load(L"nq/sounds_sheet.csv");
    EXPECT_TRUE(Tags().Load(L"nq/none.csv"));
    EXPECT_TRUE(Tags().GetEntries().empty());
    EXPECT_FALSE(Tags().Play(L"simple"));
    EXPECT_EQ(Level(Mix(100)), 0.0);
}

TEST_F(SoundTagsTest, PlayUsesThePlayersSoundVolumeWithoutFade)
{
    Tags().Load(L"nq/sounds_sheet.csv");
    for (float v : {0.0f, 0.5f, 1.0f})
    {
        SCOPED_TRACE(v);
        m_volumes.sound = v;
        Tags().Play(L"simple");
        EXPECT_NEAR(Level(Mix(50)), 0.5 * v, 0.02);
        Mix(300);
    }
    Tags().SetPlayerVolumes(nullptr);
    Tags().Play(L"simple");
    EXPECT_NEAR(Level(Mix(50)), 0.5, 0.02) << "full volume without a provider";
}

TEST_F(SoundTagsTest, PlayingATagTwiceQuicklyGivesOneCopy)
{
    Tags().Load(L"nq/sounds_sheet.csv");
    Tags().Play(L"simple");
    Mix(20);
    Tags().Play(L"simple");
    EXPECT_NEAR(Level(Mix(100)), 0.5, 0.02);
}

TEST_F(SoundTagsTest, PlayMusicLoopsOneTrackAtTheMusicVolumeOnly)
{
    m_world.Write("nq/data/music/menu.ogg", OggTone({440, 0.5, 1, 44100, 0.3}));
    Tags().Load(L"nq/sounds_sheet.csv");
    m_volumes.music = 0.5f;
    m_volumes.sound = 1.0f;
    Tags().PlayMusic(L"nq/data/music/menu.ogg");
    SoundSystem* s = SoundSystem::Instance();
    EXPECT_EQ(s->GetMusicVolume(), 0.5f);
    EXPECT_EQ(s->GetCurrentMusicName(), "nq/data/music/menu.ogg");
    EXPECT_EQ(s->GetNextMusicName(), "nq/data/music/menu.ogg");
    std::vector<float> music = Mix(100);
    EXPECT_EQ(Audible(music), "a");
    EXPECT_NEAR(Level(music), 0.25, 0.02);
    // It repeats past its end.
    Mix(300);
    EXPECT_EQ(Audible(Mix(100)), "a");
    // The music volume leaves sound effects alone.
    Mix(200, 10);
    s->PlayMusic(std::string());
    Tags().Play(L"simple");
    EXPECT_NEAR(Level(Mix(50)), 0.5, 0.02);
}

TEST_F(SoundTagsTest, LoadingAgainReplacesEntriesAndSounds)
{
    Tags().Load(L"nq/sounds_sheet.csv");
    HCHANNEL old = Tags().GetEntries()[0]->sound->GetChannel();
    m_world.Write("nq/sounds_sheet.csv", "simple;c;1;1;0\n");
    Tags().Load(L"nq/sounds_sheet.csv");
    ASSERT_EQ(Tags().GetEntries().size(), 1u);
    EXPECT_FALSE(BASS_ChannelPlay(old, TRUE)) << "the old sounds were deleted and their samples freed";
    Tags().Play(L"simple");
    EXPECT_EQ(Audible(Mix(100)), "c");
}

TEST(SoundFromPack, TagsAndMusicReadFromAMountedPack)
{
    SoundWorld world;
    hvtest::WritePack((world.Root() / "data.dat").string(),
                      {{L"sounds_sheet.csv", "simple;click;1;0;0\n"},
                       {L"data/sound/click.ogg", OggTone(kClick)},
                       {L"data/music/menu.ogg", OggTone({440, 0.5, 2, 44100, 0.3})}});
    // A loose copy under the prefix is hidden by the pack.
    world.Write("nq/data/sound/click.ogg", OggTone({880, 0.5, 1, 44100, 0.3}));
    file::FileManager::Instance()->mountTable[L"nq/"] = L"data.dat";

    k2::SoundTags* tags = k2::SoundTags::Instance();
    tags->Load(L"nq/sounds_sheet.csv");
    ASSERT_TRUE(tags->Play(L"simple"));
    EXPECT_EQ(Audible(Mix(200)), "click");
    Mix(200);
    tags->PlayMusic(L"nq/data/music/menu.ogg");
    EXPECT_EQ(Audible(Mix(200)), "a");
    // Past its end it starts again, read from the pack from its start.
    Mix(200);
    EXPECT_EQ(Audible(Mix(200)), "a");
}

TEST(SoundTeardown, TagsAndSoundSystemGoBeforeTheResourceManager)
{
    SoundWorld world;
    // Made in the worst order: the manager first would be deleted first
    // unless its users declare it.
    resource::ResourceManager* manager = resource::ResourceManager::Instance();
    SoundSystem* sound = SoundSystem::Instance();
    k2::SoundTags* tags = k2::SoundTags::Instance();
    base::SingletoneRegistry& registry = base::SingletoneRegistry::Process();
    registry.SortByDependencies();
    const auto& order = registry.Singletons();
    auto at = [&](base::SingletoneBase* s) { return std::find(order.begin(), order.end(), s) - order.begin(); };
    EXPECT_LT(at(tags), at(manager));
    EXPECT_LT(at(sound), at(manager));
}
