#include "Layouts.h"

#include <tinyxml2.h>

#include <filesystem>

namespace playthrough
{
namespace
{
const char* const kPictureExtensions[] = {"", ".dds", ".jpg", ".gif", ".png", ".tga"};

bool PictureFileExists(const std::filesystem::path& folder, const std::string& name)
{
    for (const char* extension : kPictureExtensions)
        if (std::filesystem::is_regular_file(folder / (name + extension)))
            return true;
    return false;
}
} // namespace

std::vector<LayoutLayer> ReadLayout(const std::string& root, const std::string& image)
{
    std::vector<LayoutLayer> layers;
    const std::filesystem::path folder = std::filesystem::path(root) / image;
    tinyxml2::XMLDocument document;
    if (document.LoadFile((folder / "layers.xml").string().c_str()) != tinyxml2::XML_SUCCESS)
        return layers;
    const tinyxml2::XMLElement* top = document.FirstChildElement("Layers");
    for (const tinyxml2::XMLElement* e = top ? top->FirstChildElement("Layer") : nullptr; e;
         e = e->NextSiblingElement("Layer"))
    {
        const char* name = e->Attribute("name");
        if (!name)
            break;
        LayoutLayer layer;
        layer.name = name;
        layer.rect = {float(e->IntAttribute("x")), float(e->IntAttribute("y")), float(e->IntAttribute("width")),
                      float(e->IntAttribute("height"))};
        if (const char* atlas = e->Attribute("atlas"))
            layer.atlas = atlas;
        layer.picture = !layer.atlas.empty() || PictureFileExists(folder, layer.name);
        layers.push_back(std::move(layer));
    }
    return layers;
}

bool IsRectangleLayer(const std::string& root, const std::string& imageAndLayer)
{
    // The image is the longest leading folder that holds a layout.
    for (size_t slash = imageAndLayer.rfind('/'); slash != std::string::npos && slash > 0;
         slash = imageAndLayer.rfind('/', slash - 1))
    {
        const std::string image = imageAndLayer.substr(0, slash);
        if (!std::filesystem::is_regular_file(std::filesystem::path(root) / image / "layers.xml"))
            continue;
        const std::string name = imageAndLayer.substr(slash + 1);
        for (const LayoutLayer& layer : ReadLayout(root, image))
            if (layer.name == name)
                return !layer.picture;
        return false;
    }
    return false;
}

std::vector<Probe> LayoutProbes(const std::string& root, const std::string& image, const std::string& layer,
                                const std::vector<Rect>& covers, const std::vector<Point>& keepAway,
                                float keepAwayDistance)
{
    const std::vector<LayoutLayer> layers = ReadLayout(root, image);
    for (size_t i = 0; i < layers.size(); ++i)
    {
        if (layers[i].name != layer)
            continue;
        Picture picture;
        if (!LoadContentPicture((std::filesystem::path(root) / image / layer).string(), picture))
            return {};
        ProbeSource source;
        source.placed = layers[i].rect;
        source.picture = &picture;
        source.covers = covers;
        source.keepAway = keepAway;
        source.keepAwayDistance = keepAwayDistance;
        for (size_t later = i + 1; later < layers.size(); ++later)
            source.covers.push_back(layers[later].rect);
        return SelectProbes(source);
    }
    return {};
}

std::optional<Rect> FindLayerRect(const std::vector<LayoutLayer>& layers, const std::string& name)
{
    for (const LayoutLayer& layer : layers)
        if (layer.name == name)
            return layer.rect;
    return std::nullopt;
}
} // namespace playthrough
