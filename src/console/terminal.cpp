#include "console/terminal.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <string_view>

#include "console/system_calls.h"
#include "console/terminal_modes.h"
#include "text/limits.h"

namespace intcalc {

namespace {

// What signal handlers reach: the settings found and the mode set in their place, whether
// that mode is set now, and what a signal asks the reading loop to do. Nothing else.
constinit termios foundModes{};
constinit termios appliedModes{};
volatile sig_atomic_t modeSet = 0;         // the terminal is in appliedModes
volatile sig_atomic_t freshLineAtEnd = 0;  // the line editor's cursor may be mid-row
volatile sig_atomic_t continued = 0;
volatile sig_atomic_t resized = 0;

// What only the program's own loop reaches.
constinit bool modesFound = false;
constinit bool modeWanted = false;

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
  if (modeSet == 0) return;
  if (freshLineAtEnd != 0 && signalNumber != SIGINT) {
    // After the interrupt the shell starts a fresh line itself.
    const std::string_view lineEnd = kLineEnd;
    (void)Calls().write(STDOUT_FILENO, lineEnd.data(), lineEnd.size());
  }
  (void)SetModes(foundModes);
  modeSet = 0;
}

// A handler that is reset on entry and does not hold its signal back, so the signal it
// raises again takes its default action at once.
constexpr int kOnceAndAtOnce = static_cast<int>(SA_RESETHAND | SA_NODEFER);

extern "C" void LeaveOnSignal(int signalNumber) {
  PutBack(signalNumber);
  (void)raise(signalNumber);  // with the default action back, this does not return
}

void Handle(int signalNumber, void (*handler)(int), int flags) {
  struct sigaction current {};
  sigaction(signalNumber, nullptr, &current);
  if (current.sa_handler == SIG_IGN) return;  // what the caller chose to ignore stays so
  struct sigaction wanted {};
  wanted.sa_handler = handler;
  wanted.sa_flags = flags;
  sigemptyset(&wanted.sa_mask);
  sigaction(signalNumber, &wanted, nullptr);
}

// StopOnSignal: the settings put back while stopped; once continued, the loop takes the
// mode again.
extern "C" void StopOnSignal(int signalNumber) {
  PutBack(signalNumber);
  (void)raise(signalNumber);  // stops here; returns once continued
  // cppcheck-suppress unreachableCode ; raise returns from a stop, and from an ignored signal
  Handle(SIGTSTP, StopOnSignal, kOnceAndAtOnce);
  continued = 1;
}

// NoteContinue: whoever stopped the program, the terminal may now be in other settings
// than ours: the loop sets the mode again.
extern "C" void NoteContinue(int /*signalNumber*/) {
  modeSet = 0;
  continued = 1;
}

extern "C" void NoteResize(int /*signalNumber*/) {
  resized = 1;
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
      return WithRawMode(WithLineMode(foundModes));
    case TerminalMode::kKey:
      return WithKeyMode(WithLineMode(foundModes));
    case TerminalMode::kLine:
      break;
  }
  return WithLineMode(foundModes);
}

bool InForeground() {
  return tcgetpgrp(STDIN_FILENO) == getpgrp();
}

// Apply: the wanted mode's settings, unless they are set already.
bool Apply() {
  if (modeSet != 0) return true;
  modeSet = 1;  // before the change, so a signal arriving during it still puts back
  if (!SetModes(appliedModes)) modeSet = 0;
  return modeSet != 0;
}

}  // namespace

bool SetTerminalMode(TerminalMode mode) {
  if (!modesFound) {
    if (Calls().getModes(STDIN_FILENO, &foundModes) != 0) return false;
    modesFound = true;
    InstallSignalHandlers();
  }
  const termios wanted = ModesFor(mode);
  if (modeSet != 0 && !SameModes(wanted, appliedModes)) modeSet = 0;  // another mode is set
  appliedModes = wanted;
  freshLineAtEnd = mode == TerminalMode::kRaw ? 1 : 0;
  modeWanted = true;
  return Apply();
}

void RestoreTerminal() {
  modeWanted = false;
  if (modeSet == 0) return;
  modeSet = 0;
  (void)SetModes(foundModes);
}

void RaiseAsTheTerminalWould(int signalNumber) {
  const bool wanted = modeWanted;
  RestoreTerminal();
  (void)raise(signalNumber);  // ends or stops the program, unless it is ignored
  // cppcheck-suppress unreachableCode ; raise returns when ignored, and when continued
  modeWanted = wanted;
  if (continued == 0 && modeWanted) (void)Apply();  // ignored: go on as before
}

void EndBySignal(int signalNumber) {
  PutBack(signalNumber);
  (void)signal(signalNumber, SIG_DFL);
  sigset_t only{};
  sigemptyset(&only);
  sigaddset(&only, signalNumber);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  (void)raise(signalNumber);
  // cppcheck-suppress unreachableCode ; should the signal not end it, the status says which
  _exit(128 + signalNumber);
}

bool SignalNewsWaiting() {
  return continued != 0 || resized != 0;
}

SignalNews TakeSignalNews() {
  if (continued != 0) {
    continued = 0;
    if (!modeWanted || !InForeground()) return SignalNews::kNone;
    (void)Apply();
    return SignalNews::kContinued;
  }
  if (resized != 0) {
    resized = 0;
    return SignalNews::kResized;
  }
  return SignalNews::kNone;
}

}  // namespace intcalc
