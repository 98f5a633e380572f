// A person at a Windows console: lines read through the console's own line editing and
// echo, and single keys.
//
// Each line read first sets line input with the console's own editing and echo
// (SetConsoleMode 7: processed, line and echo input) and reads at most the caller's limit;
// the console keeps the rest of a longer line for the next read.
//
// What this layer cannot check: whether a console honours the mode it is given.
#include <conio.h>

#include "console/interactive.h"
#include "console/windows_handles.h"  // and <windows.h> with it

namespace intcalc {

namespace {

constexpr DWORD kLineInputMode = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT;
// The status a console gives a program that Ctrl-C or Ctrl-Break ends.
constexpr UINT kInterruptedStatus = 0xC000013AU;  // STATUS_CONTROL_C_EXIT
// How long a read that Ctrl-C cut short waits for the console to say so.
constexpr DWORD kInterruptNoticeMilliseconds = 500;

// Ctrl-C and Ctrl-Break end the program, from a thread of their own, with the status a
// console gives an interrupted program: Windows' own handler does, Wine's ends it with 0.
// A console read they cut short meanwhile returns no bytes, as the end of input does; the
// event, which only the handler sets, tells such a read from the end of input.
constinit HANDLE interrupted = nullptr;

BOOL WINAPI EndOnInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  SetEvent(interrupted);
  ExitProcess(kInterruptedStatus);
}

void WatchInterrupts() {
  if (interrupted != nullptr) return;
  interrupted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (interrupted != nullptr) SetConsoleCtrlHandler(EndOnInterrupt, TRUE);
}

}  // namespace

// No bytes is the end of input unless Ctrl-C cut the read short: then the run ends as the
// console ends an interrupted program.
ReadResult ReadInteractiveLine(InteractiveState& /*session*/, Output& output,
                               PlatformState& /*platform*/, TextView /*prompt*/,
                               std::span<char> buffer) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  SetConsoleMode(input, kLineInputMode);
  if (!output.ReadyToWait()) return ReadResult::WriteFailed();
  WatchInterrupts();
  ReadResult read = ReadFromHandle(input, buffer);
  if (read.status == ReadStatus::kEndOfInput && interrupted != nullptr &&
      WaitForSingleObject(interrupted, kInterruptNoticeMilliseconds) == WAIT_OBJECT_0) {
    ExitProcess(kInterruptedStatus);
  }
  read.endsLine = read.count > 0 && buffer[read.count - 1] == '\n';
  return read;
}

KeyRead ReadInteractiveKey(InteractiveState& /*session*/, Output& output,
                           PlatformState& /*platform*/) {
  if (!output.ReadyToWait() || !IsConsole(GetStdHandle(STD_INPUT_HANDLE))) {
    return {KeyStatus::kNone, 0};
  }
  return {KeyStatus::kKey, static_cast<char>(_getch())};  // msvcrt's own: one key, not echoed
}

std::size_t TakeKeysHeld(InteractiveState& /*session*/, std::span<char> /*destination*/) {
  return 0;  // _getch leaves the keys after it to the console
}

void ShowAnswers(InteractiveState& /*session*/, LineAnswers* /*answers*/) {}

}  // namespace intcalc
