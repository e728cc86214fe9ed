#include "Game/NQSpriteAnimation.h"

NQSpriteAnimation::NQSpriteAnimation(const std::wstring& setName, const std::wstring& animationName)
    : mAnimationName(animationName), mSetName(setName)
{
}
void NQSpriteAnimation::Advance(float) {}
NQFrameEntry* NQSpriteAnimation::GetCurrentFrame(float, float, float) { return nullptr; }
void NQSpriteAnimation::Draw(render::Graphics*, float, float, float) {}
int NQSpriteAnimation::GetFrameCount() const { return 0; }
int NQSpriteAnimation::GetGroupFrameCount() const { return 0; }
