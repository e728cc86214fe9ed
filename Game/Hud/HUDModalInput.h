#pragma once

// The modal window in which the player types a profile name, to create a
// profile (screen state 14) or rename the current one (15).
#include "Game/Data/ProfileName.h"
#include "Game/Hud/HUDWindow.h"

#include <string>
#include <vector>

class HUDButtonOver;
class NQFrameEntry;

class HUDModalInput : public HUDWindow
{
public:
    static constexpr size_t kMaxNameLength = profilename::kMaxLength;
    static constexpr int kBackspaceKey = 8;
    // The name's place inside the field picture, and without one.
    static constexpr float kTextIndent = 15.0f;
    static constexpr float kFallbackX = 15.0f;
    static constexpr float kFallbackY = 384.0f;
    static constexpr const wchar_t* kCursor = L"|";

    HUDModalInput();
    // The container, the buttons and the name.
    ~HUDModalInput() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnChar(int character) override;
    void OnKeyDown(int key) override;
    // May close (and delete) this window; the result is a copy.
    std::wstring Click(int x, int y) override;

    // Not empty and no profile of that name, compared exactly.
    bool IsNameAcceptable() const;
    // The level's edited name, then the ok button's visibility.
    void NameChanged();

    std::vector<HUDButtonOver*> mOverButtons;
    NQFrameEntry* mInputFrame = nullptr;
    std::wstring mName;
};
