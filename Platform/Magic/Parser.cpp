#include "Platform/Magic/Parser.h"

#include <tinyxml2.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <map>
#include <set>
#include <string_view>

namespace magic {

std::string ParseResult::Message() const {
    if (line <= 0)
        return error;
    return "line " + std::to_string(line) + ": " + error;
}

namespace {

using tinyxml2::XMLElement;
using tinyxml2::XMLNode;

std::string FormatNumber(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

struct Range {
    double lo, hi;
    bool hiOpen = false;  // hi itself is out of range
};

// Times are bounded so that a single update never runs away on a hostile file.
constexpr double kMaxTime = 3600000.0;
constexpr double kMaxLength = 100000.0;
constexpr double kMaxAngle = 100000.0;
constexpr Range kTime{0, kMaxTime};
constexpr Range kLength{0, kMaxLength};
constexpr Range kSigned{-kMaxLength, kMaxLength};
constexpr Range kAngle{-kMaxAngle, kMaxAngle};

class Reader {
public:
    ParseResult result;

    bool Fail(int line, std::string why) {
        if (result.error.empty()) {
            result.error = std::move(why);
            result.line = line;
        }
        return false;
    }

    // Every attribute must be known: a typo is an error. (The XML parser
    // already refuses an attribute given twice.)
    bool CheckAttributes(const XMLElement* e, std::initializer_list<std::string_view> known) {
        for (auto* a = e->FirstAttribute(); a; a = a->Next()) {
            std::string_view name = a->Name();
            bool ok = false;
            for (auto k : known)
                ok = ok || k == name;
            if (!ok)
                return Fail(a->GetLineNum(), "unknown attribute '" + std::string(name) + "' in <" +
                                                 e->Name() + ">");
        }
        return true;
    }

    // Only elements (and comments) may appear as content.
    bool CheckNoText(const XMLElement* e) {
        for (auto* n = e->FirstChild(); n; n = n->NextSibling()) {
            if (auto* t = n->ToText()) {
                std::string_view v = t->Value();
                if (v.find_first_not_of(" \t\r\n") != std::string_view::npos)
                    return Fail(n->GetLineNum(), std::string("unexpected text in <") + e->Name() + ">");
            } else if (n->ToUnknown() || n->ToDeclaration()) {
                return Fail(n->GetLineNum(), std::string("unexpected markup in <") + e->Name() + ">");
            }
        }
        return true;
    }

    bool BadValue(const XMLElement* e, const char* name, const char* value, const std::string& want) {
        return Fail(e->FindAttribute(name)->GetLineNum(), "attribute '" + std::string(name) + "' of <" +
                                                              e->Name() + ">: '" + value + "' " + want);
    }

    bool Number(const XMLElement* e, const char* name, Range range, double& out) {
        const char* v = e->Attribute(name);
        if (!v)
            return true;
        double d = 0;
        const char* end = v + std::strlen(v);
        auto r = std::from_chars(v, end, d);
        if (r.ec != std::errc() || r.ptr != end || !std::isfinite(d))
            return BadValue(e, name, v, "is not a number");
        if (d < range.lo || d > range.hi || (range.hiOpen && d == range.hi))
            return BadValue(e, name, v,
                            "is out of range (" + FormatNumber(range.lo) + " to " +
                                (range.hiOpen ? "below " : "") + FormatNumber(range.hi) + ")");
        out = d;
        return true;
    }

    bool Number(const XMLElement* e, const char* name, Range range, float& out) {
        double d = out;
        if (!Number(e, name, range, d))
            return false;
        out = static_cast<float>(d);
        return true;
    }

    bool Integer(const XMLElement* e, const char* name, int lo, int hi, int& out) {
        const char* v = e->Attribute(name);
        if (!v)
            return true;
        long long n = 0;
        const char* end = v + std::strlen(v);
        auto r = std::from_chars(v, end, n);
        if (r.ec != std::errc() || r.ptr != end)
            return BadValue(e, name, v, "is not a whole number");
        if (n < lo || n > hi)
            return BadValue(e, name, v,
                            "is out of range (" + std::to_string(lo) + " to " + std::to_string(hi) + ")");
        out = static_cast<int>(n);
        return true;
    }

    bool Unsigned(const XMLElement* e, const char* name, uint32_t& out) {
        const char* v = e->Attribute(name);
        if (!v)
            return true;
        const char* end = v + std::strlen(v);
        auto r = std::from_chars(v, end, out);
        if (r.ec != std::errc() || r.ptr != end)
            return BadValue(e, name, v, "is not an unsigned 32-bit number");
        return true;
    }

    bool Flag(const XMLElement* e, const char* name, bool& out) {
        const char* v = e->Attribute(name);
        if (!v)
            return true;
        if (std::strcmp(v, "0") != 0 && std::strcmp(v, "1") != 0)
            return BadValue(e, name, v, "is not 0 or 1");
        out = v[0] == '1';
        return true;
    }

    bool Color(const XMLElement* e, const char* name, uint32_t& out) {
        const char* v = e->Attribute(name);
        if (!v)
            return true;
        std::string_view s = v;
        bool ok = s.size() == 8;
        for (char c : s)
            ok = ok && std::isxdigit(static_cast<unsigned char>(c));
        if (!ok)
            return BadValue(e, name, v, "is not a colour AARRGGBB");
        std::from_chars(s.data(), s.data() + s.size(), out, 16);
        return true;
    }

    bool Name(const XMLElement* e, std::string& out) {
        const char* v = e->Attribute("name");
        if (!v)
            return Fail(e->GetLineNum(), std::string("<") + e->Name() + "> has no name");
        std::string_view s = v;
        if (s.empty())
            return Fail(e->GetLineNum(), std::string("<") + e->Name() + "> has an empty name");
        if (s.find('/') != std::string_view::npos)
            return BadValue(e, "name", v, "contains '/'");
        out = v;
        return true;
    }

    bool ReadType(const XMLElement* e, ParticleType& t) {
        t.line = e->GetLineNum();
        if (!CheckAttributes(e, {"atlas", "u0", "v0", "u1", "v1", "intense", "rate", "burst", "life",
                                 "life_var", "speed", "speed_var", "angle", "spread", "gravity_x",
                                 "gravity_y", "size0", "size1", "size_var", "rot", "rot_var", "spin",
                                 "color0", "color1", "max"}))
            return false;
        if (e->FirstChildElement())
            return Fail(e->FirstChildElement()->GetLineNum(),
                        std::string("unknown element <") + e->FirstChildElement()->Name() + "> in <type>");
        constexpr Range kUv{0, 1};
        return CheckNoText(e) && Integer(e, "atlas", 0, 1 << 20, t.atlas) &&
               Number(e, "u0", kUv, t.u0) && Number(e, "v0", kUv, t.v0) &&
               Number(e, "u1", kUv, t.u1) && Number(e, "v1", kUv, t.v1) &&
               Flag(e, "intense", t.intense) && Number(e, "rate", {0, 10000}, t.rate) &&
               Integer(e, "burst", 0, 10000, t.burst) && Number(e, "life", {1, kMaxTime}, t.life) &&
               Number(e, "life_var", kTime, t.lifeVar) && Number(e, "speed", kSigned, t.speed) &&
               Number(e, "speed_var", kLength, t.speedVar) && Number(e, "angle", kAngle, t.angle) &&
               Number(e, "spread", {0, 360}, t.spread) &&
               Number(e, "gravity_x", {-1e6, 1e6}, t.gravityX) &&
               Number(e, "gravity_y", {-1e6, 1e6}, t.gravityY) &&
               Number(e, "size0", kLength, t.size0) && Number(e, "size1", kLength, t.size1) &&
               Number(e, "size_var", {0, 1, true}, t.sizeVar) && Number(e, "rot", kAngle, t.rot) &&
               Number(e, "rot_var", {0, kMaxAngle}, t.rotVar) && Number(e, "spin", kAngle, t.spin) &&
               Color(e, "color0", t.color0) && Color(e, "color1", t.color1) &&
               Integer(e, "max", 1, 10000, t.max);
    }

    bool ReadEmitter(const XMLElement* e, EmitterDef& d) {
        d.line = e->GetLineNum();
        if (!CheckAttributes(e, {"name", "interval1", "interval2", "seed", "shape", "shape_w", "shape_h"}) ||
            !CheckNoText(e) || !Name(e, d.name) || !Number(e, "interval1", kTime, d.interval1) ||
            !Number(e, "interval2", kTime, d.interval2) || !Unsigned(e, "seed", d.seed) ||
            !Number(e, "shape_w", kLength, d.shapeW) || !Number(e, "shape_h", kLength, d.shapeH))
            return false;
        // A cycle shorter than a millisecond would make an update loop without end.
        if (d.interval2 < d.interval1 + 1)
            return Fail(d.line, "emitter '" + d.name + "': interval2 must be at least interval1 + 1");
        if (const char* s = e->Attribute("shape")) {
            static const std::map<std::string_view, Shape> shapes = {
                {"point", Shape::Point}, {"rect", Shape::Rect}, {"circle", Shape::Circle}, {"line", Shape::Line}};
            auto it = shapes.find(s);
            if (it == shapes.end())
                return BadValue(e, "shape", s, "is not point, rect, circle or line");
            d.shape = it->second;
        }
        for (auto* c = e->FirstChildElement(); c; c = c->NextSiblingElement()) {
            if (std::strcmp(c->Name(), "type") != 0)
                return Fail(c->GetLineNum(), std::string("unknown element <") + c->Name() + "> in <emitter>");
            d.types.emplace_back();
            if (!ReadType(c, d.types.back()))
                return false;
        }
        if (d.types.empty())
            return Fail(d.line, "emitter '" + d.name + "' has no <type>");
        return true;
    }

    bool ReadFolder(const XMLElement* e, int index, bool root) {
        if (!CheckNoText(e))
            return false;
        Library& lib = *result.library;
        std::set<std::string> folderNames, emitterNames;
        for (auto* c = e->FirstChildElement(); c; c = c->NextSiblingElement()) {
            std::string_view kind = c->Name();
            if (kind == "folder") {
                std::string name;
                if (!CheckAttributes(c, {"name"}) || !Name(c, name))
                    return false;
                // ".." selects the parent, so such a folder could never be entered.
                if (name == "..")
                    return BadValue(c, "name", "..", "is reserved for the parent folder");
                if (!folderNames.insert(name).second)
                    return Fail(c->GetLineNum(), "two folders named '" + name + "' in one folder");
                int sub = static_cast<int>(lib.folders.size());
                lib.folders.push_back(Folder{name, index, {}});
                lib.folders[index].items.push_back({true, sub});
                if (!ReadFolder(c, sub, false))
                    return false;
            } else if (kind == "emitter") {
                EmitterDef d;
                if (!ReadEmitter(c, d))
                    return false;
                if (!emitterNames.insert(d.name).second)
                    return Fail(c->GetLineNum(), "two emitters named '" + d.name + "' in one folder");
                lib.folders[index].items.push_back({false, static_cast<int>(lib.emitters.size())});
                lib.emitters.push_back(std::move(d));
            } else if (kind == "atlas" && root) {
                if (!CheckAttributes(c, {"file"}) || !CheckNoText(c))
                    return false;
                const char* f = c->Attribute("file");
                if (!f || !*f)
                    return Fail(c->GetLineNum(), "<atlas> has no file");
                for (const char* p = f; *p; ++p)
                    if (static_cast<unsigned char>(*p) < 0x20 || static_cast<unsigned char>(*p) > 0x7E)
                        return BadValue(c, "file", f, "is not printable ASCII");
                if (c->FirstChildElement())
                    return Fail(c->FirstChildElement()->GetLineNum(), "unknown element <" +
                                    std::string(c->FirstChildElement()->Name()) + "> in <atlas>");
                lib.atlases.emplace_back(f);
            } else {
                return Fail(c->GetLineNum(), "unknown element <" + std::string(kind) + "> in <" +
                                                 e->Name() + ">");
            }
        }
        return true;
    }

    bool CheckAtlasIndices() {
        const Library& lib = *result.library;
        for (const auto& d : lib.emitters)
            for (const auto& t : d.types)
                if (t.atlas >= static_cast<int>(lib.atlases.size()))
                    return Fail(t.line, "emitter '" + d.name + "': atlas " + std::to_string(t.atlas) +
                                            " is not declared (" + std::to_string(lib.atlases.size()) +
                                            " atlases)");
        return true;
    }
};

}  // namespace

ParseResult ParseLibrary(const char* text) {
    Reader r;
    if (!text) {
        r.Fail(0, "no text");
        return std::move(r.result);
    }
    tinyxml2::XMLDocument doc;
    if (doc.Parse(text) != tinyxml2::XML_SUCCESS) {
        r.Fail(doc.ErrorLineNum(), std::string("not well-formed XML: ") + doc.ErrorName());
        return std::move(r.result);
    }
    const XMLElement* root = doc.RootElement();
    if (!root) {
        r.Fail(0, "no root element");
        return std::move(r.result);
    }
    for (auto* n = doc.FirstChild(); n; n = n->NextSibling()) {
        if (n->ToElement() && n != root) {
            r.Fail(n->GetLineNum(), "more than one root element");
            return std::move(r.result);
        }
        if (n->ToText() || n->ToUnknown()) {
            r.Fail(n->GetLineNum(), "unexpected content outside <particles>");
            return std::move(r.result);
        }
    }
    if (std::strcmp(root->Name(), "particles") != 0) {
        r.Fail(root->GetLineNum(), std::string("root element is <") + root->Name() + ">, not <particles>");
        return std::move(r.result);
    }
    if (!r.CheckAttributes(root, {"version"}))
        return std::move(r.result);
    const char* version = root->Attribute("version");
    if (!version) {
        r.Fail(root->GetLineNum(), "<particles> has no version");
        return std::move(r.result);
    }
    if (std::strcmp(version, "1") != 0) {
        r.Fail(root->GetLineNum(), std::string("unsupported version '") + version + "' (only 1 is read)");
        return std::move(r.result);
    }
    r.result.library = std::make_unique<Library>();
    r.result.library->folders.push_back(Folder{});
    if (!r.ReadFolder(root, 0, true) || !r.CheckAtlasIndices())
        r.result.library.reset();
    return std::move(r.result);
}

}  // namespace magic
