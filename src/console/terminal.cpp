#include "console/terminal.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <string_view>

#include "console/system_calls.h"
#include "console/terminal_modes.h"
#include "text/line_ends.h"

namespace intcalc {

namespace {

// Shared: all that signal handlers reach, and the only state they reach. The loop writes
// `found` once, before any handler is installed; the flags are written by both sides, one
// whole word at a time. The system-call seam (system_calls.cpp) is the handlers' way out.
struct Shared {
  termios found{};                           // the settings found, which every way out puts back
  volatile sig_atomic_t modeSet = 0;         // the terminal is in a mode of ours now
  volatile sig_atomic_t freshLineAtEnd = 0;  // the line editor's cursor may be mid-row
  volatile sig_atomic_t continued = 0;       // news for the loop: stopped and continued
  volatile sig_atomic_t resized = 0;         // news for the loop: the size changed
};

constinit Shared shared;

// The signals whose default action ends the program, and which the terminal must not
// outlive in a mode of ours.
constexpr std::array kEndingSignals = {
    SIGHUP,  SIGINT,    SIGQUIT, SIGILL,  SIGTRAP,   SIGABRT, SIGBUS,
    SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2, SIGALRM,   SIGTERM, SIGXCPU,
    SIGXFSZ, SIGVTALRM, SIGPROF, SIGSYS,  SIGSTKFLT, SIGPOLL, SIGPWR,
};

bool SetModes(const termios& modes) {
  return Calls().setModes(STDIN_FILENO, TCSANOW, &modes) == 0;
}

// PutBack: the settings found, if a mode of ours is set; safe in a handler.
void PutBack(int signalNumber) {
  if (shared.modeSet == 0) return;
  if (shared.freshLineAtEnd != 0 && signalNumber != SIGINT) {
    // After the interrupt the shell starts a fresh line itself.
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
  (void)Calls().raise(signalNumber);  // stops here; returns once continued
  // cppcheck-suppress unreachableCode ; raise returns from a stop, and from an ignored signal
  Handle(SIGTSTP, StopOnSignal, kOnceAndAtOnce);
  shared.continued = 1;
}

// NoteContinue: whoever stopped the program, the terminal may now be in other settings
// than ours: the loop sets the mode again.
extern "C" void NoteContinue(int /*signalNumber*/) {
  shared.modeSet = 0;
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
  switch (mode) {
    case TerminalMode::kRaw:
      return WithRawMode(WithLineMode(shared.found));
    case TerminalMode::kKey:
      return WithKeyMode(WithLineMode(shared.found));
    case TerminalMode::kLine:
      break;
  }
  return WithLineMode(shared.found);
}

bool InForeground() {
  return Calls().foregroundGroup(STDIN_FILENO) == Calls().processGroup();
}

}  // namespace

// Apply: the wanted mode's settings, unless they are set already.
bool Terminal::Apply() {
  if (shared.modeSet != 0) return true;
  shared.modeSet = 1;  // before the change, so a signal arriving during it still puts back
  if (!SetModes(applied_)) shared.modeSet = 0;
  return shared.modeSet != 0;
}

bool Terminal::SetMode(TerminalMode mode) {
  if (!found_) {
    if (Calls().getModes(STDIN_FILENO, &shared.found) != 0) return false;
    found_ = true;
    InstallSignalHandlers();
  }
  const termios wanted = ModesFor(mode);
  if (shared.modeSet != 0 && !SameModes(wanted, applied_)) shared.modeSet = 0;  // another is set
  applied_ = wanted;
  shared.freshLineAtEnd = mode == TerminalMode::kRaw ? 1 : 0;
  wanted_ = true;
  return Apply();
}

void Terminal::Restore() {
  wanted_ = false;
  if (shared.modeSet == 0) return;
  shared.modeSet = 0;
  (void)SetModes(shared.found);
}

void Terminal::RaiseAsTheTerminalWould(int signalNumber) {
  const bool wanted = wanted_;
  Restore();
  (void)Calls().raise(signalNumber);  // ends or stops the program, unless it is ignored
  // cppcheck-suppress unreachableCode ; raise returns when ignored, and when continued
  wanted_ = wanted;
  if (shared.continued == 0 && wanted_) (void)Apply();  // ignored: go on as before
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
    (void)Apply();
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
  return {named(VINTR, signals), named(VQUIT, signals), named(VSUSP, signals), named(VERASE, true)};
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
