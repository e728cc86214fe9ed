#include "Core/Base/Stream.h"
#include "Core/Base/StreamCreator.h"
#include "Core/File/FileInfo.h"
#include "Core/File/PsdFile.h"
#include "Core/File/PsdFolder.h"
#include "Core/File/UserDataFileContainer.h"
#include "FileTestSupport.h"
#include "support/PackBuilder.h"

#include <filesystem>
#include <memory>

namespace
{
const wchar_t* const kSounds[] = {L"", L".ogg", L".wav"};

class ContainerTest : public hvtest::DataRootTest
{
protected:
    std::string Content(file::FileContainer* container, const std::wstring& path)
    {
        std::unique_ptr<file::FileInfo> info(container->Open(path));
        return info ? hvtest::Drain(info->OpenStream()) : "<missing>";
    }
};

TEST_F(ContainerTest, APresentPackHidesTheLooseFilesUnderItsPrefix)
{
    dir.Write("nq/x.png", "loose x");
    dir.Write("nq/only_loose.png", "loose");
    dir.Write("a/nq/x", "not mounted");
    Files()->mountTable[L"nq/"] = L"data.dat";

    EXPECT_EQ(Content(Files(), L"nq/x.png"), "loose x"); // no pack yet
    hvtest::WritePack(dir.Folder() / "data.dat", {{L"x.png", "packed x"}});
    EXPECT_EQ(Content(Files(), L"nq/x.png"), "packed x");
    EXPECT_EQ(Content(Files(), L"nq/only_loose.png"), "<missing>");
    EXPECT_FALSE(Files()->FileExists(L"nq/only_loose.png"));
    EXPECT_EQ(Content(Files(), L"a/nq/x"), "not mounted");

    // The pack is tested on every lookup: without it the loose files are back.
    std::filesystem::remove(dir.Folder() / "data.dat");
    EXPECT_EQ(Content(Files(), L"nq/x.png"), "loose x");
}

TEST_F(ContainerTest, TheFirstMountInKeyOrderWins)
{
    hvtest::WritePack(dir.Folder() / "a.dat", {{L"sub/f", "from a"}});
    hvtest::WritePack(dir.Folder() / "b.dat", {{L"f", "from b"}});
    Files()->mountTable[L"nq/sub/"] = L"b.dat";
    Files()->mountTable[L"nq/"] = L"a.dat";
    EXPECT_EQ(Content(Files(), L"nq/sub/f"), "from a");
    std::filesystem::remove(dir.Folder() / "a.dat");
    EXPECT_EQ(Content(Files(), L"nq/sub/f"), "from b");
}

TEST_F(ContainerTest, ExtensionListsGiveTheFoundIndex)
{
    dir.Write("nq/data/sound/click.ogg", "ogg");
    std::filesystem::create_directories(dir.Folder() / "nq/data/sound/boom.ogg"); // a folder, not a file
    dir.Write("nq/data/sound/boom.wav", "wav");
    hvtest::WritePack(dir.Folder() / "packed/data.dat", {{L"data/sound/click.wav", "packed wav"}});

    struct Case
    {
        std::wstring path;
        int count;
        int index; // -1: not found
        std::wstring foundPath;
    };
    const std::vector<Case> cases = {
        {L"nq/data/sound/click", 3, 1, L"nq/data/sound/click.ogg"},
        {L"nq/data/sound/boom", 3, 2, L"nq/data/sound/boom.wav"},
        {L"nq/data/sound/click", 0, 0, L""},     // count 0 is no list: the bare name is missing
        {L"nq/data/sound/click.ogg", 0, 0, L"nq/data/sound/click.ogg"},
        {L"nq/data/sound/missing", 3, -1, L""},
    };
    for (const Case& c : cases)
    {
        int found = 77;
        std::unique_ptr<file::FileInfo> info(Files()->Open(c.path, kSounds, c.count, &found));
        const bool expected = c.index >= 0 && !c.foundPath.empty();
        ASSERT_EQ(info != nullptr, expected) << std::string(c.path.begin(), c.path.end());
        EXPECT_EQ(Files()->FileExists(c.path, kSounds, c.count), expected);
        if (!info)
            continue;
        if (c.count)
        {
            EXPECT_EQ(found, c.index);
        }
        EXPECT_EQ(info->GetPath(), c.foundPath);
        EXPECT_EQ(info->GetName(), c.path.substr(c.path.rfind(L'/') + 1));
        EXPECT_EQ(info->GetContainer(), Files());
        EXPECT_FALSE(info->IsPacked());
    }
    EXPECT_EQ(Files()->Open(L"nq/data/sound/click", nullptr, 3), nullptr); // a null list is no list

    // The same inside a pack: the info is the pack's.
    Files()->mountTable[L"snd/"] = L"packed/data.dat";
    int found = -1;
    std::unique_ptr<file::FileInfo> info(Files()->Open(L"snd/data/sound/click", kSounds, 3, &found));
    ASSERT_TRUE(info);
    EXPECT_EQ(found, 2);
    EXPECT_EQ(info->GetName(), L"click");
    EXPECT_EQ(info->GetPath(), L"data/sound/click.wav");
    EXPECT_TRUE(info->IsPacked());
    EXPECT_EQ(hvtest::Drain(info->OpenStream()), "packed wav");
}

TEST_F(ContainerTest, ImageContainersPreferAFolderThenPsdThenTheBareFile)
{
    dir.Write("both/layers.xml", "<Layers/>");
    dir.Write("both.psd", "psd");
    dir.Write("doc.psd", "psd");
    dir.Write("doc", "bare");
    dir.Write("bare", "bare");

    std::unique_ptr<file::ImageContainer> folder(Files()->OpenImageContainer(L"both"));
    EXPECT_TRUE(dynamic_cast<file::PsdFolder*>(folder.get()));
    EXPECT_EQ(folder->GetRootPath(), L"both/");

    std::unique_ptr<file::ImageContainer> psd(Files()->OpenImageContainer(L"doc"));
    ASSERT_TRUE(dynamic_cast<file::PsdFile*>(psd.get()));
    EXPECT_EQ(psd->GetRootPath(), L"doc.psd/");

    std::unique_ptr<file::ImageContainer> bare(Files()->OpenImageContainer(L"bare"));
    ASSERT_TRUE(dynamic_cast<file::PsdFile*>(bare.get()));
    EXPECT_EQ(bare->GetRootPath(), L"bare/");

    EXPECT_EQ(Files()->OpenImageContainer(L"missing"), nullptr);
}

TEST_F(ContainerTest, ListingsNormaliseTheFolderAndAppend)
{
    dir.Write("nq/data/b.txt", "b");
    dir.Write("nq/data/A.txt", "a");
    dir.Write("nq/data/sub/name", "n");
    dir.Write("nq/data/sub/deeper/z", "z");
    std::filesystem::create_directories(dir.Folder() / "nq/data/empty");

    std::vector<std::wstring> out = {L"earlier"};
    EXPECT_EQ(Files()->ListFiles(L"nq\\data", true, out, true), HV_OK);
    EXPECT_EQ(out, (std::vector<std::wstring>{L"earlier", L"A.txt", L"b.txt", L"sub/deeper/z", L"sub/name"}));

    out.clear();
    Files()->ListFiles(L"nq/data//", false, out, false);
    EXPECT_EQ(out, (std::vector<std::wstring>{L"nq/data/A.txt", L"nq/data/b.txt"}));

    out.clear();
    Files()->ListDirectories(L"nq\\data\\", out, false);
    EXPECT_EQ(out, (std::vector<std::wstring>{L"nq/data/empty", L"nq/data/sub"}));

    out.clear();
    EXPECT_EQ(Files()->ListFiles(L"missing", true, out, true), HV_OK);
    EXPECT_TRUE(out.empty());

    // The existence tests take their path unchanged.
    EXPECT_TRUE(Files()->DirectoryExists(L"nq/data"));
    EXPECT_FALSE(Files()->DirectoryExists(L"nq/data/"));
    EXPECT_TRUE(Files()->FileExists(L"nq\\data\\b.txt"));
    EXPECT_FALSE(Files()->FileExists(L"nq/data/sub"));
}

TEST_F(ContainerTest, FileManagerFolderCalls)
{
    EXPECT_EQ(Files()->CreateDirectory(L"made"), HV_OK);
    EXPECT_EQ(Files()->CreateDirectory(L"made"), HV_FAIL);
    dir.Write("made/f", "x");
    EXPECT_EQ(Files()->DeleteFile(L"made"), HV_FAIL);
    EXPECT_EQ(Files()->DeleteFile(L"made/f"), HV_OK);
    EXPECT_FALSE(dir.Has("made/f"));
    EXPECT_EQ(Files()->GetRootPath(), L"");
}

TEST_F(ContainerTest, FileManagerMoveReplacesTheTarget)
{
    dir.Write("new", "fresh");
    dir.Write("old", "stale bytes");
    EXPECT_EQ(Files()->MoveFile(L"new", L"old"), HV_OK);
    EXPECT_EQ(dir.Read("old"), "fresh");
    EXPECT_FALSE(dir.Has("new"));
    // A missing source or target folder fails and leaves the target alone.
    EXPECT_EQ(Files()->MoveFile(L"new", L"old"), HV_FAIL);
    EXPECT_EQ(Files()->MoveFile(L"old", L"nowhere/old"), HV_FAIL);
    EXPECT_EQ(dir.Read("old"), "fresh");
}

class UserDataTest : public hvtest::DataRootTest
{
protected:
    file::UserDataFileContainer* UserData()
    {
        file::UserDataFileContainer* userData = file::UserDataFileContainer::Instance();
        userData->SetRootPath(root);
        return userData;
    }
    hvtest::TempFolder userFolder;
    std::wstring root = userFolder.Wide() + L"Maker/Title/";
};

TEST_F(UserDataTest, SetRootPathCreatesTheFolderAndListsUnderIt)
{
    EXPECT_EQ(UserData()->SetRootPath(root), HV_OK);
    EXPECT_TRUE(std::filesystem::is_directory(userFolder.Folder() / "Maker/Title"));
    EXPECT_EQ(UserData()->GetRootPath(), root);

    userFolder.Write("Maker/Title/saves/one.txt", "1");
    userFolder.Write("Maker/Title/saves/deep/two.txt", "2");
    std::vector<std::wstring> out;
    UserData()->ListFiles(L"saves", true, out, false);
    EXPECT_EQ(out, (std::vector<std::wstring>{root + L"saves/deep/two.txt", root + L"saves/one.txt"}));
    out.clear();
    UserData()->ListFiles(L"saves", true, out, true);
    EXPECT_EQ(out, (std::vector<std::wstring>{L"deep/two.txt", L"one.txt"}));
    out.clear();
    UserData()->ListDirectories(L"saves", out, true);
    EXPECT_EQ(out, (std::vector<std::wstring>{L"deep"}));

    EXPECT_TRUE(UserData()->FileExists(L"saves/one.txt"));
    EXPECT_TRUE(UserData()->DirectoryExists(L"saves/deep"));
    std::unique_ptr<file::FileInfo> info(UserData()->Open(L"saves/one.txt"));
    ASSERT_TRUE(info);
    EXPECT_EQ(hvtest::Drain(info->OpenStream()), "1");

    // An unusable root is not an error.
    userFolder.Write("plain_file", "x");
    EXPECT_EQ(UserData()->SetRootPath(userFolder.Wide() + L"plain_file/sub/"), HV_OK);
    EXPECT_FALSE(UserData()->FileExists(L"anything"));
}

TEST_F(UserDataTest, AUserDataPackIsReadFromTheUserDataFolder)
{
    Files()->mountTable[L"nq/"] = L"data.dat";
    hvtest::WritePack(dir.Folder() / "data.dat", {{L"x", "from the data root"}});
    UserData();
    hvtest::WritePack(userFolder.Folder() / "Maker/Title/data.dat", {{L"x", "from the user folder"}});

    std::unique_ptr<file::FileInfo> info(UserData()->Open(L"nq/x"));
    ASSERT_TRUE(info);
    EXPECT_EQ(hvtest::Drain(info->OpenStream()), "from the user folder");
    std::unique_ptr<base::StreamCreator> creator(info->GetContainer()->OpenStreamCreator(L"x"));
    base::Stream* created = nullptr;
    ASSERT_EQ(creator->Create(&created), HV_OK);
    EXPECT_EQ(hvtest::Drain(created), "from the user folder");
    EXPECT_EQ(info->GetContainer()->GetRootPath(), root + L"nq/");
}
}
