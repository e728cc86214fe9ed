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
} // namespace
