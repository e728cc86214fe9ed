#pragma once

namespace purchase
{
struct Product;

// Receives the outcome of store requests.
class PurchaseListener
{
public:
    virtual ~PurchaseListener() = default;
    virtual void OnPurchaseSuccess(Product* product) = 0;
    virtual void OnPurchaseFail(Product* product) = 0;
    virtual void OnRestoreSuccess(Product* product) = 0;
    virtual void OnRestoreFail(Product* product) = 0;
};
}
