// The terminal's modes while the line editor edits, and the signals that must put them
// back: the only state a signal handler of the editor reaches.
#include "console/terminal_control.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <string_view>

#include "console/output_buffer.h"
#include "console/terminal_modes.h"

namespace intcalc {

namespace {

// What signal handlers reach: the calls that set the terminal's modes, the mode to put
// back (the terminal's own, in line mode) and the raw mode to edit in, whether raw mode is
// on, and what a signal asks the editing loop to do. Nothing else.
constinit const SystemCalls* modeCalls = nullptr;
constinit termios savedMode{};
constinit termios rawMode{};
volatile sig_atomic_t rawModeOn = 0;
volatile sig_atomic_t redrawWanted = 0;
volatile sig_atomic_t resized = 0;
constinit bool handlersInstalled = false;

}  // namespace

bool EnterRawMode(const SystemCalls& calls) {
  modeCalls = &calls;
  termios current{};
  if (modeCalls->getModes(STDIN_FILENO, &current) != 0) return false;
  savedMode = WithLineMode(current);
  rawMode = WithRawMode(savedMode);
  rawModeOn = 1;  // before the change, so a signal arriving during it still puts back
  if (modeCalls->setModes(STDIN_FILENO, TCSANOW, &rawMode) != 0) {
    rawModeOn = 0;
    return false;
  }
  return true;
}

void LeaveRawMode() {
  if (rawModeOn == 0) return;
  (void)modeCalls->setModes(STDIN_FILENO, TCSANOW, &savedMode);
  rawModeOn = 0;
}

namespace {

// A handler that is reset on entry and does not hold its signal back, so the signal it
// raises again takes its default action at once.
constexpr int kOnceAndAtOnce = static_cast<int>(SA_RESETHAND | SA_NODEFER);

// LeaveOnSignal: for a signal that ends the program: the terminal back as it was, and,
// but for the interrupt (after which the shell starts a fresh line itself), the cursor on
// a fresh line; then the signal does what it does by default.
extern "C" void LeaveOnSignal(int signalNumber) {
  if (rawModeOn != 0) {
    if (signalNumber != SIGINT) {
      const std::string_view lineEnd = kLineEnd;
      (void)modeCalls->write(STDOUT_FILENO, lineEnd.data(), lineEnd.size());
    }
    (void)modeCalls->setModes(STDIN_FILENO, TCSANOW, &savedMode);
  }
  rawModeOn = 0;
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
  const bool wasRaw = rawModeOn != 0;
  if (wasRaw) (void)modeCalls->setModes(STDIN_FILENO, TCSANOW, &savedMode);
  rawModeOn = 0;
  (void)raise(signalNumber);  // stops here; returns once continued
  // cppcheck-suppress unreachableCode ; raise returns from a stop, and from an ignored signal
  Handle(SIGTSTP, StopOnSignal, kOnceAndAtOnce);
  if (wasRaw && modeCalls->setModes(STDIN_FILENO, TCSANOW, &rawMode) == 0) rawModeOn = 1;
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
  LeaveRawMode();
  (void)raise(signalNumber);  // ends or stops the program, unless it is ignored
  // cppcheck-suppress unreachableCode ; raise returns when ignored, and when continued
  return EnterRawMode(*modeCalls);
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
