#include "RunSteps.h"

#include "Framework/GameApplication.h"
#include "Framework/Widget/Dialog.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDLevelPlate.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDWindow.h"
#include "Game/Hud/NQSplashScreens.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQScreenState.h"

#include <tinyxml2.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace playthrough
{
namespace
{
// Turns the game gets to load its content and reach the splash screens.
constexpr int kStartTurns = 900;
} // namespace

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

HUDWindow* TopWindow()
{
    NQMap* map = Driver::Map();
    return map && map->mHud ? map->mHud->GetTopWindow() : nullptr;
}

std::wstring SlotText(const HUDWindow* window, const std::wstring& slot)
{
    if (!window)
        return {};
    for (const auto& [name, text] : window->mTexts)
        if (name == slot)
            return text;
    return {};
}

std::string ReadCurrentProfile(const std::string& path)
{
    tinyxml2::XMLDocument profiles;
    if (profiles.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS || !profiles.FirstChildElement("Profiles"))
        return {};
    const char* current = profiles.FirstChildElement("Profiles")->Attribute("currentProfile");
    return current ? current : "";
}

Target LevelPlate(int level)
{
    return [level]() -> std::optional<Point> {
        auto* select = dynamic_cast<HUDLevelSelect*>(TopWindow());
        if (!select || level >= int(select->mPlates.size()))
            return std::nullopt;
        const HUDLevelPlate* plate = select->mPlates[size_t(level)];
        return Point{float(plate->mRect[0] + plate->mRect[2] / 2), float(plate->mRect[1] + plate->mRect[3] / 2)};
    };
}

widget::Dialog* TopDialog()
{
    framework::GameApplication* application = framework::GameApplication::Current();
    if (!application || !application->mFrameManager)
        return nullptr;
    const auto& stack = application->mFrameManager->GetStack();
    for (auto entry = stack.rbegin(); entry != stack.rend(); ++entry)
        if (entry->mKind == widget::FrameManager::kModalDialog)
            return dynamic_cast<widget::Dialog*>(entry->mFrame);
    return nullptr;
}

Target ScreenCentre()
{
    return [] { return std::optional<Point>(Point{512.0f, 384.0f}); };
}

void Start(Driver& driver)
{
    driver.WaitState("start: the splash screens open", screen::kSplashScreens, kStartTurns);
    driver.GetScript().Check("start: full screen at the display's size", [&driver](std::string& why) {
        const std::optional<DisplayMapping> mapping = driver.Mapping();
        if (!mapping)
            return why = "no display mapping", false;
        // The offscreen driver's one display is the logical size: logical = window.
        const Point corner = ToWindow(*mapping, {1024.0f, 768.0f});
        if (std::abs(corner.x - 1024.0f) > 0.5f || std::abs(corner.y - 768.0f) > 0.5f)
            return why = "the logical corner maps to " + std::to_string(corner.x) + ", " + std::to_string(corner.y),
                   false;
        return true;
    });
}

void TapThroughSplashAndIntro(Driver& driver, const std::string& run)
{
    Script& script = driver.GetScript();
    script.WaitUntil(run + ": the logos show", [] { return dynamic_cast<NQSplashScreens*>(TopWindow()) != nullptr; });
    // The press that ends the logos opens the video, whose release may end it too.
    driver.TapUntil(run + ": tap through the logos and the intro", ScreenCentre(),
                    [] { return Driver::ScreenState() == screen::kMainMenu; }, 10 * kOneSecond);
}

void GoTo(Driver& driver, const std::string& name, const std::string& image, const std::string& layer, int state)
{
    driver.ClickLayer(name, image, layer);
    driver.WaitState(name + ": the screen opens", state);
    driver.WaitTurns(name + ": show effects", kShowEffectTurns);
}
} // namespace playthrough
