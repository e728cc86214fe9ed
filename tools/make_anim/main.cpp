// make_anim IN.xml OUT.anim: writes an animation file from a readable
// description of its layers, envelopes and keys.
//
// <Animation name="nq/data/anim/x.anim" start="0" end="0.3">
//   <Layer name="dialog" library="screen_res" object="null">
//     <Envelope channel="scale_x" pre="constant" post="constant">
//       <Key time="0" value="0.8" shape="linear"/>
//     </Envelope>
//   </Layer>
// </Animation>
//
// Channels: position_x position_y position_z heading pitch bank scale_x
// scale_y scale_z dissolve, and red green blue tint (any of these four gives
// the layer its colour block). A channel not given has no keys, which
// evaluates to 0. Behaviours: reset constant repeat oscillate offset linear
// (or 0-5). Shapes: tcb hermite bezier linear stepped bezier2d (or 0-5);
// key parameters p0-p3. Optional layer attributes: parent (0 none, else
// parent index + 1), flag_a, flag_b.
#include "AnimWriter.h"

#include <tinyxml2.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace
{
const char* const kMotion[] = {"position_x", "position_y", "position_z", "heading", "pitch",
                               "bank",       "scale_x",    "scale_y",    "scale_z", "dissolve"};
const char* const kColour[] = {"red", "green", "blue", "tint"};
const char* const kBehaviours[] = {"reset", "constant", "repeat", "oscillate", "offset", "linear"};
const char* const kShapes[] = {"tcb", "hermite", "bezier", "linear", "stepped", "bezier2d"};

bool Fail(const tinyxml2::XMLElement* e, const std::string& message)
{
    std::fprintf(stderr, "make_anim: line %d: %s\n", e ? e->GetLineNum() : 0, message.c_str());
    return false;
}

// A name from the list or its number.
template <size_t N>
bool ParseNamed(const tinyxml2::XMLElement* e, const char* attribute, const char* const (&names)[N], int32_t& out)
{
    const char* text = e->Attribute(attribute);
    if (!text)
        return true;
    for (size_t i = 0; i < N; ++i)
        if (std::strcmp(text, names[i]) == 0)
        {
            out = static_cast<int32_t>(i);
            return true;
        }
    if (e->QueryIntAttribute(attribute, &out) == tinyxml2::XML_SUCCESS)
        return true;
    return Fail(e, std::string("unknown ") + attribute + " \"" + text + "\"");
}

bool ParseFloat(const tinyxml2::XMLElement* e, const char* attribute, float& out, bool required)
{
    const tinyxml2::XMLError error = e->QueryFloatAttribute(attribute, &out);
    if (error == tinyxml2::XML_SUCCESS || (error == tinyxml2::XML_NO_ATTRIBUTE && !required))
        return true;
    return Fail(e, std::string("bad or missing number \"") + attribute + "\"");
}

bool ParseEnvelope(const tinyxml2::XMLElement* e, animfile::EnvelopeDesc& envelope)
{
    if (!ParseNamed(e, "pre", kBehaviours, envelope.pre) || !ParseNamed(e, "post", kBehaviours, envelope.post))
        return false;
    for (const tinyxml2::XMLElement* k = e->FirstChildElement(); k; k = k->NextSiblingElement())
    {
        if (std::strcmp(k->Name(), "Key") != 0)
            return Fail(k, std::string("unexpected element <") + k->Name() + ">");
        animfile::KeyDesc key;
        if (!ParseFloat(k, "time", key.time, true) || !ParseFloat(k, "value", key.value, true) ||
            !ParseNamed(k, "shape", kShapes, key.shape))
            return false;
        const char* const params[] = {"p0", "p1", "p2", "p3"};
        for (int i = 0; i < 4; ++i)
            if (!ParseFloat(k, params[i], key.p[i], false))
                return false;
        envelope.keys.push_back(key);
    }
    return true;
}

bool ParseLayer(const tinyxml2::XMLElement* e, animfile::LayerDesc& layer)
{
    if (const char* name = e->Attribute("name"))
        layer.layerName = name;
    if (const char* library = e->Attribute("library"))
        layer.library = library;
    if (const char* object = e->Attribute("object"))
        layer.object = object;
    e->QueryUnsignedAttribute("parent", &layer.parent);
    e->QueryUnsignedAttribute("flag_a", &layer.flagA);
    e->QueryUnsignedAttribute("flag_b", &layer.flagB);
    bool seen[14] = {};
    for (const tinyxml2::XMLElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement())
    {
        if (std::strcmp(c->Name(), "Envelope") != 0)
            return Fail(c, std::string("unexpected element <") + c->Name() + ">");
        const char* channel = c->Attribute("channel");
        if (!channel)
            return Fail(c, "missing \"channel\"");
        animfile::EnvelopeDesc* target = nullptr;
        int slot = -1;
        for (int i = 0; i < 10; ++i)
            if (std::strcmp(channel, kMotion[i]) == 0)
            {
                target = &layer.motion[i];
                slot = i;
            }
        for (int i = 0; i < 4; ++i)
            if (std::strcmp(channel, kColour[i]) == 0)
            {
                target = &layer.colour[i];
                slot = 10 + i;
                layer.hasColour = true;
            }
        if (!target)
            return Fail(c, std::string("unknown channel \"") + channel + "\"");
        if (seen[slot])
            return Fail(c, std::string("channel \"") + channel + "\" given twice");
        seen[slot] = true;
        if (!ParseEnvelope(c, *target))
            return false;
    }
    return true;
}

bool ParseAnimation(const tinyxml2::XMLDocument& doc, animfile::AnimDesc& anim)
{
    const tinyxml2::XMLElement* root = doc.FirstChildElement("Animation");
    if (!root)
        return Fail(nullptr, "no <Animation> element");
    const char* name = root->Attribute("name");
    if (!name)
        return Fail(root, "missing \"name\" (the animation's resource path)");
    anim.name = name;
    if (!ParseFloat(root, "start", anim.start, true) || !ParseFloat(root, "end", anim.end, true))
        return false;
    for (const tinyxml2::XMLElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement())
    {
        if (std::strcmp(e->Name(), "Layer") != 0)
            return Fail(e, std::string("unexpected element <") + e->Name() + ">");
        anim.layers.emplace_back();
        if (!ParseLayer(e, anim.layers.back()))
            return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: make_anim IN.xml OUT.anim\n");
        return 2;
    }
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(argv[1]) != tinyxml2::XML_SUCCESS)
    {
        std::fprintf(stderr, "make_anim: %s: %s\n", argv[1], doc.ErrorStr());
        return 1;
    }
    animfile::AnimDesc anim;
    if (!ParseAnimation(doc, anim))
        return 1;
    const std::string bytes = animfile::WriteAnim(anim);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush())
    {
        std::fprintf(stderr, "make_anim: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
