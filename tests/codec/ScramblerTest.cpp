// The scrambler as the printer driver relies on it: byte i XOR key character i mod 4.
#include "WmbCodec.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const unsigned char *Bytes(const char *text)
{
    return reinterpret_cast<const unsigned char *>(text);
}

std::string AsString(const unsigned char *bytes, int32_t length)
{
    return std::string(reinterpret_cast<const char *>(bytes), size_t(length));
}

TEST(Scrambler, KeyIsQbtn)
{
    EXPECT_STREQ(wmbkey, "qbtn");
    EXPECT_EQ(sizeof(wmbkey), 5u);
}

// '1' ^ 'q' = '@', '2' ^ 'b' = 'P', '3' ^ 't' = 'G', '4' ^ 'n' = 'Z', '5' ^ 'q' = 'D'.
TEST(Scrambler, LengthsOneToFiveUseTheKeyCharactersInTurn)
{
    const struct
    {
        int32_t length;
        const char *expected;
    } cases[] = {{1, "@"}, {2, "@P"}, {3, "@PG"}, {4, "@PGZ"}, {5, "@PGZD"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.length);
        std::array<unsigned char, 8> out;
        out.fill(0xEE);
        int32_t outLength = -1;
        ASSERT_EQ(WmbEncrypt(Bytes("12345"), c.length, out.data(), &outLength, 8), kWmbNoErr);
        EXPECT_EQ(outLength, c.length);
        EXPECT_EQ(AsString(out.data(), outLength), c.expected);
        EXPECT_EQ(out[size_t(c.length)], 0xEE) << "wrote past the scrambled bytes";
    }
}

TEST(Scrambler, CharacterEqualToItsKeyCharacterBecomesNul)
{
    unsigned char out[4];
    int32_t outLength = 0;
    ASSERT_EQ(WmbEncrypt(Bytes("xbz"), 3, out, &outLength, 4), kWmbNoErr);
    ASSERT_EQ(outLength, 3);
    EXPECT_EQ(out[0], 'x' ^ 'q');
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 'z' ^ 't');
}

TEST(Scrambler, ScramblingTwiceGivesTheValueBack)
{
    std::mt19937 random(5);
    for (int32_t length = 1; length <= 255; ++length) {
        const size_t size = size_t(length);
        std::vector<unsigned char> value(size), scrambled(size), back(size);
        for (auto &b : value)
            b = static_cast<unsigned char>(random());
        int32_t n1 = 0, n2 = 0;
        ASSERT_EQ(WmbEncrypt(value.data(), length, scrambled.data(), &n1, length), kWmbNoErr);
        ASSERT_EQ(WmbEncrypt(scrambled.data(), n1, back.data(), &n2, length), kWmbNoErr);
        ASSERT_EQ(n2, length);
        EXPECT_EQ(back, value) << "length " << length;
        if (length >= 4) {
            EXPECT_NE(scrambled, value) << "length " << length;
        }
    }
}

TEST(Scrambler, ScramblesInPlace)
{
    unsigned char buffer[6] = {'1', '2', '3', '4', '5', 0};
    int32_t outLength = 0;
    ASSERT_EQ(WmbEncrypt(buffer, 5, buffer, &outLength, 6), kWmbNoErr);
    EXPECT_EQ(AsString(buffer, outLength), "@PGZD");
}

TEST(Scrambler, CapacityNineForTenBytesStopsAfterTwoGroups)
{
    unsigned char out[12];
    std::memset(out, 0xEE, sizeof out);
    int32_t outLength = -1;
    EXPECT_EQ(WmbEncrypt(Bytes("1234123412"), 10, out, &outLength, 9), kWmbNoRoom);
    EXPECT_EQ(outLength, 8);
    EXPECT_EQ(AsString(out, 8), "@PGZ@PGZ");
    EXPECT_EQ(out[8], 0xEE) << "a partial group was written";
}

TEST(Scrambler, CapacityBelowTheFirstGroupsWritesOnlyWholeGroupsThatFit)
{
    const struct
    {
        int32_t length, capacity, expectedCode, expectedLength;
    } cases[] = {
        {10, 7, kWmbNoRoom, 4}, {10, 3, kWmbNoRoom, 0}, {3, 2, kWmbNoRoom, 0},
        {4, 4, kWmbNoErr, 4},   {5, 4, kWmbNoRoom, 4},  {10, 10, kWmbNoErr, 10},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " bytes, capacity " << c.capacity);
        std::vector<unsigned char> out(16, 0xEE);
        int32_t outLength = -1;
        EXPECT_EQ(WmbEncrypt(Bytes("1234123412"), c.length, out.data(), &outLength, c.capacity),
                  c.expectedCode);
        EXPECT_EQ(outLength, c.expectedLength);
        EXPECT_EQ(out[size_t(c.expectedLength)], 0xEE);
    }
}

TEST(Scrambler, BadArgumentsAnswerTheirCodesAndLeaveTheOutLength)
{
    unsigned char out[8];
    int32_t outLength = 77;
    EXPECT_EQ(WmbEncrypt(nullptr, 3, out, &outLength, 8), kWmbNullArgument);
    EXPECT_EQ(WmbEncrypt(Bytes("abc"), 3, nullptr, &outLength, 8), kWmbNullArgument);
    EXPECT_EQ(WmbEncrypt(Bytes("abc"), 3, out, nullptr, 8), kWmbNullArgument);
    EXPECT_EQ(WmbEncrypt(Bytes("abc"), 0, out, &outLength, 8), kWmbBadLength);
    EXPECT_EQ(WmbEncrypt(Bytes("abc"), -3, out, &outLength, 8), kWmbBadLength);
    EXPECT_EQ(WmbEncrypt(Bytes("abc"), 3, out, &outLength, 0), kWmbBadLength);
    EXPECT_EQ(outLength, 77);
    EXPECT_EQ(kWmbNullArgument, -1);
    EXPECT_EQ(kWmbBadLength, -2);
    EXPECT_EQ(kWmbNoRoom, -3);
}

} // namespace
