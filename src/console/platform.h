// The platform's streams: what each platform's file (posix_console.cpp,
// windows_console.cpp) gives the rest of the console, and the state it keeps in the
// Console. Nothing here flushes output or knows of the dialogue: the console's
// platform-neutral half (console.cpp, output.cpp) builds its rules on these calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "console/line_splitter.h"
#include "text/limits.h"

#if !defined(_WIN32)
#include "console/terminal.h"
#endif

namespace intcalc {

// The three standard streams.
enum class Stream : std::uint8_t { kInput, kOutput, kError };

// InputKind: what standard input is, found at its first read.
enum class InputKind : std::uint8_t {
  kUnknown,
  kInteractive,  // a person at a terminal the line editor draws on, or at a Windows console
  kTerminal,     // a terminal that edits lines in its own line mode
  kStream,       // a pipe or a file
};

#if defined(_WIN32)
// PlatformState: the file read now and the errors kept for the messages. A HANDLE is a
// pointer, of either width; an error is a DWORD, 32 bits on both.
struct PlatformState {
  void* inputHandle = nullptr;   // the file's handle, while one is read
  std::uint32_t readError = 0;   // GetLastError of the latest failed read
  std::uint32_t writeError = 0;  // GetLastError of the failed write to standard output
  std::array<char, kSystemReasonCapacity> reason{};  // the system's words for one of them
};
#else
// A write to a pipe whose reader has gone: whether the program ends by SIGPIPE, as it
// would by default, or the caller chose to ignore the signal.
enum class PipePolicy : std::uint8_t { kUnset, kEndByTheSignal, kIgnored };

// PlatformState: the file read now, the errors kept for the messages, what a closed pipe
// does, and the terminal's modes.
struct PlatformState {
  int inputFile = -1;  // the file's descriptor, while one is read
  int readError = 0;   // errno of the latest failed read
  int writeError = 0;  // errno of the failed write to standard output
  PipePolicy pipePolicy = PipePolicy::kUnset;
  Terminal terminal;
};
#endif

// StandardInputKind: what standard input is.
InputKind StandardInputKind(PlatformState& platform);

// KeysCanBeWaitedFor: whether a person sees what is written to standard error and can
// answer it with a key: standard input and standard error are both terminals or consoles.
bool KeysCanBeWaitedFor(PlatformState& platform);

// PrepareStandardInput: on a terminal that edits in its own line mode, that mode, set
// before the prompt shows so that keys typed at once are edited already; a stop and
// continue may have changed it meanwhile. Nothing elsewhere.
void PrepareStandardInput(PlatformState& platform, InputKind kind);

// ReadStandardInput: one raw read of standard input, which is of `kind`.
ReadResult ReadStandardInput(PlatformState& platform, InputKind kind, std::span<char> destination);

// OpenInputFile, ReadInputFile, CloseInputFile: the file a FILE argument names. A failure
// to open or to read is kept for FailureReason(Stream::kInput).
bool OpenInputFile(PlatformState& platform, const char* name);
ReadResult ReadInputFile(PlatformState& platform, std::span<char> destination);
void CloseInputFile(PlatformState& platform);

// WriteSome: one write of bytes to standard output or standard error, retried while it
// is interrupted or must wait; the count written, more than 0, or 0 when the write failed
// outright, whose reason FailureReason(Stream::kOutput) then gives for standard output.
std::size_t WriteSome(PlatformState& platform, Stream stream, std::span<const char> bytes);

// FailureReason: the system's words for why the latest read of an input, or the write to
// standard output, failed.
std::string_view FailureReason(PlatformState& platform, Stream stream);

// RestorePlatform: puts back what the platform's console changed: the terminal's settings
// on POSIX; nothing on Windows, whose console mode is set afresh for every read.
void RestorePlatform(PlatformState& platform);

}  // namespace intcalc
