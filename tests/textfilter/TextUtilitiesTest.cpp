// The whole-text checks and the text utilities the fields measure and convert with.
#include "TextInputFilter.h"

#include <CoreFoundation/CFQt.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Sets with the ranges the panes' tables use.
InputFilterData SetOf(std::initializer_list<InputFilterRange> ranges, SInt32 count = -1)
{
    InputFilterData set = {};
    int i = 0;
    for (const InputFilterRange &r : ranges)
        set.ranges[i++] = r;
    set.count = count < 0 ? i : count;
    return set;
}

TextEditFilterData TextFilterOf(const InputFilterData &textRanges)
{
    TextEditFilterData filter = {};
    filter.textRanges = textRanges;
    return filter;
}

const InputFilterData kAccountText = SetOf({{0x20, 0x7E}, {0xA5, 0xA5}});
const InputFilterData kLatin1Text = SetOf({{0x20, 0x7E}, {0xA0, 0xFF}}, 17);
const InputFilterData kDigitText = SetOf({{0x30, 0x39}});
const InputFilterData kStorageText = SetOf({{0x20, 0x7E},
                                            {0xA2, 0xA3},
                                            {0xA5, 0xA5},
                                            {0xA7, 0xA8},
                                            {0xAC, 0xAC},
                                            {0xB0, 0xB6},
                                            {0xD7, 0xD7},
                                            {0xF7, 0xF7},
                                            {0x391, 0x3A9},
                                            {0x3B1, 0x3C1},
                                            {0x3C3, 0x3C9},
                                            {0x401, 0x401},
                                            {0x410, 0x451},
                                            {0x2010, 0x2103},
                                            {0x2116, 0x2121},
                                            {0x212B, 0xFA2D},
                                            {0xFF01, 0xFFE5}});
const InputFilterData kEmptySet = SetOf({{0x20, 0x7E}}, 0);

// A heap copy of a text with exactly its bytes and the NUL, so that a read past the end is
// caught by AddressSanitizer.
std::unique_ptr<char[]> ExactCopy(const std::string &bytes)
{
    auto copy = std::make_unique<char[]>(bytes.size() + 1);
    memcpy(copy.get(), bytes.data(), bytes.size());
    copy[bytes.size()] = 0;
    return copy;
}

std::vector<unsigned short> Units(const std::u16string &text)
{
    std::vector<unsigned short> units(text.begin(), text.end());
    units.push_back(0);
    return units;
}

} // namespace

struct ValidateCase
{
    const char *name;
    const InputFilterData *set;
    std::u16string text;
    bool valid;
};

TEST(ValidateInput, AdmitsOnlyTextInsideTheFieldsSet)
{
    const ValidateCase cases[] = {
        {"account set takes letters, hyphen and yen", &kAccountText, u"Sato-\u00A5", true},
        {"account set refuses the pound sign", &kAccountText, u"Sato\u00A3", false},
        {"account set refuses a kana", &kAccountText, u"ab\u30A2", false},
        {"account set refuses a tab", &kAccountText, u"a\tb", false},
        {"empty text is valid", &kAccountText, u"", true},
        {"latin-1 set takes accented letters", &kLatin1Text, u"caf\u00E9 \u00FF", true},
        {"latin-1 set refuses a C1 control", &kLatin1Text, u"a\u0085", false},
        {"latin-1 set's zero ranges admit nothing else", &kLatin1Text, u"\u0100", false},
        {"digit set takes digits", &kDigitText, u"0123456789", true},
        {"digit set refuses a letter at the end", &kDigitText, u"1234a", false},
        {"storage set takes kanji and full-width forms", &kStorageText, u"\u65E5\uFF21\u0391",
         true},
        {"storage set refuses a gap between its ranges", &kStorageText, u"\u03C2", false},
        {"an empty set refuses any text", &kEmptySet, u"a", false},
        {"an empty set still passes an empty text", &kEmptySet, u"", true},
    };
    for (const ValidateCase &c : cases) {
        TextEditFilterData filter = TextFilterOf(*c.set);
        std::vector<unsigned short> text = Units(c.text);
        EXPECT_EQ(validateInput(text.data(), &filter), c.valid) << c.name;
    }
}

TEST(ValidateInput, MissingInputsAndDamagedCountsAreRefused)
{
    TextEditFilterData filter = TextFilterOf(kAccountText);
    std::vector<unsigned short> text = Units(u"abc");
    EXPECT_FALSE(validateInput(nullptr, &filter));
    EXPECT_FALSE(validateInput(text.data(), nullptr));
    // A count past the 20 ranges must neither read beyond them nor admit what they lack.
    auto damaged = std::make_unique<TextEditFilterData>();
    damaged->textRanges = SetOf({{0x41, 0x5A}}, 1000);
    std::vector<unsigned short> upper = Units(u"ABC");
    EXPECT_TRUE(validateInput(upper.data(), damaged.get()));
    EXPECT_FALSE(validateInput(text.data(), damaged.get()));
}

TEST(IsAllSpace, TrueOnlyForBlanksAndIdeographicBlanks)
{
    const struct
    {
        std::u16string text;
        bool allSpace;
    } cases[] = {
        {u"\u3000\u3000", true}, {u" a", false},           {u"", true},    {u"   ", true},
        {u" \u3000 ", true},     {u"\u3000\u3001", false}, {u"a ", false}, {u"\u00A0", false},
    };
    for (const auto &c : cases) {
        std::vector<unsigned short> text = Units(c.text);
        EXPECT_EQ(IsAllSpace(text.data()), c.allSpace)
            << QString::fromStdU16String(c.text).toStdString();
    }
    EXPECT_FALSE(IsAllSpace(nullptr));
}

TEST(CharacterPredicates, ByteAndWordFormsReadTheirLimitsDifferently)
{
    const InputFilterData latin1Keys = SetOf({{0x20, 0x7E}, {0xA0, 0xFF}});
    // Limits that only match in their low bytes.
    const InputFilterData highLimits = SetOf({{0x1A0, 0x1FF}});
    const InputFilterData kanjiText = SetOf({{0x4E00, 0x9FFF}});

    struct ByteCase
    {
        char byte;
        const InputFilterData *set;
        bool valid;
        bool space;
    } byteCases[] = {
        {'a', &latin1Keys, true, true},
        // 0xE9 is in the byte test's range, but sign-widened it matches nothing.
        {char(0xE9), &latin1Keys, true, false},
        {char(0x7F), &latin1Keys, false, false},
        {char(0xE9), &highLimits, true, false},
        {'a', &kEmptySet, false, false},
    };
    for (ByteCase &c : byteCases) {
        InputFilterData set = *c.set;
        EXPECT_EQ(ISByteValid(&c.byte, &set), c.valid) << int(UInt8(c.byte));
        EXPECT_EQ(ISByteSpace(&c.byte, &set), c.space) << int(UInt8(c.byte));
    }

    struct WordCase
    {
        unsigned short unit;
        const InputFilterData *set;
        bool valid;
    } wordCases[] = {
        {0x65E5, &kanjiText, true},  {0x3042, &kanjiText, false},  {0x00E9, &latin1Keys, true},
        {0x01E9, &highLimits, true}, {0x00E9, &highLimits, false}, {0x0041, &kEmptySet, false},
    };
    for (WordCase &c : wordCases) {
        InputFilterData set = *c.set;
        EXPECT_EQ(ISWordValid(&c.unit, &set), c.valid) << std::hex << c.unit;
        EXPECT_EQ(ISWordSpace(&c.unit, &set), c.valid) << std::hex << c.unit;
    }

    InputFilterData set = latin1Keys;
    char byte = 'a';
    unsigned short unit = 'a';
    EXPECT_FALSE(ISByteValid(nullptr, &set));
    EXPECT_FALSE(ISByteValid(&byte, nullptr));
    EXPECT_FALSE(ISByteSpace(nullptr, &set));
    EXPECT_FALSE(ISWordValid(nullptr, &set));
    EXPECT_FALSE(ISWordSpace(&unit, nullptr));
}

// Text that is not UTF-8, each at the very end of an exactly sized buffer.
const std::pair<const char *, std::string> kInvalidUTF8[] = {
    {"truncated three-byte sequence", "ab\xE6\x97"},
    {"lead byte alone at the end", "ab\xC3"},
    {"truncated four-byte sequence", "\xF0\x9F\x98"},
    {"overlong slash", "\xC0\xAF"},
    {"overlong three-byte NUL", "\xE0\x80\x80"},
    {"overlong four-byte form", "\xF0\x8F\xBF\xBF"},
    {"high surrogate half", "\xED\xA0\x80"},
    {"low surrogate half", "a\xED\xBF\xBF"},
    {"byte 0xFF", "a\xFF"},
    {"byte 0xFE", "\xFE"},
    {"stray continuation byte", "\x80z"},
    {"past U+10FFFF", "\xF4\x90\x80\x80"},
    {"continuation replaced by ASCII", "\xE6\x41\x42"},
};

// The widget length counts one below U+0100 and two for every other unit; the conversion writes
// the units and a terminator into one unit per byte and the terminator.
TEST(GetControlLength, CountsAndConvertsUTF8Text)
{
    const struct
    {
        std::string utf8;
        int length;
        std::u16string units;
    } cases[] = {
        {"abc", 3, u"abc"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", 4, u"\u65E5\u672C"},
        {"caf\xC3\xA9", 4, u"caf\u00E9"},
        {"\xC4\x80", 2, u"\u0100"}, // the first unit past Latin-1
        {"\xEF\xBD\xB1", 2, u"\uFF71"},
        {"Sato-\xC2\xA5", 6, u"Sato-\u00A5"},
        {"\xF0\x9F\x98\x80!", 5, u"\U0001F600!"}, // a pair of surrogates counts two each
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.utf8);
        auto text = ExactCopy(c.utf8);
        EXPECT_EQ(GetControlLength(text.get()), c.length);
        std::vector<unsigned short> out(c.utf8.size() + 1, 0xEEEE);
        ASSERT_TRUE(ConvertUTF8ToUnicode(text.get(), out.data()));
        EXPECT_EQ(std::u16string(out.begin(), out.begin() + c.units.size()), c.units);
        EXPECT_EQ(out[c.units.size()], 0);
    }
    // An empty text measures 0 and leaves the output alone.
    char empty[1] = {0};
    unsigned short out[2] = {0xEEEE, 0xEEEE};
    EXPECT_EQ(GetControlLength(empty), 0);
    EXPECT_TRUE(ConvertUTF8ToUnicode(empty, out));
    EXPECT_EQ(out[0], 0xEEEE);
    EXPECT_EQ(GetControlLength(nullptr), 0);
    char text[] = "abc";
    EXPECT_FALSE(ConvertUTF8ToUnicode(nullptr, out));
    EXPECT_FALSE(ConvertUTF8ToUnicode(text, nullptr));
}

TEST(GetControlLength, InvalidUTF8MeasuresZeroAndConvertsToNothing)
{
    for (const auto &[name, bytes] : kInvalidUTF8) {
        SCOPED_TRACE(name);
        auto text = ExactCopy(bytes);
        EXPECT_EQ(GetControlLength(text.get()), 0);
        auto out = std::make_unique<unsigned short[]>(bytes.size() + 1);
        std::fill_n(out.get(), bytes.size() + 1, 0xEEEE);
        EXPECT_FALSE(ConvertUTF8ToUnicode(text.get(), out.get()));
        EXPECT_EQ(out[0], 0);
    }
}

TEST(CFStringCreateWithCopyCut, KeepsAtMostTheFirstUnits)
{
    CFRef<CFStringRef> sixty(CFStringCreateWithQString(QString(60, QChar(u'x')) + "END"));
    const struct
    {
        CFStringRef text;
        int maxUnits;
        QString expected;
    } cases[] = {
        {sixty, 50, QString(50, QChar(u'x'))},
        {CFSTR("short"), 50, "short"},
        {CFSTR("exact"), 5, "exact"},
        {CFSTR("\u65E5\u672C\u8A9E"), 2, QString::fromUtf8("\u65E5\u672C")},
        {CFSTR("abc"), 0, ""},
        {CFSTR("abc"), -3, ""},
    };
    for (const auto &c : cases) {
        CFRef<CFStringRef> cut(CFStringCreateWithCopyCut(c.text, c.maxUnits));
        ASSERT_TRUE(cut) << c.expected.toStdString();
        EXPECT_EQ(QStringFromCF(cut), c.expected);
    }
    EXPECT_EQ(CFStringCreateWithCopyCut(nullptr, 50), nullptr);
}
