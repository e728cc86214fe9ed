#pragma once

// The unit prototypes of the three balance sheets.
class NQUnitDatabase
{
};
