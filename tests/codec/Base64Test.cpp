// Base64 as the printer driver reads it: standard alphabet, "=" padding, one line, white space
// ignored, anything else refused; the output never goes past the capacity it is given.
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

QByteArray AsQByteArray(const std::vector<unsigned char> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

// Encodes into a buffer with exactly the capacity the text and its terminator need.
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
    if (code != kWmbNoErr && code != kWmbInvalidCharacter) {
        EXPECT_EQ(outLength, -1) << "the out-length was touched";
        EXPECT_EQ(out[0], 0xEE) << "the output was touched";
        return {code, {}};
    }
    return {code, std::string(reinterpret_cast<char *>(out.data()), size_t(outLength))};
}

TEST(Base64Encode, PadsToFourCharactersAndNeedsRoomForTheTerminator)
{
    const struct
    {
        int32_t length, capacity, code;
        const char *expected;
    } cases[] = {
        {1, 5, kWmbNoErr, "QQ=="},     {2, 5, kWmbNoErr, "QUI="}, {3, 5, kWmbNoErr, "QUJD"},
        {4, 9, kWmbNoErr, "QUJDRA=="}, {1, 4, kWmbNoRoom, ""},    {3, 4, kWmbNoRoom, ""},
        {4, 8, kWmbNoRoom, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " bytes, capacity " << c.capacity);
        char out[16];
        std::memset(out, '\x7f', sizeof out);
        int32_t outLength = 99;
        EXPECT_EQ(WmbBinToB64(Bytes("ABCD"), c.length, out, &outLength, c.capacity), c.code);
        if (c.code == kWmbNoErr) {
            EXPECT_EQ(std::string(out, size_t(outLength)), c.expected);
            EXPECT_EQ(out[outLength], '\x7f') << "room for a terminator, none written";
        } else {
            EXPECT_EQ(outLength, 99) << "the out-length was touched";
            EXPECT_EQ(out[0], '\x7f') << "the output was touched";
        }
    }
}

TEST(Base64Encode, ScrambledValuesWithNulsStayOnePrintableTicketString)
{
    // 'b' is the second key character: the middle byte scrambles to NUL.
    unsigned char scrambled[4];
    int32_t n = 0;
    ASSERT_EQ(WmbEncrypt(Bytes("xbz"), 3, scrambled, &n, 4), kWmbNoErr);
    char text[9] = {};
    ASSERT_EQ(WmbBinToB64(scrambled, n, text, &n, 7), kWmbNoErr);
    EXPECT_STREQ(text, "CQAO");
    unsigned char back[3];
    ASSERT_EQ(WmbB64ToBin(text, n, back, &n, 3), kWmbNoErr);
    ASSERT_EQ(WmbEncrypt(back, n, back, &n, 3), kWmbNoErr);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(back), size_t(n)), "xbz");

    ASSERT_EQ(WmbEncrypt(Bytes("qbtn"), 4, scrambled, &n, 4), kWmbNoErr);
    ASSERT_EQ(WmbBinToB64(scrambled, n, text, &n, 9), kWmbNoErr);
    EXPECT_STREQ(text, "AAAAAA==") << "the whole key scrambles to zeros";
}

TEST(Base64Decode, IgnoresWhiteSpaceStopsAtPaddingAndRefusesOtherCharacters)
{
    const struct
    {
        std::string text;
        int32_t code;
        const char *expected; // for a refused text: the groups before the bad one
        int32_t capacity = -1;
    } cases[] = {
        {"  \t\r\nQU JD", kWmbNoErr, "ABC"},
        {"Q\nU\nJ\nD\nQ\vU\fJ D", kWmbNoErr, "ABCABC"},
        {"QUJD\nRA\n==\n", kWmbNoErr, "ABCD"},
        {"QQ==QUJD", kWmbNoErr, "A"},  // "=" in the third place ends the text
        {"QUI=QUJD", kWmbNoErr, "AB"}, // and in the fourth
        {"QQ=x", kWmbNoErr, "A"},      // nothing after a padding "=" is read
        {"QUJDQQ", kWmbNoErr, "ABC"},  // a group of two characters gives nothing
        {"QUJDQ", kWmbNoErr, "ABC"},   // nor does a group of one
        {"QUI", kWmbNoErr, "AB"},      // a group of three gives two bytes
        {"   ", kWmbNoErr, ""},
        {"QU\xC3\xA9JD", kWmbInvalidCharacter, ""}, // UTF-8 text
        {"\x80QUJD", kWmbInvalidCharacter, ""},
        {"QUJD\xD1\xD5\xCA\xC4", kWmbInvalidCharacter, "ABC"}, // "QUJD" with the top bit set
        {"QUJDQU*D", kWmbInvalidCharacter, "ABC"},
        {"QU-D", kWmbInvalidCharacter, ""}, // the URL-safe alphabet is not ours
        {"QU_D", kWmbInvalidCharacter, ""},
        {"=QUJ", kWmbInvalidCharacter, ""}, // padding in the first place
        {"Q=UJ", kWmbInvalidCharacter, ""}, // or in the second
        {std::string("QU\x01"
                     "D"),
         kWmbInvalidCharacter, ""},
        {"QUJD\x7fQQ==", kWmbInvalidCharacter, "ABC"},
        // The capacity is checked before anything is written.
        {"QUJDQUJD", kWmbNoRoom, "", 5},
        {"QUJDQUJD", kWmbNoErr, "ABCABC", 6},
        {"QQ==", kWmbNoRoom, "", 2},
        {"QQ==", kWmbNoErr, "A", 3},
        {"QUJDQ", kWmbNoRoom, "", 5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        const Decoded d = Decode(c.text, c.capacity);
        EXPECT_EQ(d.code, c.code);
        EXPECT_EQ(d.bytes, c.expected);
    }
    // Only the groups that start inside the given length are decoded.
    unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    int32_t outLength = -1;
    ASSERT_EQ(WmbB64ToBin("QUJDQUJD", 4, out, &outLength, 3), kWmbNoErr);
    EXPECT_EQ(outLength, 3);
    EXPECT_EQ(out[3], 0xEE);
}

TEST(Base64RoundTrip, AgreesWithQtOnRandomDataInOneLineAndDecodesItSpacedOut)
{
    std::mt19937 random(20240501);
    for (int round = 0; round < 400; ++round) {
        // Every length up to the longest ticket value (189 bytes), then longer ones.
        const size_t length = round < 189 ? size_t(round) + 1 : 1 + random() % 3000;
        std::vector<unsigned char> bytes(length);
        for (auto &b : bytes)
            b = static_cast<unsigned char>(random());
        const QByteArray reference = AsQByteArray(bytes).toBase64();
        const std::string text = Encode(bytes);
        ASSERT_EQ(QByteArray::fromStdString(text), reference) << "length " << length;
        ASSERT_EQ(text.find_first_of("\r\n"), std::string::npos) << "one line";

        std::string spaced; // as a driver might store it
        for (char ch : text)
            spaced += std::string(1, ch) + (random() % 8 == 0 ? "\r\n" : random() % 8 ? "" : " \t");
        const Decoded loose = Decode(spaced);
        ASSERT_EQ(loose.code, kWmbNoErr);
        ASSERT_EQ(QByteArray::fromStdString(loose.bytes), AsQByteArray(bytes)) << length;

        // Qt can leave the padding out: a group of three still gives its two bytes, a final
        // single byte needs its "==".
        const Decoded unpadded =
            Decode(AsQByteArray(bytes).toBase64(QByteArray::OmitTrailingEquals).toStdString());
        ASSERT_EQ(unpadded.code, kWmbNoErr);
        EXPECT_EQ(QByteArray::fromStdString(unpadded.bytes),
                  AsQByteArray(bytes).left(qsizetype(length % 3 == 1 ? length - 1 : length)));
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
    ASSERT_NE(encrypt, nullptr);
    ASSERT_NE(toB64, nullptr);
    EXPECT_NE(dlsym(handle, "WmbB64ToBin"), nullptr);
    unsigned char scrambled[8];
    char text[16] = {};
    int32_t n = 0;
    ASSERT_EQ(encrypt("1234", 4, scrambled, &n, 8), 0);
    ASSERT_EQ(toB64(scrambled, n, text, &n, 16), 0);
    EXPECT_STREQ(text, "QFBHWg==");
    dlclose(handle);
}

} // namespace
