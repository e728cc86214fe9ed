#pragma once

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourceHandle.h"
#include "Game/Hud/LevelHud.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace render
{
class Graphics;
}

class NQButtonFrame;
class NQFrameEntry;

// Base of the HUD and of every screen and modal window of the front end.
class HUDWindow
{
public:
    // Screens; modal windows draw in layer 1.
    static constexpr int kScreenLayer = LevelHud::kScreenLayer;
    static constexpr int kModalLayer = LevelHud::kModalLayer;

    // The slots whose texts take the root board's large font.
    static constexpr const wchar_t* kCaptionSlot = L"caption";
    static constexpr const wchar_t* kLevelResultSlot = L"levelResult";

    // No frames; subclasses call LoadLayout themselves and keep the container.
    // Takes the root board's window font when there is one.
    HUDWindow();
    // Loads the layout and deletes its container.
    explicit HUDWindow(const std::wstring& layout);
    HUDWindow(const HUDWindow&) = delete;
    HUDWindow& operator=(const HUDWindow&) = delete;

    // Slots in this order.
    virtual void Draw(render::Graphics* graphics);
    virtual void Update(float dt);
    virtual void Refresh();
    virtual void Reserved();
    virtual void OnClose();
    virtual void OnMouseMove(int x, int y);
    virtual void OnMouseUp(int x, int y);
    virtual void OnMouseDown(int x, int y);
    virtual void OnMouseWheel(int delta);
    virtual void OnChar(int character);
    virtual void OnKeyDown(int key);
    virtual int HitTest(int x, int y);
    virtual std::wstring Click(int x, int y);
    virtual ~HUDWindow();

    // The first button frame of that name, or null.
    NQButtonFrame* FindButton(const std::wstring& name) const;
    // Replaces the slot's text, or appends the pair when the slot has none yet.
    void SetText(const std::wstring& slot, const std::wstring& text);
    // Every image frame of that name.
    void SetImageVisible(const std::wstring& name, bool shown);
    void SetFont(const resource::ResourceHandle<render::BMFont>& font);

    // Opens the layered image and keeps it in mLayoutContainer: root layers
    // become image frames (sorted by layer index), every layer under "button"
    // a button frame, the layers directly under "text" text slots. A layout
    // that cannot be opened leaves the window without frames.
    void LoadLayout(const std::wstring& layout);
    // Root layers and text slots only (the over-button windows' layouts).
    void LoadImagesAndTexts(file::ImageContainer* container);
    // The listing steps: root layers (listing order), every layer under
    // "button", the layers directly under "text" keyed by base name or by
    // full name (a later layer of the same key replaces the earlier one).
    void LoadImageFrames(file::ImageContainer* container);
    void LoadButtonFrames(file::ImageContainer* container);
    void LoadTextSlots(file::ImageContainer* container, bool keyByFullName);
    void SortImages();

    void DrawImages(render::Graphics* graphics);
    // One image frame, shown or not, placed as DrawImages places it.
    void DrawImage(render::Graphics* graphics, const NQFrameEntry& image);
    void DrawButtons(render::Graphics* graphics);
    void DrawTexts(render::Graphics* graphics);
    void DrawText(render::Graphics* graphics, const std::wstring& slot, const std::wstring& text);

    int mLayer = kScreenLayer;
    file::ImageContainer* mLayoutContainer = nullptr;
    std::vector<NQButtonFrame*> mButtons;
    std::map<std::wstring, NQFrameEntry*> mTextSlots;
    std::vector<NQFrameEntry*> mImages;
    std::vector<std::pair<std::wstring, std::wstring>> mTexts;
    resource::ResourceHandle<render::BMFont> mFont;
    float mTime = 0.0f;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
    float mScale = 1.0f;
    float mPointerX = 0.0f;
    float mPointerY = 0.0f;
    // The window clears it to ask to be closed.
    uint8_t mAlive = 1;
    int mState = 0;
};
