#pragma once
// Reads a particle library (.ptc, version 1) from zero-terminated text.

#include "Platform/Magic/Model.h"

#include <memory>
#include <string>

namespace magic {

struct ParseResult {
    std::unique_ptr<Library> library;  // null when the text was refused
    std::string error;                 // why, without the line
    int line = 0;                      // 0 when no line applies

    // "line N: why", or just "why" when no line applies.
    std::string Message() const;
};

ParseResult ParseLibrary(const char* text);

}  // namespace magic
