// The dialog-effects table inside a game application: preloaded animations
// (with a mesh library and its picture) are let go before the renderer.
#include "DialogFixture.h"

#include "Core/Render/PictureFixtures.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"
#include "Framework/Animation/AnimData.h"
#include "Framework/GameApplication.h"
#include "support/RunProgram.h"

namespace
{
struct Witness
{
    bool renderDeleted = false;
    size_t texturesAtRenderDeletion = 99;
    size_t animationsAtRenderDeletion = 99;
};

class WitnessRender : public rendertest::RecordingRender
{
public:
    explicit WitnessRender(Witness& witness) : mWitness(witness) {}
    ~WitnessRender() override
    {
        auto* resources = resource::ResourceManager::Instance();
        mWitness.texturesAtRenderDeletion = resources->GetMap<resource::ResourceTexture>().size();
        mWitness.animationsAtRenderDeletion = resources->GetMap<animation::AnimData>().size();
        mWitness.renderDeleted = true;
    }
    Witness& mWitness;
};

class TestApplication : public framework::GameApplication
{
public:
    HVResultEnum InitGame() override { return HV_OK; }
    HVResultEnum UpdateGame(float) override { return HV_OK; }
};

class DialogTeardown : public dialogtest::DialogTest
{
};

TEST_F(DialogTeardown, PreloadedEffectsGoBeforeTheRenderer)
{
    const fixtures::Bytes png = fixtures::MakePng(2, 2, {0xFFFFFFFFu, 0xFF000000u, 0xFF000000u, 0xFFFFFFFFu});
    dir.Write("anim/images/panel.png", std::string(png.begin(), png.end()));
    animfile::MeshLibraryDesc library;
    library.vertices = {{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {1, 1, 0, 1, 1}};
    library.indices = {1, 2, 3};
    library.objects = {animfile::MeshObjectDesc{"panel", "panel.png", 0, 3, 0, 3}};
    dir.Write("anim/ui.lib", animfile::WriteMeshLibrary(library));
    animfile::AnimDesc anim;
    anim.name = "anim/meshed.anim";
    animfile::LayerDesc layer;
    layer.library = "ui";
    layer.object = "panel";
    anim.layers = {layer};
    dir.Write("anim/meshed.anim", animfile::WriteAnim(anim));

    Witness witness;
    auto* application = new TestApplication;
    auto* render = new WitnessRender(witness);
    ASSERT_EQ(render->Init(), HV_OK);
    application->mRender = render;
    ASSERT_EQ(LoadTable(Table("<Anim name='pop' show_anim_data='anim/meshed.anim' "
                              "hide_anim_data='anim/hide.anim' preload='yes'/>",
                              "<Options effects='pop'/>")),
              HV_OK);
    ASSERT_EQ(resource::ResourceManager::Instance()->GetMap<resource::ResourceTexture>().size(), 1u);

    // The process teardown deletes the application (and so the renderer).
    base::testing::TeardownSingletonsNow();
    EXPECT_TRUE(witness.renderDeleted);
    EXPECT_EQ(witness.texturesAtRenderDeletion, 0u);
    EXPECT_EQ(witness.animationsAtRenderDeletion, 0u);
}

// The make_anim samples play as the effects of a dialog, ending at the
// identity pose.
TEST_F(DialogTeardown, ToolSamplesPlayAsDialogEffects)
{
    std::filesystem::create_directories(dir.Folder() / "nq/data/anim");
    const std::string samples = HV_ANIM_SAMPLES;
    for (const char* name : {"dlg_show", "dlg_hide"})
        ASSERT_EQ(hvtest::RunProgram(HV_MAKE_ANIM, {samples + "/" + name + ".xml",
                                                    dir.File(std::string("nq/data/anim/") + name + ".anim")}),
                  0);
    ASSERT_EQ(LoadTable("<Game><DialogEffects><Data><Anim name='pop' show_anim_data='nq/data/anim/dlg_show.anim' "
                        "hide_anim_data='nq/data/anim/dlg_hide.anim'/></Data><Dialogs><Options effects='pop'/>"
                        "</Dialogs></DialogEffects></Game>"),
              HV_OK);
    dialogtest::CountingDialog* dialog = Open("Options");
    Turn(1, 0.1f);
    EXPECT_NEAR(dialog->mLayer->mScale.x, 0.8f, 1e-6f);
    EXPECT_EQ(dialog->mLayer->mOpacity, 0.0f);
    Turn(5, 0.1f);
    EXPECT_EQ(journal.events, (std::vector<std::string>{"shown Options"}));
    EXPECT_EQ(dialog->mLayer->mScale.x, 1.0f);
    EXPECT_EQ(dialog->mLayer->mPosition.x, 0.0f);
    EXPECT_EQ(dialog->mLayer->mOpacity, 1.0f);
    ASSERT_EQ(dialog->Hide(true), HV_OK);
    Turn(5, 0.1f);
    EXPECT_EQ(journal.deleted, 1);
}
} // namespace
