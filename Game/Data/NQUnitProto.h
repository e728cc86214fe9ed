#pragma once

// One prototype of the balance sheets: the numbers a tower, enemy unit, ammo
// or spell reads, made from one "unit" row, with the rows nested under it.
#include <cstdint>
#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class NQSpriteSet;

// The values of a prototype, copied whole by NQUnitProto::CopyFrom.
struct NQUnitValues
{
    int32_t parent = 0;
    int32_t type = 0;
    int32_t id = 0;
    float strength = 0.0f;
    float cooldown = 0.0f;
    float health = 0.0f;
    float speed = 0.0f;
    float r = 0.0f;
    std::string special;
    std::string psd;
    bool haste_buff = false;
    bool fire_dmg_only = false;
    float explodeStr = 0.0f;
    float explodeRadius = 0.0f;
    bool debufftower = false;
    bool poisonImmun = false;
    bool regen = false;
    bool raiseDead = false;
    bool invisible = false;
    bool invisibleArea = false;
    bool blocktower = false;
    bool healer = false;
    bool commander = false;
    bool summon = false;
    bool carrier = false;
    bool straight = false;
    bool ice = false;
    bool stone = false;
    bool pierce = false;
    bool splash = false;
    bool firesplash = false;
    bool dot = false;
    bool aoe = false;
    bool hold = false;
    bool stun = false;
    bool boostTower = false;
    bool showInvisible = false;
    bool air = false;
    bool aimed = false;
    bool rotating = false;
    int32_t ammoid = 0;
    int32_t tierUpdates = 0;
    float tierK = 0.0f;
    float cost = 0.0f;
    float tierCost = 0.0f;
    int32_t require = 0;
    int32_t levelid = 0;
    int32_t level = 0;
    float fps = 0.0f;
    float timeout = 0.0f;
    bool teleportEnemy = false;
    int32_t goldIncome = 0;
    int32_t stars = 0;
    int32_t dropChance = 0;
    uint32_t fillColor = 0; // ARGB
    std::string onFire;
    std::string onAmmo;
    std::string onHit;
};

class NQUnitProto : public NQUnitValues
{
public:
    // Empty: every number 0, every flag false, no sprite set; only ever
    // filled by CopyFrom.
    NQUnitProto();
    // Every attribute of the row; with withChildren every child element (any
    // name, in order) becomes a child prototype without children of its own.
    NQUnitProto(const tinyxml2::XMLElement* element, bool withChildren);
    NQUnitProto(const NQUnitProto&) = delete;
    NQUnitProto& operator=(const NQUnitProto&) = delete;
    // Deletes the children; the sprite set belongs to the sprite-set cache.
    ~NQUnitProto();

    // The values and the addon names, not the raw addons text and not the
    // children; the sprite set is shared.
    void CopyFrom(const NQUnitProto* other);

    std::string addons;
    std::vector<std::string> addonNames;
    std::vector<NQUnitProto*> children;
    NQSpriteSet* spriteSet = nullptr;
};
