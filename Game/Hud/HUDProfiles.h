#pragma once

// The player profiles: up to five rows of names, the current one marked by
// its row button, and create, rename, delete, confirm and back.
#include "Game/Hud/HUDWindow.h"

#include <string>
#include <vector>

class HUDButtonOver;

class HUDProfiles : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/data/profiles";
    static constexpr int kMaxProfiles = 5;
    // The counter of the first text slot in name order; the layout puts two
    // slots before the rows.
    static constexpr int kFirstSlotCounter = -2;

    HUDProfiles();
    ~HUDProfiles() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void Refresh() override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    // "delete" with a current name also asks for the confirmation.
    std::wstring Click(int x, int y) override;

    HUDButtonOver* FindOverButton(const std::wstring& name) const;

    std::vector<HUDButtonOver*> mOverButtons;
};
