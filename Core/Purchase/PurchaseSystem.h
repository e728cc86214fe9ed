#pragma once

#include "Core/Base/Singletone.h"
#include "Core/Purchase/Product.h"
#include "Core/Purchase/PurchaseListener.h"
#include "Core/Purchase/PurchaseProvider.h"
#include "Core/Purchase/PurchaseResult.h"

#include <memory>
#include <string>
#include <vector>

namespace purchase
{
class PurchaseSystemTestAccess;

// The client side of the in-app store. The provider reports to this system,
// which records ownership in the profiles and tells every listener.
class PurchaseSystem : public base::Singletone<PurchaseSystem>, public PurchaseListener
{
public:
    PurchaseSystem();
    ~PurchaseSystem() override;

    Product* FindProduct(const std::wstring& id);
    static bool IsPurchased(const Product* product);
    // Ignored without an available provider, for a null or a busy product.
    void Purchase(Product* product, PurchaseListener* listener);
    void RestorePurchases();

    void OnPurchaseSuccess(Product* product) override;
    void OnPurchaseFail(Product* product) override;
    void OnRestoreSuccess(Product* product) override;
    void OnRestoreFail(Product* product) override;

    // Calls every listener whose key is in the table when the broadcast starts.
    static void Broadcast(const TPurchaseResult& result);
    // Writes "id=owned " for every ownable product, base64-encoded, into "Purchases".
    void SavePurchases();

private:
    friend class PurchaseSystemTestAccess;

    std::unique_ptr<PurchaseProvider> m_provider;
    std::vector<std::unique_ptr<Product>> m_products;
};
}
