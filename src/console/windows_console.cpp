// The console on Windows: ReadFile and WriteFile on the standard handles, fetched anew for
// every call and never closed.
//
// On a console, each read first sets line input with the console's own editing and echo
// (SetConsoleMode 7: processed, line and echo input) and reads at most the caller's
// limit; the console keeps the rest of a longer line for the next read. A pipe, a file
// (the command line's FILEs, opened with CreateFileA) or a text in memory is split into
// lines as on every platform. A write that fails outright ends all output and, through
// ReadLine, all input; the errors of the failed read and write are kept.
//
// What this layer cannot check: whether a console honours the mode it is given, and in
// which code page it shows the bytes written to it.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <conio.h>
#include <windows.h>

#include <algorithm>
#include <array>

#include "console/console.h"
#include "console/platform.h"

namespace intcalc {

namespace {

constexpr DWORD kLineInputMode = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT;
// The status a console gives a program that Ctrl-C or Ctrl-Break ends.
constexpr UINT kInterruptedStatus = 0xC000013AU;  // STATUS_CONTROL_C_EXIT
// How long a read that Ctrl-C cut short waits for the console to say so.
constexpr DWORD kInterruptNoticeMilliseconds = 500;

constinit HANDLE inputFile = INVALID_HANDLE_VALUE;  // the file's, while one is read
constinit DWORD readError = 0;                      // GetLastError of the latest failed read
constinit DWORD writeError = 0;  // GetLastError of the failed write to standard output

// Ctrl-C and Ctrl-Break end the program, from a thread of their own, with the status a
// console gives an interrupted program: Windows' own handler does, Wine's ends it with 0.
// A console read they cut short meanwhile returns no bytes, as the end of input does; the
// event tells such a read from the end of input.
constinit HANDLE interrupted = nullptr;  // an event, set by the handler

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

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

DWORD ByteCount(std::size_t size) {
  return static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
}

// ReadFromHandle: one ReadFile. A pipe whose writer has gone reports a broken pipe, and
// a file or a console reports no bytes: both are the end of input.
ReadResult ReadFromHandle(HANDLE handle, std::span<char> destination) {
  DWORD count = 0;
  if (ReadFile(handle, destination.data(), ByteCount(destination.size()), &count, nullptr) == 0) {
    const DWORD error = GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
      return {ReadStatus::kEndOfInput, 0};
    }
    readError = error;
    return {ReadStatus::kFailed, 0};
  }
  if (count == 0) return {ReadStatus::kEndOfInput, 0};
  return {ReadStatus::kLine, count};
}

}  // namespace

ReadResult ReadStandardInputChunk(std::span<char> destination) {
  FlushOutput();
  if (OutputFailed()) return {ReadStatus::kWriteFailed, 0};
  return ReadFromHandle(GetStdHandle(STD_INPUT_HANDLE), destination);
}

bool StandardInputReadsLines() {
  return IsConsole(GetStdHandle(STD_INPUT_HANDLE));
}

// ReadStandardInputLine: one read of the console, in its own line input. No bytes is the
// end of input unless Ctrl-C cut the read short: then the run ends as the console ends an
// interrupted program.
ReadResult ReadStandardInputLine(std::span<char> buffer) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  SetConsoleMode(input, kLineInputMode);
  FlushOutput();
  if (OutputFailed()) return {ReadStatus::kWriteFailed, 0};
  WatchInterrupts();
  const ReadResult read = ReadFromHandle(input, buffer);
  if (read.status == ReadStatus::kEndOfInput && interrupted != nullptr &&
      WaitForSingleObject(interrupted, kInterruptNoticeMilliseconds) == WAIT_OBJECT_0) {
    ExitProcess(kInterruptedStatus);
  }
  return read;
}

// The name is taken in the system's ANSI code page, as the program's arguments arrive.
bool OpenInputFile(const char* name) {
  inputFile = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (inputFile != INVALID_HANDLE_VALUE) return true;
  readError = GetLastError();
  return false;
}

ReadResult ReadInputFile(std::span<char> destination) {
  return ReadFromHandle(inputFile, destination);
}

void CloseInputFile() {
  if (inputFile != INVALID_HANDLE_VALUE) CloseHandle(inputFile);
  inputFile = INVALID_HANDLE_VALUE;
}

void WritePrompt(TextView prompt) {
  WriteText(prompt);  // the console's own line editing has no use for it
}

bool KeysCanBeWaitedFor() {
  return IsConsole(GetStdHandle(STD_INPUT_HANDLE)) && IsConsole(GetStdHandle(STD_ERROR_HANDLE));
}

KeyRead ReadKey() {
  FlushOutput();
  if (OutputFailed() || !IsConsole(GetStdHandle(STD_INPUT_HANDLE))) return {KeyStatus::kNone, 0};
  return {KeyStatus::kKey, static_cast<char>(_getch())};  // msvcrt's own: one key, not echoed
}

void RestoreConsole() {}  // the console's mode is set afresh for every read, as specified

std::size_t WriteSome(Stream stream, std::span<const char> bytes) {
  const DWORD standardHandle = stream == Stream::kError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  DWORD written = 0;
  DWORD error = 0;
  if (WriteFile(GetStdHandle(standardHandle), bytes.data(), ByteCount(bytes.size()), &written,
                nullptr) == 0) {
    error = GetLastError();
  } else if (written == 0) {
    error = ERROR_WRITE_FAULT;  // no progress, and no reason given
  }
  if (error == 0) return written;
  if (stream == Stream::kOutput) writeError = error;
  return 0;
}

std::string_view FailureReason(Stream stream) {
  // The system's own message, without the line end and full stop it comes with.
  static constinit std::array<char, 256> message{};
  const DWORD error = stream == Stream::kInput ? readError : writeError;
  DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                     message.data(), static_cast<DWORD>(message.size()), nullptr);
  while (length > 0 && (message[length - 1] == '\n' || message[length - 1] == '\r' ||
                        message[length - 1] == '.' || message[length - 1] == ' ')) {
    --length;
  }
  if (length == 0) return "unknown error";
  return {message.data(), length};
}

}  // namespace intcalc
