#pragma once

#include "Core/Base/NoCopy.h"

#include <cassert>
#include <vector>

namespace base
{
// Base of every singleton. Construction registers the object with the
// process-wide registry, which deletes it at exit after every singleton that
// depends on it.
class SingletoneBase : public NoCopy
{
public:
    SingletoneBase();
    virtual ~SingletoneBase();

    // The singletons this one uses until its end; obtained through their accessors.
    virtual std::vector<SingletoneBase*> GetDependencies();

    static void AddDependency(SingletoneBase* dependent, SingletoneBase* dependency);

protected:
    // True once the exit teardown has finished: no singleton may be made then.
    static bool IsTornDown();
};

// One instance of T, made by the first Instance() call.
template <class T>
class Singletone : public SingletoneBase
{
public:
    static T* Instance()
    {
        if (!sInstance)
        {
            assert(!IsTornDown() && "singleton reached after the exit teardown");
            sInstance = new T;
        }
        return sInstance;
    }

protected:
    // The registry may delete the object at exit while others still reach for
    // it; a fresh access then makes a new one, which the registry deletes in turn.
    ~Singletone() override { sInstance = nullptr; }

    static inline T* sInstance = nullptr;
};
} // namespace base
