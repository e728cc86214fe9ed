#include "Game/Hud/HUDTabStrip.h"

#include "Core/Base/ImageInfo.h"
#include "Framework/Layer/Layer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Hud/HUDTab.h"

HUDTabStrip::HUDTabStrip(file::ImageContainer* layout, const std::vector<std::wstring>& names,
                         const std::vector<bool>& enabled)
{
    mRoot = new layer::Layer;
    // Read even without names: the tabs hang from the picture's bottom edge.
    float bottom = 0.0f;
    if (const base::ImageInfo* info = FindContainerImage(layout, HUDTab::kActivePicture))
        bottom = float(info->y + info->h);

    float x = kFirstTabX;
    for (size_t i = 0; i < names.size(); ++i)
    {
        auto* tab = new HUDTab(layout, names[i]);
        tab->mRoot->SetPosition(x, bottom, 0.0f);
        tab->mEnabled = i < enabled.size() && enabled[i] ? 1 : 0;
        mRoot->AddChild(tab->mRoot);
        // A disabled tab does not advance: the next one covers it.
        if (tab->mEnabled)
            x += kTabAdvance;
        mTabs.push_back(tab);
    }
    if (!mTabs.empty())
        Select(0);
}

HUDTabStrip::~HUDTabStrip()
{
    while (!mTabs.empty())
    {
        delete mTabs.front();
        mTabs.erase(mTabs.begin());
    }
    delete mRoot;
    mRoot = nullptr;
}

int HUDTabStrip::HitTest(int x, int y)
{
    for (size_t i = 0; i < mTabs.size(); ++i)
    {
        if (!mTabs[i]->HitTest(x, y))
            continue;
        Select(unsigned(i));
        return int(i);
    }
    return -1;
}

void HUDTabStrip::Select(unsigned index)
{
    if (index >= mTabs.size())
        return;
    HUDTab* selected = mTabs[index];
    // Drawn last, over its neighbours.
    mRoot->RemoveChild(selected->mRoot);
    mRoot->AddChild(selected->mRoot);
    for (HUDTab* tab : mTabs)
    {
        if (tab == selected)
            tab->Select();
        else
            tab->Deselect();
    }
}

void HUDTabStrip::OnMouseMove(int x, int y)
{
    for (HUDTab* tab : mTabs)
        tab->OnMouseMove(x, y);
}

void HUDTabStrip::Update(float dt)
{
    for (HUDTab* tab : mTabs)
        tab->Update(dt);
}

void HUDTabStrip::Draw(render::Graphics* graphics)
{
    if (graphics)
        mRoot->Render(graphics);
}
