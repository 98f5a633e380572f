// The calculator allocates nothing once it runs, in either form of answer, traced or not:
// every global operator new and every malloc, calloc and realloc of this program is
// counted while the calculator works through memory.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

#include "dialogue/main_loop.h"
#include "support/memory_console.h"

namespace {

std::size_t allocations = 0;

}  // namespace

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(INTCALC_SANITIZED)
#define INTCALC_COUNTS_MALLOC 1
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);

void* malloc(std::size_t size) {
  ++allocations;
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
  ++allocations;
  return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) {
  ++allocations;
  return __libc_realloc(block, size);
}
}
#endif

void* operator new(std::size_t size) {
  ++allocations;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete[](void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  std::free(block);
}

namespace intcalc {
namespace {

// Lines: `count` lines drawn in turn from a mix that takes every path of the dialogue.
std::string Lines(std::size_t count) {
  constexpr std::string_view kMix[] = {
      "-2 + 3*(7 - 2*8)\n",
      "1+2*3*4-5\r\n",
      "\n",
      "   \n",
      "5 / 0\n",
      "65536*65536\n",
      "(65536*65536)\n",
      "--5\n",
      "(--5)+(1)\n",
      "99999999999\n",
      "1\t+2\n",
      "2(3)\n",
      "((((((1+1))))))\n",
      "(1+2\n",
      "007\n",
      "12345678901234567890123\n",
      "1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1"
      "+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1\n",
  };
  std::string text;
  for (std::size_t line = 0; line < count; ++line)
    text += kMix[line % std::size(kMix)];
  return text;
}

std::size_t AllocationsWhileRunning(const std::string& input,
                                    std::span<const char* const> arguments = {}) {
  MemoryConsole::Start(input);
  allocations = 0;
  const int status = RunAfresh(arguments);
  const std::size_t counted = allocations;
  MemoryConsole::Stop();
  EXPECT_EQ(status, kExitInputEnded);
  return counted;
}

TEST(AllocationTest, TheDialogueAllocatesNothingOnceRunning) {
  const std::string few = Lines(10);
  const std::string many = Lines(100000);
  EXPECT_EQ(AllocationsWhileRunning(few), 0U);
  EXPECT_EQ(AllocationsWhileRunning(many), 0U);
  EXPECT_GT(MemoryConsole::OutputSize(), many.size());
}

TEST(AllocationTest, TracingAllocatesNothing) {
  constexpr std::array<const char*, 1> kTraced = {"--trace"};
  EXPECT_EQ(AllocationsWhileRunning(Lines(1000), kTraced), 0U);
}

TEST(AllocationTest, TheResultsFormAllocatesNothingOnceRunning) {
  const std::string many = Lines(100000);
  constexpr std::array<const char*, 1> kResults = {"-r"};
  EXPECT_EQ(AllocationsWhileRunning(many, kResults), 0U);
  EXPECT_GT(MemoryConsole::OutputSize(), 100000U);  // a line for every line at least
}

TEST(AllocationTest, ReadingFilesAllocatesNothing) {
  const std::string first = Lines(1000);
  const std::string second = Lines(777);
  MemoryConsole::Start("");
  MemoryConsole::AddFile("first", first);
  MemoryConsole::AddFile("second", second);
  const std::array<const char*, 5> arguments = {"first", "-e", "1+1", "second", "-"};
  allocations = 0;
  const int status = RunAfresh(arguments);
  const std::size_t counted = allocations;
  MemoryConsole::Stop();
  EXPECT_EQ(status, kExitErrorWord);  // with -e; the files' lines hold error words
  EXPECT_EQ(counted, 0U);
  EXPECT_GT(MemoryConsole::OutputSize(), 1777U);  // a line for every line at least
}

TEST(AllocationTest, TheCountingWorks) {
  allocations = 0;
  auto* probe = new std::string(100, 'x');
  delete probe;
  EXPECT_GE(allocations, 1U);
#ifdef INTCALC_COUNTS_MALLOC
  allocations = 0;
  void* block = std::malloc(16);
  EXPECT_EQ(allocations, 1U);
  std::free(block);
#endif
}

}  // namespace
}  // namespace intcalc
