#include "SkinnedLayouts.h"

#include <string>
#include <utility>

namespace gametest
{
std::vector<FixtureLayer> OptionsLayers(bool withOk)
{
    std::vector<FixtureLayer> layers;
    int index = 0;
    const auto picture = [&](const std::string& name, int x, int y, int w = 60, int h = 30) {
        layers.push_back({name, x, y, w, h, 0xFF808080u, index++});
    };
    const auto rect = [&](const std::string& name, int x, int y) {
        layers.push_back({name, x, y, 200, 30, 0, index++, false});
    };
    picture("title", 0, 0, 400, 40);
    rect("main_options/options_title", 0, 0);
    rect("main_options/sounds_and_music", 0, 50);
    rect("main_options/game_type", 0, 100);
    rect("main_options/window_type", 0, 150);
    rect("buttons/close/close_caption", 600, 650);
    picture("buttons/menu/menu_in", 100, 650);
    picture("buttons/menu/menu_ac", 100, 650);
    picture("buttons/menu/menu_sh", 100, 650);
    if (withOk)
        picture("buttons/close/ok_in", 600, 650);
    picture("buttons/close/ok_ac", 600, 650);
    picture("buttons/cheat/cheat_in", 800, 650);
    picture("buttons/cheat/cheat_ac", 800, 650);
    picture("main_options/sound/sound_back", 90, 190, 220, 40);
    picture("main_options/sound/sound_bar", 100, 200, 200, 20);
    picture("main_options/sound/sound_begunok", 100, 195, 20, 30);
    picture("main_options/music/music_back", 90, 290, 220, 40);
    picture("main_options/music/music_bar", 100, 300, 200, 20);
    picture("main_options/music/music_begunok", 100, 295, 20, 30);
    for (const auto& [folder, y] : std::vector<std::pair<std::string, int>>{
             {"music_dec", 400}, {"music_inc", 450}, {"sound_dec", 500}, {"sound_inc", 550}})
    {
        picture("buttons/" + folder + "/b_in", 400, y);
        picture("buttons/" + folder + "/b_ac", 400, y);
    }
    picture("main_options/window/window_nonselected", 600, 200);
    picture("main_options/window/window_ac", 600, 200);
    picture("main_options/window/window_in", 600, 200);
    picture("main_options/window/window_sh", 600, 200);
    picture("main_options/fullscreen/fullscreen_nonselected", 800, 200);
    picture("main_options/fullscreen/fullscreen_ac", 800, 200);
    picture("main_options/fullscreen/main_menu_in", 800, 200);
    picture("main_options/fullscreen/main_menu_sh", 800, 200);
    return layers;
}

std::vector<FixtureLayer> MessageBoxLayers()
{
    return {
        {"back", 0, 0, 1024, 768, 0xFF101010u, 0},
        {"button/b1_normal", 0, 0, 100, 40, 0xFF00FF00u, 1},
        {"button/b1_over", 0, 0, 100, 40, 0xFFFF0000u, 2},
        {"button/b1_cancel/pos", 592, 515, 100, 40, 0, 3, false},
        {"button/b1_cancel/label", 592, 515, 100, 40, 0, 4, false},
        {"button/b1_ok/pos", 340, 515, 100, 40, 0, 5, false},
        {"button/b1_ok/label", 340, 515, 100, 40, 0x00000000u, 6},
        {"text/caption", 300, 200, 400, 40, 0, 7, false},
        {"text/message", 300, 300, 400, 80, 0, 8, false},
    };
}
} // namespace gametest
