#include "console/terminal.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <string_view>

#include "console/system_calls.h"
#include "console/terminal_modes.h"
#include "text/limits.h"

namespace intcalc {

namespace {

// What signal handlers reach: the modes to put back and the mode set in their place,
// whether such a mode is set, and what a signal asks the editing loop to do. Nothing else.
constinit termios restoredMode{};
constinit termios appliedMode{};
volatile sig_atomic_t modeSet = 0;
volatile sig_atomic_t redrawWanted = 0;
volatile sig_atomic_t resized = 0;
constinit bool handlersInstalled = false;

bool SetModes(const termios& modes) {
  return Calls().setModes(STDIN_FILENO, TCSANOW, &modes) == 0;
}

}  // namespace

bool SetTerminalMode(TerminalMode mode) {
  termios current{};
  if (Calls().getModes(STDIN_FILENO, &current) != 0) return false;
  switch (mode) {
    case TerminalMode::kLine: {
      const termios wanted = WithLineMode(current);
      return SameModes(wanted, current) || SetModes(wanted);
    }
    case TerminalMode::kRaw:
      restoredMode = WithLineMode(current);
      appliedMode = WithRawMode(restoredMode);
      break;
    case TerminalMode::kKey:
      restoredMode = current;
      appliedMode = WithKeyMode(current);
      break;
  }
  modeSet = 1;  // before the change, so a signal arriving during it still puts back
  if (!SetModes(appliedMode)) modeSet = 0;
  return modeSet != 0;
}

void RestoreTerminal() {
  if (modeSet == 0) return;
  (void)SetModes(restoredMode);
  modeSet = 0;
}

namespace {

// A handler that is reset on entry and does not hold its signal back, so the signal it
// raises again takes its default action at once.
constexpr int kOnceAndAtOnce = static_cast<int>(SA_RESETHAND | SA_NODEFER);

// LeaveOnSignal: for a signal that ends the program: the terminal back as it was, and,
// but for the interrupt (after which the shell starts a fresh line itself), the cursor on
// a fresh line; then the signal does what it does by default.
extern "C" void LeaveOnSignal(int signalNumber) {
  if (modeSet != 0) {
    if (signalNumber != SIGINT) {
      const std::string_view lineEnd = kLineEnd;
      (void)Calls().write(STDOUT_FILENO, lineEnd.data(), lineEnd.size());
    }
    (void)SetModes(restoredMode);
  }
  modeSet = 0;
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

// StopOnSignal: puts the terminal back while stopped, and takes it again and asks for a
// redraw when continued.
extern "C" void StopOnSignal(int signalNumber) {
  const bool wasSet = modeSet != 0;
  if (wasSet) (void)SetModes(restoredMode);
  modeSet = 0;
  (void)raise(signalNumber);  // stops here; returns once continued
  // cppcheck-suppress unreachableCode ; raise returns from a stop, and from an ignored signal
  Handle(SIGTSTP, StopOnSignal, kOnceAndAtOnce);
  if (wasSet && SetModes(appliedMode)) modeSet = 1;
  redrawWanted = 1;
}

extern "C" void NoteResize(int /*signalNumber*/) {
  resized = 1;
  redrawWanted = 1;
}

}  // namespace

void InstallSignalHandlers() {
  if (handlersInstalled) return;
  handlersInstalled = true;
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    Handle(signalNumber, LeaveOnSignal, kOnceAndAtOnce);
  }
  Handle(SIGTSTP, StopOnSignal, kOnceAndAtOnce);
  Handle(SIGWINCH, NoteResize, 0);  // no restart: a read in progress returns to redraw
}

bool RaiseAsTheTerminalWould(int signalNumber) {
  RestoreTerminal();
  (void)raise(signalNumber);  // ends or stops the program, unless it is ignored
  // cppcheck-suppress unreachableCode ; raise returns when ignored, and when continued
  return SetTerminalMode(TerminalMode::kRaw);
}

RedrawRequest TakeRedrawRequest() {
  if (redrawWanted == 0) return RedrawRequest::kNone;
  redrawWanted = 0;
  if (resized == 0) return RedrawRequest::kRedraw;
  resized = 0;
  return RedrawRequest::kResized;
}

bool RedrawWanted() {
  return redrawWanted != 0;
}

}  // namespace intcalc
