// The Windows program on a real console: under Wine on a pseudo-terminal, where Wine gives
// it a console whose line editing is its own. Wine wraps what it shows in cursor escape
// sequences, so only the texts are looked for. INTCALC_WINDOWS_PROGRAM names the .exe;
// without it, or without wine, these tests are skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/pty_session.h"
#include "support/run_program.h"

namespace intcalc {
namespace {

constexpr char kErase = '\x7f';

TEST(WineConsoleTest, EraseKeyEditsTheLineOnTheConsole) {
  const char* program = std::getenv("INTCALC_WINDOWS_PROGRAM");
  const std::string wine = FindInPath("wine");
  if (program == nullptr || wine.empty()) {
    GTEST_SKIP() << "set INTCALC_WINDOWS_PROGRAM to intcalc.exe, with wine installed";
  }
  PtySession session;
  ASSERT_TRUE(session.Start(wine, {.term = "xterm", .arguments = {program}}));
  ASSERT_TRUE(session.ReadUntil("Type an expression and press enter", std::chrono::seconds(60)))
      << session.Screen();
  // Wine takes the terminal for its console only once the read has begun.
  session.WaitForQuiet(std::chrono::seconds(1));
  session.Type(std::string("12") + kErase + "3+4\r");
  EXPECT_TRUE(session.ReadUntil("This is your expression: 13+4")) << session.Screen();
  EXPECT_TRUE(session.ReadUntil("13+4=17")) << session.Screen();
}

TEST(WineConsoleTest, CtrlCEndsItAsAConsoleEndsAnInterruptedProgram) {
  const char* program = std::getenv("INTCALC_WINDOWS_PROGRAM");
  const std::string wine = FindInPath("wine");
  if (program == nullptr || wine.empty()) {
    GTEST_SKIP() << "set INTCALC_WINDOWS_PROGRAM to intcalc.exe, with wine installed";
  }
  PtySession session;
  ASSERT_TRUE(session.Start(wine, {.term = "xterm", .arguments = {program}}));
  ASSERT_TRUE(session.ReadUntil("Type an expression and press enter", std::chrono::seconds(60)))
      << session.Screen();
  session.WaitForQuiet(std::chrono::seconds(1));
  session.Type("\x03");
  // STATUS_CONTROL_C_EXIT, 0xC000013A, of which Wine's own status is the low byte.
  EXPECT_EQ(session.Wait().exitStatus, 0x3A) << session.Screen();
}

}  // namespace
}  // namespace intcalc
