// Strict UTF-8 checking for text that arrives from files and C callers.
#pragma once

#include <cstddef>

namespace veltra {

// The offset of the first byte that does not start a well-formed UTF-8 sequence (overlong
// forms, surrogates and values past U+10FFFF included), or length when all of it is valid.
std::size_t FindInvalidUTF8(const char *bytes, std::size_t length);

inline bool IsValidUTF8(const char *bytes, std::size_t length)
{
    return FindInvalidUTF8(bytes, length) == length;
}

} // namespace veltra
