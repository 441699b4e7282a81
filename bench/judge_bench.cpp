// The slowest single judging: two texts of the longest length that differ at every position,
// so every test runs, the edit distance fills the whole table and nothing is contained.
#include "judge/verdict.h"

#include "content/quiz_record.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Letters in a cycle from `first`, in lower case so the clean-up has work to do.
std::string letterCycle(int first) {
    std::string text;
    for (int i = 0; i < kQuizTextMaxLength; ++i)
        text += static_cast<char>('a' + (first + i) % 26);
    return text;
}

void BM_JudgeWorstCase(benchmark::State& state) {
    const std::string expected = letterCycle(0);
    const std::string typed = letterCycle(13);
    for (auto _ : state) {
        Verdict verdict = chooseVerdict(expected.c_str(), typed.c_str());
        if (verdict != Verdict::kWrong)
            state.SkipWithError("unexpected verdict");
        benchmark::DoNotOptimize(verdict);
    }
}

BENCHMARK(BM_JudgeWorstCase)->Unit(benchmark::kMicrosecond);

} // namespace
