#pragma once

// The root board's fonts as text-layer font handles, for the screens that
// draw through layers.
#include "Framework/Layer/TextLayer.h"

// One of GameWindow's six fonts, sharing the resource manager's count; empty
// without a root board or before it loaded its fonts.
layer::TextLayer::FontHandle LayerFont(int index);
// A centred text layer in one of those fonts, with the screens' box layout
// (lines centred in a box of the wrap width) and the flag set.
layer::TextLayer* MakeCentredText(int font, const std::wstring& text, float wrapWidth);
