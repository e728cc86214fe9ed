#pragma once

// Tells the player, once a run, that the progress could not be saved.
class NQMap;

namespace savefailure
{
// Opens the modal message when a save has failed and the screen has no
// question of its own open; the screen returns to where it was.
void TellWhenDue(NQMap& map);
} // namespace savefailure
