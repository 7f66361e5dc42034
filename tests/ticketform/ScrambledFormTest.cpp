// The scrambled form of password values: what the driver unpacks with Base64 and the key.
#include "TicketValueForm.h"
#include "WmbCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The driver's side: Base64 back to bytes, then the scrambler again.
std::string Unscramble(const char *ticketText)
{
    unsigned char bytes[256];
    int32_t length = 0;
    EXPECT_EQ(WmbB64ToBin(ticketText, int32_t(std::strlen(ticketText)), bytes, &length, 255),
              kWmbNoErr);
    unsigned char value[256];
    int32_t valueLength = 0;
    EXPECT_EQ(WmbEncrypt(bytes, length, value, &valueLength, 255), kWmbNoErr);
    return std::string(reinterpret_cast<char *>(value), size_t(valueLength));
}

TEST(ScrambledTicketText, PasscodeIsScrambledAndEncoded)
{
    const struct
    {
        const char *passcode;
        const char *ticket;
    } cases[] = {
        {"1234", "QFBHWg=="},
        {"1", "QA=="},
        {"xbz", "CQAO"}, // the middle byte scrambles to NUL
        {"qbtn", "AAAAAA=="},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.passcode);
        char out[kTicketTextSize];
        std::memset(out, '#', sizeof out);
        ASSERT_EQ(EncodeScrambledTicketText(c.passcode, int(std::strlen(c.passcode)), out), 0);
        EXPECT_STREQ(out, c.ticket);
        EXPECT_EQ(Unscramble(out), c.passcode);
    }
}

TEST(ScrambledTicketText, EmptyValueIsWrittenEmpty)
{
    char out[kTicketTextSize];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(EncodeScrambledTicketText("", 0, out), 0);
    EXPECT_STREQ(out, "");
}

TEST(ScrambledTicketText, EncodesInPlace)
{
    char buffer[kTicketTextSize] = "secret12";
    ASSERT_EQ(EncodeScrambledTicketText(buffer, 8, buffer), 0);
    EXPECT_EQ(std::strlen(buffer), 12u);
    EXPECT_EQ(Unscramble(buffer), "secret12");
}

TEST(ScrambledTicketText, LongestValueIs189Bytes)
{
    char value[kTicketTextSize] = {};
    std::memset(value, '7', 190);
    char out[kTicketTextSize];

    ASSERT_EQ(EncodeScrambledTicketText(value, 189, out), 0);
    EXPECT_EQ(std::strlen(out), 252u);
    EXPECT_EQ(Unscramble(out), std::string(189, '7'));

    std::memset(out, '#', sizeof out);
    EXPECT_EQ(EncodeScrambledTicketText(value, 190, out), kWmbNoRoom);
    EXPECT_STREQ(out, "") << "a failed value must leave nothing to write";
}

TEST(ScrambledTicketText, BadArgumentsLeaveNothingToWrite)
{
    const std::string tooLong(256, '1');
    const struct
    {
        const char *text;
        int count;
        int expected;
    } cases[] = {{nullptr, 4, kWmbNullArgument},
                 {"1234", -1, kWmbBadLength},
                 {"", 3, kWmbBadLength},
                 {tooLong.c_str(), 256, kWmbNoRoom}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count);
        char out[kTicketTextSize];
        std::strcpy(out, "1234");
        EXPECT_EQ(EncodeScrambledTicketText(c.text, c.count, out), c.expected);
        EXPECT_STREQ(out, "");
    }
    EXPECT_EQ(EncodeScrambledTicketText("1234", 4, nullptr), kWmbNullArgument);
}

TEST(ScrambledTicketText, CountBeyondTheTextScramblesOnlyTheText)
{
    char out[kTicketTextSize];
    ASSERT_EQ(EncodeScrambledTicketText("1234", 200, out), 0);
    EXPECT_STREQ(out, "QFBHWg==");
}

} // namespace
