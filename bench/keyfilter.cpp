// What a keystroke check costs on a real field, and the whole-text check of a 32-unit text.
#include "TextInputFilter.h"

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

const TextEditFilterData kKanaFilter = {
    {2, {{0x20, 0x7E}, {0xA1, 0xDF}}}, {2, {{0x20, 0x7E}, {0xA5, 0xA5}}}, nullptr, nullptr};
const TextEditFilterData kLatin1Filter = {
    {2, {{0x20, 0x7E}, {0xA0, 0xFF}}}, {17, {{0x20, 0x7E}, {0xA0, 0xFF}}}, nullptr, nullptr};
const TextEditFilterData kStorageFilter = {{},
                                           {17,
                                            {{0x20, 0x7E},
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
                                             {0xFF01, 0xFFE5}}},
                                           nullptr,
                                           nullptr};

// A field of the test window, loaded through the toolkit as the panes load theirs.
struct BenchField
{
    WindowRef window = nullptr;
    ControlRef field = nullptr;

    BenchField()
    {
        IBNibRef nib = nullptr;
        if (VeltraCreateNibReferenceWithPath(VELTRA_TEST_DATA_DIR "/TextFields.nib", &nib) ==
            noErr) {
            CreateWindowFromNib(nib, CFSTR("Fields"), &window);
            DisposeNibReference(nib);
        }
        const ControlID id = {'tfld', 5};
        if (window)
            GetControlByID(window, &id, &field);
    }
    ~BenchField()
    {
        if (window)
            DisposeWindow(window);
    }
    void setText(const QString &text)
    {
        if (auto *edit = qobject_cast<QLineEdit *>(VeltraControlWidget(field)))
            edit->setText(text);
    }
};

BenchField *Field()
{
    static BenchField field;
    return &field;
}

bool FieldReady(benchmark::State &state, const QString &text)
{
    if (!Field()->field) {
        state.SkipWithError("the test window could not be loaded");
        return false;
    }
    Field()->setText(text);
    return true;
}

// A letter typed into a field with room: the common case.
void BM_InputCharsCheck_PassesLetter(benchmark::State &state)
{
    if (!FieldReady(state, QStringLiteral("Sato")))
        return;
    TextEditFilterData filter = kKanaFilter;
    for (auto _ : state) {
        short code = 'k';
        unsigned short modifiers = 0;
        benchmark::DoNotOptimize(
            InputCharsCheck(Field()->field, &code, &modifiers, 8, &filter, 'text'));
    }
}
BENCHMARK(BM_InputCharsCheck_PassesLetter);

// An editing key: decided without measuring the field.
void BM_InputCharsCheck_PassesBackspace(benchmark::State &state)
{
    if (!FieldReady(state, QStringLiteral("Sato")))
        return;
    TextEditFilterData filter = kKanaFilter;
    for (auto _ : state) {
        short code = 8;
        unsigned short modifiers = 0;
        benchmark::DoNotOptimize(
            InputCharsCheck(Field()->field, &code, &modifiers, 8, &filter, 'text'));
    }
}
BENCHMARK(BM_InputCharsCheck_PassesBackspace);

void BM_charEditBoxCheck_PassesLatin1Letter(benchmark::State &state)
{
    if (!FieldReady(state, QStringLiteral("caf")))
        return;
    TextEditFilterData filter = kLatin1Filter;
    for (auto _ : state) {
        short code = 0xE9;
        unsigned short modifiers = 0;
        benchmark::DoNotOptimize(charEditBoxCheck(Field()->field, &code, 32, &filter, &modifiers));
    }
}
BENCHMARK(BM_charEditBoxCheck_PassesLatin1Letter);

void BM_passwordEditBoxCheck_PassesDigit(benchmark::State &state)
{
    if (!FieldReady(state, QStringLiteral("12345")))
        return;
    for (auto _ : state) {
        short code = '6';
        unsigned short modifiers = 0;
        benchmark::DoNotOptimize(passwordEditBoxCheck(Field()->field, &code, 12, &modifiers));
    }
}
BENCHMARK(BM_passwordEditBoxCheck_PassesDigit);

// A full passcode: the refusal path cuts the field back and beeps.
void BM_passwordEditBoxCheck_BlocksFullField(benchmark::State &state)
{
    if (!FieldReady(state, QStringLiteral("123456789012")))
        return;
    for (auto _ : state) {
        short code = '3';
        unsigned short modifiers = 0;
        benchmark::DoNotOptimize(passwordEditBoxCheck(Field()->field, &code, 12, &modifiers));
    }
}
BENCHMARK(BM_passwordEditBoxCheck_BlocksFullField);

std::vector<unsigned short> Text32(const std::u16string &pattern)
{
    std::vector<unsigned short> text;
    while (text.size() < 32)
        for (char16_t u : pattern)
            if (text.size() < 32)
                text.push_back(u);
    text.push_back(0);
    return text;
}

void BM_validateInput_32Units(benchmark::State &state, const std::u16string &pattern,
                              const TextEditFilterData &record)
{
    std::vector<unsigned short> text = Text32(pattern);
    TextEditFilterData filter = record;
    for (auto _ : state)
        benchmark::DoNotOptimize(validateInput(text.data(), &filter));
}
BENCHMARK_CAPTURE(BM_validateInput_32Units, AccountText, u"Sato-\u00A5", kKanaFilter);
// Storage text: the kanji lie in the 16th of 17 ranges, the slowest passing case.
BENCHMARK_CAPTURE(BM_validateInput_32Units, StorageTextKanji, u"\u65E5\u672C\u8A9E",
                  kStorageFilter);

void BM_GetControlLength_32Characters(benchmark::State &state)
{
    char text[] = "Sato Ichiro \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E abcdefghijklmnop";
    for (auto _ : state)
        benchmark::DoNotOptimize(GetControlLength(text));
}
BENCHMARK(BM_GetControlLength_32Characters);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
