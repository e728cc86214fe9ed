#include "MagicFixture.h"

namespace {

// Every call with this emitter handle must do nothing and return 0/false/null.
void ExpectInertEmitter(int e) {
    SCOPED_TRACE(e);
    float xy[2] = {7, 8}, dir = 45;
    MagicListRecord list{9, 9, 9, e, 0, 0};
    MagicVertexRecord v;
    EXPECT_EQ(Magic_DuplicateEmitter(e), 0);
    Magic_SetInterpolationMode(e, true);
    EXPECT_FALSE(Magic_IsInterpolationMode(e));
    EXPECT_EQ(Magic_GetUpdateTime(e), 0.0);
    Magic_SetLoopMode(e, 1);
    EXPECT_FALSE(Magic_Update(e, 100));
    Magic_Stop(e);
    Magic_SetInterrupt(e, true);
    EXPECT_FALSE(Magic_IsInterrupt(e));
    EXPECT_FALSE(Magic_InInterval(e));
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    EXPECT_FALSE(Magic_InInterval(e));
    Magic_SetEmitterPositionMode(e, 1);
    Magic_SetEmitterPosition(e, xy);
    Magic_GetEmitterPosition(e, xy);
    EXPECT_EQ(xy[0], 7.0f);
    Magic_SetEmitterDirection(e, &dir);
    Magic_CreateFirstRenderedParticlesList(e, &list);
    EXPECT_EQ(list.count, 0);  // the caller's walk still ends
    list = {9, 9, 9, e, 0, 0};
    Magic_CreateNextRenderedParticlesList(&list);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(Magic_GetNextParticleVertexes(&v), 0);
    Magic_UnloadEmitter(e);
}

TEST_F(MagicTest, UnknownEmitterHandlesAreHarmless) {
    int f = OpenEmitter("", "<type/>");
    int gone = Magic_LoadEmitter(f, "e");
    int kept = Magic_LoadEmitter(f, "e");
    Magic_UnloadEmitter(gone);
    for (int e : {0, -1, gone, kept + 1000, 2147483647})
        ExpectInertEmitter(e);
    // Ids are never reused: a new emitter does not revive the old handle.
    int fresh = Magic_LoadEmitter(f, "e");
    EXPECT_GT(fresh, kept);
    EXPECT_FALSE(Magic_InInterval(gone));
    EXPECT_TRUE(Magic_IsInterpolationMode(kept));
}

TEST_F(MagicTest, UnknownFileHandlesAreHarmless) {
    int f = OpenEmitter("", "<type/>");
    for (int bad : {0, -1, f + 1000}) {
        SCOPED_TRACE(bad);
        MagicFindRecord find{3, 5, 5, 0, 0, "stale"};
        MagicAtlasRecord atlas{"stale"};
        EXPECT_EQ(Magic_SetCurrentFolder(bad, ""), 0);
        EXPECT_EQ(Magic_FindFirst(bad, &find, 3), nullptr);
        EXPECT_EQ(find.name, nullptr);
        EXPECT_EQ(Magic_FindNext(bad, &find), nullptr);
        EXPECT_EQ(Magic_GetStaticAtlasCount(bad), 0);
        EXPECT_EQ(Magic_GetStaticAtlas(bad, 0, &atlas), 0);
        EXPECT_STREQ(atlas.file, "stale");
        EXPECT_EQ(Magic_LoadEmitter(bad, "e"), 0);
    }
    // A walk record from one file gives nothing but that file's items.
    MagicFindRecord find;
    Magic_FindFirst(f, &find, 3);
    find.folder_ = 55;
    EXPECT_EQ(Magic_FindNext(f, &find), nullptr);
    find.folder_ = 0;
    find.next_ = -4;
    EXPECT_EQ(Magic_FindNext(f, &find), nullptr);
}

TEST_F(MagicTest, NullPointersAreHarmless) {
    int f = OpenEmitter("", "<type/>");
    int e = Magic_LoadEmitter(f, "e");
    EXPECT_EQ(Magic_OpenFileInMemory(nullptr), 0);
    EXPECT_EQ(Magic_SetCurrentFolder(f, nullptr), 0);
    EXPECT_EQ(Magic_FindFirst(f, nullptr, 3), nullptr);
    EXPECT_EQ(Magic_FindNext(f, nullptr), nullptr);
    EXPECT_EQ(Magic_GetStaticAtlas(f, 0, nullptr), 0);
    EXPECT_EQ(Magic_LoadEmitter(f, nullptr), 0);
    Magic_SetEmitterPosition(e, nullptr);
    Magic_GetEmitterPosition(e, nullptr);
    Magic_SetEmitterDirection(e, nullptr);
    Magic_CreateFirstRenderedParticlesList(e, nullptr);
    Magic_CreateNextRenderedParticlesList(nullptr);
    EXPECT_EQ(Magic_GetNextParticleVertexes(nullptr), 0);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    EXPECT_TRUE(Magic_InInterval(e));
}

TEST_F(MagicTest, RefusedFileGivesNoHandle) {
    int before = Open("<particles version=\"1\"/>");
    ASSERT_GT(before, 0);
    EXPECT_EQ(Open("<particles version=\"1\"><bad/></particles>"), 0);
    EXPECT_EQ(Open("<particles version=\"1\"/>"), before + 1);  // the refusal used up no handle
}

}  // namespace
