#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Core/Resource/Resource.h"
#include "Core/Resource/ResourceManager.h"

#include <gtest/gtest.h>

#include <new>

namespace
{
using resource::ResourceHandle;
using resource::ResourceManager;

struct Counters
{
    int loads = 0;
    int unloads = 0;
    int deletes = 0;
};

// Counts what the manager does to it.
class Fake : public resource::Resource
{
public:
    static inline Counters counters;
    static inline bool failInit = false;
    static inline bool failLoad = false;
    static inline bool failUnLoad = false;

    ~Fake() override { ++counters.deletes; }
    HVResultEnum Release() override { return ResourceManager::Instance()->Remove<Fake>(this); }
    HVResultEnum OnInit() override { return failInit ? HV_FAIL : HV_OK; }
    HVResultEnum DoLoad() override
    {
        ++counters.loads;
        return failLoad ? HV_FAIL : HV_OK;
    }
    HVResultEnum DoUnLoad() override
    {
        ++counters.unloads;
        return failUnLoad ? HV_FAIL : HV_OK;
    }
};

// Keeps what the main log writes to its HTML outputs, after the page head.
class HtmlCapture : public base::LogOutput
{
public:
    explicit HtmlCapture(std::vector<std::wstring>* texts)
        : m_texts(texts)
    {
    }
    void Write(const std::wstring& text) override
    {
        if (m_headSeen)
            m_texts->push_back(text);
        m_headSeen = true;
    }

private:
    std::vector<std::wstring>* m_texts;
    bool m_headSeen = false;
};

// A second type with its own map.
class Other : public Fake
{
public:
    HVResultEnum Release() override { return ResourceManager::Instance()->Remove<Other>(this); }
};

class ResourceManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Fake::counters = Counters();
        Fake::failInit = Fake::failLoad = Fake::failUnLoad = false;
    }
    void TearDown() override { base::testing::TeardownSingletonsNow(); }

    static ResourceHandle<Fake> Get(const std::wstring& name) { return ResourceManager::Instance()->Get<Fake>(name); }
    static size_t MapSize() { return ResourceManager::Instance()->GetMap<Fake>().size(); }

    // Outlives the log's last writes at the teardown.
    std::vector<std::wstring> logged;
};

TEST_F(ResourceManagerTest, HandlesShareOneResourceUntilTheLastRelease)
{
    ResourceHandle<Fake> a = Get(L"tex");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Load(), HV_OK);
    ResourceHandle<Fake> b = Get(L"tex");
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(a.UseCount(), 2);
    EXPECT_EQ(a->GetName(), L"tex");

    Fake* first = a.Get();
    a.Reset();
    EXPECT_EQ(Fake::counters.deletes, 0);
    b.Reset();
    EXPECT_EQ(Fake::counters.unloads, 1);
    EXPECT_EQ(Fake::counters.deletes, 1);
    EXPECT_EQ(MapSize(), 0u);

    ResourceHandle<Fake> c = Get(L"tex");
    EXPECT_FALSE(c->IsLoaded());
    EXPECT_EQ(c.UseCount(), 1);
    (void)first;
}

TEST_F(ResourceManagerTest, NamesAreCaseSensitiveAndTypesSeparate)
{
    ResourceHandle<Fake> lower = Get(L"font");
    ResourceHandle<Fake> upper = Get(L"Font");
    ResourceHandle<Other> other = ResourceManager::Instance()->Get<Other>(L"font");
    EXPECT_NE(lower.Get(), upper.Get());
    EXPECT_NE(static_cast<Fake*>(other.Get()), lower.Get());
    EXPECT_EQ(lower.UseCount(), 1);
    EXPECT_EQ(MapSize(), 2u);
}

TEST_F(ResourceManagerTest, LoadAndUnLoadTwiceOnlyLog)
{
    base::MainLog::Instance()->AddHtmlOutput(new HtmlCapture(&logged));
    ResourceHandle<Fake> h = Get(L"snd");
    EXPECT_EQ(h->UnLoad(), HV_OK);
    EXPECT_EQ(h->Load(), HV_OK);
    EXPECT_EQ(h->Load(), HV_OK);
    EXPECT_TRUE(h->IsLoaded());
    EXPECT_EQ(Fake::counters.loads, 1);
    EXPECT_EQ(Fake::counters.unloads, 0);
    EXPECT_EQ(logged, (std::vector<std::wstring>{
                          L"<div class=\"block\">Trying to UnLoad already unloaded resource 'snd'.\n</div>",
                          L"<div class=\"block\">Trying to Load already loaded resource 'snd'.\n</div>"}));
}

TEST_F(ResourceManagerTest, AFailingUnLoadKeepsTheResource)
{
    ResourceHandle<Fake> h = Get(L"mesh");
    h->Load();
    Fake::failUnLoad = true;
    h.Reset();
    EXPECT_EQ(Fake::counters.deletes, 0);
    EXPECT_EQ(MapSize(), 1u);

    Fake::failUnLoad = false;
    ResourceHandle<Fake> again = Get(L"mesh");
    EXPECT_TRUE(again->IsLoaded());
    EXPECT_EQ(again.UseCount(), 1);
    again.Reset();
    EXPECT_EQ(Fake::counters.deletes, 1);
}

TEST_F(ResourceManagerTest, AFailingLoadStaysUnloadedAndIsDeletedOnRelease)
{
    Fake::failLoad = true;
    ResourceHandle<Fake> h = Get(L"anim");
    EXPECT_EQ(h->Load(), HV_FAIL);
    EXPECT_FALSE(h->IsLoaded());
    h.Reset();
    EXPECT_EQ(Fake::counters.unloads, 0);
    EXPECT_EQ(Fake::counters.deletes, 1);
}

TEST_F(ResourceManagerTest, AFailingInitDeletesItsObject)
{
    Fake::failInit = true;
    ResourceHandle<Fake> h = Get(L"shader");
    EXPECT_FALSE(h);
    EXPECT_EQ(h.UseCount(), 0);
    EXPECT_EQ(Fake::counters.deletes, 1);
    EXPECT_EQ(MapSize(), 0u);
}

TEST_F(ResourceManagerTest, HandleCopiesAndAssignments)
{
    {
        ResourceHandle<Fake> a = Get(L"a");
        ResourceHandle<Fake> b = Get(L"b");
        ResourceHandle<Fake> copy(a);
        EXPECT_EQ(a.UseCount(), 2);

        copy = b; // over a live handle: a loses one use
        EXPECT_EQ(a.UseCount(), 1);
        EXPECT_EQ(b.UseCount(), 2);

        ResourceHandle<Fake>& alias = a;
        a = alias; // self-assignment with the last use
        EXPECT_EQ(a.UseCount(), 1);
        EXPECT_EQ(a->GetName(), L"a");
        EXPECT_EQ(Fake::counters.deletes, 0);

        ResourceHandle<Fake> empty;
        ResourceHandle<Fake> emptyCopy(empty);
        EXPECT_FALSE(emptyCopy);
        emptyCopy.Reset();
        empty.Reset();
        a = empty; // the last use of "a" goes
        EXPECT_EQ(Fake::counters.deletes, 1);
        EXPECT_FALSE(a);
    }
    EXPECT_EQ(Fake::counters.deletes, 2);
    EXPECT_EQ(MapSize(), 0u);
}

TEST_F(ResourceManagerTest, TheManagerFreesItsMapsWithoutTouchingWhatIsLeft)
{
    // A handle still held at the manager's end (which the program never does)
    // must not be unloaded or deleted by the manager.
    alignas(ResourceHandle<Fake>) unsigned char storage[sizeof(ResourceHandle<Fake>)];
    auto* held = new (storage) ResourceHandle<Fake>(Get(L"left"));
    Fake* raw = held->Get();
    raw->Load();
    int* count = ResourceManager::Instance()->GetMap<Fake>().at(L"left").second;

    base::testing::TeardownSingletonsNow();
    EXPECT_EQ(Fake::counters.unloads, 0);
    EXPECT_EQ(Fake::counters.deletes, 0);

    // A new manager starts with an empty map.
    EXPECT_EQ(MapSize(), 0u);
    delete raw;
    delete count;
}
}
