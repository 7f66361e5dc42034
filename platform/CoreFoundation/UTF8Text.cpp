// UTF-8 validation: overlong forms, surrogates and truncated sequences are refused.
#include "UTF8Text.h"

namespace veltra {

std::size_t FindInvalidUTF8(const char *bytes, std::size_t length)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            if (c == 0xE0)
                low = 0xA0; // overlong
            else if (c == 0xED)
                high = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            if (c == 0xF0)
                low = 0x90; // overlong
            else if (c == 0xF4)
                high = 0x8F; // past U+10FFFF
        } else {
            return i;
        }
        if (length - i <= extra)
            return i;
        if (p[i + 1] < low || p[i + 1] > high)
            return i;
        for (std::size_t k = 2; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return i;
        }
        i += extra + 1;
    }
    return length;
}

} // namespace veltra
