// The slowest single judging: two texts of the longest length that differ at every position,
// so every test runs, the edit distance fills the whole table and nothing is contained.
#include "judge/verdict.h"

#include "content/quiz_record.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The longest text cycling through 13 lower-case letters from `first`: lower case so the
// clean-up has work to do, mixed so the anagram sort has too.
std::string letterCycle(char first) {
    std::string text;
    for (int i = 0; i < kQuizTextMaxLength; ++i)
        text += static_cast<char>(first + i % 13);
    return text;
}

void BM_JudgeWorstCase(benchmark::State& state) {
    // No byte in common, so the distance is the whole length.
    const std::string expected = letterCycle('a');
    const std::string typed = letterCycle('n');
    for (auto _ : state) {
        Verdict verdict = chooseVerdict(expected.c_str(), typed.c_str());
        if (verdict != Verdict::kWrong)
            state.SkipWithError("unexpected verdict");
        benchmark::DoNotOptimize(verdict);
    }
}

BENCHMARK(BM_JudgeWorstCase)->Unit(benchmark::kMicrosecond);

} // namespace
