// Fuzzes the byte-list ticket form: any text is read without overrun, and every value survives
// being written as a byte list (whole, or cut to a short buffer) and read back.
#include "TicketValueForm.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

static constexpr auto Check = [](bool condition) { condition ? void() : std::abort(); };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // As ticket text; and in place, in exactly size bytes without a terminator.
    auto text = std::make_unique<char[]>(size + 1); // zeroed: the last byte stays a NUL
    std::memcpy(text.get(), data, size);
    unsigned char out[kTicketDecodedSize];
    DecodeTicketByteList(text.get(), out);
    Check(out[kTicketDecodedSize - 1] == 0);
    if (size > 0 && size <= 2048) {
        auto inPlace = std::make_unique<unsigned char[]>(size);
        std::memcpy(inPlace.get(), data, size);
        TicketNumstrtochar(inPlace.get(), int(size));
    }

    // The value: the bytes up to the first NUL, at most a ticket text's 255.
    unsigned char value[kTicketTextSize] = {};
    const size_t length = strnlen(text.get(), std::min(size, size_t(kTicketTextSize - 1)));
    std::memcpy(value, data, length);
    auto list = std::make_unique<char[]>(kTicketByteListSize);
    const size_t listLength = EncodeTicketByteList(value, list.get(), kTicketByteListSize);
    Check(listLength < kTicketByteListSize && list[listLength] == '\0');
    DecodeTicketByteList(list.get(), out);
    Check(std::memcmp(out, value, length + 1) == 0);
    // A short buffer holds a prefix of the list and nothing beyond it.
    if (const size_t outSize = size > 0 ? data[0] * 4u : 0) {
        auto shortList = std::make_unique<char[]>(outSize);
        const size_t shortLength = EncodeTicketByteList(value, shortList.get(), outSize);
        Check(shortLength < outSize && shortList[shortLength] == '\0');
        Check(std::memcmp(shortList.get(), list.get(), shortLength) == 0);
    }
    // The scrambled form of the same value fits the ticket text or is refused, never partly.
    auto scrambled = std::make_unique<char[]>(kTicketTextSize);
    const int code = EncodeScrambledTicketText((const char *)value, int(length), scrambled.get());
    Check(code == 0 ? length <= 189 : (length > 189 && scrambled[0] == '\0'));
    return 0;
}
