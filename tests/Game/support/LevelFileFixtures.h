#pragma once

// Level files for the level tests, fuzz seeds and benchmarks.
#include <string>

namespace gametest
{
// The example level: three points (spawn 1, goal 3), two links, one open
// spot, one wave of two entries (lanes 0 and -7) with a "waves" timeout of 2.
std::string ExampleLevelXml();
// A level the size of the content's: 40 points (3 spawn points, a 6 x 6
// grid, one goal), 45 curved links, 20 waves of 20 entries over 5 lanes.
std::string ContentSizedLevelXml();
} // namespace gametest
