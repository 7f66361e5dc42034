// The plain, byte-list and scrambled forms of ticket values, as the printer driver reads them,
// and the decimal helpers of the controls.
#include "TicketValueForm.h"
#include "PaneFixture.h"

#include <random>

namespace {

const unsigned char *Bytes(const std::string &text)
{
    return reinterpret_cast<const unsigned char *>(text.c_str());
}

std::string Decode(const char *ticketText)
{
    unsigned char out[kTicketDecodedSize];
    memset(out, 0xEE, sizeof out);
    DecodeTicketByteList(ticketText, out);
    EXPECT_EQ(out[kTicketDecodedSize - 1], 0) << "decoded text not terminated";
    return std::string(reinterpret_cast<char *>(out));
}

std::string Repeat(const char *unit, int count)
{
    return QString(unit).repeated(count).toStdString();
}

TEST(TicketForm, ValuesWithSeparatorsOrALeadingSlashBecomeByteLists)
{
    const std::pair<const char *, const char *> rows[] = {
        {"abc", "abc"},
        {"a,b", "/97/44/98"},
        {"it's", "/105/116/39/115"},
        {"C:\\x", "/67/58/92/120"},
        {"/x", "/47/120"},
        {"a/b", "a/b"},
        {"", ""},
        {"Jos\xC3\xA9's", "/74/111/115/195/169/39/115"}};
    for (const auto &[value, expected] : rows) {
        SCOPED_TRACE(value);
        std::string ticket = value;
        if (TicketTextNeedsByteList(value)) {
            char list[kTicketByteListSize];
            ticket.assign(list, EncodeTicketByteList(Bytes(value), list, sizeof list));
        }
        EXPECT_EQ(ticket, expected);
        EXPECT_EQ(Decode(expected), value);
    }
    EXPECT_FALSE(TicketTextNeedsByteList(nullptr));

    // Every value survives the round trip: every byte, and random texts.
    std::mt19937 random(42);
    std::string value;
    for (int b = 1; b < 256; ++b)
        value += char(b);
    for (int i = 0; i < 300; ++i) {
        char list[kTicketByteListSize];
        EncodeTicketByteList(Bytes(value), list, sizeof list);
        ASSERT_EQ(Decode(list), value);
        value.assign(1 + random() % 255, ' ');
        for (char &ch : value)
            ch = char(1 + random() % 255);
    }
}

TEST(TicketForm, ByteListStopsAtTheBufferOrTheLast255Bytes)
{
    const std::tuple<std::string, size_t, std::string> rows[] = {
        {"a,b", 10, "/97/44/98"},
        {"a,b", 9, "/97/44"},
        {"a,b", 7, "/97/44"},
        {"a,b", 6, "/97"},
        {"a,b", 4, "/97"},
        {"a,b", 3, ""},
        {std::string(255, '\xFF'), kTicketByteListSize, Repeat("/255", 255)},
        {std::string(300, 'A'), 2000, Repeat("/65", 255)}};
    for (const auto &[value, outSize, expected] : rows) {
        SCOPED_TRACE(outSize);
        std::vector<char> out(outSize + 1, '#');
        const size_t length = EncodeTicketByteList(Bytes(value), out.data(), outSize);
        EXPECT_EQ(std::string(out.data(), length), expected);
        EXPECT_EQ(out[length], '\0');
        EXPECT_EQ(out[outSize], '#') << "wrote past the buffer";
    }
    char out[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(EncodeTicketByteList(Bytes("a"), out, 0), 0u);
    EXPECT_EQ(out[0], '#');
    EXPECT_EQ(EncodeTicketByteList(nullptr, out, sizeof out), 0u);
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(EncodeTicketByteList(Bytes("a"), nullptr, 10), 0u);
}

TEST(TicketForm, DamagedByteListsDecodeWithoutHarm)
{
    const std::pair<std::string, std::string> rows[] = {
        {"//", ""},                  // one empty number: a NUL
        {"/-5/999/abc", "\xFB\xE7"}, // low bytes; junk reads as 0
        {"/97abc/98", "ab"},         // junk after a number is skipped
        {"/ 97/+98/", "ab"},         // strtol's blanks and sign; "/" ends it
        {"/99999999999999999999999/65", std::string(1, '\xFF') + "A"}, // strtol's LONG_MAX
        {Repeat("/65", 300), std::string(256, 'A')},                   // at most 256 numbers
        {std::string(300, 'x'), std::string(256, 'x')}, // plain text: at most 256 bytes
    };
    for (const auto &[ticket, value] : rows)
        EXPECT_EQ(Decode(ticket.c_str()), value) << ticket.substr(0, 40);
    EXPECT_EQ(Decode(nullptr), "");
}

TEST(ScrambledTicketText, PasscodeIsScrambledAndEncoded)
{
    const std::string longest(189, '7'), pastLongest(190, '7'), longestTicket = Scrambled(longest);
    const std::tuple<const char *, int, int, const char *> rows[] = {
        {"1234", 4, 0, "QFBHWg=="},
        {"xbz", 3, 0, "CQAO"},        // the middle byte scrambles to NUL
        {"1234", 200, 0, "QFBHWg=="}, // a count beyond the text scrambles only the text
        {"", 0, 0, ""},               // the empty value is written empty
        {longest.c_str(), 189, 0, longestTicket.c_str()},
        {pastLongest.c_str(), 190, kWmbNoRoom, ""},
        {nullptr, 4, kWmbNullArgument, ""},
        {"1234", -1, kWmbBadLength, ""},
        {"", 3, kWmbBadLength, ""}};
    for (const auto &[text, count, answer, ticket] : rows) {
        SCOPED_TRACE(std::to_string(count) + " " + (text ? text : "null"));
        char out[kTicketTextSize] = "1234";
        ASSERT_EQ(EncodeScrambledTicketText(text, count, out), answer);
        EXPECT_STREQ(out, ticket);
        if (answer == 0 && *out) {
            EXPECT_EQ(Unscramble(out), std::string(text).substr(0, size_t(count)));
        }
    }
    EXPECT_EQ(EncodeScrambledTicketText("1234", 4, nullptr), kWmbNullArgument);
    char buffer[kTicketTextSize] = "secret12"; // in place
    ASSERT_EQ(EncodeScrambledTicketText(buffer, 8, buffer), 0);
    EXPECT_EQ(Unscramble(buffer), "secret12");
}

// Digits end at the last byte of the buffer; those that do not fit are dropped from the front.
TEST(TicketItoa, DigitsEndAtTheLastByteOfTheBuffer)
{
    const std::tuple<int, int, const char *> rows[] = {{7, 16, "7"}, {2147483647, 16, "2147483647"},
                                                       {0, 16, ""},  {12345, 3, "45"},
                                                       {5, 1, ""},   {-12, 16, ""}};
    char buffer[16];
    for (const auto &[value, size, expected] : rows) {
        memset(buffer, '#', sizeof buffer);
        char *first = TicketItoa(value, buffer, size);
        ASSERT_NE(first, nullptr) << value;
        EXPECT_STREQ(first, expected);
        EXPECT_EQ(first + strlen(expected), buffer + size - 1);
    }
    EXPECT_EQ(TicketItoa(5, nullptr, 16), nullptr);
    EXPECT_EQ(TicketItoa(5, buffer, 0), nullptr);
}

// The text after numstrtochar(text, size), as the bytes of its buffer.
std::string Numstrtochar(std::string text, int size)
{
    text.resize(std::max<size_t>(text.size() + 1, size_t(size) + 1), '\0');
    TicketNumstrtochar(reinterpret_cast<unsigned char *>(text.data()), size);
    return text;
}

TEST(TicketNumstrtochar, DecodesByteListsInPlaceWithinSize)
{
    const std::pair<const char *, std::string> rows[] = {
        {"/97/44/98", "a,b"}, {"abc", "abc"},       {"a/98", "a/98"}, {"/300/65", ""},
        {"/65/256", "A"},     {"/65/255", "A\xFF"}, {"/65//66", "A"}, {"/65/", "A"}};
    for (const auto &[text, value] : rows)
        EXPECT_EQ(Numstrtochar(text, int(strlen(text)) + 1).c_str(), value) << text;
    // Each byte is followed by a NUL (256 or more becomes a NUL byte itself).
    EXPECT_EQ(Numstrtochar("/300/65", 8).substr(0, 3), std::string("\0A\0", 3));
    // The separator after 44 sits at position 6: kept when size does not pass it.
    EXPECT_EQ(Numstrtochar("/97/44/98", 6).c_str(), std::string("a,"));
    EXPECT_EQ(Numstrtochar("/97/44/98", 6).substr(6, 3), "/98");
    EXPECT_EQ(Numstrtochar("/97/44/98", 7).substr(6, 3), std::string(1, '\0') + "98");
    EXPECT_EQ(Numstrtochar("/97/441", 6).c_str(), std::string("a,")); // a number cut by size
    TicketNumstrtochar(nullptr, 10);
    unsigned char text[] = "/65";
    TicketNumstrtochar(text, 0);
    EXPECT_STREQ(reinterpret_cast<char *>(text), "/65");
}

} // namespace
