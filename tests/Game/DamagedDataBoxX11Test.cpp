// The built program on a real X server with a data root missing its HUD
// layout: the player sees a system message box (a dialog window of its own)
// and, once it is closed, the program exits with 1.
#include "GameFixture.h"

#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>

namespace
{
constexpr int kDamagedDataExitCode = 1;

// Windows come and go while the tree is walked; a query on one just gone
// must not end the test, as Xlib's default handler would.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

bool HasAtom(Display* display, Window window, Atom property, Atom wanted)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 16, False, XA_ATOM, &type, &format, &count, &left, &data)
            != Success
        || !data)
        return false;
    bool found = false;
    for (unsigned long i = 0; i < count && format == 32; ++i)
        found = found || reinterpret_cast<Atom*>(data)[i] == wanted;
    XFree(data);
    return found;
}

// A mapped dialog window anywhere under the root (a window manager reparents it).
Window FindShownDialog(Display* display, Window parent)
{
    const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    Window root = None;
    Window up = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return None;
    Window found = None;
    for (unsigned int i = 0; i < count && found == None; ++i)
    {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        found = HasAtom(display, children[i], type, dialog) ? children[i] : FindShownDialog(display, children[i]);
    }
    if (children)
        XFree(children);
    return found;
}

// Closes the window as its title bar's close button would.
void RequestClose(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

TEST(GameProgramX11, DamagedDataShowsASystemBoxThenExitsWithOne)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "no X display";
    XSetErrorHandler(IgnoreError);
    hvtest::TempFolder user;
    const hvtest::ScopedEnv userEnv("XDG_DATA_HOME", user.Folder().string());
    gametest::DataRoot data;
    gametest::WriteGameContent(data);
    gametest::WriteRequiredData(data);
    std::filesystem::remove_all(data.Folder().File("nq/ui"));

    const pid_t child = hvtest::Spawn(GAME_PROGRAM, {"--data_path", data.Folder().Folder().string()});
    ASSERT_GT(child, 0);
    Window box = None;
    int status = 0;
    const bool shown = hvtest::Eventually([&] {
        box = FindShownDialog(display, DefaultRootWindow(display));
        return box != None || waitpid(child, &status, WNOHANG) == child;
    });
    if (!shown || box == None)
    {
        if (!shown)
        {
            kill(child, SIGKILL);
            hvtest::Wait(child);
        }
        XCloseDisplay(display);
        FAIL() << (shown ? "the program exited without a box" : "no box and the program ran on");
    }
    EXPECT_EQ(waitpid(child, nullptr, WNOHANG), 0) << "the box waits for the player";
    RequestClose(display, box);
    XCloseDisplay(display);
    if (!hvtest::Eventually([&] { return waitpid(child, &status, WNOHANG) == child; }))
    {
        kill(child, SIGKILL);
        hvtest::Wait(child);
        FAIL() << "the program ran on after the box was closed";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kDamagedDataExitCode);
}
} // namespace
