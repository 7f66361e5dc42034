// The plain, byte-list and scrambled ticket forms.
#include "TicketValueForm.h"

#include "WmbCodec.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// The most bytes a ticket value holds: a 256-byte text buffer less its terminator.
constexpr size_t kMaxTicketValueBytes = kTicketTextSize - 1;
// The most numbers a byte list is read for.
constexpr int kMaxByteListNumbers = 256;
constexpr int kScrambleCapacity = kTicketTextSize - 1;

// atoi's reading of the characters text[begin, end): white space, a sign, digits. Never looks
// at text[end] or beyond, so a number running into the end of the buffer is read safely.
long ReadNumber(const unsigned char *text, int begin, int end)
{
    int i = begin;
    while (i < end && std::isspace(text[i]))
        ++i;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < INT_MAX)
            value = value * 10 + (text[i] - '0');
    }
    if (value > INT_MAX)
        value = INT_MAX;
    return negative ? -value : value;
}

} // namespace

bool TicketTextNeedsByteList(const char *text)
{
    if (!text)
        return false;
    return text[0] == '/' || std::strpbrk(text, "',\\") != nullptr;
}

size_t EncodeTicketByteList(const unsigned char *text, char *out, size_t outSize)
{
    if (!out || outSize == 0)
        return 0;
    out[0] = '\0';
    if (!text)
        return 0;

    size_t length = 0;
    for (size_t i = 0; i < kMaxTicketValueBytes && text[i] != 0; ++i) {
        char entry[5]; // "/255"
        size_t entryLength = 0;
        entry[entryLength++] = '/';
        const unsigned value = text[i];
        if (value >= 100)
            entry[entryLength++] = char('0' + value / 100);
        if (value >= 10)
            entry[entryLength++] = char('0' + value / 10 % 10);
        entry[entryLength++] = char('0' + value % 10);

        if (length + entryLength + 1 > outSize)
            break;
        std::memcpy(out + length, entry, entryLength);
        length += entryLength;
    }
    out[length] = '\0';
    return length;
}

void DecodeTicketByteList(const char *text, unsigned char out[kTicketDecodedSize])
{
    if (!out)
        return;
    std::memset(out, 0, kTicketDecodedSize);
    if (!text)
        return;
    if (text[0] != '/') {
        std::strncpy(reinterpret_cast<char *>(out), text, kTicketDecodedSize - 1);
        return;
    }

    const char *next = text + 1;
    for (int count = 0; count < kMaxByteListNumbers && *next != '\0'; ++count) {
        char *end = nullptr;
        const long value = std::strtol(next, &end, 10);
        out[count] = static_cast<unsigned char>(value);
        const char *separator = std::strchr(end, '/');
        if (!separator)
            break;
        next = separator + 1;
    }
}

int EncodeScrambledTicketText(const char *text, int byteCount, char *out)
{
    if (!out)
        return kWmbNullArgument;
    if (!text) {
        std::memset(out, 0, kTicketTextSize);
        return kWmbNullArgument;
    }
    if (byteCount == 0) {
        std::memset(out, 0, kTicketTextSize);
        return kWmbNoErr;
    }

    unsigned char scrambled[kTicketTextSize]; // written up to scrambledLength before use
    int32_t scrambledLength = 0;
    // The value ends at its NUL: a count beyond it never makes the scrambler read further.
    if (byteCount > 0)
        byteCount = int(strnlen(text, size_t(byteCount)));
    int code = WmbEncrypt(reinterpret_cast<const unsigned char *>(text), byteCount, scrambled,
                          &scrambledLength, kScrambleCapacity);
    // Cleared before encoding: text may be out, and a failure must not leave the clear value.
    std::memset(out, 0, kTicketTextSize);
    if (code != kWmbNoErr)
        return code;

    int32_t textLength = 0;
    code = WmbBinToB64(scrambled, scrambledLength, out, &textLength, kScrambleCapacity);
    if (code != kWmbNoErr)
        out[0] = '\0';
    return code;
}

char *TicketItoa(int value, char *buffer, int size)
{
    if (!buffer || size < 1)
        return nullptr;
    char *first = buffer + size - 1;
    *first = '\0';
    while (value > 0 && first > buffer) {
        *--first = char('0' + value % 10);
        value /= 10;
    }
    return first;
}

void TicketNumstrtochar(unsigned char *text, int size)
{
    if (!text || size < 1 || text[0] != '/')
        return;

    // Writing stays behind reading: every number consumed at least its "/" before its byte and
    // the NUL after it are stored.
    int written = 0;
    int pos = 1;
    while (pos < size && text[pos] != '\0') {
        const int begin = pos;
        while (pos < size && text[pos] != '\0' && text[pos] != '/')
            ++pos;
        const bool moreFollow = pos < size && text[pos] == '/';
        long value = ReadNumber(text, begin, pos);
        if (value >= 256)
            value = 0;
        if (pos < size)
            text[pos] = '\0';
        text[written++] = static_cast<unsigned char>(value);
        text[written] = '\0';
        if (!moreFollow)
            break;
        ++pos;
    }
}
