// Encode and decode of a 60000-byte quiz-like text, in bytes of plain text per second.
#include "content/lzw_codec.h"
#include "tests/support/sample_texts.h"

#include <benchmark/benchmark.h>

namespace {

constexpr size_t kTextLength = 60000;

void BM_Encode(benchmark::State& state) {
    const std::vector<uint8_t> text = quizLikeText(kTextLength, 1);
    std::vector<uint8_t> stream;
    for (auto _ : state) {
        if (lzwEncode(text, stream) != kLzwOk)
            state.SkipWithError("encoding failed");
        benchmark::DoNotOptimize(stream.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["stream_bytes"] = double(stream.size());
}

void BM_Decode(benchmark::State& state) {
    const std::vector<uint8_t> text = quizLikeText(kTextLength, 1);
    std::vector<uint8_t> stream, decoded;
    if (lzwEncode(text, stream) != kLzwOk) {
        state.SkipWithError("encoding failed");
        return;
    }
    for (auto _ : state) {
        if (lzwDecode(stream, decoded) != kLzwOk)
            state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(decoded.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

BENCHMARK(BM_Encode);
BENCHMARK(BM_Decode);

} // namespace

BENCHMARK_MAIN();
