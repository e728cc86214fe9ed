#pragma once

#include "Core/App/Window.h"

namespace framework
{
// The game's OS window: each update pumps its messages, then runs either a
// requested screen-mode switch or one frame of the current application.
class GameWindow : public app::Window
{
public:
    using Window::Window;

    HVResultEnum Start() override;
    HVResultEnum Update(float dt) override;
    void OnActivate() override;
    void OnDeactivate() override;
    void OnCreated() override;
};
} // namespace framework
