#pragma once

#include "Core/Base/ImageInfo.h"

struct psdr_layer;

namespace file
{
// One picture layer of a decoded document: its description and the decoded
// record whose pixels (width x height ARGB values) are its picture.
class PsdFileLayer : public base::ImageInfo
{
public:
    PsdFileLayer(const base::ImageInfo& info, psdr_layer* layer)
        : base::ImageInfo(info)
        , record(layer)
    {
    }

    psdr_layer* record; // owned by the document
};
}
