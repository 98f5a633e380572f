// The real terminal: intcalc on a pseudo-terminal, typed at as a person does, with the
// terminal's line mode doing the editing and the echo.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "support/pty_session.h"

namespace intcalc {
namespace {

constexpr std::string_view kPrompt = "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]";
constexpr char kErase = '\x7f';      // DEL, the erase key
constexpr char kKillLine = '\x15';   // Ctrl-U
constexpr char kEndOfFile = '\x04';  // Ctrl-D
constexpr char kInterrupt = '\x03';  // Ctrl-C

class TerminalTest : public testing::Test {
 protected:
  void StartAndWaitForPrompt(const PtySession::Options& options = {}) {
    ASSERT_TRUE(session_.Start(options.shell ? "/bin/sh" : INTCALC_PROGRAM, options));
    ASSERT_TRUE(session_.ReadUntil(kPrompt)) << session_.Screen();
  }

  PtySession session_;
};

TEST_F(TerminalTest, EraseKeyEditsTheLineAndTheTerminalEchoes) {
  StartAndWaitForPrompt();
  session_.Type(std::string("12") + kErase + "3+4\r");
  ASSERT_TRUE(session_.ReadUntil("This is your expression: 13+4")) << session_.Screen();
  ASSERT_TRUE(session_.ReadUntil("13+4=17")) << session_.Screen();
  // The program never writes what was typed; the terminal echoed it, erasure included.
  EXPECT_NE(session_.Screen().find("12\b \b3+4"), std::string::npos) << session_.Screen();
}

TEST_F(TerminalTest, KillKeyClearsTheLine) {
  StartAndWaitForPrompt();
  session_.Type(std::string("99") + kKillLine + "5*5\r");
  EXPECT_TRUE(session_.ReadUntil("5*5=25")) << session_.Screen();
}

TEST_F(TerminalTest, EndOfFileOnAnEmptyLineEndsWithStatusZero) {
  StartAndWaitForPrompt();
  session_.Type(std::string(1, kEndOfFile));
  const ProgramEnd end = session_.Wait();
  EXPECT_FALSE(end.timedOut);
  EXPECT_EQ(end.exitStatus, 0);
}

TEST_F(TerminalTest, EndOfFileAfterTextEndsThatLineFirst) {
  StartAndWaitForPrompt();
  session_.Type(std::string("6*7") + kEndOfFile);
  session_.Type(std::string(1, kEndOfFile));
  EXPECT_TRUE(session_.ReadUntil("6*7=42")) << session_.Screen();
  EXPECT_EQ(session_.Wait().exitStatus, 0);
}

TEST_F(TerminalTest, InterruptKeyEndsIt) {
  StartAndWaitForPrompt();
  session_.Type(std::string(1, kInterrupt));
  const ProgramEnd end = session_.Wait();
  EXPECT_FALSE(end.timedOut);
  EXPECT_EQ(end.signal, SIGINT);
}

TEST_F(TerminalTest, ATerminalLeftRawIsPutBackInLineMode) {
  StartAndWaitForPrompt({.startRaw = true});
  session_.Type(std::string("1+1") + kErase + "2\r");
  ASSERT_TRUE(session_.ReadUntil("1+2=3")) << session_.Screen();
  EXPECT_NE(session_.Screen().find("1+1\b \b2"), std::string::npos) << session_.Screen();
  // It was left sending no signals, and it still sends none: Ctrl-C is a character.
  session_.Type(std::string(1, kInterrupt) + "\r" + kEndOfFile);
  EXPECT_TRUE(session_.ReadUntil("This is your expression: \x03")) << session_.Screen();
  EXPECT_EQ(session_.Wait().exitStatus, 0);
}

TEST_F(TerminalTest, SteppingWaitsForAKeyAfterEachStep) {
  StartAndWaitForPrompt({.arguments = {"--step"}});
  session_.Type("1+2*3\r");
  ASSERT_TRUE(session_.ReadUntil("expression 1+2*3")) << session_.Screen();
  session_.WaitForQuiet(std::chrono::milliseconds(300));
  EXPECT_EQ(session_.Screen().find("read "), std::string::npos) << session_.Screen();
  session_.Type("\x1b[C");  // an arrow key, one key: the next step, and only that
  ASSERT_TRUE(session_.ReadUntil("read       + *")) << session_.Screen();
  session_.WaitForQuiet(std::chrono::milliseconds(300));
  EXPECT_EQ(session_.Screen().find("strong #1"), std::string::npos) << session_.Screen();
  session_.Type("q6*7\r");  // the rest of this expression at once; the next line typed ahead
  EXPECT_TRUE(session_.ReadUntil("result     7")) << session_.Screen();
  EXPECT_TRUE(session_.ReadUntil("1+2*3=7")) << session_.Screen();
  EXPECT_TRUE(session_.ReadUntil("expression 6*7")) << session_.Screen();
  session_.Type("q");
  EXPECT_TRUE(session_.ReadUntil("6*7=42")) << session_.Screen();
  session_.Type(std::string(1, kEndOfFile));
  EXPECT_EQ(session_.Wait().exitStatus, 0);
}

TEST_F(TerminalTest, SteppingWithStandardErrorInAFileDoesNotWait) {
  // Nobody sees the steps, so nobody can answer them: the trace, without waiting.
  const std::string errors = testing::TempDir() + "/steps";
  StartAndWaitForPrompt(
      {.arguments = {"-c", std::string(INTCALC_PROGRAM) + " --step 2>" + errors}, .shell = true});
  session_.Type("1+2\r");
  EXPECT_TRUE(session_.ReadUntil("1+2=3")) << session_.Screen();
}

TEST_F(TerminalTest, TheLaterOfStepAndTraceCounts) {
  StartAndWaitForPrompt({.arguments = {"--step", "--trace"}});
  session_.Type("1+2\r");
  EXPECT_TRUE(session_.ReadUntil("1+2=3")) << session_.Screen();  // traced, not stepped
  EXPECT_EQ(session_.Screen().find("step       Enter"), std::string::npos);
}

TEST_F(TerminalTest, LongLinesArriveInPieces) {
  StartAndWaitForPrompt();
  session_.Type(std::string(121, '1') + "*2\r");
  ASSERT_TRUE(session_.ReadUntil("This is your expression: *2")) << session_.Screen();
  EXPECT_TRUE(session_.ReadUntil("*2=ERROR")) << session_.Screen();
}

}  // namespace
}  // namespace intcalc
