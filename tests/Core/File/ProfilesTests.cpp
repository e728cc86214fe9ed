#include "Core/App/Win32/ApplicationWin32.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "FileTestSupport.h"
#include "Platform/Win32/Files.h"

#include <filesystem>
#include <sys/wait.h>
#include <tinyxml2.h>
#include <unistd.h>

namespace
{
using namespace std::string_literals;

const std::wstring kDefault = L"Player01234567890123456789";

// As tinyxml2 prints it, so a load and a save give the same bytes.
const std::string kSample = "<Profiles currentProfile=\"\xD0\x98\xD1\x80\xD0\xB0\">\n"
                            "    <Profile name=\"Bob\">\n"
                            "        <level n=\"1\"/>\n"
                            "    </Profile>\n"
                            "    <Profile name=\"\xD0\x98\xD1\x80\xD0\xB0\"/>\n"
                            "</Profiles>\n";
const std::wstring kIra = L"\u0418\u0440\u0430";

class ProfilesTest : public hvtest::DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        file::Profiles::sProfilesReset = false;
        app::ApplicationWin32::sAnotherInstance = false;
        file::UserDataFileContainer::Instance()->SetRootPath(userFolder.Wide());
    }
    void TearDown() override
    {
        DataRootTest::TearDown();
        app::ApplicationWin32::sAnotherInstance = false;
        file::Profiles::sProfilesReset = false;
    }

    file::Profiles* Store() { return file::Profiles::Instance(); }

    file::Profiles* LoadWith(const std::string& bytes)
    {
        userFolder.Write("profiles.xml", bytes);
        Store()->Load();
        return Store();
    }

    // What tinyxml2's own SaveFile writes for the store's document.
    std::string SaveFileBytes()
    {
        const std::string path = (dir.Folder() / "reference.xml").string();
        EXPECT_EQ(Store()->GetDocument()->SaveFile(path.c_str()), tinyxml2::XML_SUCCESS);
        return dir.Read("reference.xml");
    }

    hvtest::TempFolder userFolder;
};

TEST_F(ProfilesTest, FilesPresentAtLoad)
{
    struct Case
    {
        const char* what;
        std::string bytes; // "<none>": no file
        std::vector<std::wstring> names;
        std::wstring current;
        bool damaged;
    };
    const std::vector<Case> cases = {
        {"no file", "<none>", {kDefault}, kDefault, false},
        {"sample", kSample, {L"Bob", kIra}, kIra, false},
        {"no current profile", "<Profiles><Profile name=\"A\"/><Profile name=\"B\"/></Profiles>", {L"A", L"B"}, L"A",
         false},
        {"no current, no profile", "<Profiles/>", {kDefault}, kDefault, false},
        {"current missing", "<Profiles currentProfile=\"C\"><Profile name=\"A\"/></Profiles>", {L"A", L"C"}, L"C",
         false},
        {"nameless profile", "<Profiles currentProfile=\"\"><Profile/></Profiles>", {L""}, L"", false},
        {"0 bytes", "", {kDefault}, kDefault, true},
        {"truncated", kSample.substr(0, 60), {kDefault}, kDefault, true},
        {"binary garbage", "\x00\xFF\x13\x88<<\x01"s, {kDefault}, kDefault, true},
        {"binary garbage after text", "<Pro\xFF\x13\x88<<\x01", {kDefault}, kDefault, true},
        {"parsable, no Profiles", "<Other currentProfile=\"A\"><Profile name=\"A\"/></Other>", {kDefault}, kDefault,
         true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(userFolder.Folder() / "profiles.xml");
        std::filesystem::remove(userFolder.Folder() / "profiles.xml.corrupt");
        file::Profiles::sProfilesReset = false;
        if (c.bytes == "<none>")
            Store()->Load();
        else
            LoadWith(c.bytes);

        EXPECT_EQ(Store()->GetProfileNames(), c.names);
        EXPECT_EQ(Store()->GetCurrentProfileName(), c.current);
        ASSERT_NE(Store()->GetCurrentProfile(), nullptr);
        EXPECT_EQ(file::Profiles::sProfilesReset, c.damaged);

        ASSERT_EQ(Store()->Save(), tinyxml2::XML_SUCCESS);
        EXPECT_EQ(userFolder.Read("profiles.xml"), SaveFileBytes());
        EXPECT_FALSE(userFolder.Has("profiles.xml.tmp"));
        if (c.damaged)
            EXPECT_EQ(userFolder.Read("profiles.xml.corrupt"), c.bytes);
        else
            EXPECT_FALSE(userFolder.Has("profiles.xml.corrupt"));
    }
}

TEST_F(ProfilesTest, TheSampleRoundTripsExactly)
{
    LoadWith(kSample);
    ASSERT_EQ(Store()->Save(), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(userFolder.Read("profiles.xml"), kSample);
}

TEST_F(ProfilesTest, OnlyTheFirstSaveAfterDamageKeepsTheDamagedFile)
{
    LoadWith("<Profiles><Profile name=");
    ASSERT_EQ(Store()->Save(), tinyxml2::XML_SUCCESS);
    Store()->SelectProfile(L"Second");
    ASSERT_EQ(Store()->Save(), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(userFolder.Read("profiles.xml.corrupt"), "<Profiles><Profile name=");
    EXPECT_NE(userFolder.Read("profiles.xml").find("Second"), std::string::npos);

    // A stale temporary file is never read and is replaced by the next save.
    userFolder.Write("profiles.xml.tmp", "<Profiles currentProfile=\"stale\"/>");
    Store()->Load();
    EXPECT_EQ(Store()->GetCurrentProfileName(), L"Second");
    ASSERT_EQ(Store()->Save(), tinyxml2::XML_SUCCESS);
    EXPECT_FALSE(userFolder.Has("profiles.xml.tmp"));
}

TEST_F(ProfilesTest, EveryDamagedFileIsKeptUpToFiveTheOldestGoingFirst)
{
    const auto damaged = [](int n) { return "<Profiles><Profile name=\"Lost " + std::to_string(n) + "\""; };
    constexpr int kKept = 5; // the plain name and four numbered ones
    for (int n = 0; n < 7; ++n)
    {
        SCOPED_TRACE(n);
        file::Profiles::sProfilesReset = false;
        LoadWith(damaged(n));
        EXPECT_TRUE(file::Profiles::sProfilesReset);
        ASSERT_EQ(Store()->Save(), tinyxml2::XML_SUCCESS);

        // The newest under the plain name, then one number up for each older one.
        EXPECT_EQ(userFolder.Read("profiles.xml.corrupt"), damaged(n));
        for (int older = 1; older < kKept; ++older)
        {
            const std::string name = "profiles.xml.corrupt." + std::to_string(older);
            if (older <= n)
                EXPECT_EQ(userFolder.Read(name), damaged(n - older)) << name;
            else
                EXPECT_FALSE(userFolder.Has(name)) << name;
        }
        EXPECT_FALSE(userFolder.Has("profiles.xml.corrupt." + std::to_string(kKept)));
    }
}

TEST_F(ProfilesTest, SelectRemoveAndRename)
{
    struct Step
    {
        enum Op
        {
            Select,
            Remove,
            Rename
        } op;
        std::wstring name;
        std::vector<std::wstring> names;
        std::wstring current;
    };
    const std::vector<Step> steps = {
        {Step::Select, L"New", {L"Bob", kIra, L"New"}, L"New"},
        {Step::Select, L"Bob", {L"Bob", kIra, L"New"}, L"Bob"},
        {Step::Remove, L"New", {L"Bob", kIra}, L"Bob"},          // not current: stays
        {Step::Remove, L"nobody", {L"Bob", kIra}, L"Bob"},
        {Step::Remove, L"Bob", {kIra}, kIra},                   // current: the first remaining
        {Step::Select, L"Carl", {kIra, L"Carl"}, L"Carl"},
        {Step::Rename, kIra, {kIra, kIra}, kIra},               // onto an existing name: two of them
        {Step::Remove, kIra, {kIra}, kIra},                     // removes the first; the current one stays
        {Step::Remove, kIra, {kDefault}, kDefault},             // the last: the default again
        {Step::Select, L"bob", {kDefault, L"bob"}, L"bob"},     // case-sensitive
    };
    LoadWith(kSample);
    for (const Step& s : steps)
    {
        SCOPED_TRACE(std::string(s.name.begin(), s.name.end()) + " op " + std::to_string(s.op));
        if (s.op == Step::Select)
            Store()->SelectProfile(s.name);
        else if (s.op == Step::Remove)
            Store()->RemoveProfile(s.name);
        else
            Store()->RenameCurrentProfile(s.name);
        EXPECT_EQ(Store()->GetProfileNames(), s.names);
        EXPECT_EQ(Store()->GetCurrentProfileName(), s.current);
        const char* current = Store()->GetDocument()->FirstChildElement("Profiles")->Attribute("currentProfile");
        ASSERT_TRUE(current);
        EXPECT_EQ(base::ToWide(current, 1), s.current);
    }
}

TEST_F(ProfilesTest, RenamingOntoAnExistingNameFindsTheFirst)
{
    LoadWith(kSample);
    Store()->RenameCurrentProfile(L"Bob");
    const tinyxml2::XMLElement* found = Store()->FindProfile(L"Bob");
    ASSERT_TRUE(found);
    EXPECT_NE(found, Store()->GetCurrentProfile());
    EXPECT_EQ(found->FirstChildElement("level") != nullptr, true);
    EXPECT_STREQ(Store()->GetDocument()->FirstChildElement("Profiles")->Attribute("currentProfile"), "Bob");
}

TEST_F(ProfilesTest, PurchasesSitBesideTheRoot)
{
    LoadWith(kSample);
    tinyxml2::XMLElement* purchases = Store()->GetPurchasesElement();
    ASSERT_TRUE(purchases);
    EXPECT_EQ(purchases->Parent(), Store()->GetDocument());
    EXPECT_EQ(Store()->GetPurchasesElement(), purchases);
    EXPECT_EQ(Store()->GetDocument()->FirstChildElement("Profiles")->NextSiblingElement(), purchases);
}

TEST_F(ProfilesTest, AnotherInstanceNeverWrites)
{
    for (const std::string& bytes : {kSample, "<Profiles><Pro"s})
    {
        LoadWith(bytes);
        const auto written = std::filesystem::last_write_time(userFolder.Folder() / "profiles.xml");
        app::ApplicationWin32::sAnotherInstance = true;
        base::testing::TeardownSingletonsNow();
        app::ApplicationWin32::sAnotherInstance = false;
        EXPECT_EQ(userFolder.Read("profiles.xml"), bytes);
        EXPECT_EQ(std::filesystem::last_write_time(userFolder.Folder() / "profiles.xml"), written);
        EXPECT_FALSE(userFolder.Has("profiles.xml.corrupt"));
        file::UserDataFileContainer::Instance()->SetRootPath(userFolder.Wide());
    }
}

TEST_F(ProfilesTest, DestructionSaves)
{
    LoadWith(kSample);
    Store()->SelectProfile(L"AtExit");
    base::testing::TeardownSingletonsNow();
    EXPECT_NE(userFolder.Read("profiles.xml").find("AtExit"), std::string::npos);
}

// Without a user-data folder the store lives in memory: a file of that name
// in the current folder is neither read nor replaced, by a save or at exit.
TEST_F(ProfilesTest, WithoutAUserDataFolderNothingIsReadOrWritten)
{
    // A fresh container has no folder.
    base::testing::TeardownSingletonsNow();
    dir.Write("profiles.xml", kSample);
    Store()->Load();
    EXPECT_EQ(Store()->GetProfileNames(), std::vector<std::wstring>{kDefault});
    Store()->SelectProfile(L"Unsaved");
    EXPECT_NE(Store()->Save(), tinyxml2::XML_SUCCESS);
    base::testing::TeardownSingletonsNow();
    EXPECT_EQ(dir.Read("profiles.xml"), kSample);
    EXPECT_FALSE(dir.Has("profiles.xml.tmp"));
}

// The container torn down before the store (a dependency cycle keeps the order
// they were made in) takes the folder with it: the exit save writes nowhere.
TEST_F(ProfilesTest, AUserDataFolderGoneBeforeTheExitSaveIsNotReplacedByTheCurrentFolder)
{
    LoadWith(kSample);
    Store()->SelectProfile(L"AtExit");
    base::SingletoneBase::AddDependency(file::UserDataFileContainer::Instance(), Store());
    base::testing::TeardownSingletonsNow();
    EXPECT_EQ(userFolder.Read("profiles.xml"), kSample);
    EXPECT_FALSE(dir.Has("profiles.xml"));
    EXPECT_FALSE(dir.Has("profiles.xml.tmp"));
}

TEST_F(ProfilesTest, AFailedSaveLeavesTheFileAlone)
{
    LoadWith(kSample);
    Store()->SelectProfile(L"Unsaved");
    std::filesystem::create_directory(userFolder.Folder() / "profiles.xml.tmp");
    EXPECT_NE(Store()->Save(), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(userFolder.Read("profiles.xml"), kSample);
    EXPECT_TRUE(std::filesystem::is_directory(userFolder.Folder() / "profiles.xml.tmp"));
    std::filesystem::remove(userFolder.Folder() / "profiles.xml.tmp");

    // Without a document nothing is written.
    base::testing::TeardownSingletonsNow();
    const std::string before = userFolder.Read("profiles.xml");
    file::UserDataFileContainer::Instance()->SetRootPath(userFolder.Wide());
    EXPECT_NE(Store()->Save(), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(userFolder.Read("profiles.xml"), before);
    EXPECT_FALSE(userFolder.Has("profiles.xml.tmp"));
}

TEST_F(ProfilesTest, ACrashHalfwayThroughASaveKeepsTheGoodFile)
{
    GTEST_FLAG_SET(death_test_style, "fast"); // the child must share this test's folders
    LoadWith(kSample);
    for (int i = 0; i < 40; ++i)
        Store()->SelectProfile(L"Player " + std::to_wstring(i));
    tinyxml2::XMLPrinter printer;
    Store()->GetDocument()->Print(&printer);
    const int64_t size = printer.CStrSize() - 1;

    EXPECT_EXIT(
        {
            win32::testing::EndProcessAfterWrittenBytes(size / 2);
            Store()->Save();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(86), "");

    EXPECT_EQ(userFolder.Read("profiles.xml"), kSample);
    EXPECT_EQ(static_cast<int64_t>(userFolder.Read("profiles.xml.tmp").size()), size / 2);
    Store()->Load();
    EXPECT_EQ(Store()->GetProfileNames(), (std::vector<std::wstring>{L"Bob", kIra}));
    EXPECT_EQ(Store()->GetCurrentProfileName(), kIra);
    EXPECT_FALSE(file::Profiles::sProfilesReset);

    // The next save replaces the stale temporary file.
    ASSERT_EQ(Store()->Save(), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(userFolder.Read("profiles.xml"), kSample);
    EXPECT_FALSE(userFolder.Has("profiles.xml.tmp"));
}

// Ends the process after the given number of file-system steps of a save.
int gStepsLeft = 0;
constexpr int kEndedMidSave = 87;
void EndAfterTheStep()
{
    if (--gStepsLeft == 0)
        _exit(kEndedMidSave);
}

// A save after a damaged load, ended after each of its file-system steps in
// turn: every next start finds either the damaged file again (and says so) or
// the new file with the damaged one kept beside it.
TEST_F(ProfilesTest, ACrashAtAnyStepOfTheFirstSaveAfterDamageKeepsTheNotice)
{
    const std::string damagedBytes = "<Profiles><Profile name=\"Lost\"";
    int stepsEnded = 0;
    for (int step = 1;; ++step)
    {
        SCOPED_TRACE("ended after step " + std::to_string(step));
        ASSERT_LT(step, 40) << "the save never finished";
        std::filesystem::remove(userFolder.Folder() / "profiles.xml.corrupt");
        std::filesystem::remove(userFolder.Folder() / "profiles.xml.tmp");
        file::Profiles::sProfilesReset = false;
        LoadWith(damagedBytes);
        ASSERT_TRUE(file::Profiles::sProfilesReset);
        Store()->SelectProfile(L"Kept");
        const std::string newBytes = SaveFileBytes();

        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0)
        {
            gStepsLeft = step;
            file::Profiles::sAfterSaveStep = EndAfterTheStep;
            _exit(Store()->Save() == tinyxml2::XML_SUCCESS ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        const int code = WEXITSTATUS(status);
        ASSERT_TRUE(code == kEndedMidSave || code == 0) << code;

        ASSERT_TRUE(userFolder.Has("profiles.xml"));
        const std::string onDisk = userFolder.Read("profiles.xml");
        file::Profiles::sProfilesReset = false;
        Store()->Load();
        if (onDisk == damagedBytes)
        {
            EXPECT_TRUE(file::Profiles::sProfilesReset);
        }
        else
        {
            EXPECT_EQ(onDisk, newBytes);
            EXPECT_EQ(userFolder.Read("profiles.xml.corrupt"), damagedBytes);
            EXPECT_FALSE(file::Profiles::sProfilesReset);
            EXPECT_EQ(Store()->GetCurrentProfileName(), L"Kept");
        }
        if (code == 0)
            break;
        ++stepsEnded;
    }
    // Create, write, flush and close of the new file and of the kept copy, then the rename.
    EXPECT_GE(stepsEnded, 9);
}
}
