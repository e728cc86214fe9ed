#pragma once

// The shop's upgrades ("nq/upgrades.xml") and what the bought steps do: to
// the level at its start, to prototype copies and to built towers' bonuses.
#include <cstdint>
#include <string>
#include <vector>

class NQMap;
class NQProgress;
class NQTower;
class NQUnitProto;
class NQUpgrade;
class NQUpgradeStep;

class NQUpgradeTable
{
public:
    // Reads and builds; a missing, malformed or foreign file (root not
    // "upgrades") gives an empty table.
    explicit NQUpgradeTable(const std::wstring& path);
    NQUpgradeTable(const NQUpgradeTable&) = delete;
    NQUpgradeTable& operator=(const NQUpgradeTable&) = delete;
    ~NQUpgradeTable();

    // The building step alone, on the file's text; appends to the table.
    void Build(const std::string& text);

    // Appends the upgrades of that shop tab, in table order.
    void GetSection(int32_t section, std::vector<NQUpgrade*>& upgrades) const;

    // Level-wide upgrades (first target -1) set the running level's lives
    // bonus, kill-reward factor and start-gold factor; later ones overwrite,
    // values of 0 or below leave the field.
    void ApplyGlobal(NQMap* map) const;
    // The bought steps that reach the copy's id, compounding in table order.
    void ApplyToProto(NQUnitProto* copy) const;
    // The bought steps that reach the tower's current prototype, added to its
    // bonus record from the prototype's own values (no compounding).
    void ApplyToTower(const NQUnitProto& current, NQUnitProto& bonus) const;
    // The same for a built tower: its current prototype into its bonus record.
    void ApplyToTower(NQTower* tower) const;

    // One step's arithmetic on a copy, and on a tower's bonus record.
    static void ApplyStepToProto(const NQUpgradeStep& step, NQUnitProto& copy);
    static void AddStepToBonus(const NQUpgradeStep& step, const NQUnitProto& current, NQUnitProto& bonus);

    std::vector<NQUpgrade*> mUpgrades; // owned, file order

private:
    // The step in force of an upgrade that reaches the prototype id at the
    // map's level, or null.
    static NQUpgradeStep* FindStepFor(const NQUpgrade& upgrade, int32_t protoId, const NQMap* map);
    // The step of the player's last bought level, or null.
    static NQUpgradeStep* FindStepInForce(const NQUpgrade& upgrade, NQProgress* progress);
};
