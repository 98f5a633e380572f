// PtySession: runs a program on a new pseudo-terminal and types at it as a person does.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace intcalc {

struct ProgramEnd {
  int exitStatus = -1;  // when it exited
  int signal = 0;       // when a signal ended it
  bool timedOut = false;
};

class PtySession {
 public:
  struct Options {
    std::string term = "dumb";
    bool startRaw = false;         // leave the terminal raw, as a crashed program might
    bool ignoreInterrupt = false;  // start the program with SIGINT ignored
    std::vector<std::string> arguments{};
  };

  PtySession() = default;
  PtySession(const PtySession&) = delete;
  PtySession& operator=(const PtySession&) = delete;
  ~PtySession();

  bool Start(const std::string& program, const Options& options);
  bool Start(const std::string& program) { return Start(program, Options{}); }

  // Type: sends keys as the terminal's keyboard would.
  void Type(std::string_view keys);

  // ReadUntil: reads what the terminal shows until it holds `text` after everything seen
  // before this call, or the timeout passes; returns whether it appeared.
  bool ReadUntil(std::string_view text,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // WaitForQuiet: reads until nothing has arrived for `quiet`, or the timeout passes.
  void WaitForQuiet(std::chrono::milliseconds quiet,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // Wait: reads until the program ends and reports how it ended.
  ProgramEnd Wait(std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // Screen: every byte the terminal has shown.
  const std::string& Screen() const { return screen_; }

  // LocalModes: the terminal's local modes now, read from its master side.
  unsigned LocalModes() const;

  // InitialLocalModes: the local modes as they were when the program was started.
  unsigned InitialLocalModes() const { return initialLocalModes_; }

  // Signal: sends the program a signal.
  void Signal(int signalNumber) const;

  // Resize: gives the terminal a new size; the program is told by SIGWINCH.
  void Resize(unsigned short rows, unsigned short columns) const;

 private:
  bool ReadSome(std::chrono::milliseconds timeout);

  int master_ = -1;
  pid_t child_ = -1;
  std::string screen_;
  std::size_t searchedTo_ = 0;
  unsigned initialLocalModes_ = 0;
};

}  // namespace intcalc
