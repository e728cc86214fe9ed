#pragma once

#include "Core/Base/Result.h"
#include "Core/Input/CoordConverter.h"
#include "Core/Input/InputListener.h"
#include "Core/Input/Win32/KeyTables.h"
#include "Platform/Win32/Types.h"

namespace input
{
// Turns the window's key and mouse messages into listener calls in logical
// coordinates, keeping per-key and per-button states.
class InputWin32
{
public:
    // Neither is owned.
    InputWin32(InputListener* listener, CoordConverter* converter);

    // Refreshes the key states from the keyboard state: 0 up, 1 pressed,
    // 2 held, 3 released. Fails, leaving the states, when the state is unavailable.
    HVResultEnum Update();

    // Message handlers of the window procedure; positions are window units.
    void KeyDown(UINT virtualKey, LPARAM keyData);
    void KeyUp(UINT virtualKey, LPARAM keyData);
    void MouseMove(const Point& windowPoint);
    void MouseDown(const Point& windowPoint, int button);
    void MouseUp(const Point& windowPoint, int button);
    void DoubleClick(const Point& windowPoint, int button);
    void MouseWheel(const Point& windowPoint, int delta);
    void MouseLeave(const Point& windowPoint);

    int EngineKeyFromVirtualKey(UINT virtualKey) const;

    InputListener* mListener;
    CoordConverter* mConverter;
    Point mLastPosition; // the listener gets a reference to this
    int mButtonStates[4] = {};  // 0 up, 1 down, 4 down as a double click's second press
    int mKeyStates[256] = {};
    BYTE mKeyboardState[256] = {};
    int mEngineToVirtualKey[kEngineKeyCount] = {};
    int mVirtualKeyToEngine[kEngineKeyCount] = {};

private:
    void SetButton(int button, int state);
};
} // namespace input
