#include "Core/App/Application.h"
#include "Core/App/Window.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Platform/Win32/Input.h"
#include "Platform/Win32/Messages.h"
#include "Platform/Win32/SingleInstance.h"
#include "../Input/RecordingListener.h"
#include "support/ApplicationFactory.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <thread>

using namespace inputtest;
using Calls = std::vector<std::string>;

namespace
{
uint64_t g_now = 0;

class TestWindow : public app::Window
{
public:
    using Window::Window;
    bool CanClose() override { return mCanClose; }
    void OnActivate() override { mCalls.push_back("activate"); }
    void OnDeactivate() override { mCalls.push_back("deactivate"); }
    void OnCreated() override { mCalls.push_back("created"); }

    bool mCanClose = true;
    Calls mCalls;
};

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        base::testing::TeardownSingletonsNow();
        g_now = 1000;
        win32::SetTimerClock([] { return g_now; });
    }
    void TearDown() override
    {
        delete window;
        testwin::PumpAll(nullptr);
        base::testing::TeardownSingletonsNow();
        win32::SetTimerClock(nullptr);
        win32::SetDoubleClickTime(500);
        win32::SetCreateWindowFails(false);
        win32::SetSingleInstanceFolder(L"");
    }
    // A shown window with a 640 x 480 client area at (100, 130).
    TestWindow* Make(const wchar_t* title = L"Bramblecoat test")
    {
        window = new TestWindow(&input, false, false, true);
        EXPECT_EQ(window->Create(100, 100, 640, 510, 640, 480, true, title), HV_OK);
        Drain();
        listener.calls.clear();
        return window;
    }
    HWND Handle() const { return window->GetHandle(); }
    // Window updates until nothing of the window waits.
    void Drain()
    {
        for (int i = 0; i < 200; ++i)
        {
            MSG m;
            if (!PeekMessageW(&m, Handle(), 0, 0, PM_NOREMOVE))
                break;
            window->Update(0.0f);
        }
    }
    void Push(SDL_Event e) { SDL_PushEvent(&e); }
    SDL_Event Key(bool down, SDL_Scancode sc, SDL_Keycode sym, Uint16 mod = 0)
    {
        return testwin::Key(Handle(), down, sc, sym, mod);
    }

    RecordingListener listener;
    DoublingConverter converter;
    input::InputWin32 input{&listener, &converter};
    TestWindow* window = nullptr;
};

TEST_F(WindowTest, CreateShowsTheWindowAndKeepsTheSizes)
{
    Make();
    ASSERT_TRUE(window->mCreated);
    EXPECT_EQ(window->mCalls, Calls{"created"});
    EXPECT_EQ(GetWindowLongPtrW(Handle(), GWLP_USERDATA), reinterpret_cast<LONG_PTR>(window));
    EXPECT_EQ(app::WindowWin32::sBeingCreated, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(win32::GetSDLWindow(Handle())) & SDL_WINDOW_SHOWN);
    EXPECT_TRUE(SDL_GetWindowFlags(win32::GetSDLWindow(Handle())) & SDL_WINDOW_OPENGL);
    int w = 0, h = 0;
    SDL_GetWindowSize(Handle()->sdlWindow, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(window->GetClientWidth(), 640);
    EXPECT_EQ(window->GetClientHeight(), 510) << "the stored outer size";
    EXPECT_EQ(window->mSavedX, 100);
    EXPECT_EQ(window->mSavedY, 100);
    EXPECT_TRUE(window->mActive);

    int ow = 0, oh = 0;
    app::WindowWin32::GetWindowSizeForClient(1366, 768, &ow, &oh);
    EXPECT_EQ(ow, 1366);
    EXPECT_EQ(oh, 798);
}

TEST_F(WindowTest, FailedCreationReturnsOneAndReleasesTheLock)
{
    window = new TestWindow(&input, false, false, true);
    win32::SetCreateWindowFails(true);
    EXPECT_EQ(window->Create(0, 0, 640, 510, 640, 480, true, L"Failing"), HV_FAIL);
    EXPECT_FALSE(window->mCreated);
    EXPECT_TRUE(window->mCalls.empty());
    EXPECT_EQ(window->GetHandle(), nullptr);
    EXPECT_EQ(app::WindowWin32::sBeingCreated, nullptr);
    std::thread other([] {
        app::WindowWin32::sCreationLock.Lock();
        app::WindowWin32::sCreationLock.Unlock();
    });
    other.join();
    EXPECT_EQ(window->Update(0.0f), HV_OK);
}

TEST_F(WindowTest, UpdateBeforeCreationTakesNothing)
{
    Make();
    TestWindow idle(&input, false, false, true);
    Push(testwin::Button(Handle(), true, SDL_BUTTON_LEFT, 5, 5));
    idle.Update(0.0f);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, Handle(), 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_LBUTTONDOWN));
    window->Update(0.0f);
    EXPECT_EQ(listener.calls, Calls{"down 10,1005 1"});
}

TEST_F(WindowTest, AltEnterRequestsTheModeSwitch)
{
    struct Step
    {
        bool down;
        SDL_Scancode sc;
        SDL_Keycode sym;
        Uint16 mod;
    };
    const Step altDown{true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT};
    const Step altUp{false, SDL_SCANCODE_LALT, SDLK_LALT, 0};
    const Step enterAlt{true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT};
    const Step enter{true, SDL_SCANCODE_RETURN, SDLK_RETURN, 0};
    struct Case
    {
        const char* name;
        std::vector<Step> steps;
        bool request;
        Calls calls;
    };
    const Case cases[] = {
        {"Alt, Enter", {altDown, enterAlt}, true, {"keydown 0"}},
        {"Alt, Enter, Enter", {altDown, enterAlt, enterAlt}, true, {"keydown 0", "keydown 271", "char 13"}},
        {"Alt, Alt up, Enter", {altDown, altUp, enter}, false, {"keydown 0", "keyup 0", "keydown 271", "char 13"}},
    };
    Make();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        for (const Step& s : c.steps)
            Push(Key(s.down, s.sc, s.sym, s.mod));
        Drain();
        EXPECT_EQ(window->mModeSwitchRequested, c.request);
        EXPECT_FALSE(window->mAltHeld);
        EXPECT_EQ(listener.calls, c.calls);
        // Everything up again before the next case.
        Push(Key(false, SDL_SCANCODE_RETURN, SDLK_RETURN));
        Push(Key(false, SDL_SCANCODE_LALT, SDLK_LALT));
        Drain();
        input.Update();
        input.Update();
        window->mModeSwitchRequested = false;
        listener.calls.clear();
    }
    window->mAltHeld = true;
    EXPECT_EQ(SendMessageW(Handle(), WM_SYSKEYDOWN, VK_RETURN, 0), 0);
    EXPECT_TRUE(window->mModeSwitchRequested);
}

class CloseRoadTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        application = app::Application::Instance();
        Make();
        application->AddChild(window);
        Turn(); // the window joins the tree
    }
    void Turn() { application->Process(0.016f); }
    bool LoopEnds() const { return application->mFinished && application->mChildren.empty(); }
    app::Application* application = nullptr;
};

TEST_F(CloseRoadTest, CloseRefusedChangesNothing)
{
    window->mCanClose = false;
    Push(testwin::WindowEvent(Handle(), SDL_WINDOWEVENT_CLOSE));
    for (int i = 0; i < 5; ++i)
        Turn();
    EXPECT_FALSE(window->mCloseRequested);
    EXPECT_FALSE(window->mStopRequested);
    EXPECT_TRUE(IsWindow(Handle()));
    ASSERT_EQ(application->mChildren.size(), 1u);
    EXPECT_FALSE(LoopEnds());
}

TEST_F(CloseRoadTest, CloseDestroysInTheNextTurnAndTheLoopEndsThen)
{
    Push(testwin::WindowEvent(Handle(), SDL_WINDOWEVENT_CLOSE));
    int turns = 0;
    while (!window->mCloseRequested && turns < 10)
    {
        Turn();
        ++turns;
    }
    ASSERT_TRUE(window->mCloseRequested);
    EXPECT_TRUE(IsWindow(Handle()));
    EXPECT_FALSE(LoopEnds());
    Turn();
    EXPECT_TRUE(window->mDestroyed);
    EXPECT_FALSE(IsWindow(Handle()));
    EXPECT_TRUE(window->mFinished);
    EXPECT_TRUE(application->mChildren.empty());
    EXPECT_TRUE(LoopEnds());
}

TEST_F(CloseRoadTest, StoppingTheApplicationDestroysTheWindowNextTurn)
{
    application->Stop();
    EXPECT_TRUE(window->mCloseRequested);
    Turn();
    EXPECT_FALSE(IsWindow(Handle()));
    EXPECT_TRUE(LoopEnds());
}

TEST_F(WindowTest, ActivityFollowsFocusAndMinimise)
{
    Make();
    const struct
    {
        Uint8 event;
        Calls calls;
    } steps[] = {
        {SDL_WINDOWEVENT_FOCUS_LOST, {"deactivate"}},
        {SDL_WINDOWEVENT_MINIMIZED, {}},
        {SDL_WINDOWEVENT_RESTORED, {}},
        {SDL_WINDOWEVENT_FOCUS_GAINED, {"activate"}},
        {SDL_WINDOWEVENT_MINIMIZED, {"deactivate"}},
        {SDL_WINDOWEVENT_RESTORED, {"activate"}},
    };
    window->mCalls.clear();
    for (const auto& s : steps)
    {
        Push(testwin::WindowEvent(Handle(), s.event));
        Drain();
        EXPECT_EQ(window->mCalls, s.calls) << "event " << int(s.event);
        window->mCalls.clear();
    }
}

TEST_F(WindowTest, PointerLeaveIsReportedWithinOneTimerTick)
{
    Make();
    Push(testwin::WindowEvent(Handle(), SDL_WINDOWEVENT_ENTER));
    Push(testwin::Motion(Handle(), 50, 60));
    Drain();
    g_now += 10;
    Drain();
    EXPECT_TRUE(window->mPointerInside);
    EXPECT_EQ(listener.calls, Calls{"move 100,1060"}) << "entering gives nothing of its own";

    listener.calls.clear();
    Push(testwin::WindowEvent(Handle(), SDL_WINDOWEVENT_LEAVE));
    Drain();
    EXPECT_TRUE(listener.calls.empty());
    g_now += 10;
    Drain();
    EXPECT_EQ(listener.calls, (Calls{"move 100,1060", "leave 100,1060"}));
    EXPECT_FALSE(window->mPointerInside);
    listener.calls.clear();
    for (int i = 0; i < 3; ++i)
    {
        g_now += 10;
        Drain();
    }
    EXPECT_TRUE(listener.calls.empty()) << "resting outside";
}

TEST_F(WindowTest, SwitchWindowMode)
{
    Make();
    auto client = [this] {
        RECT r;
        GetClientRect(Handle(), &r);
        POINT o{0, 0};
        ClientToScreen(Handle(), &o);
        return std::vector<LONG>{o.x, o.y, r.right, r.bottom};
    };
    const Uint32 fullscreen = SDL_WINDOW_FULLSCREEN_DESKTOP;

    EXPECT_EQ(window->SwitchWindowMode(640, 510, true), HV_OK);
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, Handle(), 0, 0, PM_NOREMOVE)) << "not even hidden and shown";
    EXPECT_EQ(client(), (std::vector<LONG>{100, 130, 640, 480}));

    window->SwitchWindowMode(800, 630, true);
    EXPECT_EQ(client(), (std::vector<LONG>{100, 130, 800, 600}));
    Drain();

    window->SwitchWindowMode(1024, 768, false);
    EXPECT_FALSE(window->mWindowed);
    EXPECT_EQ(client(), (std::vector<LONG>{0, 0, 1024, 768}));
    EXPECT_EQ(SDL_GetWindowFlags(Handle()->sdlWindow) & fullscreen, fullscreen);
    EXPECT_TRUE(SDL_GetWindowFlags(Handle()->sdlWindow) & SDL_WINDOW_SHOWN);
    Drain();
    EXPECT_EQ(window->mSavedX, 100) << "a full-screen move keeps the windowed position";
    EXPECT_EQ(window->mSavedY, 100);

    window->SwitchWindowMode(640, 510, true);
    EXPECT_EQ(client(), (std::vector<LONG>{100, 130, 640, 480}));
    EXPECT_EQ(SDL_GetWindowFlags(Handle()->sdlWindow) & fullscreen, 0u);
    EXPECT_EQ(window->GetClientWidth(), 640);
    EXPECT_EQ(window->GetClientHeight(), 510);

    window->SetWindowedSize(800, 630);
    EXPECT_EQ(client(), (std::vector<LONG>{100, 130, 800, 600}));
}

TEST_F(WindowTest, MovesInAWindowUpdateTheSavedPosition)
{
    Make();
    Push(testwin::WindowEvent(Handle(), SDL_WINDOWEVENT_MOVED, 300, 230));
    Drain();
    EXPECT_EQ(window->mSavedX, 300);
    EXPECT_EQ(window->mSavedY, 200) << "the outer rectangle, above the title bar";
}

TEST_F(WindowTest, CommandCloseDestroysWithoutTheDestroyedFlag)
{
    Make();
    HWND hwnd = Handle();
    EXPECT_EQ(SendMessageW(hwnd, WM_COMMAND, 105, 0), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(window->mFinished);
    EXPECT_FALSE(window->mDestroyed);
    EXPECT_EQ(window->Update(0.0f), HV_OK);
    // The destructor's DestroyWindow on the dead handle fails harmlessly (TearDown).
}

TEST_F(WindowTest, WheelPositionIsConvertedFromTheScreen)
{
    Make();
    Push(testwin::Motion(Handle(), 100, 50));
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = SDL_GetWindowID(Handle()->sdlWindow);
    e.wheel.y = -2;
    Push(e);
    Drain();
    EXPECT_EQ(listener.calls, (Calls{"move 200,1050", "wheel 200,1050 -240"}));
}

TEST_F(WindowTest, EndToEndClickDoubleClickTypingAndAltEnter)
{
    win32::SetDoubleClickTime(10000);
    Make();
    HWND h = Handle();
    using testwin::Button;
    Push(Button(h, true, SDL_BUTTON_LEFT, 10, 20));
    Push(Button(h, false, SDL_BUTTON_LEFT, 10, 20));
    Push(Button(h, true, SDL_BUTTON_LEFT, 100, 100));
    Push(Button(h, false, SDL_BUTTON_LEFT, 100, 100));
    Push(Button(h, true, SDL_BUTTON_LEFT, 101, 99));
    Push(Button(h, false, SDL_BUTTON_LEFT, 101, 99));
    Push(Key(true, SDL_SCANCODE_A, SDLK_a));
    Push(testwin::Text(h, "A"));
    Push(Key(false, SDL_SCANCODE_A, SDLK_a));
    Push(Key(true, SDL_SCANCODE_B, SDLK_b));
    Push(testwin::Text(h, "b"));
    Push(Key(false, SDL_SCANCODE_B, SDLK_b));
    Push(Key(true, SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE));
    Push(Key(false, SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE));
    Push(Key(true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT));
    Push(Key(true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT));
    Push(Key(false, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT));
    Push(Key(false, SDL_SCANCODE_LALT, SDLK_LALT));
    Drain();
    EXPECT_EQ(listener.calls, (Calls{"down 20,1020 1", "up 20,1020 1", "down 200,1100 1", "up 200,1100 1",
                                     "dbl 202,1099 1", "up 202,1099 1", "keydown 97", "char 65", "keyup 97",
                                     "keydown 98", "char 98", "keyup 98", "keydown 8", "char 8", "keyup 8",
                                     "keydown 0", "keyup 271", "keyup 0"}));
    EXPECT_TRUE(window->mModeSwitchRequested);
    EXPECT_FALSE(window->mAltHeld);
    EXPECT_EQ(input.mButtonStates[1], 0);
}

TEST_F(WindowTest, ASecondWindowOfTheSameClassAndCaptionStopsTheApplication)
{
    app::Application* application = app::Application::Instance();
    Make(L"Only once");
    app::ApplicationWin32::sAnotherInstance = false;
    TestWindow second(&input, false, false, true);
    EXPECT_EQ(second.Create(0, 0, 640, 510, 640, 480, true, L"Only once"), HV_OK);
    EXPECT_TRUE(app::ApplicationWin32::sAnotherInstance);
    EXPECT_TRUE(application->mStopRequested);
    EXPECT_FALSE(second.mCreated);
    EXPECT_EQ(second.GetHandle(), nullptr);
    EXPECT_TRUE(second.mCalls.empty());
    app::ApplicationWin32::sAnotherInstance = false;
}

int RunSecondCopy(const std::string& folder, const char* title)
{
    return hvtest::RunProgram(SECOND_COPY, {folder, title});
}

TEST_F(WindowTest, ASecondCopyOfTheProgramRestoresTheFirstAndStops)
{
    hvtest::TempDir folder;
    win32::SetSingleInstanceFolder(folder.Path().wstring());
    Make(L"First copy");
    const unsigned before = win32::GetRestoreRequestCount();
    EXPECT_EQ(RunSecondCopy(folder.Path().string(), "First copy"), 2) << "the another-instance path";
    Drain();
    EXPECT_EQ(win32::GetRestoreRequestCount(), before + 1);
    EXPECT_EQ(RunSecondCopy(folder.Path().string(), "Other caption"), 0);
    delete window;
    window = nullptr;
    EXPECT_EQ(RunSecondCopy(folder.Path().string(), "First copy"), 0);
}
} // namespace
