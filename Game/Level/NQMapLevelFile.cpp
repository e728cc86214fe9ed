// The level file: roads, build spots, waves, budget and the level picture.
#include "Core/Base/DeleteAll.h"
#include "Core/Base/FileFunctions.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Paths.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Math/MathFunctions.h"
#include "Core/Render/Image.h"
#include "Framework/GameApplication.h"
#include "Game/Data/CreateUpgradedProto.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQParamSet.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQResources.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Units/GameMath.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQFxAnchor.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQSprite.h"
#include "Game/Units/NQTower.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace
{
constexpr int32_t kSpellSlots = 5;
constexpr const char* kDataFolder = "nq/data/";
constexpr const char* kDataMarker = "/nq/data/";
// Closed spot pictures by type; an owned spot shows the first.
constexpr const wchar_t* kSpotPictures[NQDecorationSet::kSpotPictureCount] = {L"spots/s", L"spots/g", L"spots/p"};
constexpr const wchar_t* kIncomePicture = L"nq/data/context/small_icons/income";
// Badges: a row under the spot, this far apart and this far below its centre.
constexpr float kBadgeSpacing = 33.0f;
constexpr float kBadgeDrop = 25.0f;
constexpr float kBadgeDepthOffset = 30.0f;
constexpr int32_t kSpotFrameLayer = -1;
constexpr int32_t kBadgeLayer = 0;
// Anchors: effect and longest pause by episode; others play nothing, once.
constexpr float kAnchorPeriod = 30.0f;
constexpr float kAnchorFirstDelay = 3.0f;
constexpr float kAnchorDelaySpread = 5.0f;

bool ByLayer(const NQFrameEntry* a, const NQFrameEntry* b) { return a->mLayerIndex < b->mLayerIndex; }

// atoi without its undefined overflow: out-of-range budgets saturate.
int32_t ReadBudget(const tinyxml2::XMLElement* budget)
{
    const char* text = budget ? budget->GetText() : nullptr;
    if (!text)
        return 0;
    const long long value = std::strtoll(text, nullptr, 10);
    return int32_t(std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                                          std::numeric_limits<int32_t>::max()));
}

std::string PicturePath(const tinyxml2::XMLElement* li)
{
    const std::string text = li && li->GetText() ? li->GetText() : "";
    const std::string marker = kDataMarker;
    const size_t found = text.rfind(marker);
    std::string part;
    if (found != std::string::npos)
        part = text.substr(found + marker.size());
    // Otherwise the text starts with "nq/data/"; a shorter one names nothing.
    else if (text.size() >= std::char_traits<char>::length(kDataFolder))
        part = text.substr(std::char_traits<char>::length(kDataFolder));
    return kDataFolder + part;
}

// The layers directly in the group, in reading order.
std::vector<const base::ImageInfo*> ListLayers(file::ImageContainer& container, const std::wstring& group)
{
    std::vector<std::wstring> names;
    container.ListLayers(group, false, names, false);
    std::vector<const base::ImageInfo*> layers;
    for (const std::wstring& name : names)
        if (const base::ImageInfo* layer = container.FindLayer(name))
            layers.push_back(layer);
    return layers;
}

NQFrameEntry* NewBadge(render::Image* picture, bool owned)
{
    NQFrameEntry* badge = new NQFrameEntry;
    badge->mName = L"##";
    badge->mLayerIndex = kBadgeLayer;
    badge->mPicture = picture;
    badge->mOwnsPicture = owned ? 1 : 0;
    return badge;
}

render::Image* FindPicture(const wchar_t* setPath, const wchar_t* name)
{
    NQFrameEntry* frame = NQResources::Instance()->FindFrame(setPath, L"", name);
    return frame ? frame->mPicture : nullptr;
}
} // namespace

void NQMap::LoadLevelXml(const std::wstring& path)
{
    ClearLevel(path);
    std::string picturePath;
    if (!ReadLevelText(base::ReadWholeFile(path), picturePath))
    {
        // The old decoration set's spot frames point to the spots just deleted.
        delete mDecorationSet;
        mDecorationSet = new NQDecorationSet;
        return;
    }

    // Start gold: the budget with the bought start-gold bonus.
    const int32_t bonus = math::TruncateToInt32(float(mBudget) * mStartGoldFactor);
    const int32_t startGold = AddSaturated(mBudget, bonus);
    mEconomy->mGold = AddSaturated(mEconomy->mGold, startGold);
    mEconomy->mShownGold = mEconomy->mGold;

    delete mDecorationSet;
    mDecorationSet = new NQDecorationSet;
    for (int i = 0; i < NQDecorationSet::kSpotPictureCount; ++i)
        mDecorationSet->mSpotPictures[i] = NQResources::Instance()->FindFrame(L"nq/spots", L"", kSpotPictures[i]);
    LoadDecorations(picturePath);
    BuildSpotFrames();
    std::stable_sort(mDecorationSet->mFrames.begin(), mDecorationSet->mFrames.end(), ByLayer);

    mScreenState = screen::kPlaying;
    ResetViewport();
}

void NQMap::ClearLevel(const std::wstring& path)
{
    delete mContextMenu;
    mContextMenu = nullptr;
    if (mHud)
        base::DeleteAll(mHud->mSpellButtons);
    base::DeleteAll(*mHints);
    for (int32_t slot = 0; mHud && slot < kSpellSlots; ++slot)
        mHud->AddSpellButton(slot);
    mArmedSpell = nullptr;
    mSelectedEnemy = nullptr;
    mLevelPath = path;
    if (mWaveHints)
        mWaveHints->Clear();
    // Live enemies point to the entries of the waves: they go first.
    base::DeleteAll(mWaveManager->mEnemies);
    mWaveManager->mActiveWaves.clear();
    base::DeleteAll(mWaveManager->mWaves);
    base::DeleteAll(mModifiers);
    base::DeleteAll(mTowers);
    base::DeleteAll(*mSpots);
    base::DeleteAll(*mHints);
    base::DeleteAll(*mFxAnchors);
    base::DeleteAll(mDepthEffects);
    base::DeleteAll(mEffects);
    base::DeleteAll(mParticles);
}

void NQMap::ClearRoads()
{
    // The lane paths are keyed by the links.
    base::DeleteAll(*mLanePaths);
    base::DeleteAll(*mLinks);
    base::DeleteAll(*mPoints);
}

bool NQMap::ReadLevelText(const std::string& text, std::string& picturePath)
{
    tinyxml2::XMLDocument document;
    if (document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS)
    {
        ClearRoads();
        mBudget = 0;
        return false;
    }
    const tinyxml2::XMLElement* root = document.FirstChildElement("map");
    const auto section = [root](const char* name) { return root ? root->FirstChildElement(name) : nullptr; };

    mBudget = ReadBudget(section("budget"));

    ClearRoads();
    if (const tinyxml2::XMLElement* points = section("points"))
        for (const tinyxml2::XMLElement* e = points->FirstChildElement(); e; e = e->NextSiblingElement())
            mPoints->push_back(new NQPoint(e));
    if (const tinyxml2::XMLElement* links = section("links"))
        for (const tinyxml2::XMLElement* e = links->FirstChildElement(); e; e = e->NextSiblingElement())
            mLinks->push_back(new NQLink(e));

    // Empty already when the whole file loads; the reading steps also run alone.
    base::DeleteAll(*mSpots);
    LoadSpots(section("spots"));
    mWaveManager->LoadWaves(section("waves"));
    picturePath = PicturePath(section("li"));
    return true;
}

void NQMap::LoadSpots(const tinyxml2::XMLElement* spots)
{
    if (!spots)
        return;
    for (const tinyxml2::XMLElement* e = spots->FirstChildElement("spot"); e; e = e->NextSiblingElement())
        mSpots->push_back(new NQSpot(e));
}

void NQMap::LoadDecorations(const std::string& picturePath)
{
    const std::wstring folder =
        base::StripTrailingSeparators(base::GetRelativeDirectory(base::ToWide(picturePath, 1)));
    file::ImageContainer* container = file::FileManager::Instance()->OpenImageContainer(folder);
    if (!container)
        return;
    framework::GameApplication* application = framework::GameApplication::Current();
    for (const base::ImageInfo* layer : ListLayers(*container, L""))
    {
        NQFrameEntry* frame = new NQFrameEntry;
        frame->mOwnsPicture = 1;
        frame->mShown = 1;
        frame->mName = layer->name;
        frame->mRect[0] = layer->x;
        frame->mRect[1] = layer->y;
        frame->mRect[2] = layer->w;
        frame->mRect[3] = layer->h;
        frame->mLayerIndex = layer->index;
        frame->mPicture = application ? application->LoadImage(layer->name, container) : nullptr;
        frame->mDepth = layer->y + layer->h;
        mDecorationSet->mFrames.push_back(frame);
    }
    LoadFxAnchors(container);
    delete container;
    std::stable_sort(mDecorationSet->mFrames.begin(), mDecorationSet->mFrames.end(), ByLayer);
}

void NQMap::LoadFxAnchors(file::ImageContainer* container)
{
    for (const base::ImageInfo* layer : ListLayers(*container, L"fx"))
    {
        NQFxAnchor* anchor = new NQFxAnchor;
        if (mEpisode == 0)
            anchor->mEffectName = "tr1";
        else if (mEpisode == 1)
            anchor->mEffectName = "bird";
        anchor->mPeriod = anchor->mEffectName.empty() ? 0.0f : kAnchorPeriod;
        anchor->mX = layer->x;
        anchor->mY = layer->y;
        anchor->mSingle = anchor->mPeriod == 0.0f ? 1 : 0;
        anchor->mFirstDelay = kAnchorFirstDelay + kAnchorDelaySpread * math::Random(0);
        mFxAnchors->push_back(anchor);
    }
}

void NQMap::BuildSpotFrames()
{
    for (size_t i = 0; i < mSpots->size(); ++i)
    {
        NQSpot* spot = (*mSpots)[i];
        NQFrameEntry* frame = new NQFrameEntry;
        frame->mName = L"#" + std::to_wstring(i);
        frame->mLayerIndex = kSpotFrameLayer;
        frame->mSpot = spot;

        NQFrameEntry* picture = nullptr;
        if (mProgress && mProgress->IsSpotOwned(frame->mName, mEpisode, mLevel))
        {
            picture = mDecorationSet->mSpotPictures[0];
            spot->mOwned = true;
        }
        else if (spot->mType >= 0 && spot->mType < NQDecorationSet::kSpotPictureCount)
            picture = mDecorationSet->mSpotPictures[spot->mType];
        frame->mPicture = picture ? picture->mPicture : nullptr;
        if (!frame->mPicture)
            HV_LOG(L"spot %d: no picture for type %d\n") % int32_t(i) % spot->mType;
        // A spot without picture keeps a zero-size frame at its centre: it still answers clicks.
        const float width = frame->mPicture ? float(frame->mPicture->GetWidth()) : 0.0f;
        const float height = frame->mPicture ? float(frame->mPicture->GetHeight()) : 0.0f;
        frame->mRect[0] = std::trunc(spot->mX - width / 2.0f);
        frame->mRect[1] = std::trunc(spot->mY - height / 2.0f);
        frame->mRect[2] = width;
        frame->mRect[3] = height;
        mDecorationSet->mSpotFrames.push_back(frame);
        mDecorationSet->mFrames.push_back(frame);

        AddSpotBadges(spot, frame);
        BuildStartTower(spot, frame);
    }
}

void NQMap::AddSpotBadges(NQSpot* spot, NQFrameEntry* frame)
{
    std::vector<NQFrameEntry*> badges;
    const float radius = spot->mParams->GetFloat("radius_mult");
    if (radius < 1.0f)
        badges.push_back(NewBadge(FindPicture(L"nq/ui", L"ui/radius_unboost"), false));
    else if (radius > 1.0f)
        badges.push_back(NewBadge(FindPicture(L"nq/ui", L"ui/radius_boost"), false));
    const float damage = spot->mParams->GetFloat("damage_mult");
    if (damage < 1.0f)
        badges.push_back(NewBadge(FindPicture(L"nq/ui", L"ui/power_unboost"), false));
    else if (damage > 1.0f)
        badges.push_back(NewBadge(FindPicture(L"nq/ui", L"ui/power_boost"), false));
    if (spot->mParams->GetFloat("income_mult") != 1.0f)
    {
        framework::GameApplication* application = framework::GameApplication::Current();
        badges.push_back(NewBadge(application ? application->LoadImage(kIncomePicture, nullptr) : nullptr, true));
    }

    const int32_t gaps = std::max<int32_t>(0, int32_t(badges.size()) - 1);
    const float centerX = frame->mRect[0] + frame->mRect[2] * 0.5f;
    const float y = frame->mRect[1] + frame->mRect[3] * 0.5f + kBadgeDrop;
    for (size_t k = 0; k < badges.size(); ++k)
    {
        NQFrameEntry* badge = badges[k];
        if (!badge->mPicture)
            HV_LOG(L"spot %s: a badge picture is missing\n") % frame->mName;
        // Zero size: the drawing centres a frame on its rectangle's centre.
        badge->mRect[0] = std::trunc(centerX - float(gaps) * kBadgeSpacing * 0.5f + float(k) * kBadgeSpacing);
        badge->mRect[1] = y;
        badge->mDepth = y + kBadgeDepthOffset;
        mDecorationSet->mFrames.push_back(badge);
        spot->mBadges.push_back(badge);
    }
}

void NQMap::BuildStartTower(NQSpot* spot, NQFrameEntry* frame)
{
    const int32_t id = math::TruncateToInt32(spot->mParams->GetFloat("tower_id"));
    if (id == 0)
        return;
    NQUnitProto* proto = mUnitDatabase ? mUnitDatabase->FindProto(id) : nullptr;
    if (!proto)
    {
        HV_LOG(L"spot %s: no tower prototype %d\n") % frame->mName % id;
        return;
    }
    // Credit exactly what BuildTower takes: the cost with the bought upgrades.
    NQUnitProto* upgraded = CreateUpgradedProto(id);
    const int32_t price = upgraded ? math::TruncateToInt32(upgraded->cost) : 0;
    delete upgraded;
    mEconomy->mGold = AddSaturated(mEconomy->mGold, price);
    if (mHud)
        mHud->UpdateGoldText();
    BuildTower(proto, frame);
}
