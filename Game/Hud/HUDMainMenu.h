#pragma once

// The title screen: menu music, four looping background effects, the
// greeting, and the over-buttons play, options, shop and quit above the
// profile area at the bottom of the screen.
#include "Game/Hud/HUDWindow.h"

#include <string>
#include <vector>

namespace render
{
class ParticleEmitter;
}

class HUDButtonOver;

class HUDMainMenu : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/main_menu";
    static constexpr const wchar_t* kMusic = L"nq/data/music/main_menu.ogg";
    static constexpr const wchar_t* kMenuName = L"mmenu";
    // A press in this band is the profile area, whatever lies there.
    static constexpr int kProfileAreaTop = 721;
    static constexpr int kProfileAreaBottom = 1023;

    HUDMainMenu();
    // The effects, the container, then the buttons.
    ~HUDMainMenu() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void Refresh() override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    std::wstring Click(int x, int y) override;

    // The container (kept), pictures, text slots and one over-button per
    // sub-folder of "button"; the profiles screen loads with the same steps.
    void LoadOverLayout(const std::wstring& name);

    std::vector<HUDButtonOver*> mOverButtons;
    std::vector<render::ParticleEmitter*> mEffects;
};
