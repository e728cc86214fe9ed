#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "support/FakePurchaseProvider.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <functional>
#include <memory>
#include <vector>

namespace
{
using purchase::Product;
using purchase::PurchaseSystem;
using Access = purchase::PurchaseSystemTestAccess;
using hvtest::FakeProvider;

struct RecordingListener : purchase::PurchaseListener
{
    std::vector<std::pair<int, Product*>> calls;
    void OnPurchaseSuccess(Product* p) override { calls.emplace_back(0, p); }
    void OnPurchaseFail(Product* p) override { calls.emplace_back(1, p); }
    void OnRestoreSuccess(Product* p) override { calls.emplace_back(2, p); }
    void OnRestoreFail(Product* p) override { calls.emplace_back(3, p); }
};

// A broadcast receiver registered under its own address.
struct Receiver
{
    std::vector<int> types;
    std::function<void()> onCall;
    void OnResult(const TPurchaseResult& result)
    {
        types.push_back(result.type);
        if (onCall)
            onCall();
    }
    void Register()
    {
        purchase::GetListenerTable()[this].Assign(
            new base::MemberDelegate1<Receiver, const TPurchaseResult&, void>(this, &Receiver::OnResult));
    }
};

class PurchaseSystemTest : public ::testing::Test
{
protected:
    void SetUp() override { file::UserDataFileContainer::Instance()->SetRootPath(userFolder.Wide()); }
    void TearDown() override
    {
        purchase::GetListenerTable().clear();
        base::testing::TeardownSingletonsNow();
    }

    static PurchaseSystem* Store() { return PurchaseSystem::Instance(); }

    FakeProvider* InstallProvider()
    {
        auto* provider = new FakeProvider;
        Access::SetProvider(provider);
        return provider;
    }

    hvtest::TempFolder userFolder;
};

TEST_F(PurchaseSystemTest, WithoutAProviderNothingHappens)
{
    Receiver receiver;
    receiver.Register();
    EXPECT_EQ(Store()->FindProduct(L"buy_50_cr"), nullptr);
    EXPECT_FALSE(PurchaseSystem::IsPurchased(nullptr));

    Product* product = Access::AddProduct(L"buy_50_cr", 2);
    EXPECT_EQ(Store()->FindProduct(L"buy_50_cr"), product);
    EXPECT_EQ(Store()->FindProduct(L"BUY_50_CR"), nullptr);
    Store()->Purchase(product, nullptr);
    Store()->RestorePurchases();
    EXPECT_FALSE(product->busy);
    EXPECT_TRUE(receiver.types.empty());
}

TEST_F(PurchaseSystemTest, RequestsReachOnlyAnAvailableProviderForAnIdleProduct)
{
    FakeProvider* provider = InstallProvider();
    Product* product = Access::AddProduct(L"buy_50_cr", 2);
    RecordingListener listener;

    Store()->Purchase(nullptr, &listener);
    EXPECT_TRUE(provider->purchases.empty());

    provider->available = false;
    Store()->Purchase(product, &listener);
    EXPECT_TRUE(provider->purchases.empty());
    EXPECT_FALSE(product->busy);

    provider->available = true;
    Store()->Purchase(product, &listener);
    Store()->Purchase(product, &listener); // busy: ignored
    EXPECT_EQ(provider->purchases, (std::vector<Product*>{product}));
    EXPECT_EQ(provider->reportTo, Store());
    EXPECT_TRUE(product->busy);
    EXPECT_EQ(product->listener, &listener);

    Store()->RestorePurchases();
    EXPECT_EQ(provider->restores, 1);
}

TEST_F(PurchaseSystemTest, ASuccessfulPurchaseIsOwnedSavedForwardedAndBroadcast)
{
    InstallProvider();
    Product* fifty = Access::AddProduct(L"buy_50_cr", 2);
    Access::AddProduct(L"other_state", 1);
    Access::AddProduct(L"buy_150_cr", 2);
    RecordingListener listener;
    Receiver receiver;
    receiver.Register();

    Store()->Purchase(fifty, &listener);
    Store()->OnPurchaseSuccess(fifty);
    EXPECT_FALSE(fifty->busy);
    EXPECT_TRUE(fifty->owned);
    EXPECT_TRUE(PurchaseSystem::IsPurchased(fifty));
    EXPECT_EQ(listener.calls, (std::vector<std::pair<int, Product*>>{{0, fifty}}));
    EXPECT_EQ(receiver.types, std::vector<int>{0});

    // "buy_50_cr=1 buy_150_cr=0 " as the only child of the top-level "Purchases".
    tinyxml2::XMLDocument* doc = file::Profiles::Instance()->GetDocument();
    ASSERT_TRUE(doc);
    const tinyxml2::XMLElement* purchases = doc->FirstChildElement("Purchases");
    ASSERT_TRUE(purchases);
    ASSERT_TRUE(purchases->FirstChild());
    EXPECT_EQ(purchases->FirstChild(), purchases->LastChild());
    ASSERT_TRUE(purchases->FirstChild()->ToText());
    EXPECT_STREQ(purchases->GetText(), "YnV5XzUwX2NyPTEgYnV5XzE1MF9jcj0wIA==");

    // A restore success of an owned product changes and broadcasts nothing.
    Store()->OnRestoreSuccess(fifty);
    EXPECT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(receiver.types, std::vector<int>{0});
}

TEST_F(PurchaseSystemTest, FailuresClearBusy)
{
    FakeProvider* provider = InstallProvider();
    Product* product = Access::AddProduct(L"buy_50_cr", 2);
    Product* unownable = Access::AddProduct(L"energy_refill", 1);
    RecordingListener listener;
    Receiver receiver;
    receiver.Register();

    Store()->Purchase(product, &listener);
    Store()->OnPurchaseFail(product);
    EXPECT_FALSE(product->busy);
    EXPECT_FALSE(product->owned);

    product->busy = true;
    Store()->OnRestoreFail(product);
    EXPECT_FALSE(product->busy);

    Store()->OnRestoreSuccess(product);
    EXPECT_TRUE(product->owned);

    // A product that cannot be owned is never recorded.
    Store()->Purchase(unownable, &listener);
    Store()->OnPurchaseSuccess(unownable);
    EXPECT_FALSE(unownable->owned);

    EXPECT_EQ(listener.calls, (std::vector<std::pair<int, Product*>>{{1, product}, {3, product}, {2, product},
                                                                     {0, unownable}}));
    EXPECT_EQ(receiver.types, (std::vector<int>{1, 3, 2, 0}));
    EXPECT_EQ(provider->purchases.size(), 2u);
}

TEST_F(PurchaseSystemTest, ABroadcastReachesOnlyTheKeysPresentWhenItBegan)
{
    Receiver late;
    Receiver first;
    Receiver second;
    first.onCall = [&] { late.Register(); };
    second.onCall = [&] { late.Register(); };
    first.Register();
    second.Register();

    PurchaseSystem::Broadcast({nullptr, 1});
    EXPECT_EQ(first.types, std::vector<int>{1});
    EXPECT_EQ(second.types, std::vector<int>{1});
    EXPECT_TRUE(late.types.empty());

    PurchaseSystem::Broadcast({nullptr, 3});
    EXPECT_EQ(late.types, std::vector<int>{3});
}

TEST_F(PurchaseSystemTest, AReplacedDelegateIsTheOneInvoked)
{
    Receiver replaced;
    Receiver current;
    const void* key = &replaced;
    purchase::GetListenerTable()[key].Assign(
        new base::MemberDelegate1<Receiver, const TPurchaseResult&, void>(&replaced, &Receiver::OnResult));
    purchase::GetListenerTable()[key].Assign(
        new base::MemberDelegate1<Receiver, const TPurchaseResult&, void>(&current, &Receiver::OnResult));
    PurchaseSystem::Broadcast({nullptr, 2});
    EXPECT_TRUE(replaced.types.empty());
    EXPECT_EQ(current.types, std::vector<int>{2});
}
}
