// The Windows program on a real console: under Wine on a pseudo-terminal, where Wine gives
// it a console whose line editing is its own. Wine wraps what it shows in cursor escape
// sequences, so only the texts are looked for. INTCALC_WINDOWS_PROGRAM names the .exe and
// INTCALC_WINDOWS_LOADER the Wine that runs it (wine through PATH when unset); without
// either, these tests are skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/pty_session.h"
#include "support/run_program.h"

namespace intcalc {
namespace {

constexpr char kErase = '\x7f';

// WineConsoleTest: the program started under Wine on a pseudo-terminal, its prompt shown
// and its console read begun.
class WineConsoleTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* program = std::getenv("INTCALC_WINDOWS_PROGRAM");
    const std::string wine = WindowsLoader();
    if (program == nullptr || wine.empty()) {
      GTEST_SKIP() << "set INTCALC_WINDOWS_PROGRAM to intcalc.exe, with wine installed";
    }
    ASSERT_TRUE(session_.Start(wine, {.term = "xterm", .arguments = {program}}));
    ASSERT_TRUE(session_.ReadUntil("Type an expression and press enter", std::chrono::seconds(60)))
        << session_.Screen();
    // Wine takes the terminal for its console only once the read has begun.
    session_.WaitForQuiet(std::chrono::seconds(1));
  }

  PtySession session_;
};

TEST_F(WineConsoleTest, EraseKeyEditsTheLineOnTheConsole) {
  session_.Type(std::string("12") + kErase + "3+4\r");
  EXPECT_TRUE(session_.ReadUntil("This is your expression: 13+4")) << session_.Screen();
  EXPECT_TRUE(session_.ReadUntil("13+4=17")) << session_.Screen();
}

TEST_F(WineConsoleTest, CtrlCEndsItAsAConsoleEndsAnInterruptedProgram) {
  session_.Type("\x03");
  // STATUS_CONTROL_C_EXIT, 0xC000013A, of which Wine's own status is the low byte.
  EXPECT_EQ(session_.Wait().exitStatus, 0x3A) << session_.Screen();
}

}  // namespace
}  // namespace intcalc
