#include "Core/Input/Win32/InputWin32.h"
#include "Platform/Win32/Input.h"
#include "RecordingListener.h"

#include <gtest/gtest.h>

using namespace inputtest;
using Calls = std::vector<std::string>;

namespace
{
TEST(KeyTables, InverseTableLetsTheHighestEngineKeyWin)
{
    input::InputWin32 in(nullptr, nullptr);
    const struct
    {
        UINT vk;
        int engine;
    } rows[] = {{VK_RETURN, 271}, {VK_OEM_1, 59},  {VK_SHIFT, 0},    {'A', 97},      {'0', 48},
                {VK_F15, 296},    {VK_NUMPAD0, 256}, {VK_LWIN, 311}, {0xBB, 0},      {VK_SNAPSHOT, 317},
                {VK_DELETE, 127}, {VK_PRIOR, 280}, {VK_RMENU, 307},  {VK_MENU, 0},   {0x100, 0}};
    for (const auto& r : rows)
        EXPECT_EQ(in.EngineKeyFromVirtualKey(r.vk), r.engine) << "virtual key " << r.vk;
}

TEST(KeyTables, EngineKeysWithoutAVirtualKey)
{
    input::InputWin32 in(nullptr, nullptr);
    for (int key : {0, 1, 33, 44, 272, 297, 298, 299, 309, 310, 313, 314, 318, 323})
        EXPECT_EQ(in.mEngineToVirtualKey[key], 0) << "engine key " << key;
    EXPECT_EQ(in.mEngineToVirtualKey[13], VK_RETURN);
    EXPECT_EQ(in.mEngineToVirtualKey[58], VK_OEM_1);
    EXPECT_EQ(in.mEngineToVirtualKey[122], 'Z');
}

class MouseTest : public ::testing::Test
{
protected:
    RecordingListener listener;
    DoublingConverter converter;
    input::InputWin32 in{&listener, &converter};
};

TEST_F(MouseTest, DownMoveUpIsADragAndALaterMoveIsAMove)
{
    in.MouseDown({1, 2}, 1);
    in.MouseMove({3, 4});
    in.MouseUp({5, 6}, 1);
    in.MouseMove({7, 8});
    EXPECT_EQ(listener.calls, (Calls{"down 2,1002 1", "drag 6,1004", "up 10,1006 1", "move 14,1008"}));
    for (const input::Point* p : listener.addresses)
        EXPECT_EQ(p, &in.mLastPosition) << "the listener gets the last-position field";
}

TEST_F(MouseTest, AMoveWhileADoubleClickIsHeldIsAPlainMove)
{
    in.MouseDown({1, 1}, 3);
    in.MouseUp({1, 1}, 3);
    in.DoubleClick({1, 1}, 3);
    in.MouseMove({2, 2});
    in.MouseUp({2, 2}, 3);
    EXPECT_EQ(in.mButtonStates[3], 0);
    EXPECT_EQ(listener.calls, (Calls{"down 2,1001 3", "up 2,1001 3", "dbl 2,1001 3", "move 4,1002", "up 4,1002 3"}));
}

TEST_F(MouseTest, WheelAndLeaveAreConvertedToo)
{
    in.MouseWheel({10, 20}, -240);
    in.MouseLeave({-1, 5});
    EXPECT_EQ(listener.calls, (Calls{"wheel 20,1020 -240", "leave -2,1005"}));
}

TEST(InputUpdate, FailingKeyboardStateLeavesTheStates)
{
    input::InputWin32 in(nullptr, nullptr);
    in.mKeyStates[int{'A'}] = 2;
    win32::SetKeyboardStateFails(true);
    EXPECT_EQ(in.Update(), HV_FAIL);
    win32::SetKeyboardStateFails(false);
    EXPECT_EQ(in.mKeyStates[int{'A'}], 2);
    EXPECT_EQ(in.Update(), HV_OK);
    EXPECT_EQ(in.mKeyStates[int{'A'}], 3) << "held, now seen up";
    EXPECT_EQ(in.Update(), HV_OK);
    EXPECT_EQ(in.mKeyStates[int{'A'}], 0);
}
} // namespace
