#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/Layer.h"
#include "Framework/Layer/LayerAccess.h"
#include "Framework/Layer/ParticlesLayer.h"
#include "Framework/Layer/RectHitLayer.h"
#include "Framework/Layer/TextLayer.h"

#include <gtest/gtest.h>

namespace
{
TEST(LayerTree, AddChildDetachesFromFormerParent)
{
    layer::Layer a, b, child;
    a.AddChild(&child);
    b.AddChild(&child);
    EXPECT_TRUE(a.GetChildren().empty());
    ASSERT_EQ(b.GetChildren().size(), 1u);
    EXPECT_EQ(child.GetParent(), &b);
}
} // namespace
