// make_anim_seeds FOLDER: writes the seed corpora of the animation and
// mesh-library fuzz targets into FOLDER/anim_data/corpus and FOLDER/mesh_library/corpus.
#include "AnimWriter.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace
{
using namespace animfile;

bool Write(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

EnvelopeDesc Envelope(int32_t shape, int32_t pre, int32_t post)
{
    EnvelopeDesc envelope;
    envelope.pre = pre;
    envelope.post = post;
    envelope.keys = {KeyDesc{0, 0, shape, {0.2f, -0.1f, 0.3f, 0.5f}}, KeyDesc{10, 1, shape, {-0.5f, 1, 0.25f, 2}},
                     KeyDesc{-4, 2.5f, shape, {0.1f, 0.1f, 0.5f, -1}}};
    return envelope;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_anim_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;

    AnimDesc empty;
    empty.name = "nq/data/anim/empty.anim";
    ok &= Write(folder + "/anim_data/corpus/empty.anim", WriteAnim(empty));

    AnimDesc shapes;
    shapes.name = "nq/data/anim/shapes.anim";
    shapes.start = 0;
    shapes.end = 2.5f;
    for (int32_t shape = 0; shape <= 5; ++shape)
    {
        LayerDesc layer;
        layer.layerName = "shape" + std::to_string(shape);
        layer.parent = static_cast<uint32_t>(shape);
        for (int channel = 0; channel < 10; ++channel)
            layer.motion[channel] = Envelope(shape, channel % 6, (channel + shape) % 6);
        if (shape % 2 == 0)
        {
            layer.hasColour = true;
            for (int channel = 0; channel < 4; ++channel)
                layer.colour[channel] = Envelope(shape, channel, 5 - channel);
        }
        shapes.layers.push_back(layer);
    }
    ok &= Write(folder + "/anim_data/corpus/shapes.anim", WriteAnim(shapes));

    LayerDesc meshLayer;
    meshLayer.library = "props";
    meshLayer.object = "door";
    meshLayer.motion[9] = Envelope(3, 1, 1);
    AnimDesc mesh;
    mesh.name = "nq/data/anim/mesh.anim";
    mesh.layers = {meshLayer};
    ok &= Write(folder + "/anim_data/corpus/mesh.anim", WriteAnim(mesh));

    MeshLibraryDesc library;
    library.vertices = {{0, 0, 0, 0, 0},   {10, 0, 0, 1, 0},      {10, 5, 0, 1, 1}, {0, 5, 0, 0, 1},
                        {-3, -4, 1, 0, 0}, {7, -4, 1, 1, 0.25f}, {7, 9, 2, 1, 1},  {-3, 9, 2, 0, 1}};
    library.indices = {1, 2, 3, 1, 3, 4, 5, 6, 7, 5, 7, 8};
    library.objects = {MeshObjectDesc{"door", "wood.png", 0, 4, 0, 6},
                       MeshObjectDesc{"door_frame", "images\\frame.png", 4, 4, 6, 6}};
    ok &= Write(folder + "/mesh_library/corpus/two_quads.lib", WriteMeshLibrary(library));
    MeshLibraryDesc none;
    none.endTag = 2012;
    ok &= Write(folder + "/mesh_library/corpus/empty.lib", WriteMeshLibrary(none));
    return ok ? 0 : 1;
}
