#pragma once

#include "Core/Base/DeferredDelete.h"
#include "Core/Base/Result.h"
#include "Core/Base/Task.h"
#include "Core/Input/Point.h"
#include "Framework/Widget/CaptureInfo.h"

#include <array>
#include <cstdint>
#include <vector>

namespace render
{
class Graphics;
}

namespace widget
{
class Frame;
class Widget;

// Keeps the stack of open frames (boards at the bottom, frames above the
// boards in the middle, modal dialogs on top), opens and closes them at once
// or through request queues run at its next update, routes the pointer with
// capture, hover and activation, updates the open widget trees and draws the
// frames bottom to top.
class FrameManager : public base::Task, public base::DeferredDeleteManager
{
public:
    enum FrameKind
    {
        kBoard = 0,
        kAboveBoards = 1,
        kModalDialog = 2,
    };

    struct StackEntry
    {
        Frame* mFrame;
        int mKind;
    };

    FrameManager();
    // Deletes the deferred queue, the child tasks (joined or pending) and an
    // owned cursor frame. Frames still open are unlinked, not closed.
    ~FrameManager() override;

    // Queued requests run at the next Update. Opening a frame that is
    // already open changes nothing but the activation.
    HVResultEnum OpenFrame(Frame* frame, bool aboveBoards, bool activate, bool queued);
    HVResultEnum PushDialog(Frame* frame, bool queued);
    // 1 when the frame is not open.
    HVResultEnum CloseFrame(Frame* frame, bool deleteFrame, bool queued);
    HVResultEnum CloseAll(bool deleteFrames, bool clear);
    // Appends an open request of any kind to the current queue, as OpenFrame
    // and PushDialog do when queued.
    void QueueOpenRequest(Frame* frame, int kind, bool activate);

    HVResultEnum Update(float dt) override;
    HVResultEnum Draw(render::Graphics* graphics);

    HVResultEnum OnMouseDown(const input::Point& position, int button);
    HVResultEnum OnMouseUp(const input::Point& position, int button);
    HVResultEnum OnDoubleClick(const input::Point& position, int button);
    HVResultEnum OnMouseMove(const input::Point& position);
    HVResultEnum OnMouseDrag(const input::Point& position);
    HVResultEnum OnMouseWheel(const input::Point& position, int delta);
    // Re-runs the move routing at the last pointer position.
    HVResultEnum RefreshHover();

    // Makes `frame` the active frame, deactivating the previous one.
    HVResultEnum Activate(Frame* frame);
    // Takes the capture for the widget it names and sets its captured flag.
    void SetCapture(const CaptureInfo& capture);
    // Ends the capture: the widget's captured flag, widget and layer cleared.
    void ReleaseCapture();
    // Ends the capture when the captured widget lies in `root`'s subtree.
    void ReleaseCaptureWithin(const Widget* root);

    const std::vector<StackEntry>& GetStack() const { return mStack; }
    // The stack index of `frame`, or -1.
    int FindFrame(const Frame* frame) const;
    Frame* GetActiveFrame() const { return mActiveFrame; }
    Frame* GetHoveredFrame() const { return mHoveredFrame; }
    void SetHoveredFrame(Frame* frame) { mHoveredFrame = frame; }
    const CaptureInfo& GetCapture() const { return mCapture; }
    CaptureInfo& GetCapture() { return mCapture; }
    const input::Point& GetLastPointer() const { return mLastPointer; }

protected:
    // A frame that follows the pointer, updated with the others and drawn
    // last. Nothing installs one yet.
    Frame* mCursorFrame = nullptr;
    uint8_t mOwnsCursorFrame = 0;

private:
    struct OpenRequest
    {
        Frame* mFrame;
        int mKind;
        uint8_t mActivate;
    };
    struct CloseRequest
    {
        Frame* mFrame;
        uint8_t mDelete;
    };
    enum class Event
    {
        kDown,
        kUp,
        kDoubleClick,
        kMove,
        kDrag,
        kWheel,
    };
    friend class Frame;
    friend class Widget;

    HVResultEnum Route(Event event, const input::Point& position, int extra);
    HVResultEnum RouteCaptured(Event event, const input::Point& position, int extra);
    HVResultEnum HitTestFrame(Frame* frame, Event event, const input::Point& position, int extra, bool& handled);
    HVResultEnum InsertAndOpen(Frame* frame, int kind);
    // With notify, the frame and its tree are told they close; then the
    // frame is unlinked and leaves the stack.
    HVResultEnum Unlink(Frame* frame, bool notify);
    HVResultEnum RunOpenRequests();
    HVResultEnum RunCloseRequests();
    // Forgets a frame that is being destroyed while still linked.
    void Forget(Frame* frame);
    // Forgets a captured widget that is being destroyed, without touching it.
    void ForgetCapturedWidget(const Widget* widget);

    Frame* mActiveFrame = nullptr;
    Frame* mHoveredFrame = nullptr;
    std::vector<StackEntry> mStack;
    std::array<std::vector<OpenRequest>, 2> mOpenRequests;
    int mOpenIndex = 0;
    std::array<std::vector<CloseRequest>, 2> mCloseRequests;
    int mCloseIndex = 0;
    CaptureInfo mCapture;
    input::Point mLastPointer;
};
} // namespace widget
