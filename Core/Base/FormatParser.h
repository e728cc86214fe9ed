#pragma once

// The parse step shared by the wide and narrow formatters (and so by the log
// entries, which hold wide formatters): copies text up to the next
// specification and reads that specification into the state.
#include "Core/Base/FormatSpec.h"

#include <string>

namespace base
{
// Returns true when the format text is used up (the formatter is done).
template <class Char>
bool ParseFormat(const std::basic_string<Char>& format, size_t& position, FormatState& spec,
                 std::basic_string<Char>& output);

extern template bool ParseFormat<char>(const std::string&, size_t&, FormatState&, std::string&);
extern template bool ParseFormat<wchar_t>(const std::wstring&, size_t&, FormatState&, std::wstring&);
} // namespace base
