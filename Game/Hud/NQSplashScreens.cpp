#include "Game/Hud/NQSplashScreens.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/FileFunctions.h"
#include "Core/Base/StringTokenizer.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Framework/GameApplication.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQMap.h"

namespace
{
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
// The black cover reaches well past any logical screen.
constexpr float kCoverOrigin = -512.0f;
constexpr float kCoverSize = 2048.0f;
constexpr float kFadeRate = 2.0f;

// Every field between the delimiters, the empty ones too.
std::vector<std::string> SplitKeepingEmpty(const std::string& text, char delimiter)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;)
    {
        const size_t end = text.find(delimiter, start);
        if (end == std::string::npos)
        {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

framework::GameApplication::Rect LogicalScreen()
{
    const framework::GameApplication* application = framework::GameApplication::Current();
    return application ? application->GetLogicalScreenRect() : framework::GameApplication::Rect{};
}
} // namespace

void NQSplashScreens::Logo::Update(float dt)
{
    timer += dt;
    switch (phase)
    {
    case kFadeIn:
        if (timer > kFadeInTime)
        {
            phase = kHold;
            timer = 0.0f;
        }
        break;
    case kHold:
        if (timer > kHoldTime)
        {
            phase = kFadeOut;
            timer = 0.0f;
        }
        break;
    case kFadeOut:
        if (timer > kFadeOutTime)
        {
            phase = kDone;
            timer = 0.0f;
        }
        break;
    default:
        break;
    }
}

std::vector<std::string> NQSplashScreens::ParseLogoList(const std::string& text)
{
    std::vector<std::string> names;
    base::StringTokenizer lines(text, '\n', true);
    std::string line;
    while (lines.Next(line))
    {
        std::string packed;
        base::RemoveChar(line, ' ', packed);
        const std::vector<std::string> fields = SplitKeepingEmpty(packed, ';');
        // A line without ';' lists one empty item.
        const std::string list = fields.size() > 1 ? fields[1] : std::string();
        for (std::string item : SplitKeepingEmpty(list, ','))
        {
            if (!item.empty() && item.back() == '\r')
                item.pop_back();
            names.push_back(item);
        }
    }
    return names;
}

NQSplashScreens::NQSplashScreens()
{
    for (const std::string& name : ParseLogoList(base::ReadTextFile(kListFile)))
    {
        auto* logo = new Logo;
        // An empty item names the bare folder: no picture, only the fades.
        if (!name.empty())
            logo->picture = LoadGamePicture(kFolder + base::Utf8ToWide(name), nullptr);
        mLogos.push_back(logo);
    }
}

NQSplashScreens::~NQSplashScreens()
{
    for (Logo* logo : mLogos)
    {
        if (logo->picture)
        {
            logo->picture->Release();
            delete logo->picture;
        }
    }
    base::DeleteAll(mLogos);
}

void NQSplashScreens::Update(float dt)
{
    if (!mAlive)
        return;
    // A press may have moved current past the last logo.
    if (mCurrent >= 0 && size_t(mCurrent) < mLogos.size())
    {
        Logo* logo = mLogos[size_t(mCurrent)];
        logo->Update(dt);
        if (logo->phase != Logo::kDone)
            return;
        ++mCurrent;
        if (size_t(mCurrent) < mLogos.size())
            return;
    }
    mAlive = 0;
}

void NQSplashScreens::Draw(render::Graphics* graphics)
{
    // No current logo (none listed, or a press went past the last): nothing to show.
    if (!graphics || mCurrent < 0 || size_t(mCurrent) >= mLogos.size())
        return;
    const Logo& logo = *mLogos[size_t(mCurrent)];
    const framework::GameApplication::Rect screen = LogicalScreen();
    const float centreX = screen.x + screen.width * 0.5f;
    const float centreY = screen.y + screen.height * 0.5f;
    if (logo.picture)
    {
        const float corner[2] = {centreX - float(logo.picture->GetWidth()) * 0.5f,
                                 centreY - float(logo.picture->GetHeight()) * 0.5f};
        auto record = graphics->DrawImage(*logo.picture).Translate(corner);
    }
    float alpha = -1.0f;
    if (logo.phase == Logo::kFadeIn)
        alpha = 1.0f - kFadeRate * logo.timer;
    else if (logo.phase == Logo::kFadeOut)
        alpha = kFadeRate * logo.timer;
    if (alpha >= 0.0f)
    {
        graphics->SetColor(0.0f, 0.0f, 0.0f, alpha);
        auto cover = graphics->FillRect(kCoverOrigin, kCoverOrigin, kCoverSize, kCoverSize);
    }
    graphics->SetColor(kWhite);
}

void NQSplashScreens::OnClose()
{
    if (NQMap* map = Game::GetMap(); map && map->mHud)
        map->mHud->ShowVideoIntro();
}

std::wstring NQSplashScreens::Click(int, int)
{
    ++mCurrent;
    return size_t(mCurrent) == mLogos.size() ? L"done" : L"";
}
