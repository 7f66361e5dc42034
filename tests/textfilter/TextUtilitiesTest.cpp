// The whole-text checks and the text utilities the fields measure and convert with (the cut to
// the first units is pinned through the fields that read with it).
#include "TextInputFilter.h"

#include <CoreFoundation/CFQt.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

const InputFilterData kAccountText = {2, {{0x20, 0x7E}, {0xA5, 0xA5}}};
const InputFilterData kLatin1Text = {17, {{0x20, 0x7E}, {0xA0, 0xFF}}};
const InputFilterData kStorageText = {
    6,
    {{0x20, 0x7E}, {0xA2, 0xA3}, {0x391, 0x3A9}, {0x3B1, 0x3C1}, {0x3C3, 0x3C9}, {0x212B, 0xFA2D}}};
const InputFilterData kEmptySet = {0, {{0x20, 0x7E}}};

// A heap copy of exactly the text and its NUL: AddressSanitizer catches a read past the end.
std::unique_ptr<char[]> ExactCopy(const std::string &bytes)
{
    auto copy = std::make_unique<char[]>(bytes.size() + 1);
    memcpy(copy.get(), bytes.c_str(), bytes.size() + 1);
    return copy;
}

std::vector<unsigned short> Units(const std::u16string &text)
{
    std::vector<unsigned short> units(text.begin(), text.end());
    units.push_back(0);
    return units;
}

} // namespace

TEST(ValidateInput, AdmitsOnlyTextInsideTheFieldsSet)
{
    auto expect = [](const InputFilterData &set, std::initializer_list<std::u16string> valid,
                     std::initializer_list<std::u16string> invalid) {
        TextEditFilterData filter = {};
        filter.textRanges = set;
        for (const auto &texts : {valid, invalid}) {
            for (const std::u16string &text : texts) {
                std::vector<unsigned short> units = Units(text);
                EXPECT_EQ(validateInput(units.data(), &filter), texts.begin() == valid.begin())
                    << QString::fromStdU16String(text).toStdString();
            }
        }
    };
    expect(kAccountText, {u"Sato-\u00A5", u""}, {u"Sato\u00A3", u"a\tb"});
    expect(kLatin1Text, {u"caf\u00E9\u00FF"}, {u"a\u0085", u"\u0100"});
    expect(kStorageText, {u"\u65E5\u0391"}, {u"\u03C2"}); // not a gap between its ranges
    expect(kEmptySet, {u""}, {u"a"});
    // A count past the 20 ranges must neither read beyond them nor admit what they lack.
    auto damaged = std::make_unique<TextEditFilterData>();
    damaged->textRanges = {1000, {{0x41, 0x5A}}};
    std::vector<unsigned short> upper = Units(u"ABC"), lower = Units(u"abc");
    EXPECT_TRUE(validateInput(upper.data(), damaged.get()));
    EXPECT_FALSE(validateInput(lower.data(), damaged.get()));
    EXPECT_FALSE(validateInput(nullptr, damaged.get()));
    EXPECT_FALSE(validateInput(upper.data(), nullptr));
}

TEST(IsAllSpace, TrueOnlyForBlanksAndIdeographicBlanks)
{
    const std::pair<std::u16string, bool> rows[] = {
        {u"\u3000\u3000", true}, {u" a", false},           {u"", true},    {u"   ", true},
        {u" \u3000 ", true},     {u"\u3000\u3001", false}, {u"a ", false}, {u"\u00A0", false}};
    for (const auto &[text, allSpace] : rows) {
        std::vector<unsigned short> units = Units(text);
        EXPECT_EQ(IsAllSpace(units.data()), allSpace) << units.size();
    }
    EXPECT_FALSE(IsAllSpace(nullptr));
}

TEST(CharacterPredicates, ByteAndWordFormsReadTheirLimitsDifferently)
{
    InputFilterData latin1 = {2, {{0x20, 0x7E}, {0xA0, 0xFF}}}, kanji = {1, {{0x4E00, 0x9FFF}}};
    InputFilterData high = {1, {{0x1A0, 0x1FF}}}, empty = kEmptySet; // high: low bytes match
    // 0xE9 is in the byte test's range, but sign-widened it matches nothing.
    const std::tuple<char, InputFilterData *, bool, bool> bytes[] = {
        {'a', &latin1, true, true},
        {char(0xE9), &latin1, true, false},
        {char(0x7F), &latin1, false, false},
        {char(0xE9), &high, true, false},
        {'a', &empty, false, false}};
    for (auto [byte, set, valid, space] : bytes) {
        EXPECT_EQ(ISByteValid(&byte, set), valid) << int(UInt8(byte));
        EXPECT_EQ(ISByteSpace(&byte, set), space) << int(UInt8(byte));
    }
    const std::tuple<unsigned short, InputFilterData *, bool> words[] = {
        {0x65E5, &kanji, true}, {0x3042, &kanji, false}, {0x00E9, &latin1, true},
        {0x01E9, &high, true},  {0x00E9, &high, false},  {0x0041, &empty, false}};
    for (auto [unit, set, valid] : words) {
        EXPECT_EQ(ISWordValid(&unit, set), valid) << std::hex << unit;
        EXPECT_EQ(ISWordSpace(&unit, set), valid) << std::hex << unit;
    }
    char byte = 'a';
    unsigned short unit = 'a';
    EXPECT_FALSE(ISByteValid(nullptr, &latin1) || ISByteValid(&byte, nullptr) ||
                 ISByteSpace(nullptr, &latin1) || ISByteSpace(&byte, nullptr) ||
                 ISWordValid(nullptr, &latin1) || ISWordSpace(&unit, nullptr));
}

// The widget length counts one below U+0100 and two for every other unit; the conversion writes
// the units and a terminator into one unit per byte; text that is not UTF-8 (each sample at the
// very end of an exactly sized buffer) measures 0 and converts to nothing.
TEST(GetControlLength, CountsAndConvertsUTF8Text)
{
    // A pair of surrogates counts two each; U+0100 is the first unit past Latin-1.
    const std::tuple<std::string, int, std::u16string> rows[] = {
        {"abc", 3, u"abc"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", 4, u"\u65E5\u672C"},
        {"caf\xC3\xA9", 4, u"caf\u00E9"},
        {"\xC4\x80", 2, u"\u0100"},
        {"\xEF\xBD\xB1", 2, u"\uFF71"},
        {"\xF0\x9F\x98\x80!", 5, u"\U0001F600!"}};
    for (const auto &[utf8, length, units] : rows) {
        SCOPED_TRACE(utf8);
        auto text = ExactCopy(utf8);
        EXPECT_EQ(GetControlLength(text.get()), length);
        std::vector<unsigned short> out(utf8.size() + 1, 0xEEEE);
        ASSERT_TRUE(ConvertUTF8ToUnicode(text.get(), out.data()));
        EXPECT_EQ(std::u16string(out.begin(), out.begin() + units.size()), units);
        EXPECT_EQ(out[units.size()], 0);
    }
    // Truncated, overlong, surrogate halves, bytes never in UTF-8, stray continuations, past
    // U+10FFFF, continuation replaced by ASCII.
    for (const char *bytes : {"ab\xE6\x97", "ab\xC3", "\xF0\x9F\x98", "\xC0\xAF", "\xE0\x80\x80",
                              "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "a\xED\xBF\xBF", "a\xFF", "\xFE",
                              "\x80z", "\xF4\x90\x80\x80", "\xE6\x41\x42"}) {
        SCOPED_TRACE(bytes);
        auto text = ExactCopy(bytes);
        EXPECT_EQ(GetControlLength(text.get()), 0);
        std::vector<unsigned short> out(strlen(bytes) + 1, 0xEEEE);
        EXPECT_FALSE(ConvertUTF8ToUnicode(text.get(), out.data()));
        EXPECT_EQ(out[0], 0);
    }
    // An empty text measures 0 and leaves the output alone.
    char empty[1] = {0};
    unsigned short out[2] = {0xEEEE, 0xEEEE};
    EXPECT_TRUE(ConvertUTF8ToUnicode(empty, out));
    EXPECT_EQ(out[0], 0xEEEE);
    EXPECT_EQ(GetControlLength(empty) + GetControlLength(nullptr), 0);
    EXPECT_FALSE(ConvertUTF8ToUnicode(nullptr, out) || ConvertUTF8ToUnicode(empty, nullptr));
}
