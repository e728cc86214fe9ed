// Damaged Ogg/Theora data: opening, decoding and converting never crash.
#include "Core/Base/MemoryStream.h"
#include "Core/Video/TheoraDecoder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    video::TheoraDecoder decoder;
    if (decoder.Open(new base::MemoryStream(data, size)) != 0)
        return 0;
    const theora_info& info = decoder.GetInfo();
    const uint32_t width = info.width < 256 ? info.width : 256, height = info.height < 256 ? info.height : 256;
    std::vector<uint32_t> pixels(size_t(width) * height);
    bool end = false;
    for (int frame = 0; frame < 64 && !end; ++frame)
        if (decoder.ReadFrame(&end) == 0 && !end)
            decoder.ConvertToRGB(static_cast<int>(width * 4), pixels.data(), width, height);
    return 0;
}
