#pragma once

// The operations of every window that keeps a list of over buttons (the
// in-game menu, the main menu, the profiles screen, the name input and the
// modal family): one loader and the shared draw, click, pointer and update.
#include <string>
#include <vector>

namespace render
{
class Graphics;
}

class HUDButtonOver;
class HUDWindow;

namespace overbuttons
{
// The folder whose label takes the large font in the ordinary forms.
constexpr const wchar_t* kLargeLabelFolder = L"b2_play";
// The in-game menu's picture that starts hidden.
constexpr const wchar_t* kMenuIcon = L"main_menu_ico";

struct LayoutForm
{
    // Image frames of kMenuIcon start hidden.
    bool hideMenuIcon = false;
    // Every label in the large font, not only kLargeLabelFolder's.
    bool allLabelsLarge = false;
};
// The main menu's, the profiles screen's and the modal windows' form.
constexpr LayoutForm kStandardForm{};
// The in-game menu's form.
constexpr LayoutForm kIngameMenuForm{true, true};

// Opens the layout into the window's container (kept): root layers become
// image frames (sorted by index), direct "text" layers text slots, no button
// frames; then one over button per sub-folder of "button", in the container's
// order, labelled with the localised folder name. A layout that cannot be
// opened gives no frames and no buttons.
void LoadOverLayout(HUDWindow& window, std::vector<HUDButtonOver*>& buttons, const std::wstring& layout,
                    const LayoutForm& form = kStandardForm);

// The window's own drawing, then every button in list order.
void Draw(HUDWindow& window, const std::vector<HUDButtonOver*>& buttons, render::Graphics* graphics);
// The name of the first button containing the point, after one "simple";
// empty and silent when none does.
std::wstring Click(const std::vector<HUDButtonOver*>& buttons, int x, int y);
// Every button's hover only; the window's pointer and frames stay.
void MouseMove(const std::vector<HUDButtonOver*>& buttons, int x, int y);
// The window's pointer and frames, then every button.
void ModalMouseMove(HUDWindow& window, const std::vector<HUDButtonOver*>& buttons, int x, int y);
void MouseDown(const std::vector<HUDButtonOver*>& buttons, int x, int y);
void MouseUp(const std::vector<HUDButtonOver*>& buttons, int x, int y);
// The window's update, its pointer from the root board's last position, then every button.
void ModalUpdate(HUDWindow& window, const std::vector<HUDButtonOver*>& buttons, float dt);
} // namespace overbuttons
