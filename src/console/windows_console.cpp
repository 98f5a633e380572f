// The console's streams on Windows: ReadFile and WriteFile on the standard handles,
// fetched anew for every call and never closed, and CreateFileA for the files the command
// line names. A pipe, a file or a text in memory is split into lines as on every
// platform; the console's own line input is windows_interactive.cpp's. The errors of the
// failed read and write are kept for the messages.
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

static_assert(std::is_same_v<HANDLE, void*>, "PlatformState keeps a HANDLE as a pointer");
static_assert(sizeof(DWORD) == sizeof(std::uint32_t), "PlatformState keeps errors in 32 bits");

DWORD ByteCount(std::size_t size) {
  return static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

ReadResult ReadFromHandle(PlatformState& platform, HANDLE handle, std::span<char> destination) {
  DWORD count = 0;
  if (ReadFile(handle, destination.data(), ByteCount(destination.size()), &count, nullptr) == 0) {
    const DWORD error = GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
      return {ReadStatus::kEndOfInput, 0};
    }
    platform.readError = error;
    return {ReadStatus::kFailed, 0};
  }
  if (count == 0) return {ReadStatus::kEndOfInput, 0};
  return {ReadStatus::kPiece, count};
}

InputKind StandardInputKind(PlatformState& /*platform*/) {
  return IsConsole(GetStdHandle(STD_INPUT_HANDLE)) ? InputKind::kInteractive : InputKind::kStream;
}

bool KeysCanBeWaitedFor(PlatformState& /*platform*/) {
  return IsConsole(GetStdHandle(STD_INPUT_HANDLE)) && IsConsole(GetStdHandle(STD_ERROR_HANDLE));
}

void PrepareStandardInput(PlatformState& /*platform*/, InputKind /*kind*/) {}

ReadResult ReadStandardInput(PlatformState& platform, InputKind /*kind*/,
                             std::span<char> destination) {
  return ReadFromHandle(platform, GetStdHandle(STD_INPUT_HANDLE), destination);
}

// The name is taken in the system's ANSI code page, as the program's arguments arrive.
bool OpenInputFile(PlatformState& platform, const char* name) {
  platform.inputHandle = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (platform.inputHandle != INVALID_HANDLE_VALUE) return true;
  platform.readError = GetLastError();
  return false;
}

ReadResult ReadInputFile(PlatformState& platform, std::span<char> destination) {
  return ReadFromHandle(platform, platform.inputHandle, destination);
}

void CloseInputFile(PlatformState& platform) {
  if (platform.inputHandle != nullptr && platform.inputHandle != INVALID_HANDLE_VALUE) {
    CloseHandle(platform.inputHandle);
  }
  platform.inputHandle = nullptr;
}

std::size_t WriteSome(PlatformState& platform, Stream stream, std::span<const char> bytes) {
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
  if (stream == Stream::kOutput) platform.writeError = error;
  return 0;
}

std::string_view FailureReason(PlatformState& platform, Stream stream) {
  // The system's own message, without the line end and full stop it comes with.
  const DWORD error = stream == Stream::kInput ? platform.readError : platform.writeError;
  std::array<char, kSystemReasonCapacity>& reason = platform.reason;
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
