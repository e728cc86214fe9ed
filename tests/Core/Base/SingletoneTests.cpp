#include "Core/Base/Singletone.h"
#include "Core/Base/SingletoneRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> gDestroyed;

// A singleton-registered object with a name, chosen dependencies and a hook
// its destructor runs.
class Named : public base::SingletoneBase
{
public:
    explicit Named(std::string name) : mName(std::move(name)) {}
    ~Named() override
    {
        gDestroyed.push_back(mName);
        if (mOnDestroy)
            mOnDestroy();
    }
    std::vector<base::SingletoneBase*> GetDependencies() override
    {
        return mGetDependencies ? mGetDependencies() : std::vector<base::SingletoneBase*>{};
    }

    std::string mName;
    std::function<std::vector<base::SingletoneBase*>()> mGetDependencies;
    std::function<void()> mOnDestroy;
};

std::vector<std::string> NamesOf(const std::vector<base::SingletoneBase*>& list)
{
    std::vector<std::string> names;
    for (base::SingletoneBase* s : list)
    {
        const auto* named = dynamic_cast<Named*>(s);
        names.push_back(named ? named->mName : "late");
    }
    return names;
}

class SingletoneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        base::testing::TeardownSingletonsNow();
        gDestroyed.clear();
    }
    void TearDown() override { base::testing::TeardownSingletonsNow(); }
};

TEST_F(SingletoneTest, SortTable)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<int, int>> declared; // (dependent, dependency) through GetDependencies
        std::vector<std::pair<int, int>> pairs;    // recorded pairs
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"S3 depends on S1: one exchange", {{2, 0}}, {}, {"S3", "S2", "S1"}},
        {"dependent already before its dependency", {{0, 2}}, {}, {"S1", "S2", "S3"}},
        {"pair with the dependency first", {}, {{2, 0}}, {"S3", "S2", "S1"}},
        {"pair with the dependency after the dependent", {}, {{0, 2}}, {"S1", "S2", "S3"}},
        {"chain S1 -> S2 -> S3", {{1, 2}, {0, 1}}, {}, {"S1", "S2", "S3"}},
        {"chain S3 -> S2 -> S1", {{2, 1}, {1, 0}}, {}, {"S3", "S2", "S1"}},
        {"dependency not registered is skipped", {{0, 3}}, {{1, 3}}, {"S1", "S2", "S3"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<Named*> s = {new Named("S1"), new Named("S2"), new Named("S3"), new Named("outsider")};
        for (auto [dependent, dependency] : c.declared)
        {
            auto previous = s[dependent]->mGetDependencies;
            Named* d = s[dependency];
            s[dependent]->mGetDependencies = [previous, d] {
                auto list = previous ? previous() : std::vector<base::SingletoneBase*>{};
                list.push_back(d);
                return list;
            };
        }
        base::SingletoneRegistry registry;
        for (int i = 0; i < 3; ++i)
            registry.Register(s[i]);
        for (auto [dependent, dependency] : c.pairs)
            registry.AddPair(s[dependent], s[dependency]);
        registry.SortByDependencies();
        EXPECT_EQ(NamesOf(registry.Singletons()), c.order);
        base::testing::TeardownSingletonsNow();
    }
}

class Late : public base::Singletone<Late>
{
public:
    ~Late() override { gDestroyed.push_back("late"); }
    std::vector<base::SingletoneBase*> GetDependencies() override { return {sDependency}; }
    static inline base::SingletoneBase* sDependency = nullptr;
};

TEST_F(SingletoneTest, DependencyMadeDuringTheSortTakesPart)
{
    Named* a = new Named("a");
    Named* b = new Named("b");
    Late::sDependency = b;
    // late does not exist yet: the first GetDependencies of a appends it, and
    // its own dependency on b moves it before b in a later step.
    a->mGetDependencies = [] { return std::vector<base::SingletoneBase*>{Late::Instance()}; };
    auto& registry = base::SingletoneRegistry::Process();
    registry.SortByDependencies();
    EXPECT_EQ(NamesOf(registry.Singletons()), (std::vector<std::string>{"a", "late", "b"}));
}

TEST_F(SingletoneTest, CycleEndsAtTheCap)
{
    Named* a = new Named("a");
    Named* b = new Named("b");
    a->mGetDependencies = [b] { return std::vector<base::SingletoneBase*>{b}; };
    b->mGetDependencies = [a] { return std::vector<base::SingletoneBase*>{a}; };
    ::testing::internal::CaptureStderr();
    base::testing::TeardownSingletonsNow();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("cycle"), std::string::npos) << err;
    EXPECT_EQ(gDestroyed.size(), 2u);
}

// Stand-ins for the system's singletons, made in start-up order.
class StandIn : public Named
{
public:
    using Named::Named;
};

TEST_F(SingletoneTest, SystemOrderDeletesDependentsFirst)
{
    std::map<std::string, StandIn*> s;
    auto make = [&](const char* name) { s[name] = new StandIn(name); };
    make("application");
    make("resources");
    base::SingletoneBase::AddDependency(s["application"], s["resources"]);
    for (const char* name : {"log", "files", "profiles", "userdata", "sound", "soundtags", "purchase", "images",
                             "particles", "dialogeffects", "strings", "sprites", "tutorial"})
        make(name);
    s["profiles"]->mGetDependencies = [&] { return std::vector<base::SingletoneBase*>{s["userdata"]}; };
    s["sound"]->mGetDependencies = [&] { return std::vector<base::SingletoneBase*>{s["resources"]}; };

    base::testing::TeardownSingletonsNow();

    auto place = [&](const std::string& name) {
        return std::find(gDestroyed.begin(), gDestroyed.end(), name) - gDestroyed.begin();
    };
    ASSERT_EQ(gDestroyed.size(), s.size());
    EXPECT_EQ(gDestroyed.front(), "application");
    EXPECT_LT(place("application"), place("resources"));
    EXPECT_LT(place("profiles"), place("userdata"));
    EXPECT_LT(place("sound"), place("resources"));
}

class Counted : public base::Singletone<Counted>
{
public:
    Counted() { ++sMade; }
    ~Counted() override
    {
        ++sDeleted;
        mAlive = 0;
    }
    int Touch() const { return mAlive; }

    static inline int sMade = 0;
    static inline int sDeleted = 0;
    int mAlive = 0x5a5a;
};

TEST_F(SingletoneTest, AccessDuringTeardownMakesAFreshObjectDeletedInItsTurn)
{
    Counted::sMade = Counted::sDeleted = 0;
    Counted* first = Counted::Instance();
    EXPECT_EQ(Counted::Instance(), first);
    // Registered after Counted, so deleted after it: its destructor reaches Counted again.
    Named* user = new Named("user");
    int seen = 0;
    user->mOnDestroy = [&] { seen = Counted::Instance()->Touch(); };
    base::testing::TeardownSingletonsNow();
    EXPECT_EQ(seen, 0x5a5a);
    EXPECT_EQ(Counted::sMade, 2);
    EXPECT_EQ(Counted::sDeleted, 2);
    // After a restart the accessor makes a live object again.
    EXPECT_EQ(Counted::Instance()->Touch(), 0x5a5a);
    EXPECT_EQ(Counted::sMade, 3);
}

TEST_F(SingletoneTest, SingletonMadeByADestructorIsDeleted)
{
    Named* a = new Named("a");
    a->mOnDestroy = [] { new Named("made by a"); };
    new Named("b");
    base::testing::TeardownSingletonsNow();
    EXPECT_EQ(gDestroyed, (std::vector<std::string>{"a", "b", "made by a"}));
}

TEST_F(SingletoneTest, AccessAfterTheTeardownIsCaughtInDebugBuilds)
{
#ifndef NDEBUG
    EXPECT_DEATH(
        {
            base::testing::TeardownSingletonsNow(false);
            Counted::Instance();
        },
        "after the exit teardown");
#else
    GTEST_SKIP() << "assertions are compiled out";
#endif
}
} // namespace
