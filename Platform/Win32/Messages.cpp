#include "Platform/Win32/Input.h"
#include "Platform/Win32/WindowState.h"

#include <utf8.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

using namespace win32;

namespace
{
struct Work
{
    int id;
    std::function<void()> fn;
};

std::vector<Work>& WorkList()
{
    static std::vector<Work> list;
    return list;
}

void RunMainThreadWork()
{
    // A copy: work may add or remove work while it runs.
    std::vector<Work> list = WorkList();
    for (Work& w : list)
        w.fn();
}

LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(x, y);
}

bool InsideClient(const WindowImpl& w, int x, int y)
{
    return x >= 0 && y >= 0 && x < w.client.right - w.client.left && y < w.client.bottom - w.client.top;
}

WPARAM MouseKeyFlags()
{
    const BYTE* keys = GetState().keys;
    WPARAM flags = 0;
    if (keys[VK_LBUTTON] & 0x80)
        flags |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & 0x80)
        flags |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & 0x80)
        flags |= MK_MBUTTON;
    if (keys[VK_SHIFT] & 0x80)
        flags |= MK_SHIFT;
    if (keys[VK_CONTROL] & 0x80)
        flags |= MK_CONTROL;
    return flags;
}

void PostEntry(QueuedMessage entry)
{
    entry.msg.time = static_cast<DWORD>(SDL_GetTicks());
    GetState().queue.push_back(std::move(entry));
}

void PostToAll(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (HWND hwnd : GetState().live)
        Post(hwnd, message, wParam, lParam);
}

void TranslateWindowEvent(HWND hwnd, WindowImpl& w, const SDL_WindowEvent& e)
{
    const LPARAM size = MAKELPARAM(w.client.right - w.client.left, w.client.bottom - w.client.top);
    switch (e.event)
    {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Post(hwnd, WM_ACTIVATEAPP, TRUE, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        Post(hwnd, WM_ACTIVATEAPP, FALSE, 0);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        w.minimized = true;
        Post(hwnd, WM_SIZE, SIZE_MINIMIZED, size);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        w.minimized = false;
        w.maximized = true;
        Post(hwnd, WM_SIZE, SIZE_MAXIMIZED, size);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        w.minimized = w.maximized = false;
        Post(hwnd, WM_SIZE, SIZE_RESTORED, size);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        w.client.right = w.client.left + e.data1;
        w.client.bottom = w.client.top + e.data2;
        Post(hwnd, WM_SIZE, w.maximized ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(e.data1, e.data2));
        break;
    case SDL_WINDOWEVENT_MOVED:
        w.client = {e.data1, e.data2, e.data1 + (w.client.right - w.client.left),
                    e.data2 + (w.client.bottom - w.client.top)};
        Post(hwnd, WM_MOVE, 0, MAKELPARAM(e.data1, e.data2));
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        w.paintPending = true;
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Post(hwnd, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_ENTER:
        w.pointerInside = true;
        break;
    case SDL_WINDOWEVENT_LEAVE:
        w.pointerInside = false;
        break;
    default:
        break;
    }
}

void TranslateKey(HWND hwnd, const SDL_KeyboardEvent& e)
{
    const UINT vk = VirtualKeyFromSDL(e.keysym);
    if (!vk)
        return;
    const bool down = e.type == SDL_KEYDOWN;
    const bool altKey = vk == VK_MENU;
    const bool altHeld = (e.keysym.mod & KMOD_ALT) != 0 || (altKey && down);
    QueuedMessage entry;
    entry.msg.hwnd = hwnd;
    entry.msg.message = (altKey || altHeld) ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    entry.msg.wParam = vk;
    entry.msg.lParam = static_cast<LPARAM>(1u | ((e.keysym.scancode & 0xFFu) << 16) | (altHeld ? 1u << 29 : 0u)
                                           | (e.repeat || !down ? 1u << 30 : 0u) | (down ? 0u : 1u << 31));
    entry.mod = e.keysym.mod;
    entry.sidedKey = SidedVirtualKeyFromSDL(e.keysym);
    if (down)
        if (char32_t c = ControlCharacter(vk, e.keysym.mod))
            entry.text = c;
    PostEntry(std::move(entry));
}

void TranslateText(HWND hwnd, const SDL_TextInputEvent& e)
{
    State& s = GetState();
    if (!s.textTarget || s.queue.empty())
        return;
    QueuedMessage& last = s.queue.back();
    if (last.msg.hwnd != hwnd || (last.msg.message != WM_KEYDOWN && last.msg.message != WM_SYSKEYDOWN)
        || !last.text.empty())
        return;
    std::string bytes(e.text, strnlen(e.text, sizeof(e.text)));
    std::string valid = utf8::replace_invalid(bytes);
    last.text = utf8::utf8to32(valid);
}

void TrackPointer(HWND, WindowImpl& w, int x, int y)
{
    w.pointer = {x, y};
    GetState().lastCursor = {w.client.left + x, w.client.top + y};
}

void TranslateButton(HWND hwnd, WindowImpl& w, const SDL_MouseButtonEvent& e)
{
    UINT base;
    switch (e.button)
    {
    case SDL_BUTTON_LEFT:
        base = WM_LBUTTONDOWN;
        break;
    case SDL_BUTTON_RIGHT:
        base = WM_RBUTTONDOWN;
        break;
    case SDL_BUTTON_MIDDLE:
        base = WM_MBUTTONDOWN;
        break;
    default:
        return;
    }
    TrackPointer(hwnd, w, e.x, e.y);
    UINT message = base + 1; // the up message
    if (e.state == SDL_PRESSED)
    {
        // Decided here, not from SDL's click count, so the time and distance
        // are the ones this stand-in documents.
        const PressRecord& prev = w.lastPress;
        const bool isDouble = prev.button == e.button && e.timestamp - prev.time <= GetState().doubleClickTime
                              && std::abs(e.x - prev.x) <= 2 && std::abs(e.y - prev.y) <= 2;
        message = isDouble ? base + 2 : base;
        // The press after a double click starts a new count.
        w.lastPress = isDouble ? PressRecord{} : PressRecord{e.button, e.timestamp, e.x, e.y};
    }
    Post(hwnd, message, MouseKeyFlags(), PointParam(e.x, e.y));
}

void TranslateMotion(HWND hwnd, WindowImpl& w, const SDL_MouseMotionEvent& e)
{
    TrackPointer(hwnd, w, e.x, e.y);
    if (!InsideClient(w, e.x, e.y))
        return;
    State& s = GetState();
    if (!s.queue.empty() && s.queue.back().msg.hwnd == hwnd && s.queue.back().msg.message == WM_MOUSEMOVE)
    {
        s.queue.back().msg.lParam = PointParam(e.x, e.y);
        return;
    }
    Post(hwnd, WM_MOUSEMOVE, MouseKeyFlags(), PointParam(e.x, e.y));
}

void TranslateWheel(HWND hwnd, WindowImpl& w, const SDL_MouseWheelEvent& e)
{
    int notches = e.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.y : e.y;
    if (notches == 0)
        return;
    const int delta = notches * WHEEL_DELTA;
    const WPARAM wParam = (static_cast<WPARAM>(static_cast<WORD>(delta)) << 16) | MouseKeyFlags();
    Post(hwnd, WM_MOUSEWHEEL, wParam, PointParam(w.client.left + w.pointer.x, w.client.top + w.pointer.y));
}

bool Matches(HWND filter, HWND hwnd)
{
    return !filter || filter == hwnd;
}

void FillMessage(MSG* out, HWND hwnd, UINT message, WPARAM wParam)
{
    *out = {};
    out->hwnd = hwnd;
    out->message = message;
    out->wParam = wParam;
    out->time = static_cast<DWORD>(SDL_GetTicks());
}
} // namespace

namespace win32
{
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowImpl* w = LookupWindow(hwnd);
    return w && w->proc ? w->proc(hwnd, message, wParam, lParam) : 0;
}

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    QueuedMessage entry;
    entry.msg.hwnd = hwnd;
    entry.msg.message = message;
    entry.msg.wParam = wParam;
    entry.msg.lParam = lParam;
    PostEntry(std::move(entry));
}

void DropMessages(HWND hwnd)
{
    auto& q = GetState().queue;
    q.erase(std::remove_if(q.begin(), q.end(), [hwnd](const QueuedMessage& m) { return m.msg.hwnd == hwnd; }),
            q.end());
}

void TranslateSDLEvent(const SDL_Event& event)
{
    State& s = GetState();
    const bool wasTextTarget = s.textTarget;
    s.textTarget = false;
    switch (event.type)
    {
    case SDL_QUIT:
        PostToAll(WM_CLOSE, 0, 0);
        return;
    case SDL_DISPLAYEVENT:
        PostToAll(WM_DISPLAYCHANGE, 32, 0);
        return;
    default:
        break;
    }
    uint32_t id = 0;
    switch (event.type)
    {
    case SDL_WINDOWEVENT:
        id = event.window.windowID;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        id = event.key.windowID;
        break;
    case SDL_TEXTINPUT:
        id = event.text.windowID;
        break;
    case SDL_MOUSEMOTION:
        id = event.motion.windowID;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        id = event.button.windowID;
        break;
    case SDL_MOUSEWHEEL:
        id = event.wheel.windowID;
        break;
    default:
        return; // touch and everything else: nothing
    }
    HWND hwnd = FindWindowBySDLId(id);
    if (!hwnd)
        return;
    WindowImpl& w = *LookupWindow(hwnd);
    switch (event.type)
    {
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(hwnd, w, event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(hwnd, event.key);
        s.textTarget = event.type == SDL_KEYDOWN;
        break;
    case SDL_TEXTINPUT:
        s.textTarget = wasTextTarget;
        TranslateText(hwnd, event.text);
        s.textTarget = false;
        break;
    case SDL_MOUSEMOTION:
        TranslateMotion(hwnd, w, event.motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(hwnd, w, event.button);
        break;
    case SDL_MOUSEWHEEL:
        TranslateWheel(hwnd, w, event.wheel);
        break;
    default:
        break;
    }
}

int AddMainThreadWork(std::function<void()> work)
{
    static int nextId = 0;
    WorkList().push_back({++nextId, std::move(work)});
    return nextId;
}

void RemoveMainThreadWork(int id)
{
    auto& list = WorkList();
    list.erase(std::remove_if(list.begin(), list.end(), [id](const Work& w) { return w.id == id; }), list.end());
}

void SetTimerClock(std::function<uint64_t()> clock)
{
    GetState().clock = std::move(clock);
}

void SetDoubleClickTime(uint32_t ms)
{
    GetState().doubleClickTime = ms;
}

uint32_t GetDoubleClickTime()
{
    return GetState().doubleClickTime;
}
} // namespace win32

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT, UINT, UINT removeMsg)
{
    RunMainThreadWork();
    if (!msg || !SDL_WasInit(SDL_INIT_VIDEO))
        return FALSE;
    PollRestoreRequests();
    HideWindowsLeftHidden();
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        TranslateSDLEvent(event);

    State& s = GetState();
    for (auto it = s.queue.begin(); it != s.queue.end(); ++it)
    {
        if (!Matches(hwnd, it->msg.hwnd))
            continue;
        *msg = it->msg;
        if (removeMsg & PM_REMOVE)
        {
            QueuedMessage entry = std::move(*it);
            s.queue.erase(it);
            OnMessageTaken(entry);
        }
        return TRUE;
    }
    // Paint, then timers, only when nothing else waits.
    for (HWND w : s.live)
        if (Matches(hwnd, w) && LookupWindow(w)->paintPending)
        {
            FillMessage(msg, w, WM_PAINT, 0);
            return TRUE;
        }
    const uint64_t now = Now();
    for (HWND w : s.live)
    {
        if (!Matches(hwnd, w))
            continue;
        for (Timer& t : LookupWindow(w)->timers)
            if (now >= t.due)
            {
                FillMessage(msg, w, WM_TIMER, t.id);
                if (removeMsg & PM_REMOVE)
                    t.due = now + t.interval; // never accumulated
                return TRUE;
            }
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG* msg)
{
    State& s = GetState();
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) || !s.hasLastKeyDown
        || s.lastKeyText.empty())
        return FALSE;
    const MSG& k = s.lastKeyDown;
    if (k.hwnd != msg->hwnd || k.message != msg->message || k.wParam != msg->wParam || k.lParam != msg->lParam)
        return FALSE;
    const UINT charMessage = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    // At the front, in text order.
    for (auto c = s.lastKeyText.rbegin(); c != s.lastKeyText.rend(); ++c)
    {
        QueuedMessage entry;
        entry.msg = *msg;
        entry.msg.message = charMessage;
        entry.msg.wParam = *c;
        s.queue.push_front(std::move(entry));
    }
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg)
{
    if (!msg)
        return 0;
    return Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w)
        return 0;
    Timer timer{id, elapseMs, Now() + elapseMs};
    for (Timer& t : w->timers)
        if (t.id == id)
        {
            t = timer;
            return id;
        }
    w->timers.push_back(timer);
    return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    WindowImpl* w = LookupWindow(hwnd);
    if (!w)
        return FALSE;
    auto it = std::remove_if(w->timers.begin(), w->timers.end(), [id](const Timer& t) { return t.id == id; });
    BOOL found = it != w->timers.end() ? TRUE : FALSE;
    w->timers.erase(it, w->timers.end());
    return found;
}
