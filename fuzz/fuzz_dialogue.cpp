// Runs the whole dialogue over arbitrary input bytes and checks every block of its output
// against an independent model. The first byte chooses how many bytes each read brings,
// so line ends fall on every kind of read boundary.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dialogue/main_loop.h"
#include "support/dialogue_shape.h"
#include "support/memory_console.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace intcalc;
  if (size == 0) return 0;
  constexpr std::size_t kReadSizes = 64;
  const std::size_t readSize =
      data[0] % kReadSizes == 0 ? MemoryConsole::kWholeReads : data[0] % kReadSizes;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

  MemoryConsole::Start(input, readSize);
  const int status = RunCalculator();
  const std::string problem = CheckDialogue(input, MemoryConsole::Output());
  MemoryConsole::Stop();

  if (status != kExitInputEnded || !problem.empty()) {
    std::fprintf(stderr, "exit status %d; %s\n", status, problem.c_str());
    std::abort();
  }
  return 0;
}
