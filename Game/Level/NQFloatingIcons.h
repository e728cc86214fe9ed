#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render
{
class Graphics;
class Image;
}

// One rising icon-and-text popup.
struct NQFloatingIcon
{
    static constexpr float kLife = 0.75f;
    // Layout pixels a second along the velocity.
    static constexpr float kRiseSpeed = 15.0f;
    // The popup fades over the last part of its life.
    static constexpr float kFadeTime = 0.25f;
    static constexpr float kTextScale = 0.75f;
    static constexpr float kTextOffsetX = 14.0f;

    void Update(float dt);
    void Draw(render::Graphics* graphics) const;

    uint8_t alive = 1;
    // The kind's picture (not owned), or null.
    render::Image* picture = nullptr;
    std::wstring text;
    float x = 0.0f;
    float y = 0.0f;
    int kind = 0;
    float life = kLife;
    float age = 0.0f;
    float vx = 0.0f;
    float vy = -1.0f;
};

// The rising popups of a level.
class NQFloatingIcons
{
public:
    // The "immune" sign "ui/immune".
    static constexpr int kImmune = 2;
    // The coin picture "ui/money".
    static constexpr int kCoin = 4;

    // Looks the two pictures up in the sprite set "nq/ui" once.
    NQFloatingIcons();
    ~NQFloatingIcons();
    NQFloatingIcons(const NQFloatingIcons&) = delete;
    NQFloatingIcons& operator=(const NQFloatingIcons&) = delete;

    // A new popup; the caller sets its text.
    NQFloatingIcon* Spawn(float x, float y, int kind);
    // Advances every popup by the real frame time and drops the finished ones.
    void Update(float dt);
    void Clear();
    void Draw(render::Graphics* graphics);

    render::Image* mKindPictures[kCoin + 1] = {nullptr, nullptr, nullptr, nullptr, nullptr};
    std::vector<NQFloatingIcon*> mIcons;
};
