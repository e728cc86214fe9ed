// Untrusted bytes through every text codec: nothing may crash, valid UTF-8
// must round-trip, and base64 must undo itself.
#include "Core/Base/Base64.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Base/ReadString.h"
#include "Core/Base/StringTokenizer.h"
#include "Core/Base/TextEncoding.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utf8/checked.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    for (int encoding = 0; encoding <= 3; ++encoding)
    {
        const std::wstring wide = base::ToWide(bytes, encoding);
        base::ToNarrow(wide, encoding);
    }
    // Encoding 2 works on C strings: compare up to the first zero.
    const std::string upToZero = bytes.substr(0, bytes.find('\0'));
    if (utf8::is_valid(bytes.begin(), bytes.end()))
    {
        if (base::ToNarrow(base::ToWide(bytes, 1), 1) != bytes)
            std::abort();
        if (base::ToNarrow(base::ToWide(bytes, 2), 2) != upToZero)
            std::abort();
    }

    if (base::Base64Decode(base::Base64Encode(bytes)) != bytes)
        std::abort();
    base::Base64Decode(bytes);

    base::MemoryStream stream(data, size);
    std::string text;
    while (base::ReadString(stream, text) == HV_OK && !stream.AtEnd())
    {
    }

    base::StringTokenizer lines(bytes, '\n', true);
    std::string line;
    while (lines.Next(line))
    {
        base::StringTokenizer cells(line, ';', false);
        cells.CountTokens();
        int i = 0;
        float f = 0;
        cells.NextInt(i).NextFloat(f);
        while (cells.Next())
        {
        }
    }
    base::WStringTokenizer wide(base::ToWide(bytes, 1), L'_', true);
    std::wstring token;
    wide.CountTokens();
    while (wide.Next(token))
    {
    }
    return 0;
}
