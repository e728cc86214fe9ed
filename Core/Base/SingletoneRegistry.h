#pragma once

#include <utility>
#include <vector>

namespace base
{
class SingletoneBase;

// Owns every singleton and deletes them at exit, each before the singletons
// it depends on. The process-wide one is made on first use and torn down
// from atexit.
class SingletoneRegistry
{
public:
    using Pair = std::pair<SingletoneBase*, SingletoneBase*>; // (dependent, dependency)

    static SingletoneRegistry& Process();
    static bool ProcessTornDown();

    void Register(SingletoneBase* singleton);
    void AddPair(SingletoneBase* dependent, SingletoneBase* dependency);

    // Moves every singleton before its dependencies by exchanging two entries
    // at a time. A dependency cycle stops after n * n passes with one line on
    // the debugger output; the order then stays as it is.
    void SortByDependencies();
    // Deletes from the front; singletons made meanwhile are deleted in their turn.
    void DestroyAll();
    // Sort, destroy, then free both lists.
    void Teardown();

    const std::vector<SingletoneBase*>& Singletons() const { return mSingletons; }

private:
    bool SortPass();

    std::vector<Pair> mPairs;
    std::vector<SingletoneBase*> mSingletons;
};

namespace testing
{
// Runs the process teardown now; unless told otherwise, the next singleton
// then starts a fresh registry as if the process had just begun.
void TeardownSingletonsNow(bool startAgain = true);
} // namespace testing
} // namespace base
