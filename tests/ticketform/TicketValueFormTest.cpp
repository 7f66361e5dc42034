// The plain, byte-list and scrambled forms of ticket values, as the printer driver reads them,
// and the decimal helpers of the controls.
#include "TicketValueForm.h"
#include "PaneFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const unsigned char *Bytes(const std::string &text)
{
    return reinterpret_cast<const unsigned char *>(text.c_str());
}

std::string Decode(const std::string &ticketText)
{
    unsigned char out[kTicketDecodedSize];
    memset(out, 0xEE, sizeof out);
    DecodeTicketByteList(ticketText.c_str(), out);
    EXPECT_EQ(out[kTicketDecodedSize - 1], 0) << "decoded text not terminated";
    return std::string(reinterpret_cast<char *>(out));
}

TEST(TicketForm, ValuesWithSeparatorsOrALeadingSlashBecomeByteLists)
{
    const struct
    {
        const char *value;
        const char *ticket;
    } cases[] = {
        {"abc", "abc"},
        {"a,b", "/97/44/98"},
        {"it's", "/105/116/39/115"},
        {"C:\\x", "/67/58/92/120"},
        {"/x", "/47/120"},
        {"/", "/47"},
        {"a/b", "a/b"}, // a slash inside stays plain
        {"", ""},
        {"Jos\xC3\xA9's", "/74/111/115/195/169/39/115"},
        {"\x01,\x7f", "/1/44/127"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        std::string ticket = c.value;
        if (TicketTextNeedsByteList(c.value)) {
            char list[kTicketByteListSize];
            ticket.assign(list, EncodeTicketByteList(Bytes(c.value), list, sizeof list));
        }
        EXPECT_EQ(ticket, c.ticket);
        EXPECT_EQ(Decode(c.ticket), c.value);
    }
    EXPECT_FALSE(TicketTextNeedsByteList(nullptr));
}

TEST(TicketForm, ByteListStopsAtTheBufferOrTheLast255Bytes)
{
    const struct
    {
        std::string value;
        size_t outSize;
        std::string expected;
    } cases[] = {
        {"a,b", 10, "/97/44/98"},
        {"a,b", 9, "/97/44"},
        {"a,b", 7, "/97/44"},
        {"a,b", 6, "/97"},
        {"a,b", 4, "/97"},
        {"a,b", 3, ""},
        {"a,b", 1, ""},
        {std::string(255, '\xFF'), kTicketByteListSize,
         [] {
             std::string s;
             for (int i = 0; i < 255; ++i)
                 s += "/255";
             return s;
         }()},
        {std::string(300, 'A'), 2000,
         [] {
             std::string s;
             for (int i = 0; i < 255; ++i)
                 s += "/65";
             return s;
         }()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.outSize);
        std::vector<char> out(c.outSize + 1, '#');
        const size_t length = EncodeTicketByteList(Bytes(c.value), out.data(), c.outSize);
        EXPECT_EQ(std::string(out.data(), length), c.expected);
        EXPECT_EQ(out[length], '\0');
        EXPECT_EQ(out[c.outSize], '#') << "wrote past the buffer";
    }
    char out[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(EncodeTicketByteList(nullptr, out, sizeof out), 0u);
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(EncodeTicketByteList(Bytes("a"), nullptr, 10), 0u);
    out[0] = '#';
    EXPECT_EQ(EncodeTicketByteList(Bytes("a"), out, 0), 0u);
    EXPECT_EQ(out[0], '#');
}

TEST(TicketForm, EveryValueSurvivesTheByteListRoundTrip)
{
    std::string everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte += char(b);
    std::vector<std::string> values = {everyByte, "a,b", "/", "\\\\", "''"};
    std::mt19937 random(42);
    for (int i = 0; i < 500; ++i) {
        std::string value(1 + random() % 255, ' ');
        for (char &ch : value)
            ch = char(1 + random() % 255);
        values.push_back(value);
    }
    for (const auto &value : values) {
        char list[kTicketByteListSize];
        EncodeTicketByteList(Bytes(value), list, sizeof list);
        ASSERT_EQ(Decode(list), value);
    }
}

TEST(TicketForm, DamagedByteListsDecodeWithoutHarm)
{
    std::string manyNumbers;
    for (int i = 0; i < 300; ++i)
        manyNumbers += "/65";
    const struct
    {
        std::string ticket;
        std::string value;
    } cases[] = {
        {"/", ""},
        {"//", ""},                  // one empty number: a NUL
        {"/-5/999/abc", "\xFB\xE7"}, // low bytes; junk reads as 0
        {"/97abc/98", "ab"},         // junk after a number is skipped
        {"/ 97/+98", "ab"},          // strtol's white space and sign
        {"/97/", "a"},               // a trailing slash ends the list
        {"/99999999999999999999999/65", "\xFF"
                                        "A"},           // out of range: strtol's LONG_MAX
        {manyNumbers, std::string(256, 'A')},           // at most 256 numbers
        {std::string(300, 'x'), std::string(256, 'x')}, // plain text: at most 256 bytes
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ticket.substr(0, 40));
        EXPECT_EQ(Decode(c.ticket), c.value);
    }
    unsigned char out[kTicketDecodedSize];
    std::fill(std::begin(out), std::end(out), 0xEE);
    DecodeTicketByteList(nullptr, out);
    for (unsigned char b : out)
        ASSERT_EQ(b, 0);
}

TEST(ScrambledTicketText, PasscodeIsScrambledAndEncoded)
{
    const std::string tooLong(256, '1'), longest(189, '7'), pastLongest(190, '7');
    const struct
    {
        const char *text;
        int count;
        int answer;
        const char *ticket; // null: the value itself, as the driver unscrambles it
    } cases[] = {
        {"1234", 4, 0, "QFBHWg=="},
        {"1", 1, 0, "QA=="},
        {"xbz", 3, 0, "CQAO"}, // the middle byte scrambles to NUL
        {"qbtn", 4, 0, "AAAAAA=="},
        {"1234", 200, 0, "QFBHWg=="}, // a count beyond the text scrambles only the text
        {"", 0, 0, ""},               // the empty value is written empty
        {longest.c_str(), 189, 0, nullptr},
        {pastLongest.c_str(), 190, kWmbNoRoom, ""},
        {nullptr, 4, kWmbNullArgument, ""},
        {"1234", -1, kWmbBadLength, ""},
        {"", 3, kWmbBadLength, ""},
        {tooLong.c_str(), 256, kWmbNoRoom, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " " + (c.text ? c.text : "null"));
        char out[kTicketTextSize];
        strcpy(out, "1234");
        ASSERT_EQ(EncodeScrambledTicketText(c.text, c.count, out), c.answer);
        if (c.ticket) {
            EXPECT_STREQ(out, c.ticket);
        } else {
            EXPECT_EQ(strlen(out), 252u);
        }
        if (c.answer == 0 && *out) {
            EXPECT_EQ(Unscramble(out), std::string(c.text).substr(0, size_t(c.count)));
        }
    }
    EXPECT_EQ(EncodeScrambledTicketText("1234", 4, nullptr), kWmbNullArgument);
    // In place.
    char buffer[kTicketTextSize] = "secret12";
    ASSERT_EQ(EncodeScrambledTicketText(buffer, 8, buffer), 0);
    EXPECT_EQ(Unscramble(buffer), "secret12");
}

TEST(TicketItoa, DigitsEndAtTheLastByteOfTheBuffer)
{
    const struct
    {
        int value;
        int size;
        const char *expected;
    } cases[] = {
        {7, 16, "7"}, {1234, 16, "1234"}, {2147483647, 16, "2147483647"},
        {0, 16, ""},  {12345, 3, "45"}, // digits that do not fit are dropped from the front
        {5, 1, ""},   {-12, 16, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        char buffer[16];
        memset(buffer, '#', sizeof buffer);
        char *first = TicketItoa(c.value, buffer, c.size);
        ASSERT_NE(first, nullptr);
        EXPECT_STREQ(first, c.expected);
        EXPECT_EQ(first + strlen(c.expected), buffer + c.size - 1);
    }
    EXPECT_EQ(TicketItoa(5, nullptr, 16), nullptr);
    char one[1];
    EXPECT_EQ(TicketItoa(5, one, 0), nullptr);
}

// The text after numstrtochar(text, size): its first string, and the bytes of the buffer.
std::string Numstrtochar(std::string text, int size, std::string *buffer = nullptr)
{
    text.resize(std::max<size_t>(text.size() + 1, size_t(size) + 1), '\0');
    TicketNumstrtochar(reinterpret_cast<unsigned char *>(text.data()), size);
    if (buffer)
        *buffer = text;
    return std::string(text.c_str());
}

TEST(TicketNumstrtochar, DecodesByteListsInPlaceWithinSize)
{
    const struct
    {
        const char *text;
        std::string value;
    } cases[] = {
        {"/97/44/98", "a,b"}, {"/105/116/39/115", "it's"},
        {"abc", "abc"},   // not a byte list: left alone
        {"a/98", "a/98"}, // nor is this
        {"/300/65", ""},  // 256 or more becomes a NUL byte
        {"/65/256", "A"},     {"/65/255", "A\xFF"},
        {"/65//66", "A"}, // an empty number is 0
        {"/65/", "A"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Numstrtochar(c.text, int(strlen(c.text)) + 1), c.value);
    }
    std::string buffer;
    Numstrtochar("/300/65", 8, &buffer);
    EXPECT_EQ(buffer.substr(0, 3), std::string("\0A\0", 3)) << "each byte is followed by a NUL";

    // "/97/44/98": the separator after 44 sits at position 6, kept when size does not pass it.
    EXPECT_EQ(Numstrtochar("/97/44/98", 6, &buffer), "a,");
    EXPECT_EQ(buffer.substr(6, 3), "/98");
    EXPECT_EQ(Numstrtochar("/97/44/98", 7, &buffer), "a,");
    EXPECT_EQ(buffer.substr(6, 3), std::string("\0"
                                               "98",
                                               3))
        << "read beyond size";
    // A number cut by size is read only up to size.
    EXPECT_EQ(Numstrtochar("/97/441", 6, &buffer), "a,");

    TicketNumstrtochar(nullptr, 10);
    unsigned char text[] = "/65";
    TicketNumstrtochar(text, 0);
    EXPECT_STREQ(reinterpret_cast<char *>(text), "/65");
}

} // namespace
