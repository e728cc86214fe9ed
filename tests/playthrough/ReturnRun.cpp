#include "Runs.h"

#include "Game/Hud/HUDWindow.h"
#include "Game/Hud/NQSplashScreens.h"
#include "Game/NQScreenState.h"
#include "RunSteps.h"

#include "Core/Base/TextEncoding.h"

namespace playthrough
{
namespace
{
NQSplashScreens* Splash() { return dynamic_cast<NQSplashScreens*>(TopWindow()); }

void TapThroughSplashAndIntro(Driver& driver)
{
    Script& script = driver.GetScript();
    script.WaitUntil("return: the logos show", [] { return Splash() != nullptr; });
    // The press that ends the logos opens the video, whose release may end it too.
    driver.TapUntil("return: tap through the logos and the intro", ScreenCentre(),
                    [] { return Driver::ScreenState() == screen::kMainMenu; }, 10 * kOneSecond);
}

void Greeting(Driver& driver)
{
    driver.WaitTurns("greeting: show effects", kShowEffectTurns);
    driver.GetScript().Check("greeting: the main menu greets Tester", [](std::string& why) {
        const std::wstring greeting = SlotText(TopWindow(), L"greet");
        if (greeting.find(L"Tester") != std::wstring::npos)
            return true;
        why = "the greeting reads '" + base::WideToUtf8(greeting) + "'";
        return false;
    });
    driver.Screenshot("greeting", [&driver] { return LayoutProbes(driver.Config().layoutRoot, "nq/main_menu", "back"); });
}

} // namespace

// "return": packed data, the profile the first run saved.
void WriteReturnRun(Driver& driver)
{
    Start(driver);
    TapThroughSplashAndIntro(driver);
    Greeting(driver);
    driver.NotPlayed("saved progress on the level select, tutorial skipped, in-game menu through a focus loss, "
                     "the lost level 2, options dialog");
    driver.ClickLayer("quit: cloze", "nq/main_menu", "button/b1_cloze/pos");
}

} // namespace playthrough
