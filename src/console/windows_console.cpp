// The console on Windows: ReadFile and WriteFile on the standard handles, fetched anew for
// every call and never closed.
//
// On a console, each read first sets line input with the console's own editing and echo
// (SetConsoleMode 7: processed, line and echo input) and reads at most the caller's
// limit; the console keeps the rest of a longer line for the next read. A pipe or a file
// is split into lines as on every platform.
//
// What this layer cannot check: whether a console honours the mode it is given, and in
// which code page it shows the bytes written to it.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>

#include "console/console.h"
#include "console/line_splitter.h"
#include "console/platform.h"

namespace intcalc {

namespace {

constexpr DWORD kLineInputMode = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT;

constinit LineSplitter splitter;

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
    return {ReadStatus::kFailed, 0};
  }
  if (count == 0) return {ReadStatus::kEndOfInput, 0};
  return {ReadStatus::kLine, count};
}

// ReadChunk: one read of a pipe or a file for the splitter, after writing out what the
// program at the other end must see first.
ReadResult ReadChunk(std::span<char> destination) {
  FlushOutput();
  return ReadFromHandle(GetStdHandle(STD_INPUT_HANDLE), destination);
}

}  // namespace

ReadResult ReadLine(std::span<char> buffer) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (!IsConsole(input)) return splitter.NextPiece(buffer, ReadChunk);
  SetConsoleMode(input, kLineInputMode);
  FlushOutput();
  return ReadFromHandle(input, buffer);
}

namespace {

// WriteAll: every byte to a standard handle; a write that fails outright loses the rest.
void WriteAll(DWORD standardHandle, std::span<const char> bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    if (WriteFile(GetStdHandle(standardHandle), bytes.data(), ByteCount(bytes.size()), &written,
                  nullptr) == 0 ||
        written == 0) {
      return;  // the rest is lost, and the dialogue goes on
    }
    bytes = bytes.subspan(written);
  }
}

}  // namespace

void WriteAllToOutput(std::span<const char> bytes) {
  WriteAll(STD_OUTPUT_HANDLE, bytes);
}

void WriteError(std::string_view text) {
  WriteAll(STD_ERROR_HANDLE, text);
}

}  // namespace intcalc
