#include "console/terminal.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string_view>

#include "console/system_calls.h"
#include "console/terminal_modes.h"
#include "text/line_ends.h"

namespace intcalc {

namespace {

// Leaving: bytes a handler writes on the way out, made whole before the handlers may see
// them: the loop fills the copy no handler reads, then flips `shown` in one word.
struct Leaving {
  std::array<std::array<char, kMostLeaving>, 2> bytes{};
  std::array<std::size_t, 2> length{};
  std::array<bool, 2> freshLine{};
  volatile sig_atomic_t shown = 0;
};

// Shared: all that signal handlers reach, and the only state they reach. The loop writes
// `found` once, before any handler is installed; the flags are written by both sides, one
// whole word at a time. The system-call seam (system_calls.cpp) is the handlers' way out.
struct Shared {
  termios found{};                      // the settings found, which every way out puts back
  volatile sig_atomic_t modeSet = 0;    // the terminal may be in a mode of ours now
  volatile sig_atomic_t stopped = 0;    // put back for a stop, which a continue ends
  volatile sig_atomic_t continued = 0;  // news for the loop: continued, maybe after a stop
  volatile sig_atomic_t resized = 0;    // news for the loop: the size changed
  Leaving leaving;
};

constinit Shared shared;

// The signals whose default action ends the program, and which the terminal must not
// outlive in a mode of ours.
constexpr std::array kEndingSignals = {
    SIGHUP,  SIGINT,    SIGQUIT, SIGILL,  SIGTRAP,   SIGABRT, SIGBUS,
    SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2, SIGALRM,   SIGTERM, SIGXCPU,
    SIGXFSZ, SIGVTALRM, SIGPROF, SIGSYS,  SIGSTKFLT, SIGPOLL, SIGPWR,
};

// SetModes: the settings made, again after a stop or any signal cut the change short: in
// the background the change stops the program, and a continue brings it back here.
bool SetModes(const termios& modes) {
  while (Calls().setModes(STDIN_FILENO, TCSANOW, &modes) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// PutBack: the settings found, if a mode of ours is set, after the bytes left ready for a
// way out; safe in a handler.
void PutBack(int signalNumber) {
  if (shared.modeSet == 0) return;
  const Leaving& leaving = shared.leaving;
  const auto shown = static_cast<std::size_t>(leaving.shown);
  if (leaving.length[shown] > 0) {
    (void)Calls().write(STDOUT_FILENO, leaving.bytes[shown].data(), leaving.length[shown]);
  }
  if (leaving.freshLine[shown] && signalNumber != SIGINT) {
    const std::string_view lineEnd = kLineEnd;
    (void)Calls().write(STDOUT_FILENO, lineEnd.data(), lineEnd.size());
  }
  (void)SetModes(shared.found);
  shared.modeSet = 0;
}

// A handler that is reset on entry and does not hold its signal back, so the signal it
// raises again takes its default action at once.
constexpr int kOnceAndAtOnce = static_cast<int>(SA_RESETHAND | SA_NODEFER);

extern "C" void LeaveOnSignal(int signalNumber) {
  PutBack(signalNumber);
  (void)Calls().raise(signalNumber);  // with the default action back, this does not return
}

void Handle(int signalNumber, void (*handler)(int), int flags) {
  struct sigaction current {};
  Calls().signalAction(signalNumber, nullptr, &current);
  if (current.sa_handler == SIG_IGN) return;  // what the caller chose to ignore stays so
  struct sigaction wanted {};
  wanted.sa_handler = handler;
  wanted.sa_flags = flags;
  sigemptyset(&wanted.sa_mask);
  Calls().signalAction(signalNumber, &wanted, nullptr);
}

// StopOnSignal: the settings put back while stopped; once continued, the loop takes the
// mode again.
extern "C" void StopOnSignal(int signalNumber) {
  PutBack(signalNumber);
  shared.stopped = 1;
  (void)Calls().raise(signalNumber);  // stops here; returns once continued
  // cppcheck-suppress unreachableCode ; raise returns from a stop, and from an ignored signal
  Handle(SIGTSTP, StopOnSignal, kOnceAndAtOnce);
  shared.continued = 1;
}

// NoteContinue: whoever stopped the program, if anyone did, the loop looks at the settings.
extern "C" void NoteContinue(int /*signalNumber*/) {
  shared.continued = 1;
}

extern "C" void NoteResize(int /*signalNumber*/) {
  shared.resized = 1;
}

void InstallSignalHandlers() {
  for (const int signalNumber : kEndingSignals)
    Handle(signalNumber, LeaveOnSignal, kOnceAndAtOnce);
  for (int signalNumber = SIGRTMIN; signalNumber <= SIGRTMAX; ++signalNumber) {
    Handle(signalNumber, LeaveOnSignal, kOnceAndAtOnce);
  }
  Handle(SIGTSTP, StopOnSignal, kOnceAndAtOnce);
  // No restart: a read in progress returns, for the loop to take the news.
  Handle(SIGCONT, NoteContinue, 0);
  Handle(SIGWINCH, NoteResize, 0);
}

termios ModesFor(TerminalMode mode) {
  return mode == TerminalMode::kRaw ? WithRawMode(WithLineMode(shared.found))
                                    : WithLineMode(shared.found);
}

bool InForeground() {
  return Calls().foregroundGroup(STDIN_FILENO) == Calls().processGroup();
}

// StillOurs: whether the terminal's settings are still those applied: after a continue
// with no stop before it, they are; after a stop, whoever took the terminal meanwhile put
// back settings of their own.
bool StillOurs(const termios& applied) {
  termios now{};
  return shared.stopped == 0 && shared.modeSet != 0 && Calls().getModes(STDIN_FILENO, &now) == 0 &&
         SameModes(now, applied);
}

}  // namespace

// Apply: the wanted mode's settings, unless they are set already; `again` when they may
// have been changed behind our back.
bool Terminal::Apply(bool again) {
  if (shared.modeSet != 0 && !again) return true;
  shared.modeSet = 1;  // before the change, so a signal arriving during it still puts back
  if (!SetModes(applied_)) shared.modeSet = 0;
  shared.stopped = 0;
  return shared.modeSet != 0;
}

bool Terminal::SetMode(TerminalMode mode) {
  if (!found_) {
    if (Calls().getModes(STDIN_FILENO, &shared.found) != 0) return false;
    found_ = true;
    InstallSignalHandlers();
  }
  const termios wanted = ModesFor(mode);
  const bool another = shared.modeSet != 0 && !SameModes(wanted, applied_);
  applied_ = wanted;
  wanted_ = true;
  return Apply(another);
}

void Terminal::Restore() {
  wanted_ = false;
  SetLeaving({}, false);
  if (shared.modeSet == 0) return;
  shared.modeSet = 0;
  (void)SetModes(shared.found);
}

void Terminal::RaiseAsTheTerminalWould(int signalNumber) {
  const bool wanted = wanted_;
  Restore();
  // To the whole job, as the key would have sent it: a script that runs the program stops
  // or ends with it. This process is one of the job's, and takes the signal before the
  // call returns; without a foreground job to name, the signal is its own.
  const pid_t job = Calls().foregroundGroup(STDIN_FILENO);
  if (job <= 0 || Calls().killGroup(job, signalNumber) != 0) (void)Calls().raise(signalNumber);
  // cppcheck-suppress unreachableCode ; the signal returns when ignored, and when continued
  wanted_ = wanted;
  if (shared.continued == 0 && wanted_) (void)Apply(false);  // ignored: go on as before
}

SignalNews Terminal::TakeNews() {
  if (shared.continued != 0) {
    shared.continued = 0;
    if (!wanted_) return SignalNews::kNone;
    if (!InForeground()) {
      // Nothing is touched; the program stops as a read in the background stops it, and
      // the continue that brings it back is news of its own.
      (void)Calls().raise(SIGTTIN);
      return SignalNews::kNone;
    }
    if (StillOurs(applied_)) return SignalNews::kNone;
    (void)Apply(true);
    return SignalNews::kContinued;
  }
  if (shared.resized != 0) {
    shared.resized = 0;
    return SignalNews::kResized;
  }
  return SignalNews::kNone;
}

TerminalKeys Terminal::KeysFound() {
  const bool signals = (shared.found.c_lflag & ISIG) != 0;
  const auto named = [](int index, bool on) {
    const cc_t key = shared.found.c_cc[index];
    return on && key != _POSIX_VDISABLE ? int{key} : TerminalKeys::kNoKey;
  };
  return {named(VINTR, signals), named(VQUIT, signals), named(VSUSP, signals), named(VERASE, true),
          named(VWERASE, true),  named(VKILL, true),    named(VEOF, true)};
}

bool Terminal::EchoesControls() {
  return (shared.found.c_lflag & ECHO) != 0 && (shared.found.c_lflag & ECHOCTL) != 0;
}

void Terminal::SetLeaving(std::string_view bytes, bool freshLine) {
  Leaving& leaving = shared.leaving;
  const std::size_t next = 1 - static_cast<std::size_t>(leaving.shown);
  const std::size_t length = std::min(bytes.size(), kMostLeaving);
  std::copy_n(bytes.data(), length, leaving.bytes[next].data());
  leaving.length[next] = length;
  leaving.freshLine[next] = freshLine;
  leaving.shown = static_cast<sig_atomic_t>(next);
}

void EndBySignal(int signalNumber) {
  PutBack(signalNumber);
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  (void)Calls().signalAction(signalNumber, &byDefault, nullptr);
  sigset_t only{};
  sigemptyset(&only);
  sigaddset(&only, signalNumber);
  (void)Calls().blockSignals(SIG_UNBLOCK, &only, nullptr);
  (void)Calls().raise(signalNumber);
  // cppcheck-suppress unreachableCode ; should the signal not end it, the status says which
  Calls().exit(128 + signalNumber);
}

bool Terminal::NewsWaiting() {
  return shared.continued != 0 || shared.resized != 0;
}

}  // namespace intcalc
