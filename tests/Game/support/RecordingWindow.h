#pragma once

// A HUD window that counts each call, lets the test clear its alive flag and
// logs its destruction in the shared call log under its name.
#include "Game/Hud/HUDWindow.h"

#include <functional>
#include <map>
#include <string>

namespace gametest
{
class RecordingWindow : public HUDWindow
{
public:
    explicit RecordingWindow(std::string name = "window");
    ~RecordingWindow() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void Refresh() override;
    void OnClose() override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    void OnMouseWheel(int delta) override;
    void OnChar(int character) override;
    void OnKeyDown(int key) override;
    int HitTest(int x, int y) override;
    std::wstring Click(int x, int y) override;

    void SetAlive(bool alive) { mAlive = alive ? 1 : 0; }
    int Count(const std::string& call) const;

    std::string name;
    std::map<std::string, int> counts;
    // What HitTest and Click answer.
    int hitAnswer = -1;
    std::wstring clickAnswer;
    // Runs inside OnClose (a window opening its successor).
    std::function<void()> onClose;
    // Windows of this kind destroyed since the last reset.
    static inline int sDestroyed = 0;

private:
    void Record(const std::string& call, const std::string& arguments = std::string());
};
} // namespace gametest
