// Fuzzes the readers of the byte-list ticket form and checks that every value survives being
// written as a byte list and read back.
#include "TicketValueForm.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void ReadTicketText(const uint8_t *data, size_t size)
{
    auto text = std::make_unique<char[]>(size + 1);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    unsigned char out[kTicketDecodedSize];
    DecodeTicketByteList(text.get(), out);
    Check(out[kTicketDecodedSize - 1] == 0);
}

// In place, on a buffer of exactly size bytes with no terminator: only size bytes may be touched.
void DecodeInPlace(const uint8_t *data, size_t size)
{
    if (size == 0 || size > 2048)
        return;
    auto text = std::make_unique<unsigned char[]>(size);
    std::memcpy(text.get(), data, size);
    TicketNumstrtochar(text.get(), int(size));
}

void RoundTrip(const uint8_t *data, size_t size, size_t outSize)
{
    // The value: the bytes up to the first NUL, at most a ticket text's 255.
    unsigned char value[kTicketTextSize] = {};
    size_t length = 0;
    while (length < size && length < kTicketTextSize - 1 && data[length] != 0) {
        value[length] = data[length];
        ++length;
    }

    auto list = std::make_unique<char[]>(kTicketByteListSize);
    const size_t listLength = EncodeTicketByteList(value, list.get(), kTicketByteListSize);
    Check(listLength < kTicketByteListSize && list[listLength] == '\0');

    unsigned char decoded[kTicketDecodedSize];
    DecodeTicketByteList(list.get(), decoded);
    if (length > 0) {
        Check(std::memcmp(decoded, value, length + 1) == 0);
    } else {
        Check(decoded[0] == 0);
    }

    // A short buffer holds a prefix of the list and nothing beyond it.
    if (outSize > 0) {
        auto shortList = std::make_unique<char[]>(outSize);
        const size_t shortLength = EncodeTicketByteList(value, shortList.get(), outSize);
        Check(shortLength < outSize && shortList[shortLength] == '\0');
        Check(std::memcmp(shortList.get(), list.get(), shortLength) == 0);
    }

    // The scrambled form of the same value fits the ticket text or is refused, never partly.
    auto scrambled = std::make_unique<char[]>(kTicketTextSize);
    const int code =
        EncodeScrambledTicketText(reinterpret_cast<char *>(value), int(length), scrambled.get());
    Check(code == 0 ? (length <= 189) : (length > 189 && scrambled[0] == '\0'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ReadTicketText(data, size);
    DecodeInPlace(data, size);
    const size_t outSize = size > 0 ? data[0] * 4u : 0;
    RoundTrip(data, size, outSize);
    return 0;
}
