#pragma once

namespace purchase
{
class PurchaseListener;
struct Product;

// A platform store. None exists on this platform; it reports each outcome to
// the listener it was given.
class PurchaseProvider
{
public:
    virtual ~PurchaseProvider() = default;
    virtual bool IsAvailable() = 0;
    virtual void Purchase(Product* product, PurchaseListener* listener) = 0;
    virtual void Restore() = 0;
};
}
