#include "Core/App/CriticalSection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
// Built before main, as the window's creation lock is.
app::CriticalSection gStaticLock;

TEST(CriticalSection, StaticLockWorks)
{
    gStaticLock.Lock();
    gStaticLock.Unlock();
}

TEST(CriticalSection, ReentrantForItsOwnerAndExcludesOthers)
{
    app::CriticalSection lock;
    lock.Lock();
    lock.Lock(); // the owner enters again

    std::atomic<bool> entered{false};
    std::thread other([&] {
        lock.Lock();
        entered = true;
        lock.Unlock();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(entered);
    lock.Unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(entered) << "one of two entries still held";
    lock.Unlock();
    other.join();
    EXPECT_TRUE(entered);
}
} // namespace
