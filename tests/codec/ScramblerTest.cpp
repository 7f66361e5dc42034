// The scrambler as the printer driver relies on it: byte i XOR key character i mod 4, written
// in whole groups of four that fit; and the answers of all three codec functions to bad input.
#include "WmbCodec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const unsigned char *Bytes(const char *text)
{
    return reinterpret_cast<const unsigned char *>(text);
}

TEST(Scrambler, XorsWithTheKeyInWholeGroupsThatFit)
{
    EXPECT_STREQ(wmbkey, "qbtn");
    // '1' ^ 'q' = '@', '2' ^ 'b' = 'P', '3' ^ 't' = 'G', '4' ^ 'n' = 'Z'; 'b' ^ 'b' = NUL.
    const struct
    {
        const char *value;
        int32_t length, capacity, code;
        std::string expected;
    } cases[] = {
        {"12345", 1, 8, kWmbNoErr, "@"},
        {"12345", 5, 8, kWmbNoErr, "@PGZD"},
        {"xbz", 3, 4, kWmbNoErr, std::string("\x09\0\x0e", 3)},
        {"1234", 4, 4, kWmbNoErr, "@PGZ"},
        {"1234123412", 10, 10, kWmbNoErr, "@PGZ@PGZ@P"},
        {"1234123412", 10, 9, kWmbNoRoom, "@PGZ@PGZ"},
        {"1234123412", 10, 7, kWmbNoRoom, "@PGZ"},
        {"1234123412", 10, 3, kWmbNoRoom, ""},
        {"12345", 5, 4, kWmbNoRoom, "@PGZ"},
        {"123", 3, 2, kWmbNoRoom, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " " << c.length << " into " << c.capacity);
        std::vector<unsigned char> out(16, 0xEE);
        int32_t outLength = -1;
        EXPECT_EQ(WmbEncrypt(Bytes(c.value), c.length, out.data(), &outLength, c.capacity), c.code);
        ASSERT_EQ(outLength, int32_t(c.expected.size()));
        EXPECT_EQ(std::string(out.begin(), out.begin() + outLength), c.expected);
        EXPECT_EQ(out[size_t(outLength)], 0xEE) << "wrote past the whole groups";
    }
}

TEST(Scrambler, ScramblingTwiceGivesTheValueBackAlsoInPlace)
{
    std::mt19937 random(5);
    for (int32_t length = 1; length <= 255; ++length) {
        std::vector<unsigned char> value(size_t(length), 0);
        for (auto &b : value)
            b = static_cast<unsigned char>(random());
        std::vector<unsigned char> buffer = value;
        int32_t n = 0;
        ASSERT_EQ(WmbEncrypt(buffer.data(), length, buffer.data(), &n, length), kWmbNoErr);
        if (length >= 4) {
            EXPECT_NE(buffer, value) << "length " << length;
        }
        ASSERT_EQ(WmbEncrypt(buffer.data(), n, buffer.data(), &n, length), kWmbNoErr);
        ASSERT_EQ(n, length);
        EXPECT_EQ(buffer, value) << "length " << length;
    }
}

TEST(Codec, BadArgumentsAnswerTheirCodesAndLeaveTheOutLength)
{
    using Function = int32_t (*)(const void *, int32_t, void *, int32_t *, int32_t);
    const Function functions[] = {
        [](const void *in, int32_t n, void *out, int32_t *outN, int32_t cap) {
            return WmbEncrypt(static_cast<const unsigned char *>(in), n,
                              static_cast<unsigned char *>(out), outN, cap);
        },
        [](const void *in, int32_t n, void *out, int32_t *outN, int32_t cap) {
            return WmbBinToB64(static_cast<const unsigned char *>(in), n, static_cast<char *>(out),
                               outN, cap);
        },
        [](const void *in, int32_t n, void *out, int32_t *outN, int32_t cap) {
            return WmbB64ToBin(static_cast<const char *>(in), n, static_cast<unsigned char *>(out),
                               outN, cap);
        },
    };
    for (Function function : functions) {
        unsigned char out[16];
        int32_t outLength = 77;
        EXPECT_EQ(function(nullptr, 4, out, &outLength, 16), kWmbNullArgument);
        EXPECT_EQ(function("QUJD", 4, nullptr, &outLength, 16), kWmbNullArgument);
        EXPECT_EQ(function("QUJD", 4, out, nullptr, 16), kWmbNullArgument);
        EXPECT_EQ(function("QUJD", 0, out, &outLength, 16), kWmbBadLength);
        EXPECT_EQ(function("QUJD", -3, out, &outLength, 16), kWmbBadLength);
        EXPECT_EQ(function("QUJD", 4, out, &outLength, 0), kWmbBadLength);
        EXPECT_EQ(function("QUJD", 4, out, &outLength, -5), kWmbBadLength);
        EXPECT_EQ(outLength, 77);
    }
    char text[8];
    int32_t n = 0;
    EXPECT_EQ(WmbBinToB64(Bytes("A"), 0x7fffffff, text, &n, 0x7fffffff), kWmbNoRoom);
}

} // namespace
