#include "Game/NQFrameEntry.h"

NQFrameEntry::NQFrameEntry() = default;
NQFrameEntry::NQFrameEntry(const NQFrameEntry& other) { *this = other; }
NQFrameEntry& NQFrameEntry::operator=(const NQFrameEntry&) { return *this; }
NQFrameEntry::~NQFrameEntry() = default;
void NQFrameEntry::Draw(render::Graphics*, float) {}
void NQFrameEntry::HitTest(int, int) {}
void NQFrameEntry::Update(float) {}
