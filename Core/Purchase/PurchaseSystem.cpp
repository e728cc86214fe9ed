#include "Core/Purchase/PurchaseSystem.h"

#include "Core/Base/Base64.h"
#include "Core/Base/Format.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/Profiles.h"

#include <tinyxml2.h>

namespace purchase
{
ListenerTable& GetListenerTable()
{
    // Kept through the exit teardown: listeners that are singletons' parts
    // (the game's level) leave the table as they go.
    static ListenerTable* table = new ListenerTable;
    return *table;
}

PurchaseSystem::PurchaseSystem() = default;
PurchaseSystem::~PurchaseSystem() = default;

Product* PurchaseSystem::FindProduct(const std::wstring& id)
{
    for (const std::unique_ptr<Product>& product : m_products)
        if (product->id == id)
            return product.get();
    return nullptr;
}

bool PurchaseSystem::IsPurchased(const Product* product)
{
    return product && product->state == 2 && product->owned;
}

void PurchaseSystem::Purchase(Product* product, PurchaseListener* listener)
{
    if (!product || !m_provider || !m_provider->IsAvailable() || product->busy)
        return;
    product->busy = true;
    product->listener = listener;
    m_provider->Purchase(product, this);
}

void PurchaseSystem::RestorePurchases()
{
    if (m_provider)
        m_provider->Restore();
}

void PurchaseSystem::OnPurchaseSuccess(Product* product)
{
    if (!product)
        return;
    product->busy = false;
    if (product->state == 2)
    {
        product->owned = true;
        SavePurchases();
    }
    if (product->listener)
        product->listener->OnPurchaseSuccess(product);
    Broadcast({product, 0});
}

void PurchaseSystem::OnPurchaseFail(Product* product)
{
    if (!product)
        return;
    product->busy = false;
    if (product->listener)
        product->listener->OnPurchaseFail(product);
    Broadcast({product, 1});
}

void PurchaseSystem::OnRestoreSuccess(Product* product)
{
    if (!product || product->state != 2 || product->owned)
        return;
    product->owned = true;
    SavePurchases();
    if (product->listener)
        product->listener->OnRestoreSuccess(product);
    Broadcast({product, 2});
}

void PurchaseSystem::OnRestoreFail(Product* product)
{
    if (!product)
        return;
    product->busy = false;
    if (product->listener)
        product->listener->OnRestoreFail(product);
    Broadcast({product, 3});
}

void PurchaseSystem::Broadcast(const TPurchaseResult& result)
{
    // Listeners may register or replace entries while being called: walk a
    // copy, but call what the live table holds now.
    ListenerTable& live = GetListenerTable();
    const ListenerTable copy = live;
    for (const auto& entry : copy)
    {
        const base::DelegateHandle& holder = live[entry.first];
        if (holder)
            holder.As<PurchaseResultDelegate>()->Invoke(result);
    }
}

void PurchaseSystem::SavePurchases()
{
    std::string text;
    for (const std::unique_ptr<Product>& product : m_products)
    {
        if (product->state != 2)
            continue;
        base::FormatA item("%s=%d ");
        item % base::ToNarrow(product->id, 1) % int32_t(product->owned ? 1 : 0);
        text += item.GetText();
    }
    if (text.empty())
        return;
    tinyxml2::XMLElement* purchases = file::Profiles::Instance()->GetPurchasesElement();
    purchases->DeleteChildren();
    purchases->InsertEndChild(purchases->GetDocument()->NewText(base::Base64Encode(text).c_str()));
}
}
