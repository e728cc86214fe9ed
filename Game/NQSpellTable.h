#pragma once

// The spell sheet ("nq/spells_sheet.csv").
class NQSpellTable
{
};
