#include "Core/File/Archiver.h"
#include "Core/File/FileInfo.h"
#include "Framework/Gui/PackBuilder.h"
#include "support/PackBuilder.h"
#include "tests/Core/File/FileTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
class PackBuilderTest : public hvtest::DataRootTest
{
protected:
    void TearDown() override
    {
        gui::testing::SetPackCopyHook(nullptr);
        DataRootTest::TearDown();
    }

    // The pack read back through the file system: name -> bytes, with the
    // directory's own records checked against the file.
    std::map<std::wstring, std::string> ReadBack(const std::wstring& packPath = L"data.dat")
    {
        file::Archiver pack(L"nq/", packPath, Files());
        const file::PackDirectory& directory = pack.GetDirectory();
        std::map<std::wstring, std::string> out;
        uint32_t expectedOffset = directory.GetSize();
        for (const auto& [name, entry] : directory.entries)
        {
            EXPECT_EQ(entry.offset, expectedOffset) << "offsets follow the name order";
            expectedOffset += entry.size;
            const std::string bytes = hvtest::Drain(pack.OpenStream(name));
            EXPECT_EQ(bytes.size(), entry.size);
            out[name] = bytes;
        }
        EXPECT_EQ(std::filesystem::file_size(dir.Path() / "data.dat"), expectedOffset);
        return out;
    }
};

TEST_F(PackBuilderTest, RoundTripOverNestedFoldersEmptyFilesAndWideNames)
{
    dir.Write("nq/b.txt", "bee");
    dir.Write("nq/a/deep/z.bin", std::string("\0\1\2\3", 4));
    dir.Write("nq/a/empty.txt", "");
    dir.Write("nq/\xc3\xa9t\xc3\xa9/caf\xc3\xa9.txt", "accent");
    dir.Write("other/ignored.txt", "not below the prefix");
    ASSERT_EQ(gui::BuildPack(L"nq/", L"data.dat"), HV_OK);
    const std::map<std::wstring, std::string> expected = {{L"a/deep/z.bin", std::string("\0\1\2\3", 4)},
                                                          {L"a/empty.txt", ""},
                                                          {L"b.txt", "bee"},
                                                          {L"\u00e9t\u00e9/caf\u00e9.txt", "accent"}};
    EXPECT_EQ(ReadBack(), expected);
    EXPECT_FALSE(dir.Has("data.dat.tmp"));
}

TEST_F(PackBuilderTest, ExistingPackIsReplacedAndAnEmptyPrefixGivesAnEmptyDirectory)
{
    dir.Write("data.dat", std::string(5000, 'x'));
    std::filesystem::create_directories(dir.Path() / "nq");
    ASSERT_EQ(gui::BuildPack(L"nq/", L"data.dat"), HV_OK);
    // uint32 6, "hvpack", uint32 0.
    EXPECT_EQ(dir.Read("data.dat"), std::string("\6\0\0\0hvpack\0\0\0\0", 14));
    // A missing prefix folder is an empty one.
    ASSERT_EQ(gui::BuildPack(L"missing/", L"data.dat"), HV_OK);
    EXPECT_EQ(dir.Read("data.dat").size(), 14u);
}

TEST_F(PackBuilderTest, MountedOldPackDoesNotHideTheLooseFiles)
{
    dir.Write("nq/new.txt", "loose");
    hvtest::WritePack(dir.File("data.dat"), {{L"old.txt", "packed"}});
    Files()->mountTable[L"nq/"] = L"data.dat";
    std::unique_ptr<file::FileInfo> read(Files()->Open(L"nq/old.txt"));
    ASSERT_NE(read, nullptr);
    std::vector<std::wstring> listed;
    Files()->ListFiles(L"nq/", true, listed, true);
    ASSERT_EQ(listed, std::vector<std::wstring>{L"old.txt"}) << "the mount answers for the prefix";

    ASSERT_EQ(gui::BuildPack(L"nq/", L"data.dat"), HV_OK);
    EXPECT_EQ(ReadBack(), (std::map<std::wstring, std::string>{{L"new.txt", "loose"}}));
}

TEST_F(PackBuilderTest, PackInsideThePrefixIsLeftOut)
{
    dir.Write("nq/a.txt", "a");
    dir.Write("nq/data.dat", "old");
    dir.Write("nq/data.dat.tmp", "leftover of an interrupted build");
    ASSERT_EQ(gui::BuildPack(L"nq/", L"nq/data.dat"), HV_OK);
    file::Archiver pack(L"nq/", L"nq/data.dat", Files());
    ASSERT_EQ(pack.GetDirectory().entries.size(), 1u);
    EXPECT_EQ(pack.GetDirectory().entries.begin()->first, L"a.txt");
    EXPECT_FALSE(dir.Has("nq/data.dat.tmp"));
}

struct FailureRow
{
    const char* name;
    std::function<void(hvtest::TempFolder&)> arrange;
    std::wstring packPath;
    std::string failingPath; // named in the failure text
};

class PackBuilderFailure : public PackBuilderTest, public testing::WithParamInterface<FailureRow>
{
};

TEST_P(PackBuilderFailure, KeepsTheOldPackAndLeavesNoTemporaryFile)
{
    const FailureRow& row = GetParam();
    const std::string old = "old pack bytes";
    dir.Write("nq/good.txt", "good");
    dir.Write("data.dat", old);
    row.arrange(dir);
    std::wstring failure;
    EXPECT_NE(gui::BuildPack(L"nq/", row.packPath, &failure), HV_OK);
    EXPECT_EQ(dir.Read("data.dat"), old);
    EXPECT_FALSE(dir.Has("data.dat.tmp"));
    EXPECT_FALSE(dir.Has("nowhere/data.dat.tmp"));
    EXPECT_NE(failure.find(std::wstring(row.failingPath.begin(), row.failingPath.end())), std::wstring::npos)
        << std::string(failure.begin(), failure.end());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PackBuilderFailure,
    testing::Values(
        FailureRow{"NameNotUtf8", [](hvtest::TempFolder& d) { d.Write("nq/bad\xff.txt", "x"); }, L"data.dat",
                   "nq/bad"},
        FailureRow{"SparseFileOf4GiBAndOneByte",
                   [](hvtest::TempFolder& d) {
                       const std::string path = d.File("nq/huge.bin");
                       const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
                       ASSERT_GE(fd, 0);
                       ASSERT_EQ(ftruncate(fd, (off_t(1) << 32) + 1), 0);
                       close(fd);
                   },
                   L"data.dat", "nq/huge.bin"},
        FailureRow{"FileChangesSizeBeforeItsCopy",
                   [](hvtest::TempFolder& d) {
                       d.Write("nq/moving.txt", "12345");
                       const std::string path = d.File("nq/moving.txt");
                       gui::testing::SetPackCopyHook([path](const std::wstring& source) {
                           if (source == L"nq/moving.txt")
                               hvtest::TempDir::WriteFile(path, "123");
                       });
                   },
                   L"data.dat", "nq/moving.txt"},
        FailureRow{"FileGrowsBeforeItsCopy",
                   [](hvtest::TempFolder& d) {
                       d.Write("nq/moving.txt", "12345");
                       const std::string path = d.File("nq/moving.txt");
                       gui::testing::SetPackCopyHook([path](const std::wstring& source) {
                           if (source == L"nq/moving.txt")
                               hvtest::TempDir::WriteFile(path, "1234567");
                       });
                   },
                   L"data.dat", "nq/moving.txt"},
        FailureRow{"SourceRemovedBeforeItsCopy",
                   [](hvtest::TempFolder& d) {
                       const std::string path = d.File("nq/good.txt");
                       gui::testing::SetPackCopyHook([path](const std::wstring&) { std::remove(path.c_str()); });
                   },
                   L"data.dat", "nq/good.txt"},
        FailureRow{"PackFolderMissing", [](hvtest::TempFolder&) {}, L"nowhere/data.dat", "nowhere/data.dat.tmp"}),
    [](const testing::TestParamInfo<FailureRow>& info) { return std::string(info.param.name); });
} // namespace
