#include "Core/App/Win32/MonitorList.h"
#include "Platform/Win32/Monitors.h"

#include <gtest/gtest.h>

namespace
{
class MonitorListTest : public ::testing::Test
{
protected:
    void TearDown() override { win32::SetDisplaySource(nullptr); }
    app::MonitorList list;
};

TEST_F(MonitorListTest, OffscreenDriverGivesOnePrimary1024x768Monitor)
{
    ASSERT_TRUE(list.Enumerate());
    ASSERT_EQ(list.GetCount(), 1);
    const app::MonitorInfo* m = list.Get(0);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->mWidth, 1024);
    EXPECT_EQ(m->mHeight, 768);
    EXPECT_EQ(m->mWorkWidth, 1024);
    EXPECT_TRUE(m->mPrimary);
    EXPECT_EQ(list.Get(1), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
}

TEST_F(MonitorListTest, WorkAreaIsReadFromTheWorkRectangle)
{
    win32::SetDisplaySource([] {
        return std::vector<win32::DisplayArea>{{{0, 0, 1366, 768}, {0, 0, 1366, 728}},
                                               {{-1280, 100, 0, 1124}, {-1280, 130, 0, 1124}}};
    });
    ASSERT_TRUE(list.Enumerate());
    ASSERT_EQ(list.GetCount(), 2);
    const app::MonitorInfo& a = *list.Get(0);
    EXPECT_EQ(a.mWorkHeight, 728) << "taskbar below";
    EXPECT_EQ(a.mHeight, 768);
    EXPECT_TRUE(a.mPrimary);
    const app::MonitorInfo& b = *list.Get(1);
    EXPECT_EQ(b.mX, -1280);
    EXPECT_EQ(b.mY, 100);
    EXPECT_EQ(b.mWidth, 1280);
    EXPECT_EQ(b.mHeight, 1024);
    EXPECT_EQ(b.mWorkY, 130);
    EXPECT_EQ(b.mWorkHeight, 994);
    EXPECT_FALSE(b.mPrimary);
}

TEST_F(MonitorListTest, AMonitorThatCannotBeReadEndsTheListWithFalse)
{
    // Two displays for the walk, then one display for each lookup: the
    // second monitor's information cannot be read.
    int calls = 0;
    win32::SetDisplaySource([&calls] {
        const win32::DisplayArea d{{0, 0, 800, 600}, {0, 0, 800, 600}};
        return ++calls == 1 ? std::vector<win32::DisplayArea>{d, d} : std::vector<win32::DisplayArea>{d};
    });
    list.mMonitors.resize(5); // emptied first
    EXPECT_FALSE(list.Enumerate());
    EXPECT_EQ(list.GetCount(), 1);
}
} // namespace
