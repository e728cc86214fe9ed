#include "Game/NQButtonFrame.h"

void NQButtonFrame::Draw(render::Graphics*, float) {}
void NQButtonFrame::HitTest(int, int) {}
void NQButtonFrame::Update(float) {}
