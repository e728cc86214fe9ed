#include "Targets.h"

#include "Framework/Layer/ImageLayer.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDShopWindow.h"
#include "Game/Hud/HUDUpgradePlate.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQContextMenuItem.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"
#include "RunSteps.h"

#include <tinyxml2.h>

#include <cmath>
#include <filesystem>

namespace playthrough
{
namespace
{
std::optional<Point> ButtonCentre(const NQButtonFrame* button)
{
    if (!button || !button->mShown)
        return std::nullopt;
    return Point{button->mRect[0] + button->mRect[2] * 0.5f, button->mRect[1] + button->mRect[3] * 0.5f};
}

// The level's units to logical: the inverse of the map's pointer mapping.
std::optional<Point> ToLogical(Point level)
{
    const NQMap* map = Driver::Map();
    if (!map)
        return std::nullopt;
    return Point{level.x * map->mZoom + map->mViewOffsetX, level.y * map->mZoom + map->mViewOffsetY};
}
// The level's content: its picture folder and the layer under everything.
constexpr const char* kLevelBackLayer = "bg";
constexpr float kKeepAwayDistance = 80.0f;
// Everything of the screen outside the logical 1024 x 768.
constexpr float kScreenWidth = 1024.0f;
constexpr float kScreenHeight = 768.0f;
constexpr float kFar = 4096.0f;
// The ring's items and prices reach this far beyond its radius.
constexpr float kRingMargin = 80.0f;
// The ring's pictures, and the extent of what it draws over a choice's picture.
constexpr const char* kRingPictureFolder = "nq/data/ui_parts/";
constexpr float kRingPriceHalfWidth = 50.0f;
constexpr float kRingPriceHalfHeight = 24.0f;
constexpr float kRingMarkHalf = 16.0f;
// The ability badges, 24 across, stand 35 from the item's centre, below it.
constexpr float kRingAbilityTop = 20.0f;

void AddLayoutRects(const std::string& root, const std::string& image, std::vector<Rect>& out)
{
    for (const LayoutLayer& layer : ReadLayout(root, image))
        out.push_back(layer.rect);
}

// The folder of the level's layered picture, as its file names it.
std::string LevelPictureFolder(const std::string& root, const NQMap& map)
{
    std::string levelFile;
    for (wchar_t c : map.mLevelPath)
        levelFile += char(c);
    tinyxml2::XMLDocument document;
    if (document.LoadFile((std::filesystem::path(root) / levelFile).string().c_str()) != tinyxml2::XML_SUCCESS)
        return {};
    const tinyxml2::XMLElement* top = document.FirstChildElement("map");
    const tinyxml2::XMLElement* picture = top ? top->FirstChildElement("li") : nullptr;
    const char* text = picture ? picture->GetText() : nullptr;
    if (!text)
        return {};
    // The file names the picture itself; its layout is the folder of that name's parent.
    const std::string path = text;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
} // namespace

Target WindowButton(const std::wstring& name)
{
    return [name]() -> std::optional<Point> {
        const HUDWindow* window = TopWindow();
        return window ? ButtonCentre(window->FindButton(name)) : std::nullopt;
    };
}

Target HudButton(const std::wstring& name)
{
    return [name]() -> std::optional<Point> {
        const NQMap* map = Driver::Map();
        return map && map->mHud ? ButtonCentre(map->mHud->FindButton(name)) : std::nullopt;
    };
}

Target LevelPoint(Point level)
{
    return [level] { return ToLogical(level); };
}

bool SpotCentre(int index, Point& out)
{
    const NQMap* map = Driver::Map();
    if (!map || !map->mSpots || index < 0 || index >= int(map->mSpots->size()))
        return false;
    const NQSpot* spot = (*map->mSpots)[size_t(index)];
    out = {spot->mX, spot->mY};
    return true;
}

Target Spot(int index)
{
    return [index]() -> std::optional<Point> {
        Point centre;
        return SpotCentre(index, centre) ? ToLogical(centre) : std::nullopt;
    };
}

NQTower* FindTowerOnSpot(int index)
{
    const NQMap* map = Driver::Map();
    if (!map || !map->mSpots || index < 0 || index >= int(map->mSpots->size()))
        return nullptr;
    const NQSpot* spot = (*map->mSpots)[size_t(index)];
    for (NQTower* tower : map->mTowers)
        if (tower->mSpotFrame && tower->mSpotFrame->mSpot == spot)
            return tower;
    return nullptr;
}

Target TowerOnSpot(int index)
{
    return [index]() -> std::optional<Point> {
        const NQTower* tower = FindTowerOnSpot(index);
        return tower ? ToLogical({tower->mX, tower->mY}) : std::nullopt;
    };
}

Target LyingDrop()
{
    return []() -> std::optional<Point> {
        const NQMap* map = Driver::Map();
        if (!map || !map->mDrops)
            return std::nullopt;
        for (const NQTowerSpecial* drop : *map->mDrops)
            if (drop->mState == NQTowerSpecial::kLying)
                return ToLogical({drop->mX, drop->mY});
        return std::nullopt;
    };
}

bool RingOpen()
{
    const NQMap* map = Driver::Map();
    return map && map->mContextMenu && map->mContextMenu->mActive &&
           map->mContextMenu->mState != NQContextMenu::kClosing;
}

NQContextMenuItem* FindRingItem(int32_t key)
{
    if (!RingOpen())
        return nullptr;
    for (NQContextMenuItem* item : Driver::Map()->mContextMenu->mItems)
        if (item->mKey == key)
            return item;
    return nullptr;
}

std::vector<Probe> RingChoiceProbes(const std::string& layoutRoot,
                                    const std::function<std::string(int32_t)>& iconFrame)
{
    const NQMap* map = Driver::Map();
    const NQContextMenu* ring = RingOpen() ? map->mContextMenu : nullptr;
    if (!ring || ring->mState != NQContextMenu::kOpen)
        return {};
    std::vector<Rect> screenCovers;
    AddLayoutRects(layoutRoot, "nq/ui", screenCovers);
    AddLayoutRects(layoutRoot, "nq/data/tutorial", screenCovers);
    AddLayoutRects(layoutRoot, "nq/data/tutorial/skip", screenCovers);
    std::vector<Probe> probes;
    for (const NQContextMenuItem* item : ring->mItems)
    {
        const std::string frame = item->mProto ? iconFrame(item->mProto->id) : std::string();
        Picture picture;
        if (frame.empty() || !LoadContentPicture(layoutRoot + "/" + kRingPictureFolder + frame, picture))
            continue;
        // Where the ring draws the item when fully open, in the level's units.
        const float a = item->mAngle * NQContextMenu::kPi / 180.0f;
        const float reach = NQContextMenu::kRadius * ring->GetScale();
        const float px = ring->mCenterX + std::sin(a) * reach;
        const float py = ring->mCenterY + std::cos(a) * reach;
        const float w = float(picture.width);
        const float h = float(picture.height);
        std::vector<Rect> covers = {
            // The price above the item.
            {px - kRingPriceHalfWidth, py - NQContextMenu::kPriceLift - kRingPriceHalfHeight, 2.0f * kRingPriceHalfWidth,
             2.0f * kRingPriceHalfHeight},
            // The star mark on the right rim.
            {px + w / 2.0f - kRingMarkHalf, py - kRingMarkHalf, 2.0f * kRingMarkHalf, 2.0f * kRingMarkHalf},
            // The ability icons fanning out below.
            {px - w / 2.0f, py + kRingAbilityTop, w, h},
        };
        for (const Rect& cover : screenCovers)
            covers.push_back({(cover.x - map->mViewOffsetX) / map->mZoom, (cover.y - map->mViewOffsetY) / map->mZoom,
                              cover.width / map->mZoom, cover.height / map->mZoom});
        ProbeSource source;
        source.placed = {px - w / 2.0f, py - h / 2.0f, w, h};
        source.picture = &picture;
        source.covers = covers;
        for (Probe probe : SelectProbes(source))
        {
            // The squares are in the level's units; the screenshot is compared in logical ones.
            probe.logical = *ToLogical(probe.logical);
            probes.push_back(probe);
        }
    }
    return probes;
}

Target ShopBuyButton(int index)
{
    return [index]() -> std::optional<Point> {
        auto* shop = dynamic_cast<HUDShopWindow*>(TopWindow());
        if (!shop || index < 0 || index >= int(shop->mPlates.size()))
            return std::nullopt;
        const HUDUpgradePlate* plate = shop->mPlates[size_t(index)];
        if (plate->mComplete || !plate->mBuyActive || !plate->mBuyButton)
            return std::nullopt;
        // Where the plate's hit test looks for its buy button.
        const layer::Layer* list = plate->mPlate->GetParent();
        const float listX = list ? list->mPosition.x : 0.0f;
        const float listY = list ? list->mPosition.y : 0.0f;
        const float left = std::trunc(plate->mBuyButton->mPosition.x + plate->mBuyActive->mPosition.x) +
                           plate->mPlate->mPosition.x + listX;
        const float top = std::trunc(plate->mBuyButton->mPosition.y + plate->mBuyActive->mPosition.y) + listY +
                          plate->mPlate->mPosition.y;
        return Point{left + plate->mBuyActive->GetWidth() * 0.5f, top + plate->mBuyActive->GetHeight() * 0.5f};
    };
}

std::vector<Probe> LevelProbes(const std::string& layoutRoot, std::vector<Rect> covers)
{
    const NQMap* map = Driver::Map();
    if (!map)
        return {};
    const std::string folder = LevelPictureFolder(layoutRoot, *map);
    if (folder.empty())
        return {};
    AddLayoutRects(layoutRoot, "nq/ui", covers);
    AddLayoutRects(layoutRoot, "nq/data/tutorial", covers);
    AddLayoutRects(layoutRoot, "nq/data/tutorial/skip", covers);
    covers.push_back({-kFar, -kFar, kFar, 2.0f * kFar});
    covers.push_back({kScreenWidth, -kFar, kFar, 2.0f * kFar});
    covers.push_back({-kFar, -kFar, 2.0f * kFar, kFar});
    covers.push_back({-kFar, kScreenHeight, 2.0f * kFar, kFar});
    // The covers so far are on the screen; the picture lies in the level's units.
    for (Rect& cover : covers)
        cover = {(cover.x - map->mViewOffsetX) / map->mZoom, (cover.y - map->mViewOffsetY) / map->mZoom,
                 cover.width / map->mZoom, cover.height / map->mZoom};
    if (const NQContextMenu* ring = RingOpen() ? map->mContextMenu : nullptr)
    {
        const float reach = NQContextMenu::kRadius * ring->GetScale() + kRingMargin;
        covers.push_back({ring->mCenterX - reach, ring->mCenterY - reach, 2.0f * reach, 2.0f * reach});
    }

    std::vector<Point> away;
    if (map->mLanePaths)
        for (const NQLinkLanes* lanes : *map->mLanePaths)
            for (const auto& [offset, samples] : lanes->mLanes)
                for (const NQPathSample* sample : samples)
                    away.push_back({sample->x, sample->y});
    if (map->mSpots)
        for (const NQSpot* spot : *map->mSpots)
            away.push_back({spot->mX, spot->mY});
    for (const NQTower* tower : map->mTowers)
        away.push_back({tower->mX, tower->mY});
    if (map->mWaveManager)
        for (const NQEnemy* enemy : map->mWaveManager->mEnemies)
            away.push_back({enemy->mX, enemy->mY});
    if (map->mDrops)
        for (const NQTowerSpecial* drop : *map->mDrops)
            away.push_back({drop->mX, drop->mY});
    std::vector<Probe> probes =
        LayoutProbes(layoutRoot, folder, kLevelBackLayer, covers, away, kKeepAwayDistance);
    for (Probe& probe : probes)
        probe.logical = {probe.logical.x * map->mZoom + map->mViewOffsetX,
                         probe.logical.y * map->mZoom + map->mViewOffsetY};
    return probes;
}

Target RingItem(int32_t key)
{
    return [key]() -> std::optional<Point> {
        const NQContextMenuItem* item = FindRingItem(key);
        const NQContextMenu* ring = RingOpen() ? Driver::Map()->mContextMenu : nullptr;
        // Choices are taken only once the ring has grown; its drawing places the items.
        if (!item || ring->mState != NQContextMenu::kOpen)
            return std::nullopt;
        const float angle = item->mAngle * NQContextMenu::kPi / 180.0f;
        const float reach = NQContextMenu::kRadius * ring->GetScale();
        return ToLogical({ring->mCenterX + std::sin(angle) * reach, ring->mCenterY + std::cos(angle) * reach});
    };
}
} // namespace playthrough
