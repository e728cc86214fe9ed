#include "Mapping.h"

namespace playthrough
{
Point ToWindow(const DisplayMapping& mapping, const Point& logical)
{
    return {logical.x / mapping.scaleX - mapping.offsetX, logical.y / mapping.scaleY - mapping.offsetY};
}
} // namespace playthrough
