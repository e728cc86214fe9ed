#pragma once

// The sample data files of the balance tables, as the content writes them.
namespace balancetest
{
inline constexpr const char* kTowersSheet =
    "id;parent;type;levelid;require;cost;tierUpdates;tierK;tierCost;strength;cooldown;speed;r;fps;ammoid;rotating;"
    "splash;stars;addons;psd;img\n"
    "10000;-1;1;0;0;70;2;0,1;40;10;1,2;400;180;12;2001;0;1;0;splash;cannon_1;icons/cannon\n"
    "10001;10000;1;1;0;100;0;0;0;16;1,1;400;190;12;2001;0;1;1;splash/star1;cannon_2;icons/cannon\n";

inline constexpr const char* kUnitsSheet = "id;parent;health;speed;strength;cost;air;dropChance;fps;fillColor;psd\n"
                                           "50;-1;30;40;1;5;0;10;12;ffffffff;grunt\n";

inline constexpr const char* kAmmoSheet = "id;parent;speed;strength;r;splash;onHit\n"
                                          "2001;-1;400;10;60;1;hit_fire\n";

inline constexpr const char* kSetupSheet = "0;10;5;0;0\n"
                                           "1;10;5;20;0\n"
                                           "2;10;5;45;0\n";

inline constexpr const char* kUnlocks = "0;0;10000,3001\n"
                                        "0;1;\n"
                                        "0;2;20000\n"
                                        "1;0;30000,10001\n";

inline constexpr const char* kUpgrades = R"(<upgrades>
  <upgrade id="1" section="0" icon="range">
    <unlock episode="0" level="2"/>
    <targets><target id="10000"/><target id="10001"/><target id="10002"/><target id="10100"/><target id="10200"/></targets>
    <steps>
      <step cost_g="0" cost_r="10"><attributes><param name="radius" value="10"/></attributes></step>
      <step cost_g="0" cost_r="25"><attributes><param name="radius" value="20"/></attributes></step>
    </steps>
  </upgrade>
  <upgrade id="100" section="2" icon="lives">
    <targets><target id="-1"/></targets>
    <steps><step cost_g="0" cost_r="15"><attributes><param name="maxHP" value="2"/></attributes></step></steps>
  </upgrade>
</upgrades>
)";
} // namespace balancetest
