#pragma once

// An ambient effect placed by the level picture.
class NQFxAnchor
{
};
