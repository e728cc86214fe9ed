#include "support/TestWindow.h"

#include <gtest/gtest.h>

using namespace testwin;

namespace
{
uint64_t g_now = 0;

class MessageQueueTest : public WindowTest
{
protected:
    void SetUp() override
    {
        g_now = 1000;
        win32::SetTimerClock([] { return g_now; });
        WindowTest::SetUp();
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        win32::SetTimerClock(nullptr);
        win32::SetDoubleClickTime(500);
    }
};

struct QueueCase
{
    const char* name;
    std::vector<SDL_Event> (*events)(HWND);
    std::vector<UINT> messages;
    std::vector<LPARAM> params;
};

TEST_F(MessageQueueTest, PushedSequencesBecomeMessagesOneAtATime)
{
    const QueueCase cases[] = {
        {"three motions merge into the last",
         [](HWND h) { return std::vector<SDL_Event>{Motion(h, 1, 2), Motion(h, 3, 4), Motion(h, 5, 6)}; },
         {WM_MOUSEMOVE}, {MAKELPARAM(5, 6)}},
        {"motion is not merged across a press",
         [](HWND h) {
             return std::vector<SDL_Event>{Motion(h, 1, 2), Button(h, true, SDL_BUTTON_LEFT, 3, 4), Motion(h, 7, 8)};
         },
         {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE}, {MAKELPARAM(1, 2), MAKELPARAM(3, 4), MAKELPARAM(7, 8)}},
        {"motion outside the client area is not delivered",
         [](HWND h) { return std::vector<SDL_Event>{Motion(h, -5, 10), Motion(h, 640, 10), Motion(h, 10, 480)}; },
         {}, {}},
        {"a press after a close keeps its order",
         [](HWND h) {
             return std::vector<SDL_Event>{WindowEvent(h, SDL_WINDOWEVENT_CLOSE),
                                           Button(h, true, SDL_BUTTON_RIGHT, 9, 9)};
         },
         {WM_CLOSE, WM_RBUTTONDOWN}, {0, MAKELPARAM(9, 9)}},
        {"negative positions keep their sign in the halves",
         [](HWND h) { return std::vector<SDL_Event>{Button(h, false, SDL_BUTTON_LEFT, -3, -4)}; },
         {WM_LBUTTONUP}, {MAKELPARAM(-3, -4)}},
    };
    for (const QueueCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        rec.log.clear();
        for (const SDL_Event& e : c.events(hwnd))
            Push(e);
        for (size_t i = 0; i < c.messages.size(); ++i)
        {
            size_t before = rec.log.size();
            ASSERT_TRUE(PumpOne(hwnd));
            ASSERT_EQ(rec.log.size(), before + 1) << "one message per call";
        }
        EXPECT_FALSE(PumpOne(hwnd));
        ASSERT_EQ(Messages(), c.messages);
        for (size_t i = 0; i < c.params.size(); ++i)
        {
            EXPECT_EQ(GET_X_LPARAM(rec.log[i].lParam), GET_X_LPARAM(c.params[i]));
            EXPECT_EQ(GET_Y_LPARAM(rec.log[i].lParam), GET_Y_LPARAM(c.params[i]));
        }
    }
}

TEST_F(MessageQueueTest, NullAndWindowFilterTakeTheSameMessage)
{
    Push(Button(hwnd, true, SDL_BUTTON_LEFT, 1, 1));
    Push(Button(hwnd, false, SDL_BUTTON_LEFT, 2, 2));
    MSG a, b;
    ASSERT_TRUE(PeekMessageW(&a, nullptr, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&b, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(a.hwnd, hwnd);
    EXPECT_EQ(a.message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(b.message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_FALSE(PeekMessageW(&a, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, TimerOnlyWhenNothingWaitsAndNeverAccumulated)
{
    SetTimer(hwnd, 100, 10, nullptr);
    MSG msg;
    g_now += 9;
    EXPECT_FALSE(PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE)) << "not due before 10 ms";

    g_now += 21; // 30 ms: three intervals, one message
    Push(Motion(hwnd, 1, 1));
    ASSERT_TRUE(PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_MOUSEMOVE)) << "a waiting message comes first";
    ASSERT_TRUE(PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.wParam, 100u);
    EXPECT_FALSE(PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE)) << "missed intervals are not delivered";
    g_now += 10;
    EXPECT_TRUE(PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, PendingPaintComesBeforeTheTimerUntilValidated)
{
    SetTimer(hwnd, 100, 10, nullptr);
    g_now += 50;
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_EXPOSED));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    ASSERT_TRUE(PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT)) << "paint stays until BeginPaint";
    DispatchMessageW(&msg); // the recorder's BeginPaint validates
    ASSERT_TRUE(PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
}

TEST_F(MessageQueueTest, UpdateWindowSendsAPendingPaintAtOnce)
{
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_EXPOSED));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    EXPECT_TRUE(rec.log.empty());
    UpdateWindow(hwnd);
    ASSERT_EQ(Messages(), std::vector<UINT>{WM_PAINT});
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(WindowCreation, CreateSendsCreateSizeMoveBeforeUserDataAndDestroySendsDestroy)
{
    Recorder rec;
    HWND hwnd = MakeWindow(rec);
    ASSERT_NE(hwnd, nullptr);
    ASSERT_GE(rec.log.size(), 3u);
    EXPECT_EQ(rec.log[0].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(rec.log[1].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(LOWORD(rec.log[1].lParam), 640);
    EXPECT_EQ(HIWORD(rec.log[1].lParam), 480) << "client size: outer less the title bar";
    EXPECT_EQ(rec.log[2].message, static_cast<UINT>(WM_MOVE));
    EXPECT_EQ(GET_X_LPARAM(rec.log[2].lParam), 100);
    EXPECT_EQ(GET_Y_LPARAM(rec.log[2].lParam), 130);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rec.log[i].userData, 0);

    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 42);
    Push(Button(hwnd, true, SDL_BUTTON_LEFT, 1, 1));
    SetTimer(hwnd, 100, 0, nullptr);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)); // translated, still queued
    rec.log.clear();
    EXPECT_TRUE(DestroyWindow(hwnd));
    ASSERT_EQ(rec.log.size(), 1u);
    EXPECT_EQ(rec.log[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(rec.log[0].userData, 42);

    // Queued messages and timers of the destroyed window are gone; every call fails harmlessly.
    rec.log.clear();
    PumpAll(nullptr);
    EXPECT_TRUE(rec.log.empty());
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
    EXPECT_FALSE(SetWindowPos(hwnd, nullptr, 0, 0, 10, 10, 0));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), 0);
    EXPECT_EQ(SetTimer(hwnd, 100, 10, nullptr), 0u);
    EXPECT_EQ(win32::GetSDLWindow(hwnd), nullptr);
    POINT p{1, 1};
    EXPECT_FALSE(ClientToScreen(hwnd, &p));
    msg = {};
    msg.hwnd = hwnd;
    msg.message = WM_CLOSE;
    EXPECT_EQ(DispatchMessageW(&msg), 0);
    EXPECT_TRUE(rec.log.empty());
    CurrentRecorder() = nullptr;
}

TEST(WindowCreation, FailureSwitchAndUnknownClassGiveNull)
{
    Recorder rec;
    win32::SetCreateWindowFails(true);
    EXPECT_EQ(MakeWindow(rec), nullptr);
    win32::SetCreateWindowFails(false);
    EXPECT_TRUE(rec.log.empty());
    EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"x", kWindowed, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    CurrentRecorder() = nullptr;
}

TEST(WindowCreation, SecondClassRegistrationFails)
{
    RegisterTestClass();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = CALLBACK_Proc;
    wc.lpszClassName = L"TestWindow";
    EXPECT_EQ(RegisterClassExW(&wc), 0);
}

TEST_F(MessageQueueTest, DoubleClicksByTimeDistanceAndButton)
{
    struct Case
    {
        const char* name;
        int firstButton, secondButton;
        int dx, dy;
        uint32_t doubleClickMs;
        int delayMs;
        UINT expected;
    };
    const Case cases[] = {
        {"same button, in time, 2 units away", SDL_BUTTON_LEFT, SDL_BUTTON_LEFT, 2, -2, 10000, 0, WM_LBUTTONDBLCLK},
        {"3 units away", SDL_BUTTON_LEFT, SDL_BUTTON_LEFT, 3, 0, 10000, 0, WM_LBUTTONDOWN},
        {"other button", SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, 0, 0, 10000, 0, WM_RBUTTONDOWN},
        {"too late", SDL_BUTTON_LEFT, SDL_BUTTON_LEFT, 0, 0, 5, 30, WM_LBUTTONDOWN},
        {"right button double", SDL_BUTTON_RIGHT, SDL_BUTTON_RIGHT, 0, 0, 10000, 0, WM_RBUTTONDBLCLK},
    };
    int x = 10;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        win32::SetDoubleClickTime(c.doubleClickMs);
        x += 50; // far from the previous case
        Push(Button(hwnd, true, c.firstButton, x, 40));
        Push(Button(hwnd, false, c.firstButton, x, 40));
        PumpAll(hwnd);
        if (c.delayMs)
            SDL_Delay(c.delayMs);
        rec.log.clear();
        Push(Button(hwnd, true, c.secondButton, x + c.dx, 40 + c.dy));
        PumpAll(hwnd);
        ASSERT_EQ(rec.log.size(), 1u);
        EXPECT_EQ(rec.log[0].message, c.expected);
        Push(Button(hwnd, false, c.secondButton, x, 40));
        PumpAll(hwnd);
    }
}

TEST_F(MessageQueueTest, ThirdQuickPressStartsANewCount)
{
    win32::SetDoubleClickTime(10000);
    for (int i = 0; i < 4; ++i)
    {
        Push(Button(hwnd, true, SDL_BUTTON_LEFT, 20, 20));
        Push(Button(hwnd, false, SDL_BUTTON_LEFT, 20, 20));
    }
    PumpAll(hwnd);
    std::vector<UINT> downs;
    for (const Received& r : rec.log)
        if (r.message != WM_LBUTTONUP)
            downs.push_back(r.message);
    EXPECT_EQ(downs, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
}

TEST_F(MessageQueueTest, WheelNotchesInScreenCoordinates)
{
    Push(Motion(hwnd, 100, 50));
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = SDL_GetWindowID(hwnd->sdlWindow);
    e.wheel.y = 1;
    Push(e);
    e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    Push(e);
    e.wheel.y = 0;
    Push(e);
    PumpAll(hwnd);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_MOUSEMOVE, WM_MOUSEWHEEL, WM_MOUSEWHEEL}));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(rec.log[1].wParam), 120);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(rec.log[2].wParam), -120);
    POINT p{GET_X_LPARAM(rec.log[1].lParam), GET_Y_LPARAM(rec.log[1].lParam)};
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 180);
    ScreenToClient(hwnd, &p);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 50);
}

TEST_F(MessageQueueTest, WindowEventsBecomeMessages)
{
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_FOCUS_LOST));
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_MINIMIZED));
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_RESTORED));
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_FOCUS_GAINED));
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_MOVED, 300, 200));
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_ENTER));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    PumpAll(hwnd);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_ACTIVATEAPP, WM_SIZE, WM_SIZE, WM_ACTIVATEAPP, WM_MOVE, WM_CLOSE}));
    EXPECT_EQ(rec.log[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(rec.log[1].wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
    EXPECT_EQ(rec.log[2].wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(rec.log[3].wParam, static_cast<WPARAM>(TRUE));
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(origin.x, 300);
    EXPECT_EQ(origin.y, 200);
}

TEST_F(MessageQueueTest, PlacementFollowsMinimiseAndTheFrameRule)
{
    WINDOWPLACEMENT wp{};
    ASSERT_TRUE(GetWindowPlacement(hwnd, &wp));
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(wp.rcNormalPosition.left, 100);
    EXPECT_EQ(wp.rcNormalPosition.top, 100);
    EXPECT_EQ(wp.rcNormalPosition.bottom, 610);
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_MINIMIZED));
    PumpAll(hwnd);
    GetWindowPlacement(hwnd, &wp);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    ShowWindow(hwnd, SW_RESTORE);
    GetWindowPlacement(hwnd, &wp);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
}

TEST_F(MessageQueueTest, AltF4ClosesThroughTheDefaultProcedure)
{
    Push(Key(hwnd, true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT));
    Push(Key(hwnd, true, SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT));
    PumpAll(hwnd);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_CLOSE}));
    EXPECT_EQ(rec.log[1].wParam, static_cast<WPARAM>(VK_F4));
    EXPECT_TRUE(rec.log[1].lParam & (1 << 29));
    EXPECT_EQ(DefWindowProcW(hwnd, WM_QUERYOPEN, 0, 0), TRUE);
    EXPECT_EQ(DefWindowProcW(hwnd, WM_KEYDOWN, 'A', 0), 0);
}

TEST_F(MessageQueueTest, MainThreadWorkRunsOnEveryPeek)
{
    int runs = 0;
    int id = win32::AddMainThreadWork([&runs] { ++runs; });
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE);
    win32::RemoveMainThreadWork(id);
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(runs, 2);
}
} // namespace
