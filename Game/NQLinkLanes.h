#pragma once

// The sampled lanes of one road link.
class NQLinkLanes
{
};
