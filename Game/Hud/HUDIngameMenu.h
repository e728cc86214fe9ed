#pragma once

#include "Game/Hud/HUDWindow.h"

#include <string>
#include <vector>

class HUDButtonOver;

// The pause menu over the running level: a caption, the main-menu icon and a
// column of over buttons from "nq/data/ingame", whose names the level's
// release handler acts on. It keeps its layout open for its whole life.
class HUDIngameMenu : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/data/ingame";

    HUDIngameMenu();
    // The layout container, then the buttons.
    ~HUDIngameMenu() override;

    // The shared over-button loader in the menu's form: the icon starts
    // hidden, every label in the large font.
    void LoadOverLayout(const std::wstring& name);

    // The window, the buttons, then the icon above them.
    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    std::wstring Click(int x, int y) override;

    std::vector<HUDButtonOver*> mOverButtons;
};
