#pragma once

// What only a platform store provides, for tests: a provider that records
// the requests and reports when told, and the products it would list.
#include "Core/Purchase/PurchaseSystem.h"

#include <memory>
#include <string>
#include <vector>

namespace purchase
{
// Installs what only a platform store would provide.
class PurchaseSystemTestAccess
{
public:
    static void SetProvider(PurchaseProvider* provider) { PurchaseSystem::Instance()->m_provider.reset(provider); }
    static Product* AddProduct(const std::wstring& id, int state)
    {
        auto product = std::make_unique<Product>();
        product->id = id;
        product->state = state;
        PurchaseSystem::Instance()->m_products.push_back(std::move(product));
        return PurchaseSystem::Instance()->m_products.back().get();
    }
};
} // namespace purchase

namespace hvtest
{
// Keeps every request; the test reports the result to `reportTo`.
struct FakeProvider : purchase::PurchaseProvider
{
    bool available = true;
    std::vector<purchase::Product*> purchases;
    int restores = 0;
    purchase::PurchaseListener* reportTo = nullptr;

    bool IsAvailable() override { return available; }
    void Purchase(purchase::Product* product, purchase::PurchaseListener* listener) override
    {
        purchases.push_back(product);
        reportTo = listener;
    }
    void Restore() override { ++restores; }
};
} // namespace hvtest
