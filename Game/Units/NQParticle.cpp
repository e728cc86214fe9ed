#include "Game/Units/NQParticle.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Math/MathFunctions.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Units/NQEnemy.h"

#include <cmath>

namespace
{
constexpr int kLoop = 1;
constexpr int kStatePlaying = 1;
constexpr int kStatePlayToEnd = 2;
constexpr float kRadToDeg = 180.0f / 3.1415927f;
constexpr float kFullTurn = 360.0f;
} // namespace

void StopEmitters(NQEmitterList& emitters)
{
    for (render::ParticleEmitter* emitter : emitters)
        emitter->SetState(kStatePlayToEnd);
}

NQParticle::~NQParticle() { base::DeleteAll(mEmitters); }

void NQParticle::Draw(render::Graphics* graphics)
{
    for (render::ParticleEmitter* emitter : mEmitters)
        auto record = graphics->DrawParticles(emitter).Transform(mTransform);
}

void NQParticle::Update(float dt)
{
    for (render::ParticleEmitter* emitter : mEmitters)
        emitter->Update(dt);
}

bool NQParticle::IsPlaying() const
{
    if (mEmitters.empty())
        return false;
    for (const render::ParticleEmitter* emitter : mEmitters)
        if (emitter->mState != kStatePlaying)
            return false;
    return true;
}

void NQParticle::Stop() { StopEmitters(mEmitters); }

NQBeamParticle::NQBeamParticle(float sourceX, float sourceY, NQEnemy* target, const std::string& emitterName)
    : mEmitterName(emitterName), mSourceX(sourceX), mSourceY(sourceY), mTarget(target)
{
    FollowTarget();
    mTransform.SetIdentity();
    mTransform.RotateDegrees(GetAngle());
    // The links start in phase: no random advance before they play.
    const int wanted = GetWantedLinks();
    for (int i = 0; i < wanted; ++i)
        if (!AddLink())
            break;
}

void NQBeamParticle::Draw(render::Graphics* graphics)
{
    const size_t count = mEmitters.size();
    if (count == 0)
        return;
    const float dx = mTargetX - mSourceX;
    const float dy = mTargetY - mSourceY;
    const float distance = std::sqrt(dx * dx + dy * dy);
    const float angle = GetAngle();
    const float radians = angle / kRadToDeg;
    const float sx = std::sin(radians);
    const float cy = std::cos(radians);
    for (size_t i = 0; i < count; ++i)
    {
        // The last link ends at the target, even when that puts it behind the source.
        const float along = i + 1 == count ? distance - mSegmentLength : mSegmentLength * float(i);
        math::Transform2D at;
        at.RotateDegrees(angle);
        at.Translate(mSourceX + mIntensity * along * sx, mSourceY + mIntensity * along * cy);
        auto record = graphics->DrawParticles(mEmitters[i]).Transform(at);
    }
}

void NQBeamParticle::FollowTarget()
{
    if (!mTarget)
        return;
    mTargetX = mTarget->mX;
    mTargetY = mTarget->mY;
}

int NQBeamParticle::GetWantedLinks() const
{
    const float dx = mTargetX - mSourceX;
    const float dy = mTargetY - mSourceY;
    return int(std::ceil(std::sqrt(dx * dx + dy * dy) / mSegmentLength));
}

float NQBeamParticle::GetAngle() const
{
    const float angle = math::Atan2(mTargetX - mSourceX, mTargetY - mSourceY) * kRadToDeg;
    return angle < 0.0f ? angle + kFullTurn : angle;
}

bool NQBeamParticle::AddLink()
{
    render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->CreateEmitter(mEmitterName);
    // A library without the effect gives no link; a beam without links goes.
    if (!emitter)
        return false;
    emitter->SetLoopMode(kLoop);
    emitter->SetState(kStatePlaying);
    mEmitters.push_back(emitter);
    return true;
}

void NQBeamParticle::Update(float dt)
{
    mIntensity = std::min(1.0f, mIntensity + dt * kIntensityRate);
    mTransform.SetIdentity();
    FollowTarget();
    const size_t wanted = size_t(GetWantedLinks());
    if (mEmitters.size() > wanted)
    {
        // One link per update goes.
        render::ParticleEmitter* last = mEmitters.back();
        last->SetState(kStatePlayToEnd);
        delete last;
        mEmitters.pop_back();
    }
    else
    {
        while (mEmitters.size() < wanted)
            if (!AddLink())
                break;
    }
    mTransform.RotateDegrees(GetAngle());
    NQParticle::Update(dt);
}
