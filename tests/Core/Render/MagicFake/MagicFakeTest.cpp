// The fake must walk its scripted tree the way the library walks a file,
// or the loader tests built on it would prove nothing.

#include "MagicFake.h"

#include <gtest/gtest.h>

namespace {

using namespace magicfake;

void Walk(int file, const std::string& path, std::vector<std::string>& out) {
    MagicFindRecord find;
    for (const char* name = Magic_FindFirst(file, &find, 3); name; name = Magic_FindNext(file, &find)) {
        if (find.is_emitter) {
            out.push_back(path + name);
        } else {
            ASSERT_EQ(Magic_SetCurrentFolder(file, name), 1);
            Walk(file, path + name + "/", out);
            Magic_SetCurrentFolder(file, "..");
        }
    }
}

TEST(MagicFake, WalkResumesEachFolderAfterRecursion) {
    Fake& f = Fake::Get();
    f.Reset();
    f.root = {Effect("a"), Folder("f", {Effect("x"), Folder("g", {Effect("y")}), Effect("z")}), Effect("b")};
    std::vector<std::string> items;
    Magic_SetCurrentFolder(1, "");
    Walk(1, "", items);
    EXPECT_EQ(items, (std::vector<std::string>{"a", "f/x", "f/g/y", "f/z", "b"}));
    EXPECT_EQ(f.CallsStartingWith("SetCurrentFolder"),
              (std::vector<std::string>{"SetCurrentFolder(1, )", "SetCurrentFolder(1, f)", "SetCurrentFolder(1, g)",
                                        "SetCurrentFolder(1, ..)", "SetCurrentFolder(1, ..)"}));
}

TEST(MagicFake, ScriptedListsAndAnswers) {
    Fake& f = Fake::Get();
    f.Reset();
    MagicVertexRecord v{};
    v.color = 0xFF00FF00u;
    f.emitters[7].lists = {{1, 1, {v, v}}, {0, 0, {v}}};
    f.emitters[7].inInterval = true;
    EXPECT_TRUE(Magic_InInterval(7));
    EXPECT_FALSE(Magic_InInterval(8));
    MagicListRecord list{};
    std::vector<int> counts;
    int quads = 0;
    for (Magic_CreateFirstRenderedParticlesList(7, &list); list.count > 0; Magic_CreateNextRenderedParticlesList(&list)) {
        counts.push_back(list.count);
        while (Magic_GetNextParticleVertexes(&v))
            ++quads;
    }
    EXPECT_EQ(counts, (std::vector<int>{2, 1}));
    EXPECT_EQ(quads, 3);
    float xy[2] = {1.5f, -2};
    Magic_SetEmitterPosition(7, xy);
    Magic_EmitterToInterval1(7, 1.0f, nullptr);
    EXPECT_EQ(f.calls.back(), "EmitterToInterval1(7, 1, null)");
    EXPECT_EQ(f.CallsStartingWith("SetEmitterPosition("), (std::vector<std::string>{"SetEmitterPosition(7, 1.5, -2)"}));
}

}  // namespace
