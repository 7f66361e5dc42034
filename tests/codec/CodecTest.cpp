// The codec the printer driver relies on: the scrambler (byte i XOR key character i mod 4, whole
// groups of four that fit) and one-line Base64, never writing past the capacity it is given.
#include "WmbCodec.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <random>
#include <string>
#include <vector>

namespace {

const unsigned char *Bytes(const char *text)
{
    return reinterpret_cast<const unsigned char *>(text);
}

QByteArray Q(const std::vector<unsigned char> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

// Encodes into a buffer with exactly the capacity the text and its terminator need.
std::string Encode(const std::vector<unsigned char> &bytes)
{
    const int32_t capacity = int32_t(4 * ((bytes.size() + 2) / 3) + 1);
    std::vector<char> out(size_t(capacity), '\x7f');
    int32_t n = -1;
    EXPECT_EQ(WmbBinToB64(bytes.data(), int32_t(bytes.size()), out.data(), &n, capacity),
              kWmbNoErr);
    EXPECT_EQ(out.back(), '\x7f') << "the terminator's byte was written";
    return std::string(out.data(), size_t(n));
}

struct Decoded
{
    int32_t code;
    std::string bytes;
};
Decoded Decode(const std::string &text, int32_t capacity = -1, int32_t length = -1)
{
    length = length < 0 ? int32_t(text.size()) : length;
    capacity = capacity < 0 ? 3 * ((length + 3) / 4) : capacity;
    std::vector<unsigned char> out(size_t(capacity) + 1, 0xEE);
    int32_t n = -1;
    const int32_t code = WmbB64ToBin(text.c_str(), length, out.data(), &n, capacity);
    EXPECT_EQ(out[size_t(capacity)], 0xEE) << "wrote past the capacity";
    if (code != kWmbNoErr && code != kWmbInvalidCharacter) {
        EXPECT_EQ(n, -1) << "the out-length was touched";
        EXPECT_EQ(out[0], 0xEE) << "the output was touched";
        return {code, {}};
    }
    return {code, std::string(reinterpret_cast<char *>(out.data()), size_t(n))};
}

TEST(Scrambler, XorsWithTheKeyInWholeGroupsThatFitAndUndoesItselfInPlace)
{
    // '1' ^ 'q' = '@', '2' ^ 'b' = 'P', '3' ^ 't' = 'G', '4' ^ 'n' = 'Z'.
    const struct
    {
        int32_t length, capacity, code;
        const char *expected;
    } rows[] = {
        {1, 8, kWmbNoErr, "@"},          {3, 4, kWmbNoErr, "@PG"},
        {4, 4, kWmbNoErr, "@PGZ"},       {5, 8, kWmbNoErr, "@PGZ@"},
        {10, 7, kWmbNoRoom, "@PGZ"},     {10, 3, kWmbNoRoom, ""},
        {5, 4, kWmbNoRoom, "@PGZ"},      {10, 10, kWmbNoErr, "@PGZ@PGZ@P"},
        {10, 9, kWmbNoRoom, "@PGZ@PGZ"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.length << " into " << row.capacity);
        std::vector<unsigned char> out(16, 0xEE);
        int32_t n = -1;
        EXPECT_EQ(WmbEncrypt(Bytes("1234123412"), row.length, out.data(), &n, row.capacity),
                  row.code);
        ASSERT_EQ(n, int32_t(std::strlen(row.expected)));
        EXPECT_EQ(std::string(out.begin(), out.begin() + n), row.expected);
        EXPECT_EQ(out[size_t(n)], 0xEE) << "wrote past the whole groups";
    }
    std::mt19937 random(5);
    for (int32_t length = 1; length <= 255; ++length) {
        std::vector<unsigned char> value(static_cast<size_t>(length));
        for (auto &b : value)
            b = static_cast<unsigned char>(random());
        std::vector<unsigned char> buffer = value;
        int32_t n = 0;
        ASSERT_EQ(WmbEncrypt(buffer.data(), length, buffer.data(), &n, length), kWmbNoErr);
        EXPECT_TRUE(length < 4 || buffer != value) << length;
        ASSERT_EQ(WmbEncrypt(buffer.data(), n, buffer.data(), &n, length), kWmbNoErr);
        EXPECT_EQ(buffer, value) << "length " << length;
    }
}

TEST(Base64, EncodesWithPaddingOnlyWhenTheTerminatorFits)
{
    // clang-format off
    const struct
    {
        int32_t length, capacity, code;
        const char *expected;
    } rows[] = {
        {1, 5, kWmbNoErr, "QQ=="}, {2, 5, kWmbNoErr, "QUI="}, {3, 5, kWmbNoErr, "QUJD"},
        {4, 9, kWmbNoErr, "QUJDRA=="}, {1, 4, kWmbNoRoom, ""}, {4, 8, kWmbNoRoom, ""},
        {INT32_MAX, INT32_MAX, kWmbNoRoom, ""}};
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.length << " bytes, capacity " << row.capacity);
        std::string out(16, '\x7f');
        int32_t n = 99;
        EXPECT_EQ(WmbBinToB64(Bytes("ABCD"), row.length, out.data(), &n, row.capacity), row.code);
        EXPECT_EQ(out.substr(0, row.code ? 0 : size_t(n)), row.expected);
        EXPECT_EQ(out[row.code ? 0 : n], '\x7f') << "a refusal or the terminator was written";
        EXPECT_TRUE(!row.code || n == 99) << "the out-length was touched";
    }
}

// White space anywhere; "=" in the third or fourth place ends the text; a last group of one or
// two characters gives nothing, one of three two bytes. Refused: UTF-8, the top bit, other
// symbols, the URL-safe alphabet, padding too early. The capacity is checked before any write.
TEST(Base64, DecodingIgnoresWhiteSpaceStopsAtPaddingAndRefusesOtherCharacters)
{
    // clang-format off
    const struct
    {
        std::string text;
        int32_t code;
        const char *expected; // for a refused text: the groups before the bad one
        int32_t capacity = -1, length = -1; // only the groups that start inside length count
    } rows[] = {
        {"  \t\r\nQU JD", kWmbNoErr, "ABC"}, {"Q\nU\nJ\nD\nQ\vU\fJ D", kWmbNoErr, "ABCABC"},
        {"QUJD\nRA\n==\n", kWmbNoErr, "ABCD"}, {"QQ==QUJD", kWmbNoErr, "A"},
        {"QUI=QUJD", kWmbNoErr, "AB"}, {"QQ=x", kWmbNoErr, "A"}, {"QUJDQQ", kWmbNoErr, "ABC"},
        {"QUJDQ", kWmbNoErr, "ABC"}, {"QUI", kWmbNoErr, "AB"}, {"   ", kWmbNoErr, ""},
        {"QU\xC3\xA9JD", kWmbInvalidCharacter, ""}, {"\x80QUJD", kWmbInvalidCharacter, ""},
        {"QUJD\xD1\xD5\xCA\xC4", kWmbInvalidCharacter, "ABC"},
        {"QUJDQU*D", kWmbInvalidCharacter, "ABC"}, {"QU-D", kWmbInvalidCharacter, ""},
        {"QU_D", kWmbInvalidCharacter, ""}, {"=QUJ", kWmbInvalidCharacter, ""},
        {"Q=UJ", kWmbInvalidCharacter, ""}, {"QU\x01", kWmbInvalidCharacter, ""},
        {"QUJD\x7fQQ==", kWmbInvalidCharacter, "ABC"},
        {"QUJDQUJD", kWmbNoRoom, "", 5}, {"QUJDQUJD", kWmbNoErr, "ABCABC", 6},
        {"QQ==", kWmbNoRoom, "", 2}, {"QQ==", kWmbNoErr, "A", 3}, {"QUJDQ", kWmbNoRoom, "", 5},
        {"QUJDQUJD", kWmbNoErr, "ABC", 3, 4}};
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.text));
        const Decoded d = Decode(row.text, row.capacity, row.length);
        EXPECT_EQ(d.code, row.code);
        EXPECT_EQ(d.bytes, row.expected);
    }
}

TEST(Base64, AgreesWithQtOnRandomDataInOneLineAndDecodesItSpacedOutOrUnpadded)
{
    std::mt19937 random(20240501);
    for (int round = 0; round < 400; ++round) {
        // Every length up to the longest ticket value (189 bytes), then longer ones.
        const size_t length = round < 189 ? size_t(round) + 1 : 1 + random() % 3000;
        std::vector<unsigned char> bytes(length);
        for (auto &b : bytes)
            b = static_cast<unsigned char>(random());
        const std::string text = Encode(bytes);
        ASSERT_EQ(QByteArray::fromStdString(text), Q(bytes).toBase64()) << "length " << length;
        std::string spaced; // as a driver might store it
        for (char ch : text)
            spaced += std::string(1, ch) + (random() % 8 == 0 ? "\r\n" : random() % 8 ? "" : " \t");
        const Decoded loose = Decode(spaced);
        ASSERT_EQ(loose.code, kWmbNoErr);
        ASSERT_EQ(QByteArray::fromStdString(loose.bytes), Q(bytes)) << length;
        // Without padding a group of three still gives its two bytes; a single byte needs "==".
        const Decoded bare =
            Decode(Q(bytes).toBase64(QByteArray::OmitTrailingEquals).toStdString());
        ASSERT_EQ(bare.code, kWmbNoErr);
        EXPECT_EQ(QByteArray::fromStdString(bare.bytes),
                  Q(bytes).left(qsizetype(length % 3 == 1 ? length - 1 : length)));
    }
}

template <typename In, typename Out>
void ExpectBadArgumentsRefused(int32_t (*function)(const In *, int32_t, Out *, int32_t *, int32_t))
{
    const In in[4] = {'Q', 'U', 'J', 'D'};
    Out out[16];
    int32_t n = 77;
    EXPECT_EQ(function(nullptr, 4, out, &n, 16), kWmbNullArgument);
    EXPECT_EQ(function(in, 4, nullptr, &n, 16), kWmbNullArgument);
    EXPECT_EQ(function(in, 4, out, nullptr, 16), kWmbNullArgument);
    const std::pair<int32_t, int32_t> badLengths[] = {{0, 16}, {-3, 16}, {4, 0}, {4, -5}};
    for (const auto &[length, capacity] : badLengths)
        EXPECT_EQ(function(in, length, out, &n, capacity), kWmbBadLength);
    EXPECT_EQ(n, 77);
}

TEST(Codec, BadArgumentsAnswerTheirCodesAndTheModuleExportsPlainNames)
{
    ExpectBadArgumentsRefused(WmbEncrypt);
    ExpectBadArgumentsRefused(WmbBinToB64);
    ExpectBadArgumentsRefused(WmbB64ToBin);
    // The printer driver resolves the codec from the plug-in module by its plain C names.
    void *module = dlopen(VELTRA_TEST_BUNDLE_DIR "/Contents/Linux/VeltraPDE.so", RTLD_LAZY);
    ASSERT_NE(module, nullptr) << dlerror();
    auto encrypt = reinterpret_cast<decltype(&WmbEncrypt)>(dlsym(module, "WmbEncrypt"));
    ASSERT_TRUE(encrypt && dlsym(module, "WmbBinToB64") && dlsym(module, "WmbB64ToBin"));
    unsigned char scrambled[4];
    int32_t n = 0;
    ASSERT_EQ(encrypt(Bytes("1234"), 4, scrambled, &n, 4), kWmbNoErr);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(scrambled), 4), "@PGZ");
    dlclose(module);
}

} // namespace
