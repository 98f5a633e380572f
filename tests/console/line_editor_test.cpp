// The line editor on a pseudo-terminal, for what needs a real terminal: raw mode put back
// however the program ends, signals, the terminal's size, and the keys that act on the
// terminal itself. What the keys do to the line is tested in-process (line_editing_test).
#include <gtest/gtest.h>
#include <signal.h>
#include <termios.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "support/case_name.h"
#include "support/pty_session.h"

namespace intcalc {
namespace {

constexpr std::string_view kPrompt = "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]";
constexpr std::string_view kDrawn = "\x1b[0K";  // what ends every drawing of the line
constexpr char kCtrlC = '\x03';
constexpr char kCtrlD = '\x04';
constexpr char kCtrlL = '\x0c';
constexpr char kBackspace = '\x7f';

std::string Key(char key) {
  return std::string(1, key);
}

class LineEditorTest : public testing::Test {
 protected:
  void Start(const PtySession::Options& options = {.term = "xterm"}) {
    ASSERT_TRUE(session_.Start(INTCALC_PROGRAM, options));
    ASSERT_TRUE(session_.ReadUntil(kPrompt)) << session_.Screen();
    ASSERT_TRUE(session_.ReadUntil(kDrawn)) << session_.Screen();  // raw, and ready for keys
  }

  void ExpectLineModeBack() const {
    const unsigned modes = session_.LocalModes();
    EXPECT_EQ(modes & (ICANON | ECHO | ISIG), static_cast<unsigned>(ICANON | ECHO | ISIG));
    EXPECT_EQ(modes, session_.InitialLocalModes());
  }

  PtySession session_;
};

TEST_F(LineEditorTest, ALineLongerThanOneReadRingsTheBellAndStaysOneExpression) {
  Start();
  std::string typed = "1";
  while (typed.size() < 141)
    typed += "+1";
  session_.Type(typed + "\r");
  EXPECT_TRUE(session_.ReadUntil("\a")) << session_.Screen();
  EXPECT_TRUE(session_.ReadUntil("\n" + typed.substr(0, 119) + "=60")) << session_.Screen();
  EXPECT_TRUE(session_.ReadUntil(kPrompt)) << session_.Screen();
  session_.WaitForQuiet(std::chrono::milliseconds(200));
  EXPECT_EQ(session_.Screen().find("This is your expression: +1"), std::string::npos);
}

TEST_F(LineEditorTest, AMultiByteCharacterErasesWhole) {
  Start();
  session_.Type("2\xc3\x97" + Key(kBackspace) + "*3\r");
  EXPECT_TRUE(session_.ReadUntil("2*3=6")) << session_.Screen();
}

TEST(LineEditorHistoryTest, SessionsSideBySideKeepEachOthersLines) {
  const std::string history = testing::TempDir() + "intcalc_sessions_history";
  const PtySession::Options options{.term = "xterm", .arguments = {"-r"}, .history = history};
  PtySession first, second, next;
  ASSERT_TRUE(first.Start(INTCALC_PROGRAM, options) && second.Start(INTCALC_PROGRAM, options));
  first.Type("1+1\r");
  ASSERT_TRUE(first.ReadUntil("\n2\r\n")) << first.Screen();
  second.Type("2+2\r");
  ASSERT_TRUE(second.ReadUntil("\n4\r\n")) << second.Screen();
  first.Type("3+3\r" + Key(kCtrlD));  // ending in turn, the first first
  EXPECT_EQ(first.Wait().exitStatus, 0);
  second.Type(Key(kCtrlD));
  EXPECT_EQ(second.Wait().exitStatus, 0);
  ASSERT_TRUE(next.Start(INTCALC_PROGRAM, options));
  // Up: 3+3, 2+2 behind, 1+1 behind both (earlier runs' are older); 7+7 keeps a rerun's 1+1 new.
  next.Type("\x1b[A\r\x1b[A\x1b[A\r\x1b[A\x1b[A\x1b[A\x1b[A\r7+7\r");
  EXPECT_TRUE(next.ReadUntil("\n6\r\n") && next.ReadUntil("\n4\r\n") && next.ReadUntil("\n2\r\n"));
}

TEST_F(LineEditorTest, CtrlLClearsTheScreenAndKeepsTheLine) {
  Start();
  session_.Type("12" + Key(kCtrlL));
  // The terminal turns the prompt's LF into CR LF: output processing stays on.
  EXPECT_TRUE(session_.ReadUntil("\x1b[H\x1b[2J" + std::string(kPrompt) + "\r\r\n\r12\x1b[0K"))
      << session_.Screen();
  session_.Type("3\r");
  EXPECT_TRUE(session_.ReadUntil("123=123")) << session_.Screen();
}

TEST_F(LineEditorTest, NarrowingRedrawsOverTheRowsTheLineTook) {
  Start({.term = "xterm", .asJob = true});
  session_.Type(std::string(60, '7'));
  ASSERT_TRUE(session_.ReadUntil("\x1b[60C")) << session_.Screen();
  session_.Type("\x1a");
  ASSERT_EQ(session_.WaitForJob().stoppedBy, SIGTSTP) << session_.Screen();
  session_.Resize(24, 40);  // while stopped: only the continue can tell it
  session_.Continue(true);
  ASSERT_TRUE(session_.ReadUntil("\r<" + std::string(37, '7') + "\x1b[0K")) << session_.Screen();
  session_.WaitForQuiet(std::chrono::milliseconds(200));  // waiting for keys again
  session_.Resize(24, 20);
  // The cursor was at column 38: at 20 columns, one row below the line's start.
  EXPECT_TRUE(session_.ReadUntil("\x1b[1A\r\x1b[J\r<" + std::string(17, '7') + "\x1b[0K"))
      << session_.Screen();
}

TEST_F(LineEditorTest, GrowingShowsAsMuchOfTheLineAsNowFits) {
  Start({.term = "xterm", .columns = 20});
  session_.Type(std::string(60, '7'));
  ASSERT_TRUE(session_.ReadUntil("\r<" + std::string(17, '7') + "\x1b[0K")) << session_.Screen();
  session_.Resize(24, 100);  // at once, before any key: the whole line, the cursor after it
  // Sixty digits are too many: the answer the line would get shows, dim, now it fits.
  EXPECT_TRUE(
      session_.ReadUntil("\r" + std::string(60, '7') + "\x1b[2m  =ERROR\x1b[22m\x1b[0K\r\x1b[60C"))
      << session_.Screen();
}

TEST_F(LineEditorTest, AKeyMayComeInPartsOverASlowLink) {
  Start();
  session_.Type("12\x1b[");  // Left, its last byte 150 ms late
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  session_.Type("D3+4\x1b");  // and Alt-B likewise: back to the start of the word
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  session_.Type("b0\r");
  EXPECT_TRUE(session_.ReadUntil("13+042=55")) << session_.Screen();
}

TEST_F(LineEditorTest, AnIgnoredInterruptDropsTheLine) {
  Start({.term = "xterm", .ignoreInterrupt = true});
  session_.Type("12");
  ASSERT_TRUE(session_.ReadUntil("\r12" + std::string(kDrawn))) << session_.Screen();
  session_.Type(Key(kCtrlC));
  // Shown as the terminal shows it, and dropped: the empty line on a fresh row.
  ASSERT_TRUE(session_.ReadUntil("^C\r\r\n\r" + std::string(kDrawn))) << session_.Screen();
  EXPECT_EQ(session_.LocalModes() & (ICANON | ECHO), 0U) << "the editor's mode not taken back";
  session_.Type("3\r");
  EXPECT_TRUE(session_.ReadUntil("\n3=3")) << session_.Screen();
}

TEST_F(LineEditorTest, AContinueWithNoStopBeforeItChangesNothing) {
  Start();
  session_.Type("12");
  ASSERT_TRUE(session_.ReadUntil("\r12" + std::string(kDrawn))) << session_.Screen();
  session_.Signal(SIGCONT);
  session_.WaitForQuiet(std::chrono::milliseconds(200));
  EXPECT_EQ(session_.Screen().find(kPrompt), session_.Screen().rfind(kPrompt)) << session_.Screen();
}

TEST_F(LineEditorTest, APasteShowsWhatTypingShows) {
  Start();
  std::string lines;
  for (int line = 1; line <= 3000; ++line)
    lines += std::to_string(line) + "*2\r";
  session_.Type(lines);
  ASSERT_TRUE(session_.ReadUntil("3000*2=6000")) << session_.Screen();
  // The terminal echoed none of it: its echo of a line would end "*2\r\n".
  EXPECT_EQ(session_.Screen().find("*2\r\n"), std::string::npos);
}

TEST(LineEditorResultsTest, EditsWithoutThePromptAndAnswersWithTheResult) {
  PtySession session;
  setenv("NO_COLOR", "1", 1);
  ASSERT_TRUE(session.Start(INTCALC_PROGRAM, {.term = "xterm", .arguments = {"--results"}}));
  unsetenv("NO_COLOR");
  ASSERT_TRUE(session.ReadUntil(kDrawn)) << session.Screen();
  session.WaitForQuiet(std::chrono::milliseconds(200));
  EXPECT_EQ(session.Screen(), "\r" + std::string(kDrawn) + "\r");  // the empty line, once
  session.Type("6*8" + Key(kBackspace) + "7");
  // The answer it would get as the line is edited, with no attribute under NO_COLOR.
  EXPECT_TRUE(session.ReadUntil("6*7  =42\x1b[0K")) << session.Screen();
  session.Type("\r");
  // The line end after the line (its CR LF, as the terminal shows it), then the answer.
  EXPECT_TRUE(session.ReadUntil("6*7\x1b[0K\r\x1b[3C\r\r\n42\r\n")) << session.Screen();
  EXPECT_EQ(session.Screen().find("Type an expression"), std::string::npos);
  session.Type(Key(kCtrlD));
  EXPECT_EQ(session.Wait().exitStatus, 0) << session.Screen();
}

}  // namespace
}  // namespace intcalc
