#pragma once

// The context ring of the running level: the small circular menu around a
// build spot or a tower. A release opens it, a press on an item carries out
// the choice; it fades in and out in 0.2 s.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace render
{
class Graphics;
}

class NQContextMenuItem;
class NQFrameEntry;
class NQTower;
class NQUnitProto;

class NQContextMenu
{
public:
    enum Kind : int32_t
    {
        kTowerRing = 0,
        kBuildRing = 1,
        kBuySpotRing = 2,
        // A tower ring whose second item is an in-place upgrade.
        kTierRing = 3,
    };
    enum State : int32_t
    {
        kOpening = 0,
        kOpen = 2,
        kClosing = 3,
    };
    static constexpr float kFadeSeconds = 0.2f;
    static constexpr float kRadius = 80.0f;
    static constexpr float kHitRadius = 32.0f;
    // Near a screen border the ring grows into a half circle.
    static constexpr float kBorderScale = 1.3f;
    static constexpr float kBorderTop = 150.0f;
    static constexpr float kBorderBottom = 650.0f;
    static constexpr float kBorderLeft = 150.0f;
    static constexpr float kBorderRight = 874.0f;
    // The ring's own degrees-to-radians factor.
    static constexpr float kPi = 3.14f;
    // The price or caption stands this far above its item's centre, over
    // the item's 64-px picture.
    static constexpr float kPriceLift = 46.0f;
    // How deep a chain of "require" values may go before it counts as broken.
    static constexpr int kChainDepthLimit = 32;

    // Plays "context_in" and tells the tutorial "tower_select".
    NQContextMenu();
    NQContextMenu(const NQContextMenu&) = delete;
    NQContextMenu& operator=(const NQContextMenu&) = delete;
    ~NQContextMenu();

    NQContextMenuItem* AddItem(int32_t index, int32_t key);
    // The fade, with the frame's real time.
    void Update(float dt);
    // "context_out" and the closing fade; nothing when already closing.
    void Close();
    // The key of the item within the hit radius of the point; -1 for none,
    // without items or while not fully open.
    int32_t HitTest(int x, int y);
    // The price of the first item with that key; 0 when none has it.
    float GetItemPrice(int32_t key) const;
    // 0 to 1 while opening, 1 to 0 while closing, else 1.
    float GetFadeFactor() const;
    // Whether the centre lies near a screen border.
    bool IsNearBorder() const;
    float GetScale() const;
    // The arc the items spread over for the centre: the ring's own away from
    // the borders, near one a half circle turned away from it (in a corner
    // the left or right border's).
    void GetArc(float& start, float& end) const;
    // Where the drawing puts item `index` of the current items: evenly over
    // the arc, the four base towers at their fixed places away from the borders.
    float GetItemAngle(size_t index) const;
    // Moves the centre as little as needed for the items, their prices and
    // ability icons to lie within the screen rectangle (map units), clear of
    // the panels at its edges.
    void KeepWithin(float left, float top, float right, float bottom);

    // Fillers of the three uses; the ring is made first, then filled.
    void OpenBuildMenu(int32_t spotIndex, NQFrameEntry* spotFrame);
    void OpenBuySpotMenu(NQFrameEntry* spotFrame);
    void OpenTowerMenu(NQTower* tower);

    // The level drawing's range preview of the hovered choice.
    void DrawRangePreview(render::Graphics* graphics);

    // Owned, in layout order.
    std::vector<NQContextMenuItem*> mItems;
    int32_t mState = kOpening;
    float mFadeTime = 0.0f;
    // The order has been reversed once for a half circle.
    bool mReversed = false;
    int32_t mKind = kTowerRing;
    // Written by the map's pointer move; -1 for none.
    int32_t mHoveredKey = -1;
    NQContextMenuItem* mHoveredItem = nullptr;
    NQTower* mTower = nullptr;
    NQFrameEntry* mSpotFrame = nullptr;
    float mStartAngle = 0.0f;
    float mEndAngle = 360.0f;
    float mRadius = kRadius;
    float mCenterX = 0.0f;
    float mCenterY = 0.0f;
    int32_t mActive = 1;
};
