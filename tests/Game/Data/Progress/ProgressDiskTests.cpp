// The record's first duty: every change is on disk when the operation returns.
#include "ProgressTestSupport.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/UserDataFileContainer.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace progresstest
{
namespace
{
struct SetterCase
{
    const char* name;
    std::function<void(NQProgress&)> change;
    // Read back by a record over a fresh store of the file.
    std::function<bool(NQProgress&)> found;
};

class ProgressDiskTest : public ProgressTest
{
protected:
    // Runs the change in a child that ends without any teardown straight
    // after it; false when the child failed.
    static bool RunInChild(const std::function<void(NQProgress&)>& change)
    {
        const pid_t child = fork();
        if (child == 0)
        {
            NQProgress record;
            change(record);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // Forgets every singleton (the store included) and points a new user-data
    // container at the same folder, so the next record reads the file.
    void FreshStore()
    {
        progress.reset();
        base::testing::TeardownSingletonsNow();
        file::UserDataFileContainer::Instance()->SetRootPath(profiles->Folder().Wide());
    }
};

TEST_F(ProgressDiskTest, EverySetterHasSavedBeforeItReturns)
{
    services->upgradeIds = {5, 7};
    services->levelCounts = {{0, 4}};
    const SetterCase cases[] = {
        {"SetGems", [](NQProgress& p) { p.SetGems(77); }, [](NQProgress& p) { return p.GetGems() == 77; }},
        {"AddGems", [](NQProgress& p) { p.AddGems(5); }, [](NQProgress& p) { return p.GetGems() == 5; }},
        {"SetMode", [](NQProgress& p) { p.SetMode(2); }, [](NQProgress& p) { return p.GetMode() == 2; }},
        {"SetMusicVolume", [](NQProgress& p) { p.SetMusicVolume(0.25f); },
         [](NQProgress& p) { return p.GetMusicVolume() == 0.25f; }},
        {"SetSoundVolume", [](NQProgress& p) { p.SetSoundVolume(0.5f); },
         [](NQProgress& p) { return p.GetSoundVolume() == 0.5f; }},
        {"SetFullscreen", [](NQProgress& p) { p.SetFullscreen(true); },
         [](NQProgress& p) { return p.GetFullscreen(); }},
        {"SetTutorialEnabled", [](NQProgress& p) { p.SetTutorialEnabled(false); },
         [](NQProgress& p) { return !p.IsTutorialEnabled(); }},
        {"SetTutorialStepState", [](NQProgress& p) { p.SetTutorialStepState(4, 2); },
         [](NQProgress& p) { return p.GetTutorialStepState(4) == 2; }},
        {"SetTutorialParam", [](NQProgress& p) { p.SetTutorialParam(L"drop", 3); },
         [](NQProgress& p) { return p.GetTutorialParam(L"drop") == 3; }},
        {"GetTutorialStepState creating its step", [](NQProgress& p) { p.GetTutorialStepState(9); },
         [](NQProgress& p) {
             const tinyxml2::XMLElement* t = p.GetProfileElement()->FirstChildElement("tutorial");
             return t && t->FirstChildElement("step") && t->FirstChildElement("step")->IntAttribute("id") == 9;
         }},
        {"GetTutorialParam creating its param", [](NQProgress& p) { p.GetTutorialParam(std::string("x")); },
         [](NQProgress& p) {
             const tinyxml2::XMLElement* t = p.GetProfileElement()->FirstChildElement("tutorial");
             return t && t->FirstChildElement("param") && t->FirstChildElement("param")->Attribute("name", "x");
         }},
        {"GetUpgradeLevel creating the upgrades", [](NQProgress& p) { p.GetUpgradeLevel(5); },
         [](NQProgress& p) { return p.GetProfileElement()->FirstChildElement("upgrades") != nullptr; }},
        {"SetUpgradeLevel", [](NQProgress& p) { p.SetUpgradeLevel(7, 1); },
         [](NQProgress& p) { return p.GetUpgradeLevel(7) == 1; }},
        {"AddOwnedSpot", [](NQProgress& p) { p.AddOwnedSpot(L"#3", 0, 2); },
         [](NQProgress& p) { return p.IsSpotOwned(L"#3", 0, 2); }},
        {"SetEpisodeVisited", [](NQProgress& p) { p.SetEpisodeVisited(1, 0, 5); },
         [](NQProgress& p) { return p.GetEpisodeVisited(1, 0) == 5; }},
        {"SetEventFlag", [](NQProgress& p) { p.SetEventFlag(3); }, [](NQProgress& p) { return p.GetEventFlag(3); }},
        {"StoreLevelResult",
         [](NQProgress& p) {
             NQLevelRecord r;
             r.stars = 2;
             r.gems = 4;
             r.kills = 10;
             p.StoreLevelResult(1, 2, 1, r);
         },
         [](NQProgress& p) { return p.GetStars(1) == 2 && p.GetGems() == 4 && p.GetLastEpisode() == 1; }},
        {"SelectProfile", [](NQProgress& p) { p.SelectProfile(L"Anna"); },
         [](NQProgress& p) { return p.GetProfileNames() == std::vector<std::wstring>{L"Anna"}; }},
        {"SwitchProfile", [](NQProgress& p) { p.SwitchProfile(L"Bob"); },
         [](NQProgress& p) { return p.GetCurrentName() == L"Bob"; }},
        {"RenameProfile",
         [](NQProgress& p) {
             p.SelectProfile(L"A");
             p.SetGems(3);
             p.RenameProfile(L"Renamed");
         },
         [](NQProgress& p) {
             return p.GetProfileNames() == std::vector<std::wstring>{L"Renamed"} && p.GetGems() == 3;
         }},
        {"DeleteProfile",
         [](NQProgress& p) {
             p.SelectProfile(L"A");
             p.SelectProfile(L"B");
             p.DeleteProfile();
         },
         [](NQProgress& p) { return p.GetProfileNames() == std::vector<std::wstring>{L"A"}; }},
    };
    for (const SetterCase& c : cases)
    {
        FreshStore();
        std::filesystem::remove(profiles->Folder().Folder() / "profiles.xml");
        ASSERT_TRUE(RunInChild(c.change)) << c.name;
        ASSERT_TRUE(profiles->HasFile()) << c.name;
        EXPECT_TRUE(c.found(Progress())) << c.name << "\n" << profiles->FileText();
    }
}

TEST_F(ProgressDiskTest, CreatingGettersLeaveTheFileAsItWas)
{
    services->levelCounts = {{0, 3}};
    services->defaultGems = 12;
    auto child = [](const char* name) {
        return [name](NQProgress& p) { return p.GetProfileElement()->FirstChildElement(name) != nullptr; };
    };
    auto level = [](NQProgress& p) {
        const tinyxml2::XMLElement* levels = p.GetProfileElement()->FirstChildElement("levels");
        return levels && levels->FirstChildElement("level");
    };
    struct Case
    {
        const char* name;
        std::function<void(NQProgress&)> read;
        // The element the getter creates.
        std::function<bool(NQProgress&)> created;
        // Run before the file is written.
        std::function<void(NQProgress&)> prepare = nullptr;
    };
    const Case cases[] = {
        {"GetGems", [](NQProgress& p) { EXPECT_EQ(p.GetGems(), 12); }, child("gems")},
        {"GetMode", [](NQProgress& p) { EXPECT_EQ(p.GetMode(), 0); }, child("mode")},
        {"GetMusicVolume", [](NQProgress& p) { EXPECT_EQ(p.GetMusicVolume(), 1.0f); }, child("music")},
        {"GetSoundVolume", [](NQProgress& p) { EXPECT_EQ(p.GetSoundVolume(), 1.0f); }, child("sound")},
        {"GetFullscreen", [](NQProgress& p) { EXPECT_FALSE(p.GetFullscreen()); }, child("fs")},
        {"FindOrCreateLevel", [](NQProgress& p) { p.FindOrCreateLevel(0, 1, 1); }, level},
        {"GetLevelRecord", [](NQProgress& p) { delete p.GetLevelRecord(0, 2, 1); }, level},
        {"GetNextLevel", [](NQProgress& p) { EXPECT_EQ(p.GetNextLevel(0, 1), 0); }, level},
        {"EnsureSkeleton on a bare profile", [](NQProgress& p) { p.EnsureSkeleton(); }, child("towers"),
         [](NQProgress& p) { p.GetProfileElement()->DeleteChildren(); }},
    };
    for (const Case& c : cases)
    {
        FreshStore();
        std::filesystem::remove(profiles->Folder().Folder() / "profiles.xml");
        if (c.prepare)
            c.prepare(Progress());
        Progress().Save();
        const std::string before = profiles->FileText();
        c.read(Progress());
        EXPECT_EQ(profiles->FileText(), before) << c.name;
        EXPECT_TRUE(c.created(Progress())) << c.name;
    }
}

TEST_F(ProgressDiskTest, AFailedSaveKeepsTheChangeForTheNextSave)
{
    Progress().Save();
    // The store's temporary file cannot be made while a folder has its name.
    std::filesystem::create_directory(profiles->TemporaryPath());
    Progress().SetGems(5);
    tinyxml2::XMLDocument onDisk;
    ASSERT_TRUE(profiles->LoadFile(onDisk));
    const tinyxml2::XMLElement* profile = ProfileOnDisk(onDisk, PlaceholderName());
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->FirstChildElement("gems"), nullptr);
    EXPECT_EQ(Progress().GetGems(), 5);

    std::filesystem::remove(profiles->TemporaryPath());
    Progress().SetMode(2);
    tinyxml2::XMLDocument after;
    ASSERT_TRUE(profiles->LoadFile(after));
    profile = ProfileOnDisk(after, PlaceholderName());
    ASSERT_NE(profile, nullptr);
    ASSERT_NE(profile->FirstChildElement("gems"), nullptr);
    EXPECT_EQ(profile->FirstChildElement("gems")->IntAttribute("amount"), 5);
    ASSERT_NE(profile->FirstChildElement("mode"), nullptr);
    EXPECT_EQ(profile->FirstChildElement("mode")->IntAttribute("v"), 2);
}
} // namespace
} // namespace progresstest
