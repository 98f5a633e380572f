// Time per expression of the evaluation routines, and of the whole program in memory: the
// dialogue and the results alone.
#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <span>
#include <string>
#include <string_view>

#include "dialogue/main_loop.h"
#include "support/calculate.h"
#include "support/memory_console.h"

namespace intcalc {
namespace {

// BM_Evaluate: parenthesis resolution and flat evaluation of one expression, without blanks.
void BM_Evaluate(benchmark::State& state, std::string_view expression) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(Calculate(expression));
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(BM_Evaluate, Typical, "310+738*2-92/7");
BENCHMARK_CAPTURE(BM_Evaluate, Long, "1+2*3-4/5+6*7-8/9+10*11-12/13+14*15-16/17+18*19-20");
BENCHMARK_CAPTURE(BM_Evaluate, Parenthesised, "-2+3*(7-2*8)+((1+2)*(3+4))");
BENCHMARK_CAPTURE(BM_Evaluate, Overflowing, "65536*65536+1");
BENCHMARK_CAPTURE(BM_Evaluate, Malformed, "12+*3");
BENCHMARK_CAPTURE(BM_Evaluate, LoneOperand, "-12345678901234567890");

// Batch: the lines bench/batch generates, in the same shape.
std::string Batch(int expressions) {
  std::mt19937 random(2026);
  std::uniform_int_distribution<int> operand(0, 999);
  std::uniform_int_distribution<int> extra(0, 6);
  std::uniform_int_distribution<int> op(0, 3);
  constexpr std::string_view kOperators[] = {" + ", " - ", " * ", " / "};
  std::string text;
  for (int line = 0; line < expressions; ++line) {
    text += std::to_string(operand(random));
    for (int count = extra(random); count > 0; --count) {
      text += kOperators[op(random)];
      text += std::to_string(operand(random));
    }
    text += '\n';
  }
  return text;
}

// RunBatch: the whole program on bench/batch's lines, reading and writing through memory,
// in the form `arguments` ask for.
void RunBatch(benchmark::State& state, std::span<const char* const> arguments) {
  constexpr int kExpressions = 10000;
  const std::string input = Batch(kExpressions);
  for (auto _ : state) {
    MemoryConsole::Start(input);
    benchmark::DoNotOptimize(RunAfresh(arguments));
  }
  MemoryConsole::Stop();
  state.SetItemsProcessed(state.iterations() * kExpressions);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

// BM_Dialogue: the dialogue.
void BM_Dialogue(benchmark::State& state) {
  RunBatch(state, {});
}

// BM_Results: the results alone, one line for each line of input.
void BM_Results(benchmark::State& state) {
  constexpr std::array<const char*, 1> kResultsOnly = {"--results"};
  RunBatch(state, kResultsOnly);
}

BENCHMARK(BM_Dialogue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Results)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace intcalc

BENCHMARK_MAIN();
