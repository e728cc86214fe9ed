#pragma once

// The layered images of the options dialog ("nq/options") and of the
// message box and modal windows ("nq/data/mm"), shared by the tests and the
// options benchmark.
#include "DataRootFixture.h"

#include <vector>

namespace gametest
{
// Each control on a row of its own; sliders 200 wide with a 20-wide thumb.
// Without withOk the ok button's normal picture is missing.
std::vector<FixtureLayer> OptionsLayers(bool withOk = true);
// Cancel centred at (642, 535), ok at (390, 535).
std::vector<FixtureLayer> MessageBoxLayers();
} // namespace gametest
