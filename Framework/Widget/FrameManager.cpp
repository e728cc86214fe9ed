#include "Framework/Widget/FrameManager.h"

#include "Core/Base/LogMessage.h"
#include "Framework/Layer/Layer.h"
#include "Framework/Widget/Frame.h"
#include "Framework/Widget/WidgetListener.h"

#include <algorithm>

namespace widget
{
namespace
{
// Runs double-buffered requests until the current queue stays empty. Requests
// made meanwhile go to the other queue and run in a later round. Each request
// leaves its queue before it runs; on a failure the unexecuted rest stays
// queued ahead of the newer requests, so nothing runs twice or is lost.
template <class Request, class Execute>
HVResultEnum RunRequests(std::array<std::vector<Request>, 2>& queues, int& current, Execute execute)
{
    while (!queues[current].empty())
    {
        const int taken = current;
        current ^= 1;
        std::vector<Request>& queue = queues[taken];
        while (!queue.empty())
        {
            const Request request = queue.front();
            queue.erase(queue.begin());
            if (const HVResultEnum result = execute(request); result != HV_OK)
            {
                std::vector<Request>& newer = queues[current];
                queue.insert(queue.end(), newer.begin(), newer.end());
                newer.clear();
                current = taken;
                return result;
            }
        }
    }
    return HV_OK;
}

template <class Request>
void EraseRequestsFor(std::array<std::vector<Request>, 2>& queues, const Frame* frame)
{
    for (std::vector<Request>& queue : queues)
        std::erase_if(queue, [frame](const Request& request) { return request.mFrame == frame; });
}

HVResultEnum OpenChildren(Frame* frame, FrameManager* manager)
{
    for (size_t i = 0; i < frame->mChildren.size(); ++i)
    {
        if (const HVResultEnum result = frame->mChildren[i]->SetFrameManager(manager); result != HV_OK)
            return result;
    }
    return HV_OK;
}
} // namespace

FrameManager::FrameManager() : base::Task(false, false, true, false)
{
}

FrameManager::~FrameManager()
{
    DeleteAll();
    for (const StackEntry& entry : mStack)
    {
        if (entry.mFrame->mFrameManager == this)
            entry.mFrame->mFrameManager = nullptr;
    }
    mStack.clear();
    ReleaseCapture();
    DeleteChildren();
    for (base::Task* task : mPendingChildren)
        delete task;
    mPendingChildren.clear();
    if (mOwnsCursorFrame)
    {
        Frame* cursor = mCursorFrame;
        mCursorFrame = nullptr;
        delete cursor;
    }
}

int FrameManager::FindFrame(const Frame* frame) const
{
    for (size_t i = 0; i < mStack.size(); ++i)
    {
        if (mStack[i].mFrame == frame)
            return static_cast<int>(i);
    }
    return -1;
}

void FrameManager::QueueOpenRequest(Frame* frame, int kind, bool activate)
{
    mOpenRequests[mOpenIndex].push_back({frame, kind, static_cast<uint8_t>(activate)});
}

HVResultEnum FrameManager::InsertAndOpen(Frame* frame, int kind)
{
    if (FindFrame(frame) >= 0)
    {
        HV_LOG(L"A frame already open was opened again; it keeps its place\n");
        return HV_OK;
    }

    auto firstOf = [this](auto predicate) {
        return std::find_if(mStack.begin(), mStack.end(), predicate);
    };
    const StackEntry entry{frame, kind};
    if (kind == kAboveBoards && !mStack.empty() && mStack.back().mKind == kModalDialog)
        mStack.insert(firstOf([](const StackEntry& e) { return e.mKind == kModalDialog; }), entry);
    else if (kind == kBoard && !mStack.empty() && mStack.back().mKind != kBoard)
        mStack.insert(firstOf([](const StackEntry& e) { return e.mKind != kBoard; }), entry);
    else
        mStack.push_back(entry);

    frame->mFrameManager = this;
    if (frame->mListener)
    {
        if (const HVResultEnum result = frame->mListener->OnOpen(); result != HV_OK)
            return result;
    }
    return OpenChildren(frame, this);
}

HVResultEnum FrameManager::Activate(Frame* frame)
{
    if (mActiveFrame == frame)
        return HV_OK;
    if (Frame* old = mActiveFrame; old && old->mActive)
    {
        old->mActive = 0;
        if (const HVResultEnum result = old->OnDeactivate(); result != HV_OK)
            return result;
    }
    mActiveFrame = frame;
    if (frame && !frame->mActive)
    {
        frame->mActive = 1;
        return frame->OnActivate();
    }
    return HV_OK;
}

HVResultEnum FrameManager::OpenFrame(Frame* frame, bool aboveBoards, bool activate, bool queued)
{
    const int kind = aboveBoards ? kAboveBoards : kBoard;
    if (queued)
    {
        QueueOpenRequest(frame, kind, activate);
        return HV_OK;
    }
    if (const HVResultEnum result = InsertAndOpen(frame, kind); result != HV_OK)
        return result;
    return activate ? Activate(frame) : HV_OK;
}

HVResultEnum FrameManager::PushDialog(Frame* frame, bool queued)
{
    if (queued)
    {
        QueueOpenRequest(frame, kModalDialog, true);
        return HV_OK;
    }
    if (const HVResultEnum result = InsertAndOpen(frame, kModalDialog); result != HV_OK)
        return result;
    return Activate(frame);
}

HVResultEnum FrameManager::CloseFrame(Frame* frame, bool deleteFrame, bool queued)
{
    if (queued)
    {
        mCloseRequests[mCloseIndex].push_back({frame, static_cast<uint8_t>(deleteFrame)});
        return HV_OK;
    }
    if (FindFrame(frame) < 0)
    {
        const HVResultEnum result = RefreshHover();
        return result != HV_OK ? result : HV_FAIL;
    }

    if (mHoveredFrame == frame)
        mHoveredFrame = nullptr;
    // The frame keeps its active flag: reopening it does not activate it again.
    if (mActiveFrame == frame)
        mActiveFrame = nullptr;
    ReleaseCaptureWithin(frame);

    if (const HVResultEnum result = Unlink(frame, true); result != HV_OK)
        return result;
    if (deleteFrame)
        delete frame;
    return HV_OK;
}

HVResultEnum FrameManager::Unlink(Frame* frame, bool notify)
{
    if (notify)
    {
        if (frame->mListener)
        {
            if (const HVResultEnum result = frame->mListener->OnClose(); result != HV_OK)
                return result;
        }
        if (const HVResultEnum result = OpenChildren(frame, nullptr); result != HV_OK)
            return result;
    }
    frame->mFrameManager = nullptr;
    if (const int index = FindFrame(frame); index >= 0)
        mStack.erase(mStack.begin() + index);
    return HV_OK;
}

HVResultEnum FrameManager::CloseAll(bool deleteFrames, bool clear)
{
    // Nothing may keep naming a frame that is closed, let alone deleted.
    ReleaseCapture();
    mActiveFrame = nullptr;
    mHoveredFrame = nullptr;

    const std::vector<StackEntry> open = mStack;
    for (const StackEntry& entry : open)
    {
        Frame* frame = entry.mFrame;
        if (FindFrame(frame) < 0)
            continue;
        // Off the stack before anything is deleted, so a failure below leaves
        // no dead entry behind.
        if (const HVResultEnum result = Unlink(frame, deleteFrames || clear); result != HV_OK)
            return result;
        if (clear)
        {
            if (const HVResultEnum result = frame->Clear(deleteFrames, clear, 1); result != HV_OK)
                return result;
        }
        if (deleteFrames)
            delete frame;
    }
    mStack.clear();
    return HV_OK;
}

HVResultEnum FrameManager::RunOpenRequests()
{
    return RunRequests(mOpenRequests, mOpenIndex, [this](const OpenRequest& request) {
        switch (request.mKind)
        {
        case kBoard:
            return OpenFrame(request.mFrame, false, request.mActivate != 0, false);
        case kAboveBoards:
            return OpenFrame(request.mFrame, true, request.mActivate != 0, false);
        case kModalDialog:
            return PushDialog(request.mFrame, false);
        default:
            return HV_OK;
        }
    });
}

HVResultEnum FrameManager::RunCloseRequests()
{
    return RunRequests(mCloseRequests, mCloseIndex, [this](const CloseRequest& request) {
        return CloseFrame(request.mFrame, request.mDelete != 0, false);
    });
}

HVResultEnum FrameManager::Update(float dt)
{
    // A snapshot: listeners may open and close frames at once meanwhile.
    const std::vector<StackEntry> open = mStack;
    for (const StackEntry& entry : open)
    {
        if (FindFrame(entry.mFrame) < 0)
            continue;
        if (const HVResultEnum result = entry.mFrame->UpdateTree(dt); result != HV_OK)
            return result;
    }
    if (mCursorFrame)
    {
        if (const HVResultEnum result = mCursorFrame->UpdateTree(dt); result != HV_OK)
            return result;
    }
    if (const HVResultEnum result = RunOpenRequests(); result != HV_OK)
        return result;
    if (const HVResultEnum result = RunCloseRequests(); result != HV_OK)
        return result;
    DeleteAll();
    return HV_OK;
}

HVResultEnum FrameManager::Draw(render::Graphics* graphics)
{
    const std::vector<StackEntry> open = mStack;
    for (const StackEntry& entry : open)
    {
        if (FindFrame(entry.mFrame) < 0 || !entry.mFrame->mLayer)
            continue;
        if (const HVResultEnum result = entry.mFrame->mLayer->Render(graphics); result != HV_OK)
            return result;
    }
    if (mCursorFrame && mCursorFrame->mLayer)
        return mCursorFrame->mLayer->Render(graphics);
    return HV_OK;
}

void FrameManager::SetCapture(const CaptureInfo& capture)
{
    if (mCapture.mWidget && mCapture.mWidget != capture.mWidget)
        ReleaseCapture();
    mCapture = capture;
    if (Widget* widget = mCapture.mWidget)
    {
        widget->mCaptured = 1;
        widget->mCaptureHolder = this;
    }
}

void FrameManager::ReleaseCapture()
{
    if (Widget* widget = mCapture.mWidget)
    {
        widget->mCaptured = 0;
        widget->mCaptureHolder = nullptr;
    }
    mCapture.mWidget = nullptr;
    mCapture.mLayer = nullptr;
}

void FrameManager::ReleaseCaptureWithin(const Widget* root)
{
    if (mCapture.mWidget && root->Contains(mCapture.mWidget))
        ReleaseCapture();
}

void FrameManager::ForgetCapturedWidget(const Widget* widget)
{
    if (mCapture.mWidget == widget)
    {
        mCapture.mWidget = nullptr;
        mCapture.mLayer = nullptr;
    }
}

void FrameManager::Forget(Frame* frame)
{
    std::erase_if(mStack, [frame](const StackEntry& entry) { return entry.mFrame == frame; });
    EraseRequestsFor(mOpenRequests, frame);
    EraseRequestsFor(mCloseRequests, frame);
    if (mActiveFrame == frame)
        mActiveFrame = nullptr;
    if (mHoveredFrame == frame)
        mHoveredFrame = nullptr;
    ReleaseCaptureWithin(frame);
}

HVResultEnum FrameManager::OnMouseDown(const input::Point& position, int button)
{
    return Route(Event::kDown, position, button);
}

HVResultEnum FrameManager::OnMouseUp(const input::Point& position, int button)
{
    return Route(Event::kUp, position, button);
}

HVResultEnum FrameManager::OnDoubleClick(const input::Point& position, int button)
{
    return Route(Event::kDoubleClick, position, button);
}

HVResultEnum FrameManager::OnMouseMove(const input::Point& position)
{
    return Route(Event::kMove, position, 0);
}

HVResultEnum FrameManager::OnMouseDrag(const input::Point& position)
{
    return Route(Event::kDrag, position, 0);
}

HVResultEnum FrameManager::OnMouseWheel(const input::Point& position, int delta)
{
    return Route(Event::kWheel, position, delta);
}

HVResultEnum FrameManager::RefreshHover()
{
    const input::Point position = mLastPointer;
    return OnMouseMove(position);
}

HVResultEnum FrameManager::RouteCaptured(Event event, const input::Point& position, int extra)
{
    WidgetListener* listener = mCapture.mWidget->mListener;
    if (!listener)
        return HV_OK;
    const math::Vector3 point = mCapture.ToCaptureSpace(math::Vector3(position.x, position.y, 0.0f));
    switch (event)
    {
    case Event::kDown:
        return listener->OnCapturedMouseDown(&mCapture, point, extra);
    case Event::kUp:
        return listener->OnCapturedMouseUp(&mCapture, point, extra);
    case Event::kDoubleClick:
        return listener->OnCapturedDoubleClick(&mCapture, point, extra);
    case Event::kMove:
        return listener->OnCapturedMouseMove(&mCapture, point);
    case Event::kDrag:
        return listener->OnCapturedMouseDrag(&mCapture, point);
    case Event::kWheel:
        return listener->OnCapturedMouseWheel(&mCapture, point, extra);
    }
    return HV_OK;
}

HVResultEnum FrameManager::HitTestFrame(Frame* frame, Event event, const input::Point& position, int extra,
                                        bool& handled)
{
    layer::Layer* root = frame->mLayer;
    if (!root)
        return HV_OK;
    const math::Vector3 point(position.x, position.y, 0.0f);
    switch (event)
    {
    case Event::kDown:
    case Event::kDoubleClick:
        // Listeners see a double click as a press.
        return root->StartHitTest(point, layer::OnMouseDown{extra}, handled);
    case Event::kUp:
        return root->StartHitTest(point, layer::OnMouseUp{extra}, handled);
    case Event::kMove:
        return root->StartHitTest(point, layer::OnMouseMove{}, handled);
    case Event::kDrag:
        return root->StartHitTest(point, layer::OnMouseDrag{}, handled);
    case Event::kWheel:
        return root->StartHitTest(point, layer::OnMouseWheel{extra}, handled);
    }
    return HV_OK;
}

HVResultEnum FrameManager::Route(Event event, const input::Point& position, int extra)
{
    mLastPointer = position;
    if (mCursorFrame && mCursorFrame->mLayer)
    {
        mCursorFrame->mLayer->SetX(position.x);
        mCursorFrame->mLayer->SetY(position.y);
    }

    if (mCapture.mWidget)
        return RouteCaptured(event, position, extra);

    // Top down over a snapshot: a listener may close frames at once.
    const std::vector<StackEntry> open = mStack;
    for (size_t i = open.size(); i-- > 0;)
    {
        Frame* frame = open[i].mFrame;
        if (FindFrame(frame) < 0)
            continue;
        bool handled = false;
        if (const HVResultEnum result = HitTestFrame(frame, event, position, extra, handled); result != HV_OK)
            return result;
        if (handled)
            return HV_OK;
        if (open[i].mKind == kModalDialog)
            break;
    }

    if (event == Event::kDown && mActiveFrame)
    {
        const int index = FindFrame(mActiveFrame);
        if (index < 0 || mStack[static_cast<size_t>(index)].mKind != kModalDialog)
        {
            Frame* active = mActiveFrame;
            mActiveFrame = nullptr;
            if (active->mActive)
            {
                active->mActive = 0;
                return active->OnDeactivate();
            }
        }
    }
    else if ((event == Event::kMove || event == Event::kDrag) && mHoveredFrame)
    {
        if (const HVResultEnum result = mHoveredFrame->SetHover(nullptr); result != HV_OK)
            return result;
        mHoveredFrame = nullptr;
    }
    return HV_OK;
}
} // namespace widget
