#pragma once

#include "Core/Base/Result.h"
#include "Core/Input/Point.h"

namespace input
{
// Receives keyboard and mouse input in logical coordinates. Buttons: 1 left,
// 3 right. Keys are engine key codes. The results are not used by the caller.
class InputListener
{
public:
    virtual ~InputListener() = default;

    virtual HVResultEnum OnMouseDown(const Point& position, int button) = 0;
    virtual HVResultEnum OnMouseUp(const Point& position, int button) = 0;
    virtual HVResultEnum OnDoubleClick(const Point& position, int button) = 0;
    virtual HVResultEnum OnMouseMove(const Point& position) = 0;
    virtual HVResultEnum OnMouseDrag(const Point& position) = 0;
    virtual HVResultEnum OnMouseWheel(const Point& position, int delta) = 0;
    virtual HVResultEnum OnMouseLeave(const Point& position) = 0;
    virtual HVResultEnum OnKeyDown(int key) = 0;
    virtual HVResultEnum OnKeyUp(int key) = 0;
    // One typed character, a Unicode code point.
    virtual HVResultEnum OnChar(char32_t character) = 0;
    virtual HVResultEnum OnPointerDown(const PointerRecord& pointer) = 0;
    virtual HVResultEnum OnPointerMove(const PointerRecord& pointer) = 0;
    virtual HVResultEnum OnPointerUp(const PointerRecord& pointer) = 0;
    virtual HVResultEnum OnPointerCancel(const PointerRecord& pointer) = 0;
};
} // namespace input
