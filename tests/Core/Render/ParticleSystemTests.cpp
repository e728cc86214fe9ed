// Loading a particle file against the recording fake of the particle library:
// the walk of the library's folders, the prototypes it keeps, and the files
// it cannot use.

#include "Core/Base/SingletoneRegistry.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/Image.h"
#include "MagicFake/MagicFake.h"
#include "PictureFixtures.h"
#include "RecordingRender.h"
#include "support/LogCapture.h"
#include "support/LookupMissRecorder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
using magicfake::Effect;
using magicfake::Fake;
using magicfake::Folder;
using Calls = std::vector<std::string>;

class ParticleSystemTest : public testing::Test
{
protected:
    void SetUp() override
    {
        fake.Reset();
        hvtest::CaptureLog();
        folder.Write("fx/effects.ptc", kText);
        system()->mFolder = "fx/";
    }
    void TearDown() override { base::testing::TeardownSingletonsNow(); }

    static render::ParticleSystem* system() { return render::ParticleSystem::Instance(); }
    static std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (const auto& entry : system()->mEmitters)
            names.push_back(entry.first);
        return names;
    }

    static constexpr const char* kText = "<particles version=\"1\"/>";
    Fake& fake = Fake::Get();
    hvtest::TempFolder folder;
    hvtest::CurrentDirectory here{folder.Folder()};
};

TEST_F(ParticleSystemTest, LoadWalksEveryFolderAndTheLaterNameWins)
{
    fake.root = {Effect("a"), Folder("f", {Effect("x"), Folder("g", {Effect("a")}), Effect("y")}), Effect("b")};
    system()->Load("effects", nullptr);

    // The walk resumes each folder after the recursion below it.
    EXPECT_EQ(fake.calls, (Calls{
                              "OpenFileInMemory",
                              "SetCurrentFolder(1, )",
                              "FindFirst(1, 3)",
                              "LoadEmitter(1, a) = 101",
                              "SetInterpolationMode(101, 1)",
                              "SetLoopMode(101, 0)",
                              "FindNext(1)",
                              "SetCurrentFolder(1, f)",
                              "FindFirst(1, 3)",
                              "LoadEmitter(1, x) = 102",
                              "SetInterpolationMode(102, 1)",
                              "SetLoopMode(102, 0)",
                              "FindNext(1)",
                              "SetCurrentFolder(1, g)",
                              "FindFirst(1, 3)",
                              "LoadEmitter(1, a) = 103",
                              "UnloadEmitter(101)", // the replaced prototype is not leaked
                              "SetInterpolationMode(103, 1)",
                              "SetLoopMode(103, 0)",
                              "FindNext(1)",
                              "SetCurrentFolder(1, ..)",
                              "FindNext(1)",
                              "LoadEmitter(1, y) = 104",
                              "SetInterpolationMode(104, 1)",
                              "SetLoopMode(104, 0)",
                              "FindNext(1)",
                              "SetCurrentFolder(1, ..)",
                              "FindNext(1)",
                              "LoadEmitter(1, b) = 105",
                              "SetInterpolationMode(105, 1)",
                              "SetLoopMode(105, 0)",
                              "FindNext(1)",
                              "SetCurrentFolder(1, ..)",
                              "GetStaticAtlasCount(1)",
                          }));
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "x", "y"}));
    // The library got the file's text, ended by the zero the loader appends.
    EXPECT_EQ(fake.openedTexts, std::vector<std::string>{kText});

    fake.calls.clear();
    render::ParticleEmitter* a = system()->CreateEmitter("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->mState, 0);
    EXPECT_EQ(fake.calls, Calls{"DuplicateEmitter(103) = 106"});
    delete a;

    fake.calls.clear();
    base::testing::TeardownSingletonsNow();
    std::vector<std::string> unloads = fake.CallsStartingWith("UnloadEmitter");
    std::sort(unloads.begin(), unloads.end());
    EXPECT_EQ(unloads, (Calls{"UnloadEmitter(102)", "UnloadEmitter(103)", "UnloadEmitter(104)", "UnloadEmitter(105)"}));
}

TEST_F(ParticleSystemTest, CreateEmitterNeedsTheExactName)
{
    fake.root = {Folder("level", {Effect("build"), Effect("build_big")})};
    system()->Load("effects.ptc", nullptr);
    for (const char* name : {"buil", "build2", "Build", "level/build", ""})
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(system()->CreateEmitter(name), nullptr);
    }
    for (const char* name : {"build", "build_big"})
    {
        render::ParticleEmitter* e = system()->CreateEmitter(name);
        EXPECT_NE(e, nullptr) << name;
        delete e;
    }
}

TEST_F(ParticleSystemTest, ModesGivenToEveryPrototype)
{
    struct Case
    {
        int interpolation;
        int loop;
        Calls calls;
    };
    const Case cases[] = {
        {1, 0, {"SetInterpolationMode(101, 1)", "SetLoopMode(101, 0)"}},
        {0, 1, {"SetLoopMode(101, 1)"}},
        {5, 2, {"SetInterpolationMode(101, 0)", "SetLoopMode(101, 2)"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.interpolation);
        base::testing::TeardownSingletonsNow();
        fake.Reset();
        fake.root = {Effect("e"), Effect("broken")};
        fake.failingLoads = {"broken"};
        system()->mFolder = "fx/";
        system()->mInterpolationMode = c.interpolation;
        system()->mLoopMode = c.loop;
        system()->Load("effects", nullptr);
        Calls modes;
        for (const std::string& call : fake.calls)
            if (call.rfind("SetInterpolationMode", 0) == 0 || call.rfind("SetLoopMode", 0) == 0)
                modes.push_back(call);
        EXPECT_EQ(modes, c.calls);
        // An emitter the library cannot load is skipped.
        EXPECT_EQ(Names(), std::vector<std::string>{"e"});
    }
}

TEST_F(ParticleSystemTest, AFileThatCannotBeUsedLoadsNothingAndSaysSoOnce)
{
    fake.root = {Effect("a")};
    fake.atlases = {"atlas.png"};

    system()->Load("missing", nullptr);
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(hvtest::CountLogLinesWith(L"fx/missing"), 1);

    for (int handle : {0, -3})
    {
        fake.calls.clear();
        fake.fileHandle = handle;
        system()->Load("effects", nullptr);
        EXPECT_EQ(fake.calls, Calls{"OpenFileInMemory"});
        EXPECT_EQ(hvtest::CountLogLinesWith(L"fx/effects"), handle == 0 ? 1 : 2);
    }
    EXPECT_TRUE(system()->mEmitters.empty());
    EXPECT_TRUE(system()->mAtlases.empty());
}
TEST_F(ParticleSystemTest, AtlasIndicesStayAlignedWhenAPictureDoesNotLoad)
{
    rendertest::RecordingRender r;
    ASSERT_EQ(r.Init(), HV_OK);
    const fixtures::Bytes png = fixtures::MakePng(4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF));
    folder.Write("fx/a0.png", std::string(png.begin(), png.end()));
    folder.Write("fx/a2.png", std::string(png.begin(), png.end()));
    fake.atlases = {"a0.png", "a1.png", "a2.png"};
    system()->Load("effects", &r);
    const std::vector<render::Image*>& atlases = system()->mAtlases;
    ASSERT_EQ(atlases.size(), 3u);
    EXPECT_NE(atlases[0], nullptr);
    EXPECT_EQ(atlases[1], nullptr);
    EXPECT_NE(atlases[2], nullptr);
    EXPECT_EQ(fake.CallsStartingWith("GetStaticAtlas("),
              (Calls{"GetStaticAtlas(1, 0)", "GetStaticAtlas(1, 1)", "GetStaticAtlas(1, 2)"}));
    EXPECT_EQ(atlases[0]->GetPixelWidth(), 4u);
    system()->ReleaseTextures();
    EXPECT_TRUE(system()->mAtlases.empty());
}
} // namespace

namespace
{
TEST_F(ParticleSystemTest, AnUnknownEffectIsReportedAsALookupMiss)
{
    fake.root = {Folder("level", {Effect("build")})};
    system()->Load("effects.ptc", nullptr);
    const hvtest::LookupMissRecorder recorder;
    delete system()->CreateEmitter("build");
    EXPECT_EQ(system()->CreateEmitter("fog_01"), nullptr);
    EXPECT_EQ(recorder.Misses(), (hvtest::LookupMisses{{base::LookupMissKind::Emitter, L"fog_01"}}));
}
} // namespace
