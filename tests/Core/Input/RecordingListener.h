#pragma once

// A listener that writes every call as one line, and a converter that
// doubles x and adds 1000 to y, so an unconverted position is easy to spot.
#include "Core/Input/CoordConverter.h"
#include "Core/Input/InputListener.h"

#include <string>
#include <vector>

namespace inputtest
{
class RecordingListener : public input::InputListener
{
public:
    HVResultEnum OnMouseDown(const input::Point& p, int b) override { return Log("down", p, b); }
    HVResultEnum OnMouseUp(const input::Point& p, int b) override { return Log("up", p, b); }
    HVResultEnum OnDoubleClick(const input::Point& p, int b) override { return Log("dbl", p, b); }
    HVResultEnum OnMouseMove(const input::Point& p) override { return Log("move", p); }
    HVResultEnum OnMouseDrag(const input::Point& p) override { return Log("drag", p); }
    HVResultEnum OnMouseWheel(const input::Point& p, int delta) override { return Log("wheel", p, delta); }
    HVResultEnum OnMouseLeave(const input::Point& p) override { return Log("leave", p); }
    HVResultEnum OnKeyDown(int key) override { return Add("keydown " + std::to_string(key)); }
    HVResultEnum OnKeyUp(int key) override { return Add("keyup " + std::to_string(key)); }
    HVResultEnum OnChar(char32_t c) override { return Add("char " + std::to_string(static_cast<unsigned>(c))); }
    HVResultEnum OnPointerDown(const input::PointerRecord&) override { return Add("pointer"); }
    HVResultEnum OnPointerMove(const input::PointerRecord&) override { return Add("pointer"); }
    HVResultEnum OnPointerUp(const input::PointerRecord&) override { return Add("pointer"); }
    HVResultEnum OnPointerCancel(const input::PointerRecord&) override { return Add("pointer"); }

    std::vector<std::string> calls;
    std::vector<const input::Point*> addresses; // where each position came from

private:
    HVResultEnum Log(const char* what, const input::Point& p, int extra = -1)
    {
        addresses.push_back(&p);
        std::string s = std::string(what) + " " + std::to_string(static_cast<int>(p.x)) + "," +
                        std::to_string(static_cast<int>(p.y));
        if (extra != -1)
            s += " " + std::to_string(extra);
        return Add(s);
    }
    HVResultEnum Add(std::string s)
    {
        calls.push_back(std::move(s));
        return HV_OK;
    }
};

class DoublingConverter : public input::CoordConverter
{
public:
    void ToLogical(input::Point& out, const input::Point& in) override { out = {in.x * 2, in.y + 1000}; }
    void ApplyOrientation(input::Point& out, const input::Point& in, int) override { out = in; }
};
} // namespace inputtest
