#pragma once

// The level of the input tests: the battle fixture's towers and the quiet
// straight road with three spots: #0 open at (500, 384), #1 priced 30 gold
// and 5 gems at (300, 520), #2 open at (896, 563). Every tower is unlocked,
// the strings hold every key the input uses, and the ring's pictures load.
#include "Game/Units/Battle/TowerFixture.h"

#include "Core/Render/Image.h"
#include "Game/Data/AttributedText.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Game.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQContextMenuItem.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQScreenState.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"
#include "QuadRecorder.h"
#include "RecordingHud.h"
#include "WindowText.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace gametest
{
inline std::string InputSpots()
{
    return SpotXml(500, 384, {{"radius_mult", 1}}) +
           SpotXml(300, 520, {{"cost_gold", 30}, {"cost_real", 5}, {"radius_mult", 1}}) +
           SpotXml(896, 563, {{"radius_mult", 1}});
}

inline std::string InputStrings()
{
    return TowerStrings() +
           ";\n"
           "game_lose;Defeat\ndiff_easy;Easy\ndiff_normal;Normal\ndiff_hard;Hard\ngame_kill_score;Kills:\n"
           "game_life_bonus;Lives:\ngame_total_score;Total:\ngems;Gems\nHardcoreTitle;Hardcore\n"
           "HardcoreUnlockMessage;Locked\nprofiles_error;Error\nprofiles_maxcount;Too many\n"
           "buyHealthDialogTitle;Health\nbuyHealthDialogText;Buy for %s\nprogress_confirm_text;Sure?\n";
}

class InputTest : public BattleTest
{
protected:
    static constexpr int kOpenSpot = 0;
    static constexpr int kPricedSpot = 1;
    static constexpr int kTutorialSpot = 2;

    void SetUp() override
    {
        BattleTest::SetUp();
        data->Write("nq/strings_en.csv", InputStrings());
        data->WriteFixtureFont("nq/data/fonts/main_42_3");
        data->Write("ui/pic.png", SolidPng(20, 20, 0xFFFFFFFFu));
        data->Write("ui/spot.png", SolidPng(60, 40, 0xFF808080u));
        StartBattleOn(WithSpots(QuietLevelXml(), InputSpots()));
        font = LoadFixtureFont(L"nq/data/fonts/main_42_3", Recorder());
        Unlock("-1");
        Economy().mGold = 1000;
        Economy().mGems = 0;
        NQMap::sShopReturnTarget.clear();
        NQMap::sGemShopReturnTarget.clear();
    }

    void TearDown() override
    {
        if (map && map->mDecorationSet)
            map->mDecorationSet->mSpotPictures[0] = nullptr;
        ownedSpot.reset();
        for (auto& picture : pictures)
            picture.reset();
        font.Reset();
        BattleTest::TearDown();
    }

    void Unlock(const std::string& ids)
    {
        delete map->mUnlockTable;
        map->mUnlockTable = new NQUnlockTable;
        map->mUnlockTable->Build(std::to_string(map->mEpisode) + ";" + std::to_string(map->mLevel) + ";" + ids + "\n");
    }

    render::Image* Picture(const std::wstring& path = L"ui/pic.png")
    {
        pictures.emplace_back(application->LoadImage(path, nullptr));
        return pictures.back().get();
    }

    // The ring's own pictures, each a 20 x 20 square.
    void LoadRingPictures()
    {
        for (int id : {towers::kCannon, towers::kArrow, towers::kMagic, towers::kBank})
            map->mTowerIcons[id] = Picture();
        map->mSellPicture = Picture();
        map->mBuyPicture = Picture();
        map->mLevel2Mark = Picture();
        map->mLevel3Mark = Picture();
        for (const char* icon : {"splash", "air", "aimed", "dot", "stun"})
            map->mAbilityIcons[icon] = Picture();
    }

    // "spots/s" as the decoration set's owned-spot picture, 60 x 40.
    void LoadOwnedSpotPicture()
    {
        ownedSpot = std::make_unique<NQFrameEntry>();
        ownedSpot->mPicture = Picture(L"ui/spot.png");
        map->mDecorationSet->mSpotPictures[0] = ownedSpot.get();
    }

    NQContextMenu* Ring() const { return map->mContextMenu; }

    // The spot's centre, as the release finds it.
    static void Centre(const NQFrameEntry* frame, int& x, int& y)
    {
        x = int(frame->mRect[0] + frame->mRect[2] * 0.5f);
        y = int(frame->mRect[1] + frame->mRect[3] * 0.5f);
    }

    void ReleaseOnSpot(int spot)
    {
        int x = 0;
        int y = 0;
        Centre(SpotFrame(spot), x, y);
        map->OnMouseUp(x, y);
    }

    // Past the opening fade, with the items laid out by a drawing.
    void OpenFully()
    {
        Ring()->Update(0.25f);
        Draw();
    }

    std::vector<RecordedQuad> Draw()
    {
        return Recorder()->Record([&](render::Graphics* g) { map->DrawContextMenu(g); });
    }

    // The screen point of the item with that key on the fully open ring.
    void ItemPoint(int key, int& x, int& y) const
    {
        const NQContextMenu* ring = Ring();
        for (const NQContextMenuItem* item : ring->mItems)
        {
            if (item->mKey != key)
                continue;
            const float a = item->mAngle * NQContextMenu::kPi / 180.0f;
            x = int(std::lround(ring->mCenterX + std::sin(a) * NQContextMenu::kRadius * ring->GetScale()));
            y = int(std::lround(ring->mCenterY + std::cos(a) * NQContextMenu::kRadius * ring->GetScale()));
            return;
        }
        ADD_FAILURE() << "no item with key " << key;
    }

    void PressItem(int key)
    {
        int x = 0;
        int y = 0;
        ItemPoint(key, x, y);
        map->OnMouseDown(x, y);
    }

    std::vector<int> Keys() const
    {
        std::vector<int> keys;
        for (const NQContextMenuItem* item : Ring()->mItems)
            keys.push_back(item->mKey);
        return keys;
    }

    RecordingTutorial& Tutorial() const { return *tutorial; }

    // The result window the level pushed last, or null.
    HUDLevelResultWindow* PushedResultWindow() const
    {
        const auto& pending = Hud()->mPendingWindows;
        return pending.empty() ? nullptr : dynamic_cast<HUDLevelResultWindow*>(pending.back());
    }

    static std::wstring Text(const HUDWindow& window, const std::wstring& slot) { return TextOf(window, slot); }

    // A drop in that state among the level's drops.
    void AddDrop(int state)
    {
        auto* drop = new NQTowerSpecial;
        drop->mState = state;
        map->mDrops->push_back(drop);
    }

    AttributedText::FontHandle font;
    std::vector<std::unique_ptr<render::Image>> pictures;
    std::unique_ptr<NQFrameEntry> ownedSpot;
};
} // namespace gametest
