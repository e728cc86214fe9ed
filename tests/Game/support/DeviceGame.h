#pragma once

// The game made current on the Direct3D 9 stand-in, for pixel tests of the
// level: a hidden window of the play area's size, its renderer and the enemy
// shader of the data root, without the framework's Init. The window belongs
// to the test and outlives the game (the renderer goes with the game). The
// running level is what the test hands in.
#include "Game/Game.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace app
{
class Window;
}
namespace render
{
class Graphics;
class RenderDX9;
}

namespace gametest
{
// A hidden window for a renderer; destroys its handle when it goes.
std::unique_ptr<app::Window> MakeHiddenWindow();

class DeviceGame : public Game
{
public:
    static constexpr uint32_t kWidth = 1024;
    static constexpr uint32_t kHeight = 768;

    // Starts the renderer on the window; IsReady tells whether it did.
    DeviceGame(app::Window* window, LevelSource level);

    bool IsReady() const { return mReady; }
    render::RenderDX9* Device() const;
    // Loads the enemy shader from the data root ("nq/Shaders/MobShader/DX/").
    bool LoadMobShader();
    // One whole frame: device check, clear to the colour, the drawing, present, replay.
    HVResultEnum DrawFrame(const std::function<void(render::Graphics*)>& draw, uint32_t clearArgb);
    // The back buffer as packed ARGB, top row first; false when unreadable.
    bool ReadBackBuffer(std::vector<uint32_t>& argb, uint32_t& width, uint32_t& height) const;

private:
    bool mReady = false;
};

// Pixels written as an opaque PNG file.
bool WritePng(const std::string& path, uint32_t width, uint32_t height, std::vector<uint32_t> argb);
// The folder of the running test program (the build's "bin").
std::string ProgramFolder();
} // namespace gametest
