#pragma once

#include "Framework/Widget/Widget.h"

namespace layer
{
class RectHitLayer;
}

namespace widget
{
class FrameManager;

// A top-level widget stacked by the frame manager. Its layer is a rectangle
// that catches the pointer; it keeps its hover widget, its focus widget and
// whether it is the active frame.
class Frame : public Widget
{
public:
    Frame();
    // Leaves the manager it is still linked to (stack, active, hovered and
    // capture slots), and its widgets forget it.
    ~Frame() override;

    ClassId& GetClassId() override;
    virtual HVResultEnum OnActivate();
    virtual HVResultEnum OnDeactivate();

    // The rectangle that catches the pointer, in the frame's layer space.
    void SetHitRect(float x, float y, float width, float height);
    // Moves the hover to `widget` (or nowhere), telling the old and the new
    // widget and their ancestors that are not shared.
    HVResultEnum SetHover(Widget* widget);

    layer::RectHitLayer* GetRootHitLayer() const { return mRootHitLayer; }

    // Set while the frame is open.
    FrameManager* mFrameManager = nullptr;
    uint8_t mActive = 0;
    Widget* mHoverWidget = nullptr;
    Widget* mFocusWidget = this;

private:
    layer::RectHitLayer* mRootHitLayer = nullptr;
};
} // namespace widget
