// The level object's construction and teardown.
#include "Game/Level/NQMap.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Purchase/PurchaseResult.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Sound/SoundTags.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQResources.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQFloatingIcons.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMapServices.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPoint.h"
#include "Game/StartupPictures.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQFxAnchor.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQSprite.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"

namespace
{
// The level buttons that show the speed, off until the first update of their state.
constexpr const wchar_t* kSpeedButtonsOff[] = {L"speed_btn_ac", L"pause_btn_ac", L"play_btn_ac",
                                               L"options_btn_ac"};
constexpr int kEmitterPlaying = 1;

template <class T>
void DeleteOwned(T*& pointer)
{
    delete pointer;
    pointer = nullptr;
}

// Deletes the list's contents, then the list.
template <class T>
void DeleteOwnedList(std::vector<T*>*& list)
{
    if (!list)
        return;
    base::DeleteAll(*list);
    DeleteOwned(list);
}
} // namespace

NQMap::NQMap(const LevelHudFactory& makeHud)
{
    mUpgradeTable = new NQUpgradeTable(L"nq/upgrades.xml");
    mLanePaths = new std::vector<NQLinkLanes*>;
    LoadUnitSprites();
    mUnlockTable = new NQUnlockTable;
    mEnemySpotMarker = new NQSpriteAnimation(L"nq/enemy_spot", L"");
    mDrops = new std::vector<NQTowerSpecial*>;
    k2::SoundTags::Instance()->Load(L"nq/sounds_sheet.csv");

    mEconomy = new NQLevelEconomy;
    mHud = makeHud();
    mSpellTable = new NQSpellTable;
    for (const wchar_t* name : kSpeedButtonsOff)
    {
        if (NQButtonFrame* button = mHud->FindButton(name))
            button->mShown = 0;
    }

    // The progress record reads the running game through these from its start.
    mServices = new NQMapServices(this);
    NQGameServices::Install(mServices);
    mProgress = new NQProgress;
    mMode = mProgress->GetMode();

    mFxAnchors = new std::vector<NQFxAnchor*>;
    mWaveManager = new NQWaveManager;
    mPoints = new std::vector<NQPoint*>;
    mLinks = new std::vector<NQLink*>;
    mBullets = new NQBulletManager;
    mSpots = new std::vector<NQSpot*>;
    LoadSheets();
    // The level tables are known only now.
    mProgress->HoldToPlayableRanges();
    mHints = new std::vector<NQSprite*>;
    mSprites = new std::vector<NQSprite*>;

    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    mSpellEmitter = particles->CreateEmitter("active");
    if (mSpellEmitter)
        mSpellEmitter->SetState(kEmitterPlaying);
    mButtonEmitter = particles->CreateEmitter("active_btn");
    if (mButtonEmitter)
        mButtonEmitter->SetState(kEmitterPlaying);

    UpdateSpeedButtons();

    auto* listener = new base::MemberDelegate1<NQMap, const TPurchaseResult&, void>(this, &NQMap::OnPurchaseResult);
    purchase::GetListenerTable()[static_cast<const void*>(this)].Assign(listener);
}

NQMap::~NQMap()
{
    NQGameServices::Remove(mServices);
    DeleteOwned(mServices);
    // A store result after this level is gone must not reach it.
    purchase::ListenerTable& listeners = purchase::GetListenerTable();
    if (const auto it = listeners.find(static_cast<const void*>(this)); it != listeners.end())
        it->second.Reset();

    DeleteOwned(mContextMenu);
    DeleteOwned(mUpgradeTable);
    DeleteOwned(mEnemySpotMarker);
    DeleteOwnedList(mDrops);
    DeleteOwned(mUnlockTable);
    DeleteOwned(mSpellEmitter);
    if (mRoadMask)
    {
        mRoadMask->Release();
        DeleteOwned(mRoadMask);
    }

    DeleteOwnedList(mFxAnchors);
    DeleteOwnedList(mHints);
    DeleteOwnedList(mSprites);
    DeleteOwned(mWaveHints);
    DeleteOwnedList(mSpots);
    DeleteOwned(mDecorationSet);

    DeleteOwned(mEconomy);
    DeleteOwned(mSpellTable);
    // Windows reach the level while they go: everything they may read is still here or null.
    DeleteOwned(mHud);
    mArmedSpell = nullptr;
    DeleteOwned(mWaveManager);
    mSelectedEnemy = nullptr;
    DeleteOwnedList(mLinks);
    DeleteOwned(mUnitDatabase);
    DeleteOwned(mBullets);
    DeleteOwnedList(mPoints);
    if (mFloatingIcons)
    {
        mFloatingIcons->Clear();
        DeleteOwned(mFloatingIcons);
    }

    base::DeleteAll(mModifiers);
    base::DeleteAll(mDepthEffects);
    base::DeleteAll(mEffects);
    base::DeleteAll(mParticles);
    base::DeleteAll(mTowers);
    DeleteOwned(mButtonEmitter);
    base::DeleteAll(mLooseEmitters);
    DeleteOwnedList(mLanePaths);

    NQResources::Instance()->DeleteSpriteSets();
    // Made now, the tutorial would reset its steps into a level that is going.
    // Its layers and pictures go while the renderer and the resources exist.
    if (LevelTutorial* tutorial = LevelTutorial::Find())
        tutorial->ReleaseGraphics();

    DeleteOwned(mProgress);
    for (std::vector<NQFrameEntry*>& queue : mDrawQueues)
        base::DeleteAll(queue);
}

void NQMap::LoadUnitSprites()
{
    NQResources* sets = NQResources::Instance();
    for (const wchar_t* folder : startup::kUnitSpriteFolders)
        sets->PreloadSpriteSets(folder);
    LoadUiSprites();
    mResourcesLoaded = true;
}
