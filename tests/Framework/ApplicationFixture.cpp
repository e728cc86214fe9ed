#include "ApplicationFixture.h"

#include "Core/Base/Log.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Framework/GameWindow.h"
#include "Platform/D3D9/TestSupport.h"
#include "Platform/Win32/Monitors.h"
#include "support/ApplicationFactory.h"

#include <algorithm>

namespace frameworktest
{
void ApplicationTest::SetUp()
{
    Events().clear();
    LogLines().clear();
    RecordingBoard::sDestroyed = 0;
    TestApplication::sStartWindowed = true;
    TestApplication::sFillBoard = false;
    userEnv = std::make_unique<hvtest::ScopedEnv>("XDG_DATA_HOME", user.Folder().string());
    keepDirectory = std::make_unique<hvtest::CurrentDirectory>(std::filesystem::current_path());
    SupplyMonitor(1920, 1080, 1040);
    base::testing::TeardownSingletonsNow();
    hvtest::SetApplicationFactory([] { return new TestApplication; });
}

void ApplicationTest::TearDown()
{
    base::testing::TeardownSingletonsNow();
    hvtest::SetApplicationFactory(nullptr);
    win32::SetDisplaySource(nullptr);
    d3d9test::ClearFailures();
    keepDirectory.reset();
}

void ApplicationTest::SupplyMonitor(int width, int height, int workHeight)
{
    win32::SetDisplaySource([=] {
        win32::DisplayArea area{};
        area.bounds = {0, 0, width, height};
        area.usable = {0, height - workHeight, width, height};
        return std::vector<win32::DisplayArea>{area};
    });
}

TestApplication* ApplicationTest::Make(const std::vector<std::wstring>& arguments)
{
    application = static_cast<TestApplication*>(app::Application::Instance());
    application->mArguments = arguments;
    EXPECT_EQ(application->PreInit(), HV_OK);
    application->mExeFolder = data.Wide();
    base::MainLog::Instance()->AddTextOutput(new hvtest::LogCapture);
    return application;
}

HVResultEnum ApplicationTest::Start(const std::vector<std::wstring>& arguments)
{
    return Make(arguments)->Init();
}

HVResultEnum ApplicationTest::Pump(int updates)
{
    for (int i = 0; i < updates; ++i)
        if (const HVResultEnum result = application->mWindow->Update(0.016f); result != HV_OK)
            return result;
    return HV_OK;
}

std::vector<std::wstring> ApplicationTest::LogLinesAmong(const std::vector<std::wstring>& texts)
{
    std::vector<std::wstring> out;
    for (const std::wstring& line : LogLines())
        if (std::find(texts.begin(), texts.end(), line) != texts.end())
            out.push_back(line);
    return out;
}
} // namespace frameworktest
