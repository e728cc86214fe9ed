#pragma once

#include <string>
#include <vector>

namespace render
{
class Graphics;
}

// One rising icon-and-text popup.
struct NQFloatingIcon
{
    float x = 0.0f;
    float y = 0.0f;
    int kind = 0;
    std::wstring text;
};

// The rising popups of a level.
class NQFloatingIcons
{
public:
    // The coin picture "ui/money".
    static constexpr int kCoin = 4;

    NQFloatingIcons() = default;
    ~NQFloatingIcons();
    NQFloatingIcons(const NQFloatingIcons&) = delete;
    NQFloatingIcons& operator=(const NQFloatingIcons&) = delete;

    // A new popup; the caller sets its text.
    NQFloatingIcon* Spawn(float x, float y, int kind);
    void Clear();
    void Draw(render::Graphics* graphics);

    std::vector<NQFloatingIcon*> mIcons;
};
