#pragma once

#include "Core/Base/DeferredDelete.h"
#include "Core/Base/Result.h"
#include "Framework/Widget/ClassId.h"
#include "Framework/Widget/WidgetContainer.h"

#include <cstdint>

namespace layer
{
class Layer;
}

namespace widget
{
class Frame;
class FrameManager;
class WidgetListener;

// A logical UI element: one layer (owned or borrowed), a listener for its
// notifications and a place in a tree of widgets whose root is a frame.
// Every operation stops at the first failing listener and returns it; a
// missing listener counts as success.
class Widget : public WidgetContainer, public base::DeferredDeletable
{
public:
    Widget() = default;
    // Deletes an owned layer. Children are not deleted. Whatever still names
    // this widget (its frame's hover and focus, the manager's capture, its
    // parent's list, its children, a borrowed layer's hooks) forgets it,
    // without listener calls.
    ~Widget() override;

    virtual HVResultEnum RemoveChild(Widget* child, bool releaseFocusAndHover);
    virtual HVResultEnum AddChild(Widget* child, layer::Layer* parentLayer);
    virtual ClassId& GetClassId();

    // With bind and a listener, the layer's draw hooks call the listener's
    // PreDraw and PostDraw; otherwise they are emptied.
    void SetListener(WidgetListener* listener, bool bind);
    void SetLayer(layer::Layer* layer, bool owns, bool bind);
    HVResultEnum SetDisabled(bool disabled);
    HVResultEnum UpdateTree(float dt);
    HVResultEnum SetFrame(Frame* frame);
    HVResultEnum SetFrameManager(FrameManager* manager);
    HVResultEnum PropagateDisabled();
    HVResultEnum ReleaseFocusAndHover();

    bool IsDisabled() const { return mDisabled || mInheritedDisabled; }
    bool IsHovered() const { return mHover != 0; }
    bool IsCaptured() const { return mCaptured != 0; }
    // The frame manager of the frame this widget belongs to, if it is open.
    FrameManager* GetFrameManager() const;
    // The manager whose capture names this widget, or null.
    FrameManager* GetCaptureHolder() const { return mCaptureHolder; }
    // True when `widget` is this widget or one of its descendants.
    bool Contains(const Widget* widget) const;

    // Disable notifications go to OnDisableAlt instead of OnDisable.
    uint8_t mAltNotification = 0;
    Widget* mParent = nullptr;
    Frame* mFrame = nullptr;
    WidgetListener* mListener = nullptr;
    layer::Layer* mLayer = nullptr;
    uint8_t mOwnsLayer = 0;
    // A press makes the widget hold the pointer capture.
    int mTakesCapture = 0;
    uint8_t mHitTestWhileCaptured = 1;
    uint8_t mDisabled = 0;
    uint8_t mInheritedDisabled = 0;
    uint8_t mHover = 0;
    uint8_t mChildHover = 0;
    uint8_t mCaptured = 0;

private:
    friend class FrameManager;

    HVResultEnum NotifyDisabled(bool disabled);

    // The manager whose capture names this widget, so a destroyed widget can
    // leave it even after it left its frame.
    FrameManager* mCaptureHolder = nullptr;
    // The hooks of mLayer were bound to mListener by this widget.
    bool mHooksBound = false;
};
} // namespace widget
