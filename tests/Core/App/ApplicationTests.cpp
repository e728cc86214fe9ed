#include "Core/App/Application.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Platform/Win32/Clock.h"
#include "Platform/Win32/CommandLine.h"
#include "Platform/Win32/MessageBox.h"
#include "Platform/Win32/Module.h"
#include "Platform/Win32/Threads.h"
#include "Platform/Win32/WinMain.h"
#include "support/ApplicationFactory.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace
{
// An application whose Init and Update the test shapes; it counts loop turns.
class TestApplication : public app::Application
{
public:
    HVResultEnum Init() override { return mOnInit ? mOnInit(*this) : Application::Init(); }
    HVResultEnum Update(float dt) override
    {
        mTurns.push_back(dt);
        return Application::Update(dt);
    }

    std::function<HVResultEnum(TestApplication&)> mOnInit;
    std::vector<float> mTurns; // dt of each turn's application update
};

// A child that finishes in its n-th update and records when it ran.
class Child : public base::Task
{
public:
    Child(int finishAt, const std::vector<float>& turns) : Task(false, false, true, false), mFinishAt(finishAt), mTurns(turns) {}
    HVResultEnum Update(float) override
    {
        mUpdatedInTurn.push_back(static_cast<int>(mTurns.size()) + 1);
        if (static_cast<int>(mUpdatedInTurn.size()) == mFinishAt)
            mFinished = true;
        return HV_OK;
    }
    int mFinishAt;
    const std::vector<float>& mTurns;
    std::vector<int> mUpdatedInTurn;
};

struct MessageBoxCall
{
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class ApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        base::testing::TeardownSingletonsNow();
        hvtest::SetApplicationFactory([this] {
            mApp = new TestApplication;
            mApp->mShowMessageBox = [this](const std::wstring& text, const std::wstring& caption, UINT type) {
                mBoxes.push_back({text, caption, type});
                return IDOK;
            };
            return mApp;
        });
        win32::SetProcessArguments(std::vector<std::string>{"BramblecoatWars"});
    }
    void TearDown() override
    {
        base::testing::TeardownSingletonsNow();
        hvtest::SetApplicationFactory(nullptr);
        win32::testing::SetPerformanceCounterHook(nullptr);
        win32::testing::SetModuleFileNameHook(std::nullopt);
    }

    // Makes the application first so the test can shape it, then runs the entry.
    int RunWinMain(std::function<HVResultEnum(TestApplication&)> onInit = nullptr)
    {
        app::Application::Instance();
        mApp->mOnInit = std::move(onInit);
        return WinMain(nullptr, nullptr, nullptr, 0);
    }

    hvtest::TempDir mTemp;
    hvtest::ScopedEnv mXdg{"XDG_DATA_HOME", mTemp / "data"};
    TestApplication* mApp = nullptr;
    std::vector<MessageBoxCall> mBoxes;
};

TEST_F(ApplicationTest, NoChildRunsExactlyOneTurn)
{
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(mApp->mTurns.size(), 1u);
    EXPECT_TRUE(mApp->mFinished);
    EXPECT_TRUE(mApp->mStopRequested);
}

TEST_F(ApplicationTest, ChildJoinsInTurnOneAndItsFinishEndsTheLoopThatTurn)
{
    Child* child = nullptr;
    EXPECT_EQ(RunWinMain([&](TestApplication& a) {
                  child = new Child(2, a.mTurns);
                  a.AddChild(child);
                  return HV_OK;
              }),
              0);
    // Turn 1 moves it in; it updates in turns 2 and 3, finishing in 3.
    EXPECT_EQ(child->mUpdatedInTurn, (std::vector<int>{2, 3}));
    EXPECT_EQ(mApp->mTurns.size(), 3u);
    EXPECT_TRUE(mApp->mChildren.empty());
    delete child;
}

TEST_F(ApplicationTest, StopInInitSkipsTheLoop)
{
    EXPECT_EQ(RunWinMain([](TestApplication& a) {
                  a.Stop();
                  return HV_OK;
              }),
              0);
    EXPECT_TRUE(mApp->mTurns.empty());
}

TEST_F(ApplicationTest, DtIsTheRawCounterInterval)
{
    // Start reads 0; the two turns read 0.5 s and 10 s.
    std::vector<LONGLONG> reads = {0, 500000000, 10000000000};
    size_t next = 0;
    win32::testing::SetPerformanceCounterHook([&] { return reads[std::min(next++, reads.size() - 1)]; });
    Child* child = nullptr;
    RunWinMain([&](TestApplication& a) {
        child = new Child(1, a.mTurns);
        a.AddChild(child);
        return HV_OK;
    });
    EXPECT_EQ(mApp->mTurns, (std::vector<float>{0.5f, 9.5f}));
    delete child;
}

TEST_F(ApplicationTest, ExitCodes)
{
    struct Case
    {
        const char* name;
        std::function<HVResultEnum(TestApplication&)> init;
        int exitCode;
    };
    const Case cases[] = {
        {"Init fails", [](TestApplication&) { return HV_FAIL; }, 1},
        {"Init fails with a code already set", [](TestApplication& a) { a.mExitCode = 5; return HV_FAIL; }, 5},
        {"Init fails and stops", [](TestApplication& a) { a.Stop(); return HV_FAIL; }, 1},
        {"Init stops, as a second copy does", [](TestApplication& a) { a.Stop(); return HV_OK; }, 0},
        {"Init sets a code", [](TestApplication& a) { a.mExitCode = 3; return HV_OK; }, 3},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunWinMain(c.init), c.exitCode);
        base::testing::TeardownSingletonsNow();
    }
}

TEST_F(ApplicationTest, PreInitFailureReturnsOneWithOneLine)
{
    win32::testing::SetModuleFileNameHook("/" + std::string(PATH_MAX + 10, 'x'));
    bool initRan = false;
    ::testing::internal::CaptureStderr();
    const int code = RunWinMain([&](TestApplication&) {
        initRan = true;
        return HV_OK;
    });
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(initRan);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

TEST_F(ApplicationTest, ArgumentsDropTheProgramName)
{
    win32::SetProcessArguments(std::vector<std::string>{"/bin/game", "--data_path", "my dir", ""});
    RunWinMain();
    EXPECT_EQ(mApp->mArguments, (std::vector<std::wstring>{L"--data_path", L"my dir", L""}));
    base::testing::TeardownSingletonsNow();
    win32::SetProcessArguments(std::vector<std::string>{"/bin/game"});
    RunWinMain();
    EXPECT_TRUE(mApp->mArguments.empty());
}

TEST_F(ApplicationTest, RenderInitFailureShowsOneMessageBoxAtExit)
{
    RunWinMain([](TestApplication& a) {
        a.mRenderInitFailed = true;
        a.Stop();
        return HV_OK;
    });
    EXPECT_TRUE(mBoxes.empty());
    base::testing::TeardownSingletonsNow();
    ASSERT_EQ(mBoxes.size(), 1u);
    EXPECT_EQ(mBoxes[0].text,
              L"Failed to init DirectX 9 render: video card does'n support vertex shaders 1.1 and(or) pixel shaders 2.0");
    EXPECT_EQ(mBoxes[0].caption, L"Error");
    EXPECT_EQ(mBoxes[0].type, MB_ICONERROR);
}

TEST_F(ApplicationTest, NoMessageBoxWithoutRenderFailure)
{
    RunWinMain();
    base::testing::TeardownSingletonsNow();
    EXPECT_TRUE(mBoxes.empty());
}

TEST_F(ApplicationTest, AnotherInstanceFlagOutlivesTheApplication)
{
    RunWinMain([](TestApplication& a) {
        a.sAnotherInstance = true;
        a.Stop();
        return HV_OK;
    });
    base::testing::TeardownSingletonsNow();
    EXPECT_TRUE(app::Application::sAnotherInstance);
    app::Application::sAnotherInstance = false;
}

// A registered thread task.
class Worker : public app::Thread
{
public:
    Worker(bool deleteWhenFinished, int* destroyed) : Thread(deleteWhenFinished, false, true, false), mDestroyed(destroyed) {}
    ~Worker() override { ++*mDestroyed; }
    int* mDestroyed;
};

TEST_F(ApplicationTest, RegisteredThreadsKeepTheApplicationUnfinishedUntilReaped)
{
    int destroyed = 0;
    app::Application* application = app::Application::Instance();
    auto* owned = new Worker(true, &destroyed);
    Worker kept(false, &destroyed);
    application->RegisterTask(owned);
    application->RegisterTask(&kept);

    application->Update(0.0f);
    EXPECT_FALSE(application->mFinished);

    // Stopping the application stops its threads but leaves it unfinished.
    application->Stop();
    EXPECT_TRUE(owned->mStopRequested);
    EXPECT_TRUE(kept.mStopRequested);
    EXPECT_FALSE(application->mFinished);

    application->Update(0.0f);
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(application->mThreads.empty());
    EXPECT_TRUE(application->mFinished);
}

TEST_F(ApplicationTest, StartThreadRegistersAndCreatesItSuspended)
{
    int destroyed = 0;
    struct Case
    {
        int engine;
        int system;
    };
    const Case priorities[] = {{0, THREAD_PRIORITY_IDLE},           {1, THREAD_PRIORITY_BELOW_NORMAL},
                               {2, THREAD_PRIORITY_NORMAL},         {3, THREAD_PRIORITY_ABOVE_NORMAL},
                               {4, THREAD_PRIORITY_HIGHEST},        {5, THREAD_PRIORITY_TIME_CRITICAL},
                               {6, THREAD_PRIORITY_NORMAL},         {-1, THREAD_PRIORITY_NORMAL}};
    for (const Case& c : priorities)
    {
        SCOPED_TRACE(c.engine);
        Worker worker(false, &destroyed);
        ASSERT_TRUE(worker.StartThread(c.engine));
        EXPECT_EQ(app::Application::Instance()->mThreads.back(), &worker);
        auto* record = dynamic_cast<win32::ThreadRecord*>(static_cast<win32::KernelObject*>(worker.mThread));
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->routine, &app::ThreadEntry);
        EXPECT_EQ(record->parameter, &worker);
        EXPECT_EQ(record->priority, c.system);
        worker.SetPriority(1);
        EXPECT_EQ(record->priority, THREAD_PRIORITY_BELOW_NORMAL);
        app::Application::Instance()->mThreads.clear();
    }
}
} // namespace
