// Every way out of intcalc at a terminal, as a shell's foreground job: each signal that
// ends it, the interrupt key, a stop from the keyboard or from another process and the
// continue after it, while a line is edited (TERM=xterm), read in the terminal's own line
// mode (TERM=dumb, from a terminal left raw), or while --step waits for a key. However it
// goes, the terminal's settings afterwards are those from before it started, a stop leaves
// them so until the program continues, and an end by signal N is an end by N (128 + N to
// the shell).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <termios.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/case_name.h"
#include "support/pty_session.h"

namespace intcalc {
namespace {

constexpr std::string_view kPrompt = "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]";
constexpr std::string_view kDrawn = "\x1b[0K";  // what ends every drawing of the line
constexpr std::string_view kStepHint = "step       Enter: the next step";
const std::string kAnswered = "\x1b[2m  =3\x1b[22m\x1b[0K";  // 1+2, and its answer after it

enum class Where : unsigned char {
  kEditing,     // TERM=xterm: the line editor's raw mode
  kLineMode,    // TERM=dumb: the terminal's own line mode, set by intcalc
  kKeyWait,     // --step at TERM=xterm, waiting for a key after the first step
  kDumbKeyWait  // --step at TERM=dumb
};

enum class Way : unsigned char {
  kSignal,     // another process sends `number`
  kKey,        // the person types `keys`, which end it by signal `number`
  kStopKey,    // Ctrl-Z, then fg, then the ordinary end
  kStopSignal  // SIGSTOP (or `number`) from another process, then fg, then the ordinary end
};

struct WayOut {
  std::string name;
  Where where;
  Way way;
  int number = 0;
  std::string keys = {};
  bool backgroundFirst = false;    // after the stop, bg before fg
  int interruptKey = -1;           // the terminal's interrupt key, when not Ctrl-C
  bool fromTheBackground = false;  // started with &, stopped by its first change, then fg
  bool inAScript = false;          // run by sh -c 'intcalc; echo went on', which goes with it
  bool noSignals = false;          // stty -isig
};

void PrintTo(const WayOut& way, std::ostream* stream) {
  *stream << way.name;
}

class WayOutTest : public testing::TestWithParam<WayOut> {
 protected:
  // StartWhere: intcalc as a job, waiting for what the case's place waits for.
  void StartWhere(const WayOut& way) {
    const Where where = way.where;
    const rlimit noCore{0, 0};  // a quit dumps no core here
    setrlimit(RLIMIT_CORE, &noCore);
    PtySession::Options options{.asJob = true,
                                .interruptKey = way.interruptKey,
                                .noSignals = way.noSignals,
                                .inBackground = way.fromTheBackground};
    options.term = where == Where::kEditing || where == Where::kKeyWait ? "xterm" : "dumb";
    if (where == Where::kKeyWait || where == Where::kDumbKeyWait) options.arguments = {"--step"};
    std::string program = INTCALC_PROGRAM;
    if (way.inAScript) {
      options.arguments = {"-c", program + "; echo went on"};
      program = "/bin/sh";
    }
    ASSERT_TRUE(session_.Start(program, options));
    if (way.fromTheBackground) {
      ASSERT_EQ(session_.WaitForJob().stoppedBy, SIGTTOU) << session_.Screen();
      session_.Continue(true);  // where it simply starts
    }
    ASSERT_TRUE(session_.ReadUntil(kPrompt)) << session_.Screen();
    switch (where) {
      case Where::kEditing:
        ASSERT_TRUE(session_.ReadUntil(kDrawn)) << session_.Screen();
        session_.Type("1+2");
        ASSERT_TRUE(session_.ReadUntil(kAnswered)) << session_.Screen();
        break;
      case Where::kLineMode:
        session_.WaitForQuiet(std::chrono::milliseconds(200));
        break;
      case Where::kKeyWait:
      case Where::kDumbKeyWait:
        if (where == Where::kKeyWait) {
          ASSERT_TRUE(session_.ReadUntil(kDrawn)) << session_.Screen();
        }
        session_.Type("1+2\r");
        ASSERT_TRUE(session_.ReadUntil(kStepHint)) << session_.Screen();
        session_.WaitForQuiet(std::chrono::milliseconds(200));
        break;
    }
  }

  // ExpectModeTaken: after a continue in the foreground, the program's own mode again.
  void ExpectModeTaken(Where where) {
    if (where == Where::kLineMode) {
      EXPECT_NE(session_.Modes().c_lflag & ICANON, 0U);
    } else {
      EXPECT_EQ(session_.Modes().c_lflag & (ECHO | ICANON), 0U) << "the mode was not taken back";
      EXPECT_EQ(session_.Modes().c_cc[VMIN], 1);  // a read returns with each key, at once
      EXPECT_EQ(session_.Modes().c_cc[VTIME], 0);
    }
  }

  // EndOrdinarily: the ordinary way out from where it waits: q for the rest of a step, the
  // line emptied, and the end of input.
  void EndOrdinarily(Where where) {
    if (where == Where::kKeyWait || where == Where::kDumbKeyWait) {
      session_.Type("q");
      ASSERT_TRUE(session_.ReadUntil("1+2=3")) << session_.Screen();
    }
    session_.Type(where == Where::kEditing ? "\x15\x04" : "\x04");
  }

  PtySession session_;
};

TEST_P(WayOutTest, LeavesTheTerminalAsItFoundIt) {
  const WayOut& way = GetParam();
  StartWhere(way);
  if (HasFatalFailure()) return;
  const termios before = session_.InitialModes();
  int endedBy = 0;
  switch (way.way) {
    case Way::kSignal:
      session_.Signal(way.number);
      endedBy = way.number;
      break;
    case Way::kKey:
      for (const char key : way.keys) {  // one at a time, as a person types them
        session_.Type({&key, 1});
        session_.WaitForQuiet(std::chrono::milliseconds(100));
      }
      endedBy = way.number;
      break;
    case Way::kStopKey:
    case Way::kStopSignal: {
      if (way.way == Way::kStopKey) {
        session_.Type("\x1a");
      } else {
        session_.Signal(way.number != 0 ? way.number : SIGSTOP);
      }
      const ProgramEnd stop = session_.WaitForJob();
      const int stopSignal = way.way == Way::kStopKey || way.number == SIGTSTP ? SIGTSTP : SIGSTOP;
      ASSERT_EQ(stop.stoppedBy, stopSignal) << session_.Screen();
      EXPECT_TRUE(SameModes(session_.Modes(), before)) << "stopped in a mode of its own";
      if (way.backgroundFirst) {
        // In the background it touches nothing, and its next read stops it again.
        session_.Continue(false);
        ASSERT_EQ(session_.WaitForJob().stoppedBy, SIGTTIN) << session_.Screen();
        EXPECT_TRUE(SameModes(session_.Modes(), before)) << "the background took the terminal";
      }
      session_.Continue(true);
      if (way.where == Where::kEditing) {
        // The prompt again on a row of its own, and the line below it.
        EXPECT_TRUE(session_.ReadUntil(std::string(kPrompt) + "\r\r\n\r1+2" + kAnswered))
            << session_.Screen();
      } else if (way.where != Where::kLineMode) {
        EXPECT_TRUE(session_.ReadUntil("expression 1+2")) << session_.Screen();  // its row again
      }
      session_.WaitForQuiet(std::chrono::milliseconds(200));
      ExpectModeTaken(way.where);
      EndOrdinarily(way.where);
      break;
    }
  }
  const ProgramEnd end = session_.WaitForJob();
  ASSERT_FALSE(end.timedOut) << session_.Screen();
  EXPECT_EQ(end.signal, endedBy) << session_.Screen();
  if (endedBy == 0) {
    EXPECT_EQ(end.exitStatus, 0) << session_.Screen();
  }
  EXPECT_TRUE(SameModes(session_.Modes(), before)) << "the terminal was left changed";
  const bool wentOn = session_.Screen().find("went on") != std::string::npos;
  EXPECT_EQ(wentOn, way.inAScript && endedBy == 0);  // a script goes on after an ordinary end
  if (way.where == Where::kEditing) {
    // The answer is gone from its row however the program went: erased, or drawn over.
    const std::string& screen = session_.Screen();
    const std::size_t drawn = screen.rfind(kAnswered) + kAnswered.size();
    EXPECT_NE(screen.substr(drawn, screen.find('\n', drawn) - drawn).find(kDrawn),
              std::string::npos)
        << screen;
  }
  if (way.where == Where::kEditing && way.way == Way::kSignal) {
    // A fresh line for the shell; after the interrupt the shell makes it itself.
    EXPECT_EQ(session_.Screen().ends_with("\r\n"), way.number != SIGINT) << session_.Screen();
  }
}

// Every signal whose default action ends the program, each from every place it waits.
std::vector<WayOut> WaysOut() {
  const std::vector<std::pair<std::string, int>> signals = {
      {"Interrupt", SIGINT},
      {"Terminate", SIGTERM},
      {"HangUp", SIGHUP},
      {"Quit", SIGQUIT},
      {"User1", SIGUSR1},
      {"User2", SIGUSR2},
      {"Alarm", SIGALRM},
      {"VirtualAlarm", SIGVTALRM},
      {"Profile", SIGPROF},
      {"CpuLimit", SIGXCPU},
      {"AbortAsAFailedCheck", SIGABRT},
      {"RealTime", SIGRTMIN},
  };
  const std::vector<std::pair<std::string, Where>> places = {
      {"Editing", Where::kEditing},
      {"InLineMode", Where::kLineMode},
      {"WaitingForAKey", Where::kKeyWait},
      {"WaitingForAKeyAtADumbTerminal", Where::kDumbKeyWait},
  };
  std::vector<WayOut> ways;
  for (const auto& [place, where] : places) {
    for (const auto& [name, number] : signals) {
      ways.push_back({name + "While" + place, where, Way::kSignal, number});
    }
    ways.push_back({"StopKeyWhile" + place, where, Way::kStopKey});
    ways.push_back({"StopSignalWhile" + place, where, Way::kStopSignal});
  }
  ways.push_back({"InterruptKeyWhileEditing", Where::kEditing, Way::kKey, SIGINT, "\x03"});
  ways.push_back({"InterruptKeyWhileWaitingForAKey", Where::kKeyWait, Way::kKey, SIGINT, "\x03"});
  ways.push_back({"EndOfInputWhileEditing", Where::kEditing, Way::kKey, 0, "\x15\x04"});
  ways.push_back({"QuitKeyWhileEditing", Where::kEditing, Way::kKey, SIGQUIT, "\x1c"});
  // stty intr ^G: Ctrl-G interrupts, and Ctrl-C is no key of the terminal's.
  ways.push_back({"ChangedInterruptKey", Where::kEditing, Way::kKey, SIGINT, "\x07", false, 7});
  ways.push_back(
      {"FormerInterruptKeyWhileEditing", Where::kEditing, Way::kKey, 0, "\x03\x15\x04", false, 7});
  ways.push_back(
      {"StopSignalThenBackgroundThenForeground", Where::kEditing, Way::kStopSignal, 0, "", true});
  ways.push_back({"TerminalStopSignalWhileEditing", Where::kEditing, Way::kStopSignal, SIGTSTP});
  ways.push_back(
      {"StopKeyThenBackgroundThenForeground", Where::kKeyWait, Way::kStopKey, 0, "", true});
  // A job started in the background simply starts when brought to the foreground.
  for (const auto& [place, where] : places) {
    ways.push_back({.name = "EndAfterStartingInTheBackground" + place,
                    .where = where,
                    .way = Way::kSignal,
                    .number = SIGTERM,
                    .fromTheBackground = true});
  }
  // The signal keys reach the whole job, as the terminal's own would.
  ways.push_back({.name = "StopKeyInAScript",
                  .where = Where::kEditing,
                  .way = Way::kStopKey,
                  .inAScript = true});
  ways.push_back({.name = "InterruptKeyInAScript",
                  .where = Where::kEditing,
                  .way = Way::kKey,
                  .number = SIGINT,
                  .keys = "\x03",
                  .inAScript = true});
  // Without signals, Ctrl-C is a key: the next step, or a character of the line.
  for (const auto& [place, where, keys] :
       {std::tuple{"WaitingForAKey", Where::kKeyWait, "\x03q\x04"},
        {"WaitingForAKeyAtADumbTerminal", Where::kDumbKeyWait, "\x03q\x04"},
        {"InLineMode", Where::kLineMode, "\x03\r\x04"}}) {
    ways.push_back({.name = std::string("InterruptKeyWithoutSignalsWhile") + place,
                    .where = where,
                    .way = Way::kKey,
                    .keys = keys,
                    .noSignals = true});
  }
  return ways;
}

INSTANTIATE_TEST_SUITE_P(Terminal, WayOutTest, testing::ValuesIn(WaysOut()), CaseName());

}  // namespace
}  // namespace intcalc
