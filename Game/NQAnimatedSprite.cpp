#include "Game/NQAnimatedSprite.h"

#include "Game/NQSpriteAnimation.h"

NQAnimatedSprite::NQAnimatedSprite(const std::wstring& setName)
    : mAnimation(new NQSpriteAnimation(setName, std::wstring()))
{
}
NQAnimatedSprite::~NQAnimatedSprite() { delete mAnimation; }
void NQAnimatedSprite::SetAnchor(NQEnemy*) {}
void NQAnimatedSprite::ForgetAnchor() {}
float NQAnimatedSprite::GetDuration() const { return 0.0f; }
void NQAnimatedSprite::Draw(render::Graphics*) {}
void NQAnimatedSprite::QueueDraw() {}
void NQAnimatedSprite::Update(float) {}
bool NQAnimatedSprite::PlacePosition(float&, float&) { return false; }
