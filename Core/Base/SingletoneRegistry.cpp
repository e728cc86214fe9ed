#include "Core/Base/SingletoneRegistry.h"

#include "Core/Base/Singletone.h"
#include "Platform/Win32/DebugOutput.h"

#include <algorithm>
#include <cstdlib>

namespace base
{
namespace
{
SingletoneRegistry* gRegistry = nullptr;
bool gTornDown = false;

void TeardownAtExit()
{
    if (!gRegistry)
        return;
    gRegistry->Teardown();
    delete gRegistry;
    gRegistry = nullptr;
    gTornDown = true;
}

// The first place of the object in the list, or -1.
std::ptrdiff_t PlaceOf(const std::vector<SingletoneBase*>& list, const SingletoneBase* object)
{
    const auto it = std::find(list.begin(), list.end(), object);
    return it == list.end() ? -1 : it - list.begin();
}
} // namespace

SingletoneRegistry& SingletoneRegistry::Process()
{
    if (!gRegistry)
    {
        static bool registeredAtExit = false;
        gRegistry = new SingletoneRegistry;
        gTornDown = false;
        if (!registeredAtExit)
        {
            registeredAtExit = true;
            std::atexit(TeardownAtExit);
        }
    }
    return *gRegistry;
}

bool SingletoneRegistry::ProcessTornDown()
{
    return gTornDown;
}

void SingletoneRegistry::Register(SingletoneBase* singleton)
{
    mSingletons.push_back(singleton);
}

void SingletoneRegistry::AddPair(SingletoneBase* dependent, SingletoneBase* dependency)
{
    mPairs.emplace_back(dependent, dependency);
}

bool SingletoneRegistry::SortPass()
{
    bool changed = false;
    // GetDependencies may make (and so append) singletons: walk by index and
    // read the size again each time.
    for (size_t s = 0; s < mSingletons.size() && !changed; ++s)
    {
        SingletoneBase* singleton = mSingletons[s];
        if (!singleton)
            continue;
        const std::vector<SingletoneBase*> dependencies = singleton->GetDependencies();
        for (SingletoneBase* dependency : dependencies)
        {
            const std::ptrdiff_t d = PlaceOf(mSingletons, dependency);
            const std::ptrdiff_t self = PlaceOf(mSingletons, singleton);
            if (d >= 0 && self >= 0 && d < self)
            {
                std::swap(mSingletons[static_cast<size_t>(d)], mSingletons[static_cast<size_t>(self)]);
                changed = true;
                break;
            }
        }
    }
    for (const Pair& pair : mPairs)
    {
        const std::ptrdiff_t dependent = PlaceOf(mSingletons, pair.first);
        const std::ptrdiff_t dependency = PlaceOf(mSingletons, pair.second);
        if (dependent >= 0 && dependency >= 0 && dependency < dependent)
        {
            std::swap(mSingletons[static_cast<size_t>(dependent)], mSingletons[static_cast<size_t>(dependency)]);
            changed = true;
        }
    }
    return changed;
}

void SingletoneRegistry::SortByDependencies()
{
    for (size_t pass = 0;; ++pass)
    {
        const size_t n = mSingletons.size();
        if (pass >= n * n)
        {
            if (n > 0)
                OutputDebugStringW(L"Singleton dependencies form a cycle; deleting in the current order\n");
            return;
        }
        if (!SortPass())
            return;
    }
}

void SingletoneRegistry::DestroyAll()
{
    while (!mSingletons.empty())
    {
        SingletoneBase* singleton = mSingletons.front();
        delete singleton;
        // The destructor may have appended: erase by position, not by a kept iterator.
        mSingletons.erase(mSingletons.begin());
    }
}

void SingletoneRegistry::Teardown()
{
    SortByDependencies();
    DestroyAll();
    std::vector<Pair>().swap(mPairs);
    std::vector<SingletoneBase*>().swap(mSingletons);
}

SingletoneBase::SingletoneBase()
{
    SingletoneRegistry::Process().Register(this);
}

SingletoneBase::~SingletoneBase() = default;

std::vector<SingletoneBase*> SingletoneBase::GetDependencies()
{
    return {};
}

void SingletoneBase::AddDependency(SingletoneBase* dependent, SingletoneBase* dependency)
{
    SingletoneRegistry::Process().AddPair(dependent, dependency);
}

bool SingletoneBase::IsTornDown()
{
    return SingletoneRegistry::ProcessTornDown();
}

namespace testing
{
void TeardownSingletonsNow(bool startAgain)
{
    TeardownAtExit();
    gTornDown = !startAgain;
}
} // namespace testing
} // namespace base
