#pragma once

#include "Core/Base/Delegate.h"
#include "Core/Base/DelegateHandle.h"

#include <map>

namespace purchase
{
struct Product;
}

// type: 0 purchase succeeded, 1 purchase failed, 2 restore succeeded, 3 restore failed.
struct TPurchaseResult
{
    purchase::Product* product = nullptr;
    int type = 0;
};

namespace purchase
{
using PurchaseResultDelegate = base::Delegate1<const TPurchaseResult&, void>;

// Owner key (the registering object's address) -> its delegate. Assigning a
// new delegate to a key releases the previous one.
using ListenerTable = std::map<const void*, base::DelegateHandle>;
ListenerTable& GetListenerTable();
}
