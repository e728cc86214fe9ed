#pragma once

// Announces what a level makes available, one id at a time: its icon and its
// localised text. "ok" steps on; after the last id the click answers "ok".
#include "Game/Hud/HUDWindow.h"

#include <cstdint>
#include <string>
#include <vector>

class HUDUnlockMessage : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/data/message";
    static constexpr const wchar_t* kIconGroup = L"icons";
    static constexpr const wchar_t* kIconPrefix = L"icons/id";
    static constexpr const wchar_t* kOkButton = L"ok";

    explicit HUDUnlockMessage(const std::vector<int32_t>& ids);
    ~HUDUnlockMessage() override;

    void Draw(render::Graphics* graphics) override;
    int HitTest(int x, int y) override;
    std::wstring Click(int x, int y) override;

    // Shows only that id's icon and text.
    void ShowId(int32_t id);

    std::vector<int32_t> mIds;
    int32_t mCurrent = 0;
    std::vector<NQFrameEntry*> mIcons;
};
