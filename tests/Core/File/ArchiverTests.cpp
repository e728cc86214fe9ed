#include "Core/Base/Stream.h"
#include "Core/Base/StreamCreator.h"
#include "Core/File/Archiver.h"
#include "FileTestSupport.h"
#include "support/PackBuilder.h"

#include <memory>

namespace
{
class ArchiverTest : public hvtest::DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        hvtest::WritePack(dir.Folder() / "data.dat", {{L"data/x", "xxxx"},
                                                    {L"data/sub/y", "yy"},
                                                    {L"data/sub/deeper/z", "z"},
                                                    {L"data/other/w", "w"},
                                                    {L"database", "db"}});
        hvtest::WritePack(dir.Folder() / "db.dat", {{L"database", "db"}});
        Files()->mountTable[L"nq/"] = L"data.dat";
        Files()->mountTable[L"db/"] = L"db.dat";
    }

    file::Archiver* Pack(const std::wstring& prefix)
    {
        std::wstring rest;
        file::Archiver* pack = Files()->ResolveMount(prefix, rest);
        EXPECT_NE(pack, nullptr);
        EXPECT_EQ(rest, L"");
        return pack;
    }
};

TEST_F(ArchiverTest, FoldersExistOnlyBelowASlash)
{
    EXPECT_TRUE(Pack(L"nq/")->DoDirectoryExists(L"data"));
    EXPECT_TRUE(Pack(L"nq/")->DoDirectoryExists(L"data/sub"));
    EXPECT_FALSE(Pack(L"nq/")->DoDirectoryExists(L"data/x"));
    EXPECT_FALSE(Pack(L"db/")->DoDirectoryExists(L"data"));
    EXPECT_FALSE(Pack(L"db/")->DoDirectoryExists(L"database"));
}

TEST_F(ArchiverTest, ListingsFollowTheDirectory)
{
    file::Archiver* pack = Pack(L"nq/");
    struct Case
    {
        bool recursive;
        bool relative;
        std::vector<std::wstring> files;
    };
    const std::vector<Case> cases = {
        {false, true, {L"x"}},
        {true, true, {L"other/w", L"sub/deeper/z", L"sub/y", L"x"}},
        {false, false, {L"full/x"}},
    };
    for (const Case& c : cases)
    {
        std::vector<std::wstring> out = {L"kept"};
        EXPECT_EQ(pack->DoListFiles(L"full/", L"data/", L"", c.recursive, out, c.relative), HV_OK);
        std::vector<std::wstring> expected = {L"kept"};
        expected.insert(expected.end(), c.files.begin(), c.files.end());
        EXPECT_EQ(out, expected) << c.recursive << c.relative;
    }

    std::vector<std::wstring> folders;
    pack->DoListDirectories(L"", L"data/", L"", folders, true);
    EXPECT_EQ(folders, (std::vector<std::wstring>{L"other", L"sub"}));
    folders.clear();
    pack->DoListDirectories(L"nq/", L"", L"", folders, false);
    EXPECT_EQ(folders, (std::vector<std::wstring>{L"nq/data"}));

    // Through the mount, with the folder normalised first.
    std::vector<std::wstring> viaMount;
    Files()->ListFiles(L"nq\\data\\sub", false, viaMount, false);
    EXPECT_EQ(viaMount, (std::vector<std::wstring>{L"nq/data/sub/y"}));
}

TEST_F(ArchiverTest, EntryStreamsReadOnlyTheirOwnBytes)
{
    file::Archiver* pack = Pack(L"nq/");
    std::unique_ptr<base::Stream> x(pack->OpenStream(L"data/x"));
    std::unique_ptr<base::Stream> y(pack->OpenStream(L"data/sub/y"));
    ASSERT_TRUE(x && y);
    EXPECT_EQ(x->Size(), 4u);
    EXPECT_EQ(y->Size(), 2u);
    std::string a, b;
    char c;
    // Interleaved one byte at a time, then past the end.
    for (int i = 0; i < 6; ++i)
    {
        if (x->Read(&c, 1) == 1)
            a += c;
        if (y->Read(&c, 1) == 1)
            b += c;
    }
    EXPECT_EQ(a, "xxxx");
    EXPECT_EQ(b, "yy");

    std::unique_ptr<base::StreamCreator> creator(pack->OpenStreamCreator(L"data/sub/deeper/z"));
    ASSERT_TRUE(creator);
    base::Stream* created = nullptr;
    ASSERT_EQ(creator->Create(&created), HV_OK);
    EXPECT_EQ(hvtest::Drain(created), "z");
}

TEST_F(ArchiverTest, LookupsAreExact)
{
    file::Archiver* pack = Pack(L"nq/");
    for (const wchar_t* name : {L"data/missing", L"Data/x", L"data\\x", L"data", L"/data/x", L"data/x "})
    {
        EXPECT_EQ(pack->OpenStream(name), nullptr);
        EXPECT_EQ(pack->OpenStreamCreator(name), nullptr);
        EXPECT_FALSE(pack->DoFileExists(name, nullptr, 0, nullptr));
    }
    EXPECT_EQ(pack->GetRootPath(), L"nq/");
}
}
