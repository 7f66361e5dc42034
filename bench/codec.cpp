// Scrambling and Base64 of password values, as every print with a secure job or an account
// password does it: 12-byte passcodes, 64-byte values and the longest value a ticket takes.
#include "TicketValueForm.h"
#include "WmbCodec.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> Value(size_t length)
{
    std::vector<unsigned char> value(length);
    for (size_t i = 0; i < length; ++i)
        value[i] = static_cast<unsigned char>('0' + i % 10);
    return value;
}

void BM_ScrambleAndEncode(benchmark::State &state)
{
    const auto value = Value(size_t(state.range(0)));
    unsigned char scrambled[256];
    char text[256];
    for (auto _ : state) {
        int32_t scrambledLength = 0, textLength = 0;
        WmbEncrypt(value.data(), int32_t(value.size()), scrambled, &scrambledLength, 255);
        WmbBinToB64(scrambled, scrambledLength, text, &textLength, 255);
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(textLength);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ScrambleAndEncode)->Arg(12)->Arg(64)->Arg(189);

// The whole scrambled ticket write: clearing the ticket text, scrambling, encoding.
void BM_EncodeScrambledTicketText(benchmark::State &state)
{
    auto value = Value(size_t(state.range(0)));
    value.push_back(0);
    const auto *text = reinterpret_cast<const char *>(value.data());
    char out[kTicketTextSize];
    for (auto _ : state) {
        const int code = EncodeScrambledTicketText(text, int(state.range(0)), out);
        benchmark::DoNotOptimize(code);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_EncodeScrambledTicketText)->Arg(12)->Arg(64)->Arg(189);

// The driver's side, for comparison: Base64 back to the scrambled bytes.
void BM_DecodeBase64(benchmark::State &state)
{
    const auto value = Value(size_t(state.range(0)));
    char text[256] = {};
    int32_t textLength = 0;
    WmbBinToB64(value.data(), int32_t(value.size()), text, &textLength, 255);
    unsigned char bytes[256];
    for (auto _ : state) {
        int32_t length = 0;
        WmbB64ToBin(text, textLength, bytes, &length, 255);
        benchmark::DoNotOptimize(bytes);
        benchmark::DoNotOptimize(length);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_DecodeBase64)->Arg(12)->Arg(64)->Arg(189);

} // namespace

BENCHMARK_MAIN();
