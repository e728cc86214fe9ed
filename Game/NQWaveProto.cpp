#include "Game/NQWaveProto.h"

#include "Core/Base/DeleteAll.h"
#include "Game/NQWaveEntry.h"

NQWaveProto::~NQWaveProto()
{
    base::DeleteAll(mEntries);
}
