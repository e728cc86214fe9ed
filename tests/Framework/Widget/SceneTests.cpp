#include "ButtonTestSupport.h"

#include <gtest/gtest.h>

namespace
{
using namespace widgettest;

// A root board with "Play" and "Quit"; "Play" opens a modal "Confirm" frame
// whose "OK" closes it again. Everything is driven through the frame manager.
TEST(Scene, AScriptedSessionGivesTheExpectedLog)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard board(&log, "Board", 0, 0, 1024, 768);
    TestButton play(&log, "Play", 100, 100, 100, 40);
    TestButton quit(&log, "Quit", 100, 200, 100, 40);
    auto* confirm = new RecordingBoard(&log, "Confirm", 300, 300, 200, 100);
    auto* ok = new TestButton(&log, "OK", 350, 350, 100, 40);
    board.AddChild(&play.button, nullptr);
    board.AddChild(&quit.button, nullptr);
    confirm->AddChild(&ok->button, nullptr);
    play.clicks.mOnClick = [&] { manager.PushDialog(confirm, true); };
    ok->clicks.mOnClick = [&] { manager.CloseFrame(confirm, true, true); };

    manager.OpenFrame(&board, false, true, true);
    // What the application does once per frame, and what input does between frames.
    auto frame = [&] { ASSERT_EQ(manager.Update(1.0f / 60), HV_OK); };
    frame();

    struct Event
    {
        char kind;
        float x, y;
    };
    const Event script[] = {
        {'m', 150, 120}, {'d', 150, 120}, {'u', 150, 120}, // click Play
        {'m', 150, 220}, {'d', 150, 220}, {'u', 150, 220}, // Quit is blocked by the dialog
        {'m', 400, 370}, {'d', 400, 370}, {'g', 10, 10},   // OK pressed, dragged off
        {'g', 400, 370}, {'u', 400, 370},                  // back on, released: click OK
        {'m', 150, 220}, {'d', 150, 220}, {'u', 150, 220}, // click Quit
    };
    for (const Event& e : script)
    {
        const input::Point p = At(e.x, e.y);
        HVResultEnum result = HV_OK;
        switch (e.kind)
        {
        case 'm': result = manager.OnMouseMove(p); break;
        case 'd': result = manager.OnMouseDown(p, 1); break;
        case 'g': result = manager.OnMouseDrag(p); break;
        case 'u': result = manager.OnMouseUp(p, 1); break;
        }
        ASSERT_EQ(result, HV_OK);
        frame();
    }

    Log expected = {
        "Board OnOpen", "Board OnActivate",
        // Play: hover, press, release
        "Play state 1", "Board OnChildHover 1", "Play state 2", "Play state 1", "Play click",
        // the dialog opens at the next update and takes the activation
        "Confirm OnOpen", "Board OnDeactivate", "Confirm OnActivate",
        // over Quit: the dialog blocks, the board's hover is cleared
        "Play state 0", "Board OnChildHover 0",
        // OK: hover, press, off, back on, release
        "OK state 1", "Confirm OnChildHover 1", "OK state 2", "OK state 0", "Confirm OnChildHover 0",
        "OK state 2", "Confirm OnChildHover 1", "OK state 1", "OK click",
        // closed and deleted at the next update
        "Confirm OnClose", "Confirm deleted",
        // Quit: hover, press (activating the board again), release
        "Quit state 1", "Board OnChildHover 1", "Board OnActivate", "Quit state 2", "Quit state 1", "Quit click",
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(play.clicks.mClicks, 1);
    EXPECT_EQ(quit.clicks.mClicks, 1);
    EXPECT_EQ(ok->clicks.mClicks, 1);
    EXPECT_EQ(manager.GetActiveFrame(), &board);

    manager.CloseAll(false, false);
    board.Clear(false, false, 1);
    delete ok;
}
} // namespace
