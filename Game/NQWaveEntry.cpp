#include "Game/NQWaveEntry.h"

NQWaveEntry::NQWaveEntry(NQWaveProto* wave) : mWave(wave) {}
