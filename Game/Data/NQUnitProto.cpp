#include "Game/Data/NQUnitProto.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/StringTokenizer.h"
#include "Game/Data/DataAttributes.h"
#include "Game/Data/NQResources.h"

#include <tinyxml2.h>

namespace
{
const uint32_t kNoFillColor = 0xFFFFFFFFu;
const int32_t kFlying = 1;
const int kHexDigitBits = 4;

// Every character shifts in 4 bits; only hex digits add their value.
uint32_t ParseFillColor(const char* text)
{
    uint32_t colour = 0;
    for (const char* c = text; *c != '\0'; ++c)
    {
        colour <<= kHexDigitBits;
        if (*c >= '0' && *c <= '9')
            colour += static_cast<uint32_t>(*c - '0');
        else if (*c >= 'a' && *c <= 'f')
            colour += static_cast<uint32_t>(*c - 'a' + 10);
        else if (*c >= 'A' && *c <= 'F')
            colour += static_cast<uint32_t>(*c - 'A' + 10);
    }
    return colour;
}

// The pieces between '/', trimmed, empty ones dropped.
std::vector<std::string> SplitAddons(const std::string& addons)
{
    std::vector<std::string> names;
    base::StringTokenizer tokenizer(addons, '/', true);
    std::string name;
    while (tokenizer.Next(name))
        names.push_back(name);
    return names;
}

void ReadText(const tinyxml2::XMLElement* element, const char* name, std::string& value)
{
    if (const char* text = element->Attribute(name))
        value = text;
}
} // namespace

NQUnitProto::NQUnitProto() = default;

NQUnitProto::NQUnitProto(const tinyxml2::XMLElement* element, bool withChildren)
{
    ReadIntAttribute(element, "parent", parent);
    ReadIntAttribute(element, "type", type);
    ReadIntAttribute(element, "id", id);
    ReadFloatAttribute(element, "strength", strength);
    ReadFloatAttribute(element, "cooldown", cooldown);
    ReadFloatAttribute(element, "health", health);
    ReadFloatAttribute(element, "speed", speed);
    ReadFloatAttribute(element, "r", r);
    ReadText(element, "special", special);
    ReadText(element, "psd", psd);
    ReadBoolAttribute(element, "haste_buff", haste_buff);
    ReadBoolAttribute(element, "fire_dmg_only", fire_dmg_only);
    ReadFloatAttribute(element, "explodeStr", explodeStr);
    ReadFloatAttribute(element, "explodeRadius", explodeRadius);
    // Written as a strength in the sheets; only whether it is set matters.
    float debuff = 0.0f;
    ReadFloatAttribute(element, "debufftower", debuff);
    debufftower = debuff != 0.0f;
    ReadBoolAttribute(element, "poisonImmun", poisonImmun);
    ReadBoolAttribute(element, "regen", regen);
    ReadBoolAttribute(element, "raiseDead", raiseDead);
    ReadBoolAttribute(element, "invisible", invisible);
    ReadBoolAttribute(element, "invisibleArea", invisibleArea);
    ReadBoolAttribute(element, "blocktower", blocktower);
    ReadBoolAttribute(element, "healer", healer);
    ReadBoolAttribute(element, "commander", commander);
    ReadBoolAttribute(element, "summon", summon);
    ReadBoolAttribute(element, "carrier", carrier);
    ReadBoolAttribute(element, "straight", straight);
    ReadBoolAttribute(element, "ice", ice);
    ReadBoolAttribute(element, "stone", stone);
    ReadBoolAttribute(element, "pierce", pierce);
    ReadBoolAttribute(element, "splash", splash);
    ReadBoolAttribute(element, "firesplash", firesplash);
    ReadBoolAttribute(element, "dot", dot);
    ReadBoolAttribute(element, "aoe", aoe);
    ReadBoolAttribute(element, "hold", hold);
    ReadBoolAttribute(element, "stun", stun);
    ReadBoolAttribute(element, "boostTower", boostTower);
    ReadBoolAttribute(element, "showInvisible", showInvisible);
    // Only exactly 1 flies: "true" and 2 are walkers.
    int32_t flying = 0;
    ReadIntAttribute(element, "air", flying);
    air = flying == kFlying;
    ReadBoolAttribute(element, "aimed", aimed);
    ReadBoolAttribute(element, "rotating", rotating);
    ReadIntAttribute(element, "ammoid", ammoid);
    ReadIntAttribute(element, "tierUpdates", tierUpdates);
    ReadFloatAttribute(element, "tierK", tierK);
    ReadFloatAttribute(element, "cost", cost);
    ReadFloatAttribute(element, "tierCost", tierCost);
    ReadIntAttribute(element, "require", require);
    ReadIntAttribute(element, "levelid", levelid);
    ReadIntAttribute(element, "level", level);
    ReadFloatAttribute(element, "fps", fps);
    ReadFloatAttribute(element, "timeout", timeout);
    ReadBoolAttribute(element, "teleportEnemy", teleportEnemy);
    ReadIntAttribute(element, "goldIncome", goldIncome);
    ReadIntAttribute(element, "stars", stars);
    ReadIntAttribute(element, "dropChance", dropChance);
    // An empty cell counts as absent, like an empty number.
    const char* colour = element->Attribute("fillColor");
    fillColor = colour == nullptr || *colour == '\0' ? kNoFillColor : ParseFillColor(colour);
    ReadText(element, "onFire", onFire);
    ReadText(element, "onAmmo", onAmmo);
    ReadText(element, "onHit", onHit);
    ReadText(element, "addons", addons);
    addonNames = SplitAddons(addons);

    if (withChildren)
        for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child != nullptr;
             child = child->NextSiblingElement())
            children.push_back(new NQUnitProto(child, false));

    spriteSet = NQResources::Instance()->GetSpriteSetFor(element);
}

NQUnitProto::~NQUnitProto()
{
    base::DeleteAll(children);
}

void NQUnitProto::CopyFrom(const NQUnitProto* other)
{
    static_cast<NQUnitValues&>(*this) = *other;
    addonNames = other->addonNames;
    spriteSet = other->spriteSet;
}
