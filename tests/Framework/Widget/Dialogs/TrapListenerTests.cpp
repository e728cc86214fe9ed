#include "Framework/Layer/RectHitLayer.h"
#include "Framework/Widget/TrapHitTestListener.h"
#include "Framework/Widget/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using widgettest::At;
using widgettest::Log;
using widgettest::RecordingBoard;
using widgettest::TestWidget;

bool Mentions(const Log& log, const std::string& who)
{
    return std::any_of(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(who + " ", 0) == 0; });
}

struct Scene
{
    explicit Scene(bool withTrap) : board(&log, "B", 0, 0, 100, 100), other(&log, "O", 200, 200, 10, 10), w(&log, "W", 10, 10, 20, 20), trap(&board)
    {
        manager.OpenFrame(&board, false, false, false);
        manager.OpenFrame(&other, false, true, false);
        board.AddChild(w.self, nullptr);
        if (withTrap)
        {
            trapLayer = new layer::RectHitLayer(5, 5, 40, 40);
            trapLayer->mHitListener = &trap;
            board.mLayer->AddChild(trapLayer);
        }
        log.clear();
    }
    ~Scene()
    {
        manager.CloseAll(false, false);
        delete trapLayer;
    }

    void Pointer()
    {
        manager.OnMouseMove(At(15, 15));
        manager.OnMouseDown(At(15, 15), 1);
        manager.OnMouseUp(At(15, 15), 1);
        manager.OnMouseWheel(At(15, 15), 120);
    }

    Log log;
    widget::FrameManager manager;
    RecordingBoard board;
    RecordingBoard other;
    TestWidget w;
    widget::TrapHitTestListener trap;
    layer::RectHitLayer* trapLayer = nullptr;
};

TEST(TrapHitTestListener, SwallowsThePointerForEverythingBelow)
{
    {
        Scene open(false);
        open.Pointer();
        EXPECT_TRUE(Mentions(open.log, "W")) << "without the trap the widget below is reached";
    }
    Scene trapped(true);
    trapped.Pointer();
    EXPECT_FALSE(Mentions(trapped.log, "W"));
    EXPECT_EQ(std::count(trapped.log.begin(), trapped.log.end(), "B MouseDown 1"), 0);
    EXPECT_EQ(std::count(trapped.log.begin(), trapped.log.end(), "B Wheel 120"), 0);
    // The press still activates the owner's frame.
    EXPECT_EQ(trapped.manager.GetActiveFrame(), &trapped.board);
}

TEST(TrapHitTestListener, MoveOverItClearsTheHover)
{
    Scene scene(false);
    scene.manager.OnMouseMove(At(15, 15));
    ASSERT_EQ(scene.board.mHoverWidget, scene.w.self);
    scene.trapLayer = new layer::RectHitLayer(5, 5, 40, 40);
    scene.trapLayer->mHitListener = &scene.trap;
    scene.board.mLayer->AddChild(scene.trapLayer);
    scene.manager.OnMouseMove(At(16, 16));
    EXPECT_EQ(scene.board.mHoverWidget, nullptr);
    EXPECT_FALSE(scene.w.self->IsHovered());
}

TEST(TrapHitTestListener, ReservedOperationAnswersZero)
{
    widget::TrapHitTestListener trap(nullptr);
    EXPECT_EQ(trap.Reserved(nullptr, math::Vector3(), 3), HV_OK);
    // Without an owner every event is swallowed quietly.
    EXPECT_EQ(trap.OnMouseDown(math::Vector3(), 1), HV_OK);
    EXPECT_EQ(trap.OnMouseMove(math::Vector3()), HV_OK);
}
} // namespace
