#pragma once

// The HUD's modal message: a caption, a message and one button. When it is
// destroyed the screen state can become a value chosen by the opener. Its
// update and pointer operations are shared by the other over-button windows.
#include "Game/Hud/HUDWindow.h"

#include <cstdint>
#include <string>
#include <vector>

class HUDButtonOver;

class HUDModalMessage : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/data/mm";
    // The layout's field picture, which only the name input shows.
    static constexpr const wchar_t* kInputPicture = L"input";
    static constexpr const wchar_t* kMessageSlot = L"message";
    // A one-button message shows its second button this far right.
    static constexpr float kSingleButtonOffset = 120.0f;
    static constexpr int32_t kNoReturnState = -1;
    enum ButtonIndex
    {
        kRefuseButton = 0, // "cancel"
        kAcceptButton = 1, // "ok"
        kButtonPairSize = 2,
    };

    HUDModalMessage(const std::wstring& caption, const std::wstring& message, int32_t returnState);
    // The return state, then the buttons and the container.
    ~HUDModalMessage() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    std::wstring Click(int x, int y) override;

    // Both buttons of the pair exist (a layout may have fewer folders).
    bool HasButtonPair() const { return mOverButtons.size() >= kButtonPairSize; }

    std::vector<HUDButtonOver*> mOverButtons;
    int32_t mReturnState = kNoReturnState;
};
