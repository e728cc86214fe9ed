#pragma once

// The gem shop: five gem packs of the store. A press on a pack answers its
// product id, which the release dispatcher asks the store to buy.
#include "Game/Hud/HUDWindow.h"

#include <vector>

class HUDGemPack;

class HUDBuyGemScreen : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/gem_shop";

    HUDBuyGemScreen();
    ~HUDBuyGemScreen() override;

    void Draw(render::Graphics* graphics) override;
    // Refreshes the gem title every frame.
    void Update(float dt) override;
    void Refresh() override;
    void OnMouseMove(int x, int y) override;
    // The first pack under the point answers its product id (empty without a
    // product, and silent); elsewhere the layout's buttons answer.
    std::wstring Click(int x, int y) override;

    std::vector<HUDGemPack*> mPacks; // owned, pack order
};
