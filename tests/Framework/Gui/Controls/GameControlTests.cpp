// Game controls built from a layered-image folder, with pictures loaded by
// the recording renderer (whose textures are solid for the hit test).
#include "Core/File/FileTestSupport.h"
#include "Core/Render/PictureFixtures.h"
#include "Core/Render/RecordingRender.h"
#include "Framework/GameApplication.h"
#include "Framework/Gui/GameControl.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Widget/TrapHitTestListener.h"
#include "Framework/Widget/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{
using widgettest::At;
using widgettest::Log;

class SolidTexture : public rendertest::FakeTexture
{
public:
    using FakeTexture::FakeTexture;
    bool GetMaskBit(int32_t, int32_t) const override { return true; }
};

class SolidRender : public rendertest::RecordingRender
{
public:
    HVResultEnum CreateTexture(render::Texture** out) override
    {
        *out = new SolidTexture(this);
        return HV_OK;
    }
};

class TestApplication : public framework::GameApplication
{
public:
    HVResultEnum InitGame() override { return HV_OK; }
    HVResultEnum UpdateGame(float) override { return HV_OK; }
};

class TwoStates : public gui::GameControl
{
public:
    TwoStates()
    {
        mStates = mTable;
        mStateCount = 2;
    }
    layer::ImageLayer* mTable[2] = {nullptr, nullptr};
};

struct Rect
{
    int x, y, w, h;
};

class GameControls : public hvtest::DataRootTest
{
protected:
    void SetUp() override
    {
        hvtest::DataRootTest::SetUp();
        application = new TestApplication;
        ASSERT_EQ(render.Init(), HV_OK);
        application->mRender = &render;
    }
    void TearDown() override
    {
        application->mRender = nullptr;
        hvtest::DataRootTest::TearDown();
    }

    // A layered-image folder "ui" with one picture per named rectangle.
    void WriteImage(const std::vector<std::pair<std::string, Rect>>& layers)
    {
        std::string xml = "<Layers>";
        for (const auto& [name, r] : layers)
        {
            xml += "<Layer name=\"" + name + "\" x=\"" + std::to_string(r.x) + "\" y=\"" + std::to_string(r.y) +
                   "\" width=\"" + std::to_string(r.w) + "\" height=\"" + std::to_string(r.h) + "\"/>";
            const fixtures::Bytes png = fixtures::MakePng(r.w, r.h, std::vector<uint32_t>(size_t(r.w * r.h), 0xFFFFFFFFu));
            dir.Write("ui/" + name + ".png", std::string(png.begin(), png.end()));
        }
        dir.Write("ui/layers.xml", xml + "</Layers>");
    }

    TestApplication* application = nullptr; // deleted by the singleton teardown
    SolidRender render;
};

struct CentringRow
{
    std::vector<Rect> pictures;
    Rect expectedUnion;
    float x, y;
    std::vector<std::pair<float, float>> children;
};

TEST_F(GameControls, CenterOnStatesPutsTheControlAtTheUnionCentre)
{
    const CentringRow rows[] = {
        {{{10, 20, 100, 40}, {0, 30, 120, 40}}, {0, 20, 120, 50}, 60, 45, {{-50, -25}, {-60, -15}}},
        {{{7, 9, 5, 3}}, {7, 9, 5, 3}, 9, 10, {{-2, -1}}},
    };
    for (const CentringRow& row : rows)
    {
        std::vector<std::pair<std::string, Rect>> layers;
        for (size_t i = 0; i < row.pictures.size(); ++i)
            layers.push_back({"s" + std::to_string(i), row.pictures[i]});
        WriteImage(layers);
        TwoStates control;
        ASSERT_EQ(control.Init(L"ui", nullptr, nullptr, &control, true), HV_OK);
        for (size_t i = 0; i < row.pictures.size(); ++i)
            ASSERT_EQ(control.AddStateImage(int(i), L"s" + std::to_wstring(i), nullptr), HV_OK);
        EXPECT_EQ(control.mUnionX, row.expectedUnion.x);
        EXPECT_EQ(control.mUnionY, row.expectedUnion.y);
        EXPECT_EQ(control.mUnionWidth, row.expectedUnion.w);
        EXPECT_EQ(control.mUnionHeight, row.expectedUnion.h);
        control.CenterOnStates();
        EXPECT_EQ(control.mPosition.x, row.x);
        EXPECT_EQ(control.mPosition.y, row.y);
        ASSERT_EQ(control.GetChildren().size(), row.children.size());
        for (size_t i = 0; i < row.children.size(); ++i)
        {
            EXPECT_EQ(control.mTable[i]->GetParent(), &control);
            EXPECT_EQ(control.mTable[i]->mPosition.x, row.children[i].first);
            EXPECT_EQ(control.mTable[i]->mPosition.y, row.children[i].second);
        }
    }
}

TEST_F(GameControls, AddStateImageGuardsItsTable)
{
    WriteImage({{"on", {0, 0, 4, 4}}, {"off", {10, 10, 2, 2}}});
    TwoStates control;
    ASSERT_EQ(control.Init(L"ui", nullptr, nullptr, &control, true), HV_OK);
    EXPECT_EQ(control.AddStateImage(0, L"", nullptr), HV_OK);
    EXPECT_EQ(control.mUnionValid, 0);
    EXPECT_EQ(control.mTable[0], nullptr);
    for (int index : {-1, 2})
    {
        layer::ImageLayer* out = nullptr;
        EXPECT_EQ(control.AddStateImage(index, L"on", &out), HV_FAIL) << index;
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(control.mUnionValid, 0);
    EXPECT_NE(control.AddStateImage(0, L"missing", nullptr), HV_OK);

    ASSERT_EQ(control.AddStateImage(1, L"on", nullptr), HV_OK);
    control.CenterOnStates();
    layer::ImageLayer* replacement = nullptr;
    ASSERT_EQ(control.AddStateImage(1, L"off", &replacement), HV_OK);
    EXPECT_EQ(control.mTable[1], replacement);
    // The old picture left the control (and was freed: ASan).
    EXPECT_TRUE(control.GetChildren().empty());
    EXPECT_EQ(control.mUnionX, 0);
    EXPECT_EQ(control.mUnionWidth, 12);
}

TEST_F(GameControls, CreatedLayersArePlacedUnderTheDefaultParent)
{
    WriteImage({{"pic", {130, 70, 2, 2}}, {"back", {100, 50, 4, 4}}});
    layer::Layer root;
    root.SetPosition(100, 50, 0);
    layer::Layer other;
    {
        gui::GameControlHelper helper;
        ASSERT_EQ(helper.Init(L"ui", nullptr, nullptr, &root, true), HV_OK);
        layer::ImageLayer* pic = nullptr;
        ASSERT_EQ(helper.CreateImageLayer(L"pic", 0, nullptr, &pic), HV_OK);
        EXPECT_EQ(pic->mPosition.x, 30.0f);
        EXPECT_EQ(pic->mPosition.y, 20.0f);
        layer::ImageLayer* back = nullptr;
        ASSERT_EQ(helper.CreateImageLayerBack(L"back", 0, nullptr, &back), HV_OK);
        EXPECT_EQ(root.GetChildren(), (layer::Layer::Children{back, pic}));
        // Another parent still takes the default parent's position off.
        layer::ImageLayer* elsewhere = nullptr;
        ASSERT_EQ(helper.CreateImageLayer(L"pic", 0, &other, &elsewhere), HV_OK);
        EXPECT_EQ(elsewhere->GetParent(), &other);
        EXPECT_EQ(elsewhere->mPosition.x, 30.0f);
        EXPECT_NE(helper.CreateImageLayer(L"missing", 0, nullptr, nullptr), HV_OK);
        EXPECT_EQ(helper.mCreatedLayers.size(), 3u);
    }
    // The helper took its layers with it.
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_TRUE(other.GetChildren().empty());
}

TEST_F(GameControls, InitFailsForAMissingImage)
{
    gui::GameControlHelper helper;
    EXPECT_EQ(helper.Init(L"nothing", nullptr, nullptr, nullptr, true), HV_FAIL);
}

// A board with one picture at (130, 70) created in each mode; the press
// goes to the picture's listener, to the board, or to nobody.
TEST_F(GameControls, ModesDecideWhoTakesThePointer)
{
    WriteImage({{"pic", {130, 70, 4, 4}}});
    struct Row
    {
        int mode;
        bool listenerHit;
        bool boardHit;
    };
    for (Row row : {Row{0, true, false}, Row{1, false, true}, Row{2, false, false}, Row{7, true, false}})
    {
        Log log;
        widget::FrameManager manager;
        widgettest::RecordingBoard board(&log, "B", 0, 0, 300, 300);
        manager.OpenFrame(&board, false, true, false);
        widgettest::RecordingHitListener listener(&log, "L");
        listener.mWidget = &board;
        {
            gui::GameControlHelper helper;
            ASSERT_EQ(helper.Init(L"ui", &board, &listener, nullptr, true), HV_OK);
            layer::ImageLayer* pic = nullptr;
            ASSERT_EQ(helper.CreateImageLayer(L"pic", row.mode, nullptr, &pic), HV_OK);
            EXPECT_EQ(pic->GetParent(), board.mLayer);
            if (row.mode == 2)
            {
                EXPECT_EQ(pic->mHitListener, helper.GetTrapListener());
                EXPECT_EQ(helper.GetTrapListener()->mOwner, &board);
            }
            manager.OnMouseDown(At(131, 71), 1);
            manager.OnMouseUp(At(131, 71), 1);
        }
        const bool listenerHit = std::count(log.begin(), log.end(), "L MouseDown 1") == 1;
        const bool boardHit = std::count(log.begin(), log.end(), "B MouseDown 1") == 1;
        EXPECT_EQ(listenerHit, row.listenerHit) << "mode " << row.mode;
        EXPECT_EQ(boardHit, row.boardHit) << "mode " << row.mode;
        manager.CloseAll(false, false);
    }
}
} // namespace
