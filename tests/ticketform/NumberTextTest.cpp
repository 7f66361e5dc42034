// The decimal helpers of the controls: itoa's right-aligned digits and numstrtochar's in-place
// reading of a byte list.
#include "TicketValueForm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

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
        std::memset(buffer, '#', sizeof buffer);
        char *first = TicketItoa(c.value, buffer, c.size);
        ASSERT_NE(first, nullptr);
        EXPECT_STREQ(first, c.expected);
        EXPECT_EQ(buffer[c.size - 1], '\0');
        EXPECT_EQ(first + std::strlen(c.expected), buffer + c.size - 1);
    }
    EXPECT_EQ(TicketItoa(5, nullptr, 16), nullptr);
    char one[1];
    EXPECT_EQ(TicketItoa(5, one, 0), nullptr);
}

std::string Numstrtochar(std::string text, int size, std::string *buffer = nullptr)
{
    text.resize(std::max<size_t>(text.size() + 1, size_t(size) + 1), '\0');
    TicketNumstrtochar(reinterpret_cast<unsigned char *>(text.data()), size);
    if (buffer)
        *buffer = text;
    return std::string(text.c_str());
}

TEST(TicketNumstrtochar, DecodesByteListsInPlace)
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
        EXPECT_EQ(Numstrtochar(c.text, int(std::strlen(c.text)) + 1), c.value);
    }
}

TEST(TicketNumstrtochar, EachByteIsFollowedByANul)
{
    std::string buffer;
    Numstrtochar("/300/65", 8, &buffer);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'A');
    EXPECT_EQ(buffer[2], '\0');
}

TEST(TicketNumstrtochar, SeparatorAtOrBeyondSizeIsKept)
{
    // "/97/44/98": the separator after 44 sits at position 6.
    std::string buffer;
    EXPECT_EQ(Numstrtochar("/97/44/98", 6, &buffer), "a,");
    EXPECT_EQ(buffer[6], '/') << "separator at size was overwritten";
    EXPECT_EQ(buffer.substr(7, 2), "98");

    EXPECT_EQ(Numstrtochar("/97/44/98", 7, &buffer), "a,");
    EXPECT_EQ(buffer[6], '\0');
    EXPECT_EQ(buffer.substr(7, 2), "98") << "read beyond size";

    // A number cut by size is read only up to size.
    EXPECT_EQ(Numstrtochar("/97/441", 6, &buffer), "a,");
}

TEST(TicketNumstrtochar, NothingHappensWithoutText)
{
    TicketNumstrtochar(nullptr, 10);
    unsigned char text[] = "/65";
    TicketNumstrtochar(text, 0);
    EXPECT_STREQ(reinterpret_cast<char *>(text), "/65");
}

} // namespace
