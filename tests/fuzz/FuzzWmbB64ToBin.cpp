// Fuzzes the Base64 decoder a printer driver runs on ticket text, and checks that encoding then
// decoding gives any byte string back.
#include "WmbCodec.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

static constexpr auto Check = [](bool condition) { condition ? void() : std::abort(); };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // data[0] picks the length the caller claims (the whole text, up to its first NUL, or less)
    // and a capacity one byte short; the rest is the text. Buffers are allocated to the exact
    // byte so that AddressSanitizer sees any overrun.
    const uint8_t mode = data[0];
    auto text = std::make_unique<char[]>(size); // zeroed: the last byte stays a NUL
    std::memcpy(text.get(), data + 1, size - 1);
    int32_t length = (mode & 1) ? int32_t(std::strlen(text.get())) : int32_t(size - 1);
    if ((mode & 2) && length > 0)
        length = 1 + int32_t(mode >> 2) % length;
    if (length > 0) {
        const int32_t needed = 3 * ((length + 3) / 4);
        const bool tooSmall = (mode & 0x80) && needed > 1;
        const int32_t capacity = tooSmall ? needed - 1 : needed;
        auto out = std::make_unique<unsigned char[]>(size_t(capacity));
        int32_t outLength = -1;
        const int32_t code = WmbB64ToBin(text.get(), length, out.get(), &outLength, capacity);
        Check(tooSmall ? code == kWmbNoRoom && outLength == -1
                       : (code == kWmbNoErr || code == kWmbInvalidCharacter) && outLength >= 0 &&
                             outLength <= capacity);
    }

    // The data as bytes: their Base64 text decodes to them again.
    if (size > 4096)
        return 0;
    const int32_t n = int32_t(size);
    const int32_t textCapacity = 4 * ((n + 2) / 3) + 1;
    auto b64 = std::make_unique<char[]>(size_t(textCapacity));
    int32_t textLength = 0;
    Check(WmbBinToB64(data, n, b64.get(), &textLength, textCapacity) == kWmbNoErr);
    Check(textLength == textCapacity - 1);
    b64[textLength] = '\0';
    const int32_t capacity = 3 * ((textLength + 3) / 4);
    auto bytes = std::make_unique<unsigned char[]>(size_t(capacity));
    int32_t byteLength = 0;
    Check(WmbB64ToBin(b64.get(), textLength, bytes.get(), &byteLength, capacity) == kWmbNoErr);
    Check(byteLength == n && std::memcmp(bytes.get(), data, size) == 0);
    return 0;
}
