#include "MagicFixture.h"

#include <functional>

namespace {

// Walks the current folder the way the program's loader does: recursing into
// a folder and coming back with ".." between two FindNext calls.
void Load(int file, const std::string& path, std::vector<std::string>& out) {
    MagicFindRecord find;
    for (const char* name = Magic_FindFirst(file, &find, 3); name; name = Magic_FindNext(file, &find)) {
        std::string item = path + name;
        if (find.is_emitter) {
            out.push_back(item);
        } else {
            out.push_back(item + "/");
            ASSERT_EQ(Magic_SetCurrentFolder(file, name), 1) << item;
            Load(file, item + "/", out);
            ASSERT_EQ(Magic_SetCurrentFolder(file, ".."), 1);
        }
    }
}

TEST_F(MagicTest, RecursiveWalkResumesEachFolderAfterComingBack) {
    int f = Open(ReadSample());
    ASSERT_GT(f, 0);
    std::vector<std::string> items;
    ASSERT_EQ(Magic_SetCurrentFolder(f, ""), 1);
    Load(f, "", items);
    EXPECT_EQ(items, (std::vector<std::string>{
                         "ui/", "ui/stream", "ui/twin", "ui/glow/", "ui/glow/halo", "level/", "level/build",
                         "level/t_line", "level/fire", "level/smoke_warm", "level/nested/", "level/nested/twin",
                         "test/", "test/dot", "test/dot_add"}));
}

TEST_F(MagicTest, FindNextFollowsTheRecordNotTheCurrentFolder) {
    int f = Open("<particles version=\"1\"><atlas file=\"a.png\"/><emitter name=\"a\"><type/></emitter>"
                 "<folder name=\"f\"><emitter name=\"x\"><type/></emitter></folder>"
                 "<emitter name=\"b\"><type/></emitter></particles>");
    ASSERT_GT(f, 0);
    MagicFindRecord root;
    EXPECT_STREQ(Magic_FindFirst(f, &root, 3), "a");
    EXPECT_EQ(root.is_emitter, 1);
    EXPECT_STREQ(Magic_FindNext(f, &root), "f");
    EXPECT_EQ(root.is_emitter, 0);
    EXPECT_EQ(root.is_folder, 1);
    ASSERT_EQ(Magic_SetCurrentFolder(f, "f"), 1);
    MagicFindRecord inner;
    EXPECT_STREQ(Magic_FindFirst(f, &inner, 3), "x");
    EXPECT_STREQ(Magic_FindNext(f, &root), "b");  // still the root's walk
    EXPECT_EQ(Magic_FindNext(f, &root), nullptr);
    EXPECT_EQ(Magic_FindNext(f, &inner), nullptr);
}

TEST_F(MagicTest, FindModesSelectFoldersOrEmitters) {
    int f = Open("<particles version=\"1\"><atlas file=\"a.png\"/><emitter name=\"a\"><type/></emitter><folder name=\"f\"/>"
                 "<emitter name=\"b\"><type/></emitter><folder name=\"g\"/></particles>");
    ASSERT_GT(f, 0);
    auto list = [f](int mode) {
        std::vector<std::string> names;
        MagicFindRecord r;
        for (const char* n = Magic_FindFirst(f, &r, mode); n; n = Magic_FindNext(f, &r))
            names.push_back(n);
        return names;
    };
    EXPECT_EQ(list(1), (std::vector<std::string>{"f", "g"}));
    EXPECT_EQ(list(2), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list(3), (std::vector<std::string>{"a", "f", "b", "g"}));
    EXPECT_TRUE(list(0).empty());
}

TEST_F(MagicTest, CurrentFolderMovesOnlyToWhatExists) {
    int f = Open(ReadSample());
    ASSERT_GT(f, 0);
    EXPECT_EQ(Magic_SetCurrentFolder(f, ".."), 1);  // the root's parent is the root
    EXPECT_EQ(Magic_SetCurrentFolder(f, "level"), 1);
    EXPECT_EQ(Magic_SetCurrentFolder(f, "glow"), 0);  // a folder of "ui", not of "level"
    EXPECT_EQ(Magic_SetCurrentFolder(f, "level/nested"), 0);
    EXPECT_EQ(Magic_SetCurrentFolder(f, "build"), 0);  // an emitter, not a folder
    // Still in "level": its emitters load, others do not.
    EXPECT_GT(Magic_LoadEmitter(f, "build"), 0);
    EXPECT_EQ(Magic_LoadEmitter(f, "stream"), 0);
    EXPECT_EQ(Magic_LoadEmitter(f, "buil"), 0);
    EXPECT_EQ(Magic_SetCurrentFolder(f, "nested"), 1);
    EXPECT_GT(Magic_LoadEmitter(f, "twin"), 0);
    EXPECT_EQ(Magic_SetCurrentFolder(f, ""), 1);
    EXPECT_EQ(Magic_LoadEmitter(f, "twin"), 0);
}

TEST_F(MagicTest, AtlasesInDocumentOrder) {
    int f = Open(ReadSample());
    ASSERT_GT(f, 0);
    ASSERT_EQ(Magic_GetStaticAtlasCount(f), 2);
    MagicAtlasRecord a{};
    ASSERT_EQ(Magic_GetStaticAtlas(f, 0, &a), 1);
    EXPECT_STREQ(a.file, "fx_atlas0.png");
    ASSERT_EQ(Magic_GetStaticAtlas(f, 1, &a), 1);
    EXPECT_STREQ(a.file, "fx_atlas1.png");
    EXPECT_EQ(Magic_GetStaticAtlas(f, 2, &a), 0);
    EXPECT_EQ(Magic_GetStaticAtlas(f, -1, &a), 0);
}

TEST_F(MagicTest, NamesOutliveTheTextAndEachFileHasItsOwnFolder) {
    std::string text = "<particles version=\"1\"><folder name=\"f\"><emitter name=\"a\"><type/></emitter>"
                       "</folder><atlas file=\"p.png\"/></particles>";
    int f1 = Open(text);
    int f2 = Open(text);
    ASSERT_GT(f1, 0);
    ASSERT_GT(f2, f1);
    text.assign(text.size(), 'x');  // the caller frees its text right after loading
    MagicFindRecord r;
    const char* name = Magic_FindFirst(f1, &r, 3);
    EXPECT_STREQ(name, "f");
    MagicAtlasRecord a{};
    ASSERT_EQ(Magic_GetStaticAtlas(f1, 0, &a), 1);
    EXPECT_STREQ(a.file, "p.png");
    ASSERT_EQ(Magic_SetCurrentFolder(f1, "f"), 1);
    EXPECT_GT(Magic_LoadEmitter(f1, "a"), 0);
    EXPECT_EQ(Magic_LoadEmitter(f2, "a"), 0);  // f2 is still at its root
}

}  // namespace
