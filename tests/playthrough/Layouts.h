#pragma once

// Layer rectangles read straight from a layered image's "layers.xml", in
// logical units, as the content lays them out.
#include "Probes.h"

#include <optional>
#include <string>
#include <vector>

namespace playthrough
{
struct LayoutLayer
{
    std::string name;
    Rect rect;
    bool picture = false; // a picture file or an atlas part exists for it
    std::string atlas;
};

// The layers of `<root>/<image>/layers.xml` in file order; empty when unreadable.
std::vector<LayoutLayer> ReadLayout(const std::string& root, const std::string& image);
std::optional<Rect> FindLayerRect(const std::vector<LayoutLayer>& layers, const std::string& name);
// Whether "<image>/<layer>" names a layer of a layered image below `root`
// that is a rectangle: no picture file and no atlas part.
bool IsRectangleLayer(const std::string& root, const std::string& imageAndLayer);
// Probes of the layout's picture layer `root`, clear of every layer after it
// (pictures, buttons and text places alike) and of `covers`; empty when the
// picture cannot be read. On a map, the probes also keep `keepAwayDistance`
// from every point of `keepAway`.
std::vector<Probe> LayoutProbes(const std::string& root, const std::string& image, const std::string& layer,
                                const std::vector<Rect>& covers = {}, const std::vector<Point>& keepAway = {},
                                float keepAwayDistance = 0.0f);
inline Point Centre(const Rect& rect) { return {rect.x + rect.width / 2.0f, rect.y + rect.height / 2.0f}; }
} // namespace playthrough
