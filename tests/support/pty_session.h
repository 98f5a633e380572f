// PtySession: runs a program on a new pseudo-terminal and types at it as a person does.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace intcalc {

struct ProgramEnd {
  int exitStatus = -1;  // when it exited
  int signal = 0;       // when a signal ended it
  int stoppedBy = 0;    // a job only: the signal that stopped it, when it stopped
  bool timedOut = false;
};

class PtySession {
 public:
  struct Options {
    std::string term = "dumb";
    bool startRaw = false;         // leave the terminal raw, as a crashed program might
    bool ignoreInterrupt = false;  // start the program with SIGINT ignored
    std::vector<std::string> arguments{};
    // Run the program as a shell runs a job: the session's leader, standing for the shell,
    // starts it in a process group of its own, in the terminal's foreground; when it stops,
    // the leader takes the terminal back and puts its own settings back, as shells do.
    bool asJob = false;
    bool shell = false;  // the arguments are for /bin/sh, which starts the program itself
    unsigned short columns = 80;
    int interruptKey = -1;      // when not -1, the terminal's interrupt key, as stty intr sets it
    bool noSignals = false;     // the terminal sends no signals for keys, as after stty -isig
    bool inBackground = false;  // a job: started in the background, as `intcalc &`
    std::string history = "";   // the history file, INTCALC_HISTORY: none by default
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

  // A job only: WaitForJob reports how the program ended or stopped; Continue sends it on,
  // in the terminal's foreground or in the background.
  ProgramEnd WaitForJob(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  void Continue(bool inForeground);

  // Modes: all of the terminal's settings now; InitialModes: as they were before the
  // program started.
  termios Modes() const;
  const termios& InitialModes() const { return initialModes_; }

 private:
  bool ReadSome(std::chrono::milliseconds timeout);
  bool StartJob(const std::string& program, const Options& options, int terminal,
                std::vector<char*>& argv);

  int master_ = -1;
  pid_t child_ = -1;
  std::string screen_;
  std::size_t searchedTo_ = 0;
  unsigned initialLocalModes_ = 0;
  termios initialModes_{};
  pid_t job_ = -1;     // the program, when it runs as a job of child_, the session's leader
  int reports_ = -1;   // from the leader: how the job ended or stopped
  int commands_ = -1;  // to the leader: continue the job
};

// SameModes: whether two terminal settings agree in every flag and control character.
bool SameModes(const termios& left, const termios& right);

}  // namespace intcalc
