// Fuzzes the Base64 decoder a printer driver runs on ticket text, and checks that encoding then
// decoding gives any byte string back.
#include "WmbCodec.h"

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

// The text as arbitrary characters: decoding must stay inside the text and the capacity, which
// is allocated to the exact byte so AddressSanitizer sees any overrun.
void DecodeArbitraryText(const uint8_t *data, size_t size, uint8_t mode)
{
    auto text = std::make_unique<char[]>(size + 1);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';

    // The length the caller claims: the whole text, where its first NUL is, or less.
    int32_t length = int32_t(size);
    if (mode & 1)
        length = int32_t(std::strlen(text.get()));
    if ((mode & 2) && length > 0)
        length = 1 + int32_t(mode >> 2) % length;
    if (length < 1)
        return;

    const int32_t needed = 3 * ((length + 3) / 4);
    const bool tooSmall = (mode & 0x80) && needed > 1;
    const int32_t capacity = tooSmall ? needed - 1 : needed;
    auto out = std::make_unique<unsigned char[]>(size_t(capacity));
    int32_t outLength = -1;
    const int32_t code = WmbB64ToBin(text.get(), length, out.get(), &outLength, capacity);
    if (tooSmall) {
        Check(code == kWmbNoRoom && outLength == -1);
        return;
    }
    Check(code == kWmbNoErr || code == kWmbInvalidCharacter);
    Check(outLength >= 0 && outLength <= capacity);
}

// The data as bytes: Base64 of them must decode to them again.
void RoundTrip(const uint8_t *data, size_t size)
{
    if (size == 0 || size > 4096)
        return;
    const int32_t length = int32_t(size);
    const int32_t textCapacity = 4 * ((length + 2) / 3) + 1;
    auto text = std::make_unique<char[]>(size_t(textCapacity));
    int32_t textLength = 0;
    Check(WmbBinToB64(data, length, text.get(), &textLength, textCapacity) == kWmbNoErr);
    Check(textLength == textCapacity - 1);
    text[textLength] = '\0';

    const int32_t capacity = 3 * ((textLength + 3) / 4);
    auto bytes = std::make_unique<unsigned char[]>(size_t(capacity));
    int32_t byteLength = 0;
    Check(WmbB64ToBin(text.get(), textLength, bytes.get(), &byteLength, capacity) == kWmbNoErr);
    Check(byteLength == length && std::memcmp(bytes.get(), data, size) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    DecodeArbitraryText(data + 1, size - 1, data[0]);
    RoundTrip(data, size);
    return 0;
}
