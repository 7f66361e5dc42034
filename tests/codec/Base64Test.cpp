// Base64 as the printer driver reads it: standard alphabet, "=" padding, one line.
#include "WmbCodec.h"

#include <QByteArray>
#include <QString>

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

// Encodes with the codec into a buffer with exactly the capacity it asks for.
std::string Encode(const std::vector<unsigned char> &bytes)
{
    const int32_t capacity = int32_t(4 * ((bytes.size() + 2) / 3) + 1);
    std::vector<char> out(size_t(capacity), '\x7f');
    int32_t outLength = -1;
    EXPECT_EQ(WmbBinToB64(bytes.data(), int32_t(bytes.size()), out.data(), &outLength, capacity),
              kWmbNoErr);
    EXPECT_EQ(out.back(), '\x7f') << "the terminator's byte was written";
    return std::string(out.data(), size_t(outLength));
}

struct Decoded
{
    int32_t code;
    std::string bytes;
};

Decoded Decode(const std::string &text, int32_t capacity = -1)
{
    const int32_t length = int32_t(text.size());
    if (capacity < 0)
        capacity = 3 * ((length + 3) / 4);
    std::vector<unsigned char> out(size_t(capacity) + 1, 0xEE);
    int32_t outLength = -1;
    const int32_t code = WmbB64ToBin(text.c_str(), length, out.data(), &outLength, capacity);
    EXPECT_EQ(out[size_t(capacity)], 0xEE) << "wrote past the capacity";
    if (code != kWmbNoErr && code != kWmbInvalidCharacter)
        return {code, {}};
    return {code, std::string(reinterpret_cast<char *>(out.data()), size_t(outLength))};
}

std::vector<unsigned char> RandomBytes(std::mt19937 &random, size_t length)
{
    std::vector<unsigned char> bytes(length);
    for (auto &b : bytes)
        b = static_cast<unsigned char>(random());
    return bytes;
}

QByteArray AsQByteArray(const std::vector<unsigned char> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

TEST(Base64Tables, AlphabetAndDecodeTableAgree)
{
    EXPECT_EQ(std::strlen(B64CHR), 64u);
    EXPECT_STREQ(B64CHR, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
    int alphabetEntries = 0;
    for (int code = 0; code < 128; ++code) {
        const void *inAlphabet = std::memchr(B64CHR, code, 64);
        if (inAlphabet && code != 0) {
            ++alphabetEntries;
            EXPECT_EQ(B64TBL[code], static_cast<const char *>(inAlphabet) - B64CHR) << code;
        } else {
            EXPECT_EQ(B64TBL[code], 0xFF) << "code " << code;
        }
    }
    EXPECT_EQ(alphabetEntries, 64);
}

TEST(Base64Encode, ShortInputsArePaddedToFourCharacters)
{
    const struct
    {
        const char *bytes;
        const char *expected;
    } cases[] = {{"A", "QQ=="}, {"AB", "QUI="}, {"ABC", "QUJD"}, {"ABCD", "QUJDRA=="}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        const std::vector<unsigned char> bytes(Bytes(c.bytes), Bytes(c.bytes) + strlen(c.bytes));
        EXPECT_EQ(Encode(bytes), c.expected);
    }
}

TEST(Base64Encode, FiftySevenBytesMakeOneLineOfSeventySix)
{
    std::mt19937 random(57);
    const auto bytes = RandomBytes(random, 57);
    const std::string text = Encode(bytes);
    EXPECT_EQ(text.size(), 76u);
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(QByteArray::fromStdString(text), AsQByteArray(bytes).toBase64());
}

TEST(Base64Encode, NoLineBreakInTheLongestTicketValue)
{
    std::mt19937 random(189);
    const auto bytes = RandomBytes(random, 189);
    const std::string text = Encode(bytes);
    EXPECT_EQ(text.size(), 252u);
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
}

TEST(Base64Encode, CapacityMustHoldTextAndTerminator)
{
    const struct
    {
        int32_t length, capacity, expectedCode;
    } cases[] = {{3, 4, kWmbNoRoom}, {3, 5, kWmbNoErr},  {1, 4, kWmbNoRoom},
                 {1, 5, kWmbNoErr},  {4, 8, kWmbNoRoom}, {4, 9, kWmbNoErr}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " bytes, capacity " << c.capacity);
        char out[16];
        std::memset(out, '\x7f', sizeof out);
        int32_t outLength = 99;
        EXPECT_EQ(WmbBinToB64(Bytes("ABCD"), c.length, out, &outLength, c.capacity),
                  c.expectedCode);
        if (c.expectedCode == kWmbNoErr) {
            EXPECT_EQ(outLength, c.capacity - 1);
            EXPECT_EQ(out[c.capacity - 1], '\x7f');
        } else {
            EXPECT_EQ(outLength, 99) << "the out-length was touched";
            EXPECT_EQ(out[0], '\x7f') << "the output was touched";
        }
    }
}

TEST(Base64Encode, BadArgumentsAnswerTheirCodes)
{
    char out[8];
    int32_t outLength = 0;
    EXPECT_EQ(WmbBinToB64(nullptr, 1, out, &outLength, 8), kWmbNullArgument);
    EXPECT_EQ(WmbBinToB64(Bytes("A"), 1, nullptr, &outLength, 8), kWmbNullArgument);
    EXPECT_EQ(WmbBinToB64(Bytes("A"), 1, out, nullptr, 8), kWmbNullArgument);
    EXPECT_EQ(WmbBinToB64(Bytes("A"), 0, out, &outLength, 8), kWmbBadLength);
    EXPECT_EQ(WmbBinToB64(Bytes("A"), 1, out, &outLength, -5), kWmbBadLength);
    EXPECT_EQ(WmbBinToB64(Bytes("A"), 0x7fffffff, out, &outLength, 0x7fffffff), kWmbNoRoom);
}

TEST(Base64Encode, ScrambledNulSurvivesAsOneTicketString)
{
    // 'b' is the second key character: the middle byte scrambles to NUL.
    unsigned char scrambled[4];
    int32_t scrambledLength = 0;
    ASSERT_EQ(WmbEncrypt(Bytes("xbz"), 3, scrambled, &scrambledLength, 4), kWmbNoErr);
    ASSERT_EQ(scrambled[1], 0);

    char text[8] = {};
    int32_t textLength = 0;
    ASSERT_EQ(WmbBinToB64(scrambled, scrambledLength, text, &textLength, 7), kWmbNoErr);
    EXPECT_STREQ(text, "CQAO");
    EXPECT_EQ(std::strlen(text), size_t(textLength));

    unsigned char decoded[3];
    int32_t decodedLength = 0;
    ASSERT_EQ(WmbB64ToBin(text, textLength, decoded, &decodedLength, 3), kWmbNoErr);
    unsigned char value[3];
    int32_t valueLength = 0;
    ASSERT_EQ(WmbEncrypt(decoded, decodedLength, value, &valueLength, 3), kWmbNoErr);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(value), size_t(valueLength)), "xbz");
}

TEST(Base64Encode, WholeKeyScramblesToZerosAndStaysPrintable)
{
    unsigned char scrambled[4];
    int32_t n = 0;
    ASSERT_EQ(WmbEncrypt(Bytes("qbtn"), 4, scrambled, &n, 4), kWmbNoErr);
    char text[9] = {};
    ASSERT_EQ(WmbBinToB64(scrambled, n, text, &n, 9), kWmbNoErr);
    EXPECT_STREQ(text, "AAAAAA==");
}

TEST(Base64Decode, WhiteSpaceAnywhereIsIgnored)
{
    const struct
    {
        const char *text;
        const char *expected;
    } cases[] = {
        {"QUJD", "ABC"},
        {"  \t\r\nQUJD", "ABC"},
        {"QU JD", "ABC"},
        {"QUJD\r\nQUJD", "ABCABC"},
        {"Q\nU\nJ\nD\nQ\vU\fJ D", "ABCABC"},
        {"QUJDRA==\n", "ABCD"},
        {"QUJD\nRA\n==", "ABCD"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const Decoded d = Decode(c.text);
        EXPECT_EQ(d.code, kWmbNoErr);
        EXPECT_EQ(d.bytes, c.expected);
    }
}

TEST(Base64Decode, StopsAtPaddingAndAtTheEndOfTheText)
{
    const struct
    {
        const char *text;
        const char *expected;
    } cases[] = {
        {"QQ==QUJD", "A"},  // "=" in the third place ends the text
        {"QUI=QUJD", "AB"}, // "=" in the fourth place ends the text
        {"QQ=x", "A"},      // nothing after a padding "=" is read
        {"QUJDQQ", "ABC"},  // a group of two characters gives nothing
        {"QUJDQ", "ABC"},   // nor does a group of one
        {"QUI", "AB"},      // a group of three gives two bytes
        {"QQ=", "A"},       {"   ", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const Decoded d = Decode(c.text);
        EXPECT_EQ(d.code, kWmbNoErr);
        EXPECT_EQ(d.bytes, c.expected);
    }
}

TEST(Base64Decode, StartsNoGroupBeyondTheGivenLength)
{
    // The text goes on past the length the caller gives; only the groups that start inside it
    // are decoded, so the output stays within 3 * ceil(length / 4).
    unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    int32_t outLength = -1;
    ASSERT_EQ(WmbB64ToBin("QUJDQUJD", 4, out, &outLength, 3), kWmbNoErr);
    EXPECT_EQ(outLength, 3);
    EXPECT_EQ(std::memcmp(out, "ABC", 3), 0);
    EXPECT_EQ(out[3], 0xEE);
}

TEST(Base64Decode, CapacityIsCheckedBeforeWriting)
{
    const struct
    {
        const char *text;
        int32_t capacity, expectedCode;
    } cases[] = {{"QUJDQUJD", 5, kWmbNoRoom}, {"QUJDQUJD", 6, kWmbNoErr}, {"QQ==", 2, kWmbNoRoom},
                 {"QQ==", 3, kWmbNoErr},      {"QUJDQ", 5, kWmbNoRoom},   {"QUJDQ", 6, kWmbNoErr}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << ", capacity " << c.capacity);
        unsigned char out[8];
        std::memset(out, 0xEE, sizeof out);
        int32_t outLength = 99;
        EXPECT_EQ(WmbB64ToBin(c.text, int32_t(strlen(c.text)), out, &outLength, c.capacity),
                  c.expectedCode);
        if (c.expectedCode == kWmbNoRoom) {
            EXPECT_EQ(outLength, 99);
            EXPECT_EQ(out[0], 0xEE);
        }
    }
}

TEST(Base64Decode, RejectsCharactersThatAreNotBase64)
{
    const struct
    {
        const char *text;
        const char *decodedBefore; // the groups before the bad one
    } cases[] = {
        {"QU\xC3\xA9JD", ""}, // UTF-8 text
        {"\x80QUJD", ""},     // first byte without a table entry
        {"QUJD\xFF\xFF==", "ABC"},
        {"QUJD\xD1\xD5\xCA\xC4", "ABC"}, // "QUJD" with the top bit set
        {"QUJDQU*D", "ABC"},             // 7-bit punctuation
        {"QU-D", ""},                    // the URL-safe alphabet is not ours
        {"QU_D", ""},
        {"=QUJ", ""}, // padding in the first place
        {"Q=UJ", ""}, // or in the second
        {"QU\x01"
         "D",
         ""}, // control character
        {"QUJD\x7fQQ==", "ABC"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        const Decoded d = Decode(c.text);
        EXPECT_EQ(d.code, kWmbInvalidCharacter);
        EXPECT_EQ(d.bytes, c.decodedBefore);
    }
    EXPECT_EQ(kWmbInvalidCharacter, -4);
}

TEST(Base64Decode, BadArgumentsAnswerTheirCodes)
{
    unsigned char out[8];
    int32_t outLength = 55;
    EXPECT_EQ(WmbB64ToBin(nullptr, 4, out, &outLength, 8), kWmbNullArgument);
    EXPECT_EQ(WmbB64ToBin("QUJD", 4, nullptr, &outLength, 8), kWmbNullArgument);
    EXPECT_EQ(WmbB64ToBin("QUJD", 4, out, nullptr, 8), kWmbNullArgument);
    EXPECT_EQ(WmbB64ToBin("QUJD", 0, out, &outLength, 8), kWmbBadLength);
    EXPECT_EQ(WmbB64ToBin("QUJD", 4, out, &outLength, 0), kWmbBadLength);
    EXPECT_EQ(outLength, 55);
}

TEST(Base64RoundTrip, AgreesWithQtBase64OnRandomData)
{
    std::mt19937 random(20240501);
    for (int round = 0; round < 2000; ++round) {
        const size_t length = 1 + random() % (round < 1000 ? 189 : 3000);
        const auto bytes = RandomBytes(random, length);
        const QByteArray reference = AsQByteArray(bytes).toBase64();

        const std::string text = Encode(bytes);
        ASSERT_EQ(QByteArray::fromStdString(text), reference) << "length " << length;

        const Decoded clean = Decode(reference.toStdString());
        ASSERT_EQ(clean.code, kWmbNoErr);
        ASSERT_EQ(QByteArray::fromStdString(clean.bytes), AsQByteArray(bytes));

        // The same text broken into lines and spaced out, as a driver might store it.
        std::string spaced;
        for (char ch : text) {
            spaced += ch;
            switch (random() % 16) {
            case 0:
                spaced += "\r\n";
                break;
            case 1:
                spaced += ' ';
                break;
            case 2:
                spaced += '\t';
                break;
            default:
                break;
            }
        }
        const Decoded loose = Decode(spaced);
        ASSERT_EQ(loose.code, kWmbNoErr);
        ASSERT_EQ(QByteArray::fromStdString(loose.bytes), AsQByteArray(bytes))
            << "length " << length;
    }
}

TEST(Base64RoundTrip, DecodesWhatQtDecodesFromUnpaddedText)
{
    // Qt can leave the padding out; a group of three characters still gives its two bytes.
    std::mt19937 random(7);
    for (size_t length = 1; length <= 64; ++length) {
        const auto bytes = RandomBytes(random, length);
        const QByteArray unpadded = AsQByteArray(bytes).toBase64(QByteArray::OmitTrailingEquals);
        const Decoded d = Decode(unpadded.toStdString());
        ASSERT_EQ(d.code, kWmbNoErr);
        // A final single byte needs its "==": two characters alone give nothing.
        const size_t expected = length % 3 == 1 ? length - 1 : length;
        EXPECT_EQ(QByteArray::fromStdString(d.bytes), AsQByteArray(bytes).left(qsizetype(expected)))
            << "length " << length;
    }
}

// The printer driver resolves the codec from the plug-in module by its plain C names.
TEST(CodecExports, ModuleExportsTheCodecUnderPlainNames)
{
    const std::string module = std::string(VELTRA_TEST_BUNDLE_DIR) + "/Contents/Linux/VeltraPDE.so";
    void *handle = dlopen(module.c_str(), RTLD_LAZY | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    using Codec = int32_t (*)(const void *, int32_t, void *, int32_t *, int32_t);
    auto encrypt = reinterpret_cast<Codec>(dlsym(handle, "WmbEncrypt"));
    auto toB64 = reinterpret_cast<Codec>(dlsym(handle, "WmbBinToB64"));
    auto fromB64 = reinterpret_cast<Codec>(dlsym(handle, "WmbB64ToBin"));
    ASSERT_NE(encrypt, nullptr);
    ASSERT_NE(toB64, nullptr);
    ASSERT_NE(fromB64, nullptr);

    unsigned char scrambled[8];
    char text[16] = {};
    int32_t n = 0;
    ASSERT_EQ(encrypt("1234", 4, scrambled, &n, 8), 0);
    ASSERT_EQ(toB64(scrambled, n, text, &n, 16), 0);
    EXPECT_STREQ(text, "QFBHWg==");
    dlclose(handle);
}

} // namespace
