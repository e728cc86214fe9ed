#pragma once

// The root board's fonts as text-layer font handles, for the screens that
// draw through layers.
#include "Framework/Layer/TextLayer.h"

// One of GameWindow's six fonts, sharing the resource manager's count; empty
// without a root board or before it loaded its fonts.
layer::TextLayer::FontHandle LayerFont(int index);
