// Runs the whole dialogue over arbitrary input bytes and checks every block of its output
// against an independent model; then runs the results form over the same input and checks
// that it answers every line with what the dialogue showed for it; then the dialogue again,
// traced, and checks that its output is the same and its trace well formed. The first byte chooses
// how many bytes each read brings, so line ends fall on every kind of read boundary.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dialogue/main_loop.h"
#include "support/dialogue_shape.h"
#include "support/memory_console.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace intcalc;
  if (size == 0) return 0;
  constexpr std::size_t kReadSizes = 64;
  const Faults reads = {.readSize =
                            data[0] % kReadSizes == 0 ? Faults::kWholeReads : data[0] % kReadSizes};
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

  MemoryConsole::Start(input, reads);
  const int status = RunAfresh();
  std::vector<std::string> results;
  const std::string problem = CheckDialogue(input, MemoryConsole::Output(), &results);
  MemoryConsole::Stop();
  if (status != kExitInputEnded || !problem.empty()) {
    std::fprintf(stderr, "exit status %d; %s\n", status, problem.c_str());
    std::abort();
  }

  const std::string dialogue(MemoryConsole::Output());
  MemoryConsole::Start(input, reads);
  constexpr std::array<const char*, 1> kResults = {"-r"};
  const int resultsStatus = RunAfresh(kResults);
  const bool same = MemoryConsole::Output() == ExpectedResults(input, results);
  MemoryConsole::Stop();
  if (resultsStatus != kExitInputEnded || !same) {
    std::fprintf(stderr, "results form: exit status %d; %s\n", resultsStatus,
                 same ? "" : "its lines are not the dialogue's results");
    std::abort();
  }

  MemoryConsole::Start(input, reads);
  constexpr std::array<const char*, 1> kTraced = {"--trace"};
  const int tracedStatus = RunAfresh(kTraced);
  const bool unchanged = MemoryConsole::Output() == dialogue;
  const std::string traceProblem = CheckTrace(MemoryConsole::ErrorOutput(), results.size());
  MemoryConsole::Stop();
  if (tracedStatus != kExitInputEnded || !unchanged || !traceProblem.empty()) {
    std::fprintf(stderr, "traced: exit status %d; %s %s\n", tracedStatus,
                 unchanged ? "" : "the output changed;", traceProblem.c_str());
    std::abort();
  }
  return 0;
}
