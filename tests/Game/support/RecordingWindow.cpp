#include "RecordingWindow.h"

#include "CallLog.h"

namespace gametest
{
namespace
{
std::string Point(int x, int y)
{
    return std::to_string(x) + "," + std::to_string(y);
}
} // namespace

RecordingWindow::RecordingWindow(std::string windowName) : name(std::move(windowName))
{
}

RecordingWindow::~RecordingWindow()
{
    ++sDestroyed;
    LogCall("Window." + name + ".~Window");
}

void RecordingWindow::Record(const std::string& call, const std::string& arguments)
{
    ++counts[call];
    LogCall("Window." + name + "." + call + (arguments.empty() ? "" : " " + arguments));
}

int RecordingWindow::Count(const std::string& call) const
{
    const auto it = counts.find(call);
    return it == counts.end() ? 0 : it->second;
}

void RecordingWindow::Draw(render::Graphics*)
{
    Record("Draw");
}

void RecordingWindow::Update(float dt)
{
    Record("Update");
    HUDWindow::Update(dt);
}

void RecordingWindow::Refresh()
{
    Record("Refresh");
}

void RecordingWindow::OnClose()
{
    Record("OnClose");
    if (onClose)
        onClose();
}

void RecordingWindow::OnMouseMove(int x, int y)
{
    Record("OnMouseMove", Point(x, y));
}

void RecordingWindow::OnMouseUp(int x, int y)
{
    Record("OnMouseUp", Point(x, y));
}

void RecordingWindow::OnMouseDown(int x, int y)
{
    Record("OnMouseDown", Point(x, y));
}

void RecordingWindow::OnMouseWheel(int delta)
{
    Record("OnMouseWheel", std::to_string(delta));
}

void RecordingWindow::OnChar(int character)
{
    Record("OnChar", std::to_string(character));
}

void RecordingWindow::OnKeyDown(int key)
{
    Record("OnKeyDown", std::to_string(key));
}

int RecordingWindow::HitTest(int x, int y)
{
    Record("HitTest", Point(x, y));
    return hitAnswer;
}

std::wstring RecordingWindow::Click(int x, int y)
{
    Record("Click", Point(x, y));
    return clickAnswer;
}
} // namespace gametest
