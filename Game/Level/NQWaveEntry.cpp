#include "Game/Level/NQWaveEntry.h"

NQWaveEntry::NQWaveEntry(NQWaveProto* wave) : mWave(wave) {}

void NQWaveEntry::SetState(int32_t state) { mState = state; }
