// The console's streams on Windows: ReadFile and WriteFile on the standard handles,
// fetched anew for every call and never closed, and CreateFileA for the files the command
// line names. A pipe, a file or a text in memory is split into lines as on every
// platform; the console's own line input is windows_interactive.cpp's. A failed read or
// write comes back with the system's error, for the messages.
//
// One source for both widths: a HANDLE is a pointer, kept as one; every count handed to
// the system is a DWORD, 32 bits in both the 32-bit and the 64-bit program, so a longer
// span is read or written in part.
//
// What this layer cannot check: in which code page a console shows the bytes written to it.
#include <algorithm>
#include <type_traits>

#include "console/platform.h"
#include "console/windows_handles.h"  // and <windows.h> with it

namespace intcalc {

static_assert(std::is_same_v<HANDLE, void*>, "InputFile keeps a HANDLE as a pointer");
static_assert(sizeof(DWORD) == sizeof(SystemError), "an error is kept in 32 bits");

DWORD ByteCount(std::size_t size) {
  return static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

ReadResult ReadFromHandle(HANDLE handle, std::span<char> destination) {
  DWORD count = 0;
  if (ReadFile(handle, destination.data(), ByteCount(destination.size()), &count, nullptr) == 0) {
    const DWORD error = GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return ReadResult::Ended();
    return ReadResult::Failed(error);
  }
  if (count == 0) return ReadResult::Ended();
  return ReadResult::Piece(count);
}

InputKind StandardInputKind() {
  return IsConsole(GetStdHandle(STD_INPUT_HANDLE)) ? InputKind::kInteractive : InputKind::kStream;
}

bool KeysCanBeWaitedFor() {
  return IsConsole(GetStdHandle(STD_INPUT_HANDLE)) && IsConsole(GetStdHandle(STD_ERROR_HANDLE));
}

void PrepareStandardInput(PlatformState& /*platform*/, InputKind /*kind*/) {}

ReadResult ReadStandardInput(PlatformState& /*platform*/, InputKind /*kind*/,
                             std::span<char> destination) {
  return ReadFromHandle(GetStdHandle(STD_INPUT_HANDLE), destination);
}

// The name is taken in the system's ANSI code page, as the program's arguments arrive.
SystemError OpenInputFile(InputFile& file, const char* name) {
  file.handle = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file.handle != INVALID_HANDLE_VALUE ? 0 : GetLastError();
}

ReadResult ReadInputFile(const InputFile& file, std::span<char> destination) {
  return ReadFromHandle(file.handle, destination);
}

void CloseInputFile(InputFile& file) {
  if (file.handle != nullptr && file.handle != INVALID_HANDLE_VALUE) CloseHandle(file.handle);
  file.handle = nullptr;
}

Written WriteSome(WriteState& /*state*/, Stream stream, std::span<const char> bytes) {
  const DWORD standardHandle = stream == Stream::kError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  DWORD written = 0;
  SystemError error = 0;
  if (WriteFile(GetStdHandle(standardHandle), bytes.data(), ByteCount(bytes.size()), &written,
                nullptr) == 0) {
    error = GetLastError();
  } else if (written == 0) {
    error = ERROR_WRITE_FAULT;  // no progress, and no reason given
  }
  if (error == 0) return {written, 0};
  return {0, error};
}

std::string_view SystemReason(SystemError error, std::span<char> reason) {
  // The system's own message, without the line end and full stop it comes with.
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, reason.data(), ByteCount(reason.size()), nullptr);
  while (length > 0 && (reason[length - 1] == '\n' || reason[length - 1] == '\r' ||
                        reason[length - 1] == '.' || reason[length - 1] == ' ')) {
    --length;
  }
  if (length == 0) return "unknown error";
  return {reason.data(), length};
}

void RestorePlatform(PlatformState& /*platform*/) {}  // the console mode is set for each read

}  // namespace intcalc
