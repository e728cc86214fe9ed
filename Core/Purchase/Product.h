#pragma once

#include <string>
#include <vector>

namespace purchase
{
class PurchaseListener;

// A store product. Only a provider fills the texts and the block.
struct Product
{
    PurchaseListener* listener = nullptr; // not owned; set by a purchase request
    int state = 0;                        // 2: a product that can be owned
    std::wstring id;                      // the store's identifier, e.g. "buy_50_cr"
    std::wstring price;                   // the display price as the store gives it
    std::wstring message;                 // the text of the buy question
    std::vector<unsigned char> block;     // the provider's own data
    bool owned = false;
    bool busy = false; // a request is under way
    bool extra = false;
};
}
