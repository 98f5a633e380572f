// The line editor on a pseudo-terminal that understands cursor movement: keys typed as a
// person does, and the terminal's mode put back however the program ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <termios.h>

#include <string>

#include "support/case_name.h"
#include "support/pty_session.h"

namespace intcalc {
namespace {

constexpr std::string_view kPrompt = "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]";
const std::string kUp = "\x1b[A";
const std::string kDown = "\x1b[B";
const std::string kRight = "\x1b[C";
const std::string kLeft = "\x1b[D";
const std::string kHome = "\x1b[H";
const std::string kEnd = "\x1b[F";
const std::string kDelete = "\x1b[3~";
constexpr char kCtrlA = '\x01';
constexpr char kCtrlC = '\x03';
constexpr char kCtrlD = '\x04';
constexpr char kCtrlE = '\x05';
constexpr char kCtrlK = '\x0b';
constexpr char kCtrlU = '\x15';
constexpr char kCtrlW = '\x17';
constexpr char kBackspace = '\x7f';

std::string Keys(std::initializer_list<std::string_view> parts) {
  std::string keys;
  for (const std::string_view part : parts)
    keys += part;
  return keys;
}

std::string Key(char key) {
  return std::string(1, key);
}

class LineEditorTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session_.Start(INTCALC_PROGRAM, {.term = "xterm"}));
    ASSERT_TRUE(session_.ReadUntil(kPrompt)) << session_.Screen();
  }

  // Enter: types a line and Enter, and waits for the echo line it must give.
  void Enter(const std::string& keys, std::string_view echo) {
    session_.Type(keys + "\r");
    EXPECT_TRUE(session_.ReadUntil(echo)) << "typing \"" << keys << "\"\n" << session_.Screen();
    ASSERT_TRUE(session_.ReadUntil(kPrompt)) << session_.Screen();
  }

  void ExpectLineModeBack() const {
    const unsigned modes = session_.LocalModes();
    EXPECT_EQ(modes & (ICANON | ECHO | ISIG), static_cast<unsigned>(ICANON | ECHO | ISIG));
    EXPECT_EQ(modes, session_.InitialLocalModes());
  }

  PtySession session_;
};

TEST_F(LineEditorTest, UpRecallsTheLineBefore) {
  Enter("20*21", "20*21=420");
  Enter(kUp + "+1", "20*21+1=421");
}

TEST_F(LineEditorTest, UpAndDownWalkTheHistory) {
  Enter("1+1", "1+1=2");
  Enter("2+2", "2+2=4");
  Enter(kUp + kUp + "0", "1+10=11");
  Enter(Keys({kUp, kUp, kUp, kDown}), "2+2=4");  // the oldest, then one newer
}

TEST_F(LineEditorTest, DownReturnsToTheLineBeingTyped) {
  Enter("1+1", "1+1=2");
  Enter(Keys({"3*3", kUp, kDown}), "3*3=9");
}

TEST_F(LineEditorTest, LeftAndInsertInTheMiddle) {
  Enter(Keys({"1+3", kLeft, kLeft, "2"}), "12+3=15");
}

TEST_F(LineEditorTest, HomeEndAndRight) {
  Enter(Keys({"2+3", kHome, "1", kEnd, "0"}), "12+30=42");
  Enter(Keys({"2+3", Key(kCtrlA), kRight, "0", Key(kCtrlE), "1"}), "20+31=51");
}

TEST_F(LineEditorTest, BackspaceAndDelete) {
  Enter(Keys({"9+99", Key(kBackspace), Key(kBackspace), "1"}), "9+1=10");
  Enter(Keys({"x5*5", kHome, kDelete}), "5*5=25");
}

TEST_F(LineEditorTest, KillKeys) {
  Enter(Keys({"99+1", kHome, Key(kCtrlK), "5*5"}), "5*5=25");
  Enter(Keys({"7+", Key(kCtrlU), "3*3"}), "3*3=9");
  Enter(Keys({"1+22 33", Key(kCtrlW)}), "1+22=23");
}

TEST_F(LineEditorTest, ALineWiderThanTheTerminalScrolls) {
  // 150 characters on an 80-column terminal; the line still arrives in 121-byte pieces.
  std::string wide = "1";
  while (wide.size() < 149)
    wide += "+1";
  Enter(wide, std::string(wide.substr(0, 121)) + "=61");
  EXPECT_TRUE(session_.ReadUntil("=14")) << session_.Screen();  // the other 28: +1 fourteen times
}

TEST_F(LineEditorTest, EndOfFileOnAnEmptyLineEndsAndPutsTheTerminalBack) {
  session_.Type(Key(kCtrlD));
  const ProgramEnd end = session_.Wait();
  EXPECT_EQ(end.exitStatus, 0) << session_.Screen();
  ExpectLineModeBack();
}

TEST_F(LineEditorTest, EndOfFileKeyDeletesWithinALine) {
  Enter(Keys({"12+3", kHome, Key(kCtrlD)}), "2+3=5");
}

TEST_F(LineEditorTest, InterruptKeyEndsItAndPutsTheTerminalBack) {
  session_.Type("1+");
  session_.Type(Key(kCtrlC));
  const ProgramEnd end = session_.Wait();
  EXPECT_EQ(end.signal, SIGINT);
  ExpectLineModeBack();
}

TEST(LineEditorResultsTest, EditsWithoutThePromptAndAnswersWithTheResult) {
  PtySession session;
  ASSERT_TRUE(session.Start(INTCALC_PROGRAM, {.term = "xterm", .arguments = {"--results"}}));
  ASSERT_TRUE(session.ReadUntil("\x1b[0K")) << session.Screen();  // the editor has drawn
  session.Type(Keys({"6*8", Key(kBackspace), "7\r"}));
  EXPECT_TRUE(session.ReadUntil("42\r\n")) << session.Screen();
  EXPECT_EQ(session.Screen().find("Type an expression"), std::string::npos);
  session.Type(Key(kCtrlD));
  EXPECT_EQ(session.Wait().exitStatus, 0) << session.Screen();
}

struct SignalCase {
  std::string name;
  int signalNumber;
};

class LineEditorSignalTest : public LineEditorTest,
                             public testing::WithParamInterface<SignalCase> {};

TEST_P(LineEditorSignalTest, PutsTheTerminalBack) {
  session_.Type("1+");
  ASSERT_TRUE(session_.ReadUntil("1+")) << session_.Screen();
  session_.Signal(GetParam().signalNumber);
  const ProgramEnd end = session_.Wait();
  EXPECT_EQ(end.signal, GetParam().signalNumber) << session_.Screen();
  ExpectLineModeBack();
}

INSTANTIATE_TEST_SUITE_P(Signals, LineEditorSignalTest,
                         testing::ValuesIn<SignalCase>({
                             {"Terminate", SIGTERM},
                             {"HangUp", SIGHUP},
                             {"Interrupt", SIGINT},
                             {"Quit", SIGQUIT},
                         }),
                         CaseName());

}  // namespace
}  // namespace intcalc
