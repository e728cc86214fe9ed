#include "Core/Base/DeferredDelete.h"
#include "Core/Base/DeleteAll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> gDeleted;

class Queued : public base::DeferredDeletable
{
public:
    Queued(std::string name, base::DeferredDeleteManager* requeueInto = nullptr)
        : mName(std::move(name)), mRequeueInto(requeueInto)
    {
    }
    ~Queued() override
    {
        gDeleted.push_back(mName);
        // A destructor may queue more; the same DeleteAll must take them too.
        if (mRequeueInto)
        {
            for (int i = 0; i < 8; ++i)
                mRequeueInto->mDeferredQueue.push_back(new Queued(mName + "." + std::to_string(i)));
        }
    }

    std::string mName;
    base::DeferredDeleteManager* mRequeueInto;
};

TEST(DeferredDeleteManager, DeletesWhatADestructorQueuesDuringTheCall)
{
    gDeleted.clear();
    base::DeferredDeleteManager manager;
    manager.mDeferredQueue = {new Queued("a", &manager), nullptr, new Queued("b")};
    manager.DeleteAll();
    EXPECT_EQ(gDeleted, (std::vector<std::string>{"a", "b", "a.0", "a.1", "a.2", "a.3", "a.4", "a.5", "a.6", "a.7"}));
    EXPECT_TRUE(manager.mDeferredQueue.empty());
    manager.DeleteAll(); // an empty queue does nothing
    EXPECT_EQ(gDeleted.size(), 10u);
}

TEST(DeleteAll, DeletesFrontToBackAndEmpties)
{
    gDeleted.clear();
    std::vector<Queued*> list = {new Queued("1"), new Queued("2"), new Queued("3")};
    base::DeleteAll(list);
    EXPECT_EQ(gDeleted, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_TRUE(list.empty());
}

// An element whose destructor looks at the list it was deleted from.
class Watcher
{
public:
    Watcher(std::string name, std::vector<Watcher*>* list) : mName(std::move(name)), mList(list) {}
    ~Watcher()
    {
        std::string seen;
        for (const Watcher* other : *mList)
        {
            EXPECT_NE(other, this) << mName << " still in the list while deleted";
            seen += other->mName; // reads every element still listed
        }
        gDeleted.push_back(mName + ":" + seen);
    }

    std::string mName;
    std::vector<Watcher*>* mList;
};

TEST(DeleteAll, EachElementLeavesTheListBeforeItsDestructorRuns)
{
    gDeleted.clear();
    std::vector<Watcher*> list;
    for (const char* name : {"a", "b", "c"})
        list.push_back(new Watcher(name, &list));
    base::DeleteAll(list);
    EXPECT_EQ(gDeleted, (std::vector<std::string>{"a:bc", "b:c", "c:"}));
    EXPECT_TRUE(list.empty());
}

TEST(EraseAndDelete, TakesOutTheOneElementAndKeepsTheOrder)
{
    gDeleted.clear();
    std::vector<Watcher*> list;
    for (const char* name : {"a", "b", "c", "d"})
        list.push_back(new Watcher(name, &list));
    Watcher* middle = list[1];
    base::EraseAndDelete(list, middle);
    EXPECT_EQ(gDeleted, (std::vector<std::string>{"b:acd"}));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->mName, "a");
    EXPECT_EQ(list[1]->mName, "c");
    EXPECT_EQ(list[2]->mName, "d");

    // Not in the list: nothing changes and nothing is freed.
    std::vector<Watcher*> other;
    Watcher outsider("x", &other);
    base::EraseAndDelete(list, &outsider);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(gDeleted.size(), 1u);

    base::DeleteAll(list);
}
} // namespace
