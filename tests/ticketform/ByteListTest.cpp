// The plain and byte-list forms of ticket values, as the printer driver reads them.
#include "TicketValueForm.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const unsigned char *Bytes(const std::string &text)
{
    return reinterpret_cast<const unsigned char *>(text.c_str());
}

// What a control writes for its ticket text: plain, or the byte list when needed.
std::string TicketText(const std::string &value)
{
    if (!TicketTextNeedsByteList(value.c_str()))
        return value;
    char list[kTicketByteListSize];
    const size_t length = EncodeTicketByteList(Bytes(value), list, sizeof list);
    return std::string(list, length);
}

std::string Decode(const std::string &ticketText)
{
    unsigned char out[kTicketDecodedSize];
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
        EXPECT_EQ(TicketText(c.value), c.ticket);
    }
}

TEST(TicketForm, NullTextNeedsNoByteList)
{
    EXPECT_FALSE(TicketTextNeedsByteList(nullptr));
}

TEST(TicketForm, LongestValueOfHighBytesFitsTheByteListBuffer)
{
    const std::string value(255, '\xFF');
    std::vector<char> out(kTicketByteListSize + 1, '#');
    const size_t length = EncodeTicketByteList(Bytes(value), out.data(), kTicketByteListSize);
    EXPECT_EQ(length, 1020u);
    EXPECT_EQ(out[1020], '\0');
    EXPECT_EQ(out[kTicketByteListSize], '#');
    std::string expected;
    for (int i = 0; i < 255; ++i)
        expected += "/255";
    EXPECT_EQ(std::string(out.data(), length), expected);
}

TEST(TicketForm, ByteListStopsAtTheLastWholeEntryThatFits)
{
    const struct
    {
        size_t outSize;
        const char *expected;
    } cases[] = {{10, "/97/44/98"}, {9, "/97/44"}, {7, "/97/44"}, {6, "/97"},
                 {4, "/97"},        {3, ""},       {1, ""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.outSize);
        std::vector<char> out(c.outSize + 1, '#');
        const size_t length = EncodeTicketByteList(Bytes("a,b"), out.data(), c.outSize);
        EXPECT_EQ(std::string(out.data(), length), c.expected);
        EXPECT_EQ(out[length], '\0');
        EXPECT_EQ(out[c.outSize], '#') << "wrote past the buffer";
    }
}

TEST(TicketForm, ByteListTakesAtMostTheBytesOfATicketText)
{
    const std::string value(300, 'A');
    char out[2000];
    EXPECT_EQ(EncodeTicketByteList(Bytes(value), out, sizeof out), 255u * 3);
}

TEST(TicketForm, ByteListOfNothingIsEmpty)
{
    char out[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(EncodeTicketByteList(nullptr, out, sizeof out), 0u);
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(EncodeTicketByteList(Bytes("a"), nullptr, 10), 0u);
    out[0] = '#';
    EXPECT_EQ(EncodeTicketByteList(Bytes("a"), out, 0), 0u);
    EXPECT_EQ(out[0], '#');
}

TEST(TicketForm, ReadingTicketTextsGivesTheValueBack)
{
    const struct
    {
        const char *ticket;
        const char *value;
    } cases[] = {
        {"/97/44/98", "a,b"}, {"abc", "abc"}, {"/105/116/39/115", "it's"},
        {"/47/120", "/x"},    {"", ""},       {"a/b", "a/b"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ticket);
        EXPECT_EQ(Decode(c.ticket), c.value);
    }
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
}

TEST(TicketForm, DecodingNullTextGivesEmptyValue)
{
    unsigned char out[kTicketDecodedSize];
    std::fill(std::begin(out), std::end(out), 0xEE);
    DecodeTicketByteList(nullptr, out);
    for (unsigned char b : out)
        ASSERT_EQ(b, 0);
}

} // namespace
