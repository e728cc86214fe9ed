#pragma once

// A build spot of the level.
class NQSpot
{
};
