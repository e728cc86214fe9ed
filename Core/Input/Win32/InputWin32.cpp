#include "Core/Input/Win32/InputWin32.h"

#include "Platform/Win32/Input.h"

namespace input
{
InputWin32::InputWin32(InputListener* listener, CoordConverter* converter)
    : mListener(listener), mConverter(converter)
{
    BuildEngineToVirtualKey(mEngineToVirtualKey);
    BuildVirtualKeyToEngine(mEngineToVirtualKey, mVirtualKeyToEngine);
}

HVResultEnum InputWin32::Update()
{
    if (!GetKeyboardState(mKeyboardState))
        return HV_FAIL;
    for (int vk = 0; vk < 256; ++vk)
    {
        int& state = mKeyStates[vk];
        if (mKeyboardState[vk] & 0x80)
            state = (state == 1 || state == 2) ? 2 : 1;
        else
            state = state == 2 ? 3 : 0;
    }
    return HV_OK;
}

int InputWin32::EngineKeyFromVirtualKey(UINT virtualKey) const
{
    return virtualKey < static_cast<UINT>(kEngineKeyCount) ? mVirtualKeyToEngine[virtualKey] : 0;
}

void InputWin32::KeyDown(UINT virtualKey, LPARAM keyData)
{
    Update(); // on failure the previous states stand
    if (virtualKey < 256 && mKeyStates[virtualKey] == 1)
        mListener->OnKeyDown(EngineKeyFromVirtualKey(virtualKey));
    WCHAR character = 0;
    const UINT scanCode = static_cast<UINT>((keyData >> 16) & 0xFF);
    // Dead keys (negative) and several characters give nothing.
    if (ToUnicode(virtualKey, scanCode, mKeyboardState, &character, 1, 0) == 1)
        mListener->OnChar(static_cast<char32_t>(character));
}

void InputWin32::KeyUp(UINT virtualKey, LPARAM)
{
    mListener->OnKeyUp(EngineKeyFromVirtualKey(virtualKey));
}

void InputWin32::SetButton(int button, int state)
{
    if (button >= 0 && button < 4)
        mButtonStates[button] = state;
}

void InputWin32::MouseMove(const Point& windowPoint)
{
    mConverter->ToLogical(mLastPosition, windowPoint);
    bool held = false;
    for (int state : mButtonStates)
        held = held || state == 1 || state == 2;
    if (held)
        mListener->OnMouseDrag(mLastPosition);
    else
        mListener->OnMouseMove(mLastPosition);
}

void InputWin32::MouseDown(const Point& windowPoint, int button)
{
    mConverter->ToLogical(mLastPosition, windowPoint);
    SetButton(button, 1);
    mListener->OnMouseDown(mLastPosition, button);
}

void InputWin32::MouseUp(const Point& windowPoint, int button)
{
    mConverter->ToLogical(mLastPosition, windowPoint);
    SetButton(button, 0);
    mListener->OnMouseUp(mLastPosition, button);
}

void InputWin32::DoubleClick(const Point& windowPoint, int button)
{
    mConverter->ToLogical(mLastPosition, windowPoint);
    SetButton(button, 4);
    mListener->OnDoubleClick(mLastPosition, button);
}

void InputWin32::MouseWheel(const Point& windowPoint, int delta)
{
    mConverter->ToLogical(mLastPosition, windowPoint);
    mListener->OnMouseWheel(mLastPosition, delta);
}

void InputWin32::MouseLeave(const Point& windowPoint)
{
    mConverter->ToLogical(mLastPosition, windowPoint);
    mListener->OnMouseLeave(mLastPosition);
}
} // namespace input
