#include "Core/App/Application.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Platform/Win32/Module.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace
{
class PreInitTest : public ::testing::Test
{
protected:
    void SetUp() override { base::testing::TeardownSingletonsNow(); }
    void TearDown() override
    {
        base::testing::TeardownSingletonsNow();
        win32::testing::SetModuleFileNameHook(std::nullopt);
    }

    hvtest::TempDir mTemp;
};

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

int ModeOf(const std::string& path)
{
    struct stat st{};
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

TEST_F(PreInitTest, ExecutableFolderTable)
{
    const std::pair<std::string, std::wstring> cases[] = {
        {"/opt/game/bin/BramblecoatWars", L"/opt/game/bin/"},
        {"C:\\games\\nq\\game.exe", L"C:\\games\\nq\\"},
        {"/mixed\\dir/sub\\game", L"/mixed\\dir/sub\\"},
        {"/mixed/dir\\sub/game", L"/mixed/dir\\sub/"},
        {"game", L""},
    };
    hvtest::ScopedEnv xdg("XDG_DATA_HOME", mTemp / "data");
    for (const auto& [path, folder] : cases)
    {
        SCOPED_TRACE(path);
        win32::testing::SetModuleFileNameHook(path);
        app::Application* application = app::Application::Instance();
        ASSERT_EQ(application->PreInit(), HV_OK);
        EXPECT_EQ(application->mExeFolder, folder);
        base::testing::TeardownSingletonsNow();
    }
}

TEST_F(PreInitTest, RealExecutableFolder)
{
    hvtest::ScopedEnv xdg("XDG_DATA_HOME", mTemp / "data");
    app::Application* application = app::Application::Instance();
    ASSERT_EQ(application->PreInit(), HV_OK);
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(application->mExeFolder, Wide(exe.substr(0, exe.rfind('/') + 1)));
}

TEST_F(PreInitTest, ApplicationDataFolderTable)
{
    const std::string home = mTemp / "home";
    std::filesystem::create_directory(home);
    const std::string blocker = mTemp / "file";
    std::ofstream(blocker) << "x";
    const std::string longPath = mTemp / (std::string(150, 'a') + "/" + std::string(150, 'b'));

    struct Case
    {
        const char* name;
        std::optional<std::string> xdg;
        std::optional<std::string> home;
        HVResultEnum result;
        std::string folder;  // the expected folder, with its one trailing '/'
        std::string created; // a folder that must now exist with mode 0700
    };
    const Case cases[] = {
        {"absolute XDG_DATA_HOME", mTemp / "xdg", home, HV_OK, mTemp / "xdg/", mTemp / "xdg"},
        {"trailing separators collapse", mTemp / "xdg2//", home, HV_OK, mTemp / "xdg2/", mTemp / "xdg2"},
        {"relative XDG_DATA_HOME is ignored", "relative/data", home, HV_OK, home + "/.local/share/",
         home + "/.local/share"},
        {"unset XDG_DATA_HOME", std::nullopt, home, HV_OK, home + "/.local/share/", home + "/.local"},
        {"data folder impossible: documents folder", blocker + "/data", home, HV_OK, home + "/", ""},
        {"neither folder", blocker + "/data", mTemp / "missing-home", HV_FAIL, "", ""},
        {"paths over 260 characters", longPath, home, HV_OK, longPath + "/", longPath},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        hvtest::ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        hvtest::ScopedEnv homeEnv("HOME", c.home);
        app::Application* application = app::Application::Instance();
        EXPECT_EQ(application->PreInit(), c.result);
        if (c.result == HV_OK)
        {
            EXPECT_EQ(application->mUserAppDataFolder, Wide(c.folder));
        }
        if (!c.created.empty())
        {
            EXPECT_EQ(ModeOf(c.created), 0700);
        }
        base::testing::TeardownSingletonsNow();
    }
}
} // namespace
