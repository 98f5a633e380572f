// The platform's streams: what each platform's file (posix_console.cpp,
// windows_console.cpp) gives the rest of the console, and the little state they keep, each
// part kept by its owner: the input file by the reading, the pipe's policy by the output,
// the terminal by the console. Nothing here flushes output or knows of the dialogue: the
// console's platform-neutral half (console.cpp, output.cpp) builds its rules on these calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "console/read_result.h"

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
// InputFile: the file a FILE argument names, while it is read. A HANDLE is a pointer, of
// either width.
struct InputFile {
  void* handle = nullptr;
};

// WriteState: nothing; a write to a pipe whose reader has gone is a failed write.
struct WriteState {};

// PlatformState: nothing; the console's mode is set afresh for every read.
struct PlatformState {};
#else
struct InputFile {
  int descriptor = -1;
};

// A write to a pipe whose reader has gone: whether the program ends by SIGPIPE, as it
// would by default, or the caller chose to ignore the signal.
enum class PipePolicy : std::uint8_t { kUnset, kEndByTheSignal, kIgnored };

// WriteState: what a closed pipe does, found at the first write.
struct WriteState {
  PipePolicy pipePolicy = PipePolicy::kUnset;
};

// PlatformState: the terminal's modes, which reading standard input sets.
struct PlatformState {
  Terminal terminal;
};
#endif

// StandardInputKind: what standard input is.
InputKind StandardInputKind();

// KeysCanBeWaitedFor: whether a person sees what is written to standard error and can
// answer it with a key: standard input and standard error are both terminals or consoles.
bool KeysCanBeWaitedFor();

// PrepareStandardInput: on a terminal that edits in its own line mode, that mode, set
// before the prompt shows so that keys typed at once are edited already; a stop and
// continue may have changed it meanwhile. Nothing elsewhere.
void PrepareStandardInput(PlatformState& platform, InputKind kind);

// ReadStandardInput: one raw read of standard input, which is of `kind`.
ReadResult ReadStandardInput(PlatformState& platform, InputKind kind, std::span<char> destination);

// OpenInputFile, ReadInputFile, CloseInputFile: the file a FILE argument names; 0, or the
// system's reason why it cannot be opened.
SystemError OpenInputFile(InputFile& file, const char* name);
ReadResult ReadInputFile(const InputFile& file, std::span<char> destination);
void CloseInputFile(InputFile& file);

// Written: how one write went: the count written, more than 0, or 0 and why it failed.
struct Written {
  std::size_t count = 0;
  SystemError error = 0;
};

// WriteSome: one write of bytes to standard output or standard error, retried while it
// is interrupted or must wait.
Written WriteSome(WriteState& state, Stream stream, std::span<const char> bytes);

// SystemReason: the system's words for `error`, made in `room` where the platform makes
// them.
std::string_view SystemReason(SystemError error, std::span<char> room);

// RestorePlatform: puts back what the platform's console changed: the terminal's settings
// on POSIX; nothing on Windows.
void RestorePlatform(PlatformState& platform);

}  // namespace intcalc
