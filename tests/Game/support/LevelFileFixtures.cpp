#include "LevelFileFixtures.h"

#include <cstdio>

namespace gametest
{
std::string ExampleLevelXml()
{
    return R"(<map>
  <li>nq/data/levels/l1/map</li>
  <budget>300</budget>
  <points>
    <p id="1" x="60" y="380"><param name="spawn" value="1"/></p>
    <p id="2" x="500" y="380"/>
    <p id="3" x="980" y="380"><param name="goal" value="1"/></p>
  </points>
  <links>
    <l sid="1" eid="2" anchor_x="280" anchor_y="300"/>
    <l sid="2" eid="3" anchor_x="740" anchor_y="460"/>
  </links>
  <spots>
    <spot x="300" y="470"><param name="cost_gold" value="0"/><param name="cost_real" value="0"/>
      <param name="type" value="0"/><param name="radius_mult" value="1"/><param name="damage_mult" value="1"/>
      <param name="income_mult" value="1"/><param name="tower_id" value="0"/></spot>
  </spots>
  <waves timeout="2">
    <wave timeout="0" spawn="1" wipeAward="20" scale="1">
      <e id="50" upgrade="1" x="0" y="-65"/>
      <e id="50" upgrade="1" x="45" y="-40"/>
    </wave>
  </waves>
</map>
)";
}

namespace
{
constexpr int kGridSize = 6;
constexpr int kSpawnCount = 3;
constexpr int kGoalId = 40;
constexpr int kWaveCount = 20;
constexpr int kEntriesPerWave = 20;
constexpr float kLaneYs[] = {0.0f, -32.5f, -65.0f, -97.5f, -130.0f};

int GridId(int column, int row) { return kSpawnCount + 1 + column * kGridSize + row; }

void Append(std::string& out, const char* format, double a, double b = 0, double c = 0, double d = 0,
            double e = 0)
{
    char line[256];
    std::snprintf(line, sizeof(line), format, a, b, c, d, e);
    out += line;
}

void Link(std::string& out, int from, int to, double anchorX, double anchorY)
{
    Append(out, "    <l sid=\"%.0f\" eid=\"%.0f\" anchor_x=\"%.1f\" anchor_y=\"%.1f\"/>\n", from, to, anchorX,
           anchorY);
}

double X(int column) { return 150.0 + column * 140.0; }
double Y(int row) { return 80.0 + row * 120.0; }
} // namespace

std::string ContentSizedLevelXml()
{
    std::string out = "<map>\n  <li>nq/data/levels/big/map</li>\n  <budget>500</budget>\n  <points>\n";
    for (int s = 0; s < kSpawnCount; ++s)
        Append(out, "    <p id=\"%.0f\" x=\"0\" y=\"%.0f\"><param name=\"spawn\" value=\"1\"/></p>\n", s + 1,
               Y(s * 2 + 1));
    for (int column = 0; column < kGridSize; ++column)
        for (int row = 0; row < kGridSize; ++row)
            Append(out, "    <p id=\"%.0f\" x=\"%.0f\" y=\"%.0f\"/>\n", GridId(column, row), X(column), Y(row));
    Append(out, "    <p id=\"%.0f\" x=\"1000\" y=\"380\"><param name=\"goal\" value=\"1\"/></p>\n", kGoalId);
    out += "  </points>\n  <links>\n";
    // 3 from the spawn points, 30 along the rows, 6 into the goal, 6 across: 45.
    for (int s = 0; s < kSpawnCount; ++s)
        Link(out, s + 1, GridId(0, s * 2 + 1), 70.0, Y(s * 2 + 1) - 30.0);
    for (int row = 0; row < kGridSize; ++row)
        for (int column = 0; column + 1 < kGridSize; ++column)
            Link(out, GridId(column, row), GridId(column + 1, row), X(column) + 70.0, Y(row) + (row % 2 ? 25 : -25));
    for (int row = 0; row < kGridSize; ++row)
        Link(out, GridId(kGridSize - 1, row), kGoalId, 960.0, Y(row));
    for (int row = 0; row + 1 < kGridSize; ++row)
        Link(out, GridId(row, row), GridId(row, row + 1), X(row) + 30.0, Y(row) + 60.0);
    Link(out, GridId(5, 0), GridId(5, 5), X(5) + 60.0, 380.0);
    out += "  </links>\n  <spots/>\n  <waves timeout=\"2\">\n";
    for (int w = 0; w < kWaveCount; ++w)
    {
        Append(out, "    <wave timeout=\"%.0f\" spawn=\"%.0f\" wipeAward=\"10\" scale=\"1\">\n", w * 20, w % kSpawnCount + 1);
        for (int e = 0; e < kEntriesPerWave; ++e)
            Append(out, "      <e id=\"50\" upgrade=\"1\" x=\"%.0f\" y=\"%.1f\"/>\n", e * 45, kLaneYs[(w + e) % 5]);
        out += "    </wave>\n";
    }
    out += "  </waves>\n</map>\n";
    return out;
}
} // namespace gametest
