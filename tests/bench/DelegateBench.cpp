// A two-argument member delegate invoked through a handle, against a plain
// virtual call of the same method.
#include "Core/Base/Delegate.h"
#include "Core/Base/DelegateHandle.h"

#include <benchmark/benchmark.h>

namespace
{
class Listener
{
public:
    virtual ~Listener() = default;
    virtual int OnDraw(int a, int b);
};

class Drawer final : public Listener
{
public:
    int OnDraw(int a, int b) override { return a + b + mBias; }
    int mBias = 1;
};

int Listener::OnDraw(int a, int b)
{
    return a - b;
}

using Hook = base::Delegate2<int, int, int>;

void DelegateThroughHandle(benchmark::State& state)
{
    Drawer drawer;
    base::DelegateHandle handle;
    handle.Assign(new base::MemberDelegate2<Listener, int, int, int>(&drawer, &Listener::OnDraw));
    int a = 1;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(handle);
        if (handle)
            a = handle.As<Hook>()->Invoke(a, 2);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(DelegateThroughHandle);

void DirectVirtualCall(benchmark::State& state)
{
    Drawer drawer;
    Listener* listener = &drawer;
    int a = 1;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(listener);
        a = listener->OnDraw(a, 2);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(DirectVirtualCall);
} // namespace
