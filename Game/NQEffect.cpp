#include "Game/NQEffect.h"

NQEffect::NQEffect(const std::string&) {}
NQEffect::~NQEffect() = default;
void NQEffect::Update(float) {}
