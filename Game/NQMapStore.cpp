// Store results in the level.
#include "Core/Purchase/PurchaseResult.h"
#include "Game/NQMap.h"

void NQMap::OnPurchaseResult(const TPurchaseResult&)
{
}
