// Base64 with the standard alphabet and "=" padding, never broken into lines: the driver reads
// the ticket value as one string.
#include "WmbCodec.h"

#include <cstring>

#define WMB_BASE64_ALPHABET "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"

namespace {

constexpr unsigned char kNoValue = 0xFF;

// The two characters of every 12-bit value: a group of three bytes is two lookups.
struct CharacterPairs
{
    char pair[4096][2];
};

constexpr CharacterPairs MakeCharacterPairs()
{
    constexpr char alphabet[] = WMB_BASE64_ALPHABET;
    CharacterPairs table{};
    for (int value = 0; value < 4096; ++value) {
        table.pair[value][0] = alphabet[value >> 6];
        table.pair[value][1] = alphabet[value & 63];
    }
    return table;
}

constexpr CharacterPairs kPairs = MakeCharacterPairs();

bool IsBase64Space(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The 6-bit value of an alphabet character, or kNoValue for anything else (also for the bytes
// from 128 up, which the table does not cover).
unsigned char ValueOf(unsigned char c)
{
    return c < 128 ? B64TBL[c] : kNoValue;
}

} // namespace

extern "C" {

const char B64CHR[65] = WMB_BASE64_ALPHABET;

// clang-format off
const unsigned char B64TBL[128] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,   62, 0xFF, 0xFF, 0xFF,   63,
      52,   53,   54,   55,   56,   57,   58,   59,   60,   61, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF,    0,    1,    2,    3,    4,    5,    6,    7,    8,    9,   10,   11,   12,   13,   14,
      15,   16,   17,   18,   19,   20,   21,   22,   23,   24,   25, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF,   26,   27,   28,   29,   30,   31,   32,   33,   34,   35,   36,   37,   38,   39,   40,
      41,   42,   43,   44,   45,   46,   47,   48,   49,   50,   51, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
};
// clang-format on

int32_t WmbBinToB64(const unsigned char *input, int32_t inputLength, char *output,
                    int32_t *outputLength, int32_t capacity)
{
    if (!input || !output || !outputLength)
        return kWmbNullArgument;
    if (inputLength < 1 || capacity < 1)
        return kWmbBadLength;
    // Room for the whole text and the terminator the caller adds, checked before any write.
    const int64_t needed = 4 * ((int64_t(inputLength) + 2) / 3);
    if (int64_t(capacity) < needed + 1)
        return kWmbNoRoom;

    char *out = output;
    int32_t i = 0;
    for (; inputLength - i >= 3; i += 3) {
        const uint32_t group =
            (uint32_t(input[i]) << 16) | (uint32_t(input[i + 1]) << 8) | uint32_t(input[i + 2]);
        std::memcpy(out, kPairs.pair[group >> 12], 2);
        std::memcpy(out + 2, kPairs.pair[group & 0xFFF], 2);
        out += 4;
    }
    const int32_t rest = inputLength - i;
    if (rest == 1) {
        const unsigned b0 = input[i];
        out[0] = B64CHR[b0 >> 2];
        out[1] = B64CHR[(b0 & 3) << 4];
        out[2] = '=';
        out[3] = '=';
        out += 4;
    } else if (rest == 2) {
        const unsigned b0 = input[i], b1 = input[i + 1];
        out[0] = B64CHR[b0 >> 2];
        out[1] = B64CHR[((b0 & 3) << 4) | (b1 >> 4)];
        out[2] = B64CHR[(b1 & 15) << 2];
        out[3] = '=';
        out += 4;
    }
    *outputLength = static_cast<int32_t>(out - output);
    return kWmbNoErr;
}

int32_t WmbB64ToBin(const char *input, int32_t inputLength, unsigned char *output,
                    int32_t *outputLength, int32_t capacity)
{
    if (!input || !output || !outputLength)
        return kWmbNullArgument;
    if (inputLength < 1 || capacity < 1)
        return kWmbBadLength;
    // Every group of four that starts inside the given length gives at most three bytes, so
    // this bound covers all output before anything is written.
    const int64_t groups = (int64_t(inputLength) + 3) / 4;
    if (3 * groups > int64_t(capacity))
        return kWmbNoRoom;
    *outputLength = 0;

    const auto *text = reinterpret_cast<const unsigned char *>(input);
    const int64_t groupStartLimit = 4 * groups;
    int64_t pos = 0;
    int32_t written = 0;
    while (IsBase64Space(text[pos]))
        ++pos;

    while (text[pos] != 0 && pos < groupStartLimit) {
        unsigned char c[4];
        int count = 0;
        while (count < 4) {
            while (IsBase64Space(text[pos]))
                ++pos;
            if (text[pos] == 0)
                break;
            c[count++] = text[pos++];
        }
        if (count < 3)
            break; // the text ends before the third character: nothing from this group

        // Only the characters this group turns into bytes are checked: padding ends the text.
        const bool hasByte2 = c[2] != '=';
        const bool hasByte3 = hasByte2 && count == 4 && c[3] != '=';
        const unsigned char v0 = ValueOf(c[0]);
        const unsigned char v1 = ValueOf(c[1]);
        const unsigned char v2 = hasByte2 ? ValueOf(c[2]) : 0;
        const unsigned char v3 = hasByte3 ? ValueOf(c[3]) : 0;
        if (v0 == kNoValue || v1 == kNoValue || v2 == kNoValue || v3 == kNoValue) {
            *outputLength = written;
            return kWmbInvalidCharacter;
        }

        output[written++] = static_cast<unsigned char>((v0 << 2) | (v1 >> 4));
        if (!hasByte2)
            break;
        output[written++] = static_cast<unsigned char>((v1 << 4) | (v2 >> 2));
        if (count < 4 || !hasByte3)
            break;
        output[written++] = static_cast<unsigned char>((v2 << 6) | v3);
    }
    *outputLength = written;
    return kWmbNoErr;
}

} // extern "C"
