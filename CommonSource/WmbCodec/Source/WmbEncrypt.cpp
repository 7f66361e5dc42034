// The scrambler: a repeating XOR with the four-byte key, its own inverse.
#include "WmbCodec.h"

#include <cstring>

namespace {

// Scrambles length bytes from the start of a value (a multiple of 4 unless it is the whole
// value), eight at a time: the key repeats every four bytes, so a word holds it twice.
void Scramble(const unsigned char *input, unsigned char *output, int32_t length)
{
    unsigned char keyTwice[8];
    std::memcpy(keyTwice, wmbkey, 4);
    std::memcpy(keyTwice + 4, wmbkey, 4);
    uint64_t keyWord;
    std::memcpy(&keyWord, keyTwice, sizeof keyWord);

    int32_t i = 0;
    for (; length - i >= 8; i += 8) {
        uint64_t word;
        std::memcpy(&word, input + i, sizeof word);
        word ^= keyWord;
        std::memcpy(output + i, &word, sizeof word);
    }
    for (; i < length; ++i)
        output[i] = input[i] ^ keyTwice[i % 4];
}

} // namespace

extern "C" {

const char wmbkey[5] = "qbtn";

int32_t WmbEncrypt(const unsigned char *input, int32_t inputLength, unsigned char *output,
                   int32_t *outputLength, int32_t capacity)
{
    if (!input || !output || !outputLength)
        return kWmbNullArgument;
    if (inputLength < 1 || capacity < 1)
        return kWmbBadLength;

    if (capacity >= inputLength) {
        Scramble(input, output, inputLength);
        *outputLength = inputLength;
        return kWmbNoErr;
    }
    // Too small: only whole groups of four, as many as fit. A last partial group is never
    // written, so the out-length counts exactly the scrambled bytes.
    const int32_t wholeGroups = inputLength - inputLength % 4;
    const int32_t fitting = capacity - capacity % 4;
    const int32_t done = wholeGroups < fitting ? wholeGroups : fitting;
    Scramble(input, output, done);
    *outputLength = done;
    return kWmbNoRoom;
}

} // extern "C"
