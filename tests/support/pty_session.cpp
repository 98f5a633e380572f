#include "support/pty_session.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace intcalc {

PtySession::~PtySession() {
  if (job_ > 0) kill(job_, SIGKILL);
  if (child_ > 0) {
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
  }
  for (const int descriptor : {master_, reports_, commands_}) {
    if (descriptor >= 0) close(descriptor);
  }
}

bool SameModes(const termios& left, const termios& right) {
  return left.c_iflag == right.c_iflag && left.c_oflag == right.c_oflag &&
         left.c_cflag == right.c_cflag && left.c_lflag == right.c_lflag &&
         std::memcmp(left.c_cc, right.c_cc, sizeof left.c_cc) == 0;
}

namespace {

// Report: one line from the session's leader to the test.
void Report(int descriptor, char what, int number) {
  const std::string line = what + std::to_string(number) + "\n";
  (void)!write(descriptor, line.data(), line.size());
}

// LeadSession: the session's leader, standing for a shell: runs the program as its
// foreground job and reports each stop and the end; after a stop it takes the terminal
// back, puts its own settings back, and waits to be told to continue the job.
[[noreturn]] void LeadSession(int terminal, const PtySession::Options& options,
                              const std::string& program, std::vector<char*>& argv, int reports,
                              int commands) {
  setsid();
  ioctl(terminal, TIOCSCTTY, 0);  // NOLINT(cppcoreguidelines-pro-type-vararg)
  signal(SIGTTOU, SIG_IGN);       // a shell sets the foreground from the background
  termios shellModes{};
  tcgetattr(terminal, &shellModes);
  const pid_t job = fork();
  if (job == 0) {
    setpgid(0, 0);
    if (!options.inBackground) tcsetpgrp(terminal, getpid());
    signal(SIGTTOU, SIG_DFL);
    for (const int standard : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
      dup2(terminal, standard);
    }
    close(terminal);
    close(reports);
    close(commands);
    setenv("TERM", options.term.c_str(), 1);
    if (options.ignoreInterrupt) signal(SIGINT, SIG_IGN);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  setpgid(job, job);
  if (!options.inBackground) tcsetpgrp(terminal, job);
  Report(reports, 'P', job);
  while (true) {
    int status = 0;
    if (waitpid(job, &status, WUNTRACED) != job) {
      if (errno == EINTR) continue;
      _exit(1);
    }
    if (WIFEXITED(status)) Report(reports, 'X', WEXITSTATUS(status));
    if (WIFSIGNALED(status)) Report(reports, 'K', WTERMSIG(status));
    if (!WIFSTOPPED(status)) _exit(0);
    tcsetpgrp(terminal, getpgrp());
    tcsetattr(terminal, TCSADRAIN, &shellModes);
    Report(reports, 'S', WSTOPSIG(status));
    char command = 0;
    if (read(commands, &command, 1) != 1) _exit(1);
    if (command == 'f') tcsetpgrp(terminal, job);
    kill(-job, SIGCONT);
  }
}

}  // namespace

bool PtySession::StartJob(const std::string& program, const Options& options, int terminal,
                          std::vector<char*>& argv) {
  int reports[2];
  int commands[2];
  if (pipe(reports) != 0 || pipe(commands) != 0) return false;
  child_ = fork();
  if (child_ < 0) return false;
  if (child_ == 0) {
    close(master_);
    close(reports[0]);
    close(commands[1]);
    LeadSession(terminal, options, program, argv, reports[1], commands[0]);
  }
  close(terminal);
  close(reports[1]);
  close(commands[0]);
  reports_ = reports[0];
  commands_ = commands[1];
  const ProgramEnd started = WaitForJob();
  return job_ > 0 && !started.timedOut;
}

ProgramEnd PtySession::WaitForJob(std::chrono::milliseconds timeout) {
  ProgramEnd end;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::string line;
  while (line.empty() || line.back() != '\n') {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd waiting{reports_, POLLIN, 0};
    if (left.count() <= 0) {
      end.timedOut = true;
      return end;
    }
    ReadSome(std::chrono::milliseconds(0));  // the screen, so the program never waits on it
    if (poll(&waiting, 1, std::min<int>(20, static_cast<int>(left.count()))) <= 0) continue;
    char byte = 0;
    if (read(reports_, &byte, 1) != 1) {
      end.timedOut = true;
      return end;
    }
    line += byte;
  }
  const int number = std::stoi(line.substr(1));
  switch (line[0]) {
    case 'P':
      job_ = number;
      break;
    case 'S':
      end.stoppedBy = number;
      break;
    case 'X':
      end.exitStatus = number;
      break;
    case 'K':
      end.signal = number;
      break;
    default:
      break;
  }
  if (line[0] == 'X' || line[0] == 'K') {
    while (ReadSome(std::chrono::milliseconds(50))) {
    }
  }
  return end;
}

void PtySession::Continue(bool inForeground) {
  const char command = inForeground ? 'f' : 'b';
  (void)!write(commands_, &command, 1);
}

termios PtySession::Modes() const {
  termios settings{};
  tcgetattr(master_, &settings);
  return settings;
}

bool PtySession::Start(const std::string& program, const Options& options) {
  winsize size{};
  size.ws_row = 24;
  size.ws_col = options.columns;
  int terminal = -1;
  if (openpty(&master_, &terminal, nullptr, nullptr, &size) != 0) return false;
  termios settings{};
  tcgetattr(terminal, &settings);
  if (options.startRaw) cfmakeraw(&settings);
  if (options.interruptKey >= 0) settings.c_cc[VINTR] = static_cast<cc_t>(options.interruptKey);
  if (options.noSignals) settings.c_lflag &= ~static_cast<tcflag_t>(ISIG);
  tcsetattr(terminal, TCSANOW, &settings);
  // Read before the program exists, so it cannot have changed them yet.
  initialLocalModes_ = LocalModes();
  initialModes_ = Modes();

  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : options.arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  setenv("INTCALC_HISTORY", options.history.c_str(), 1);  // the program's, through fork
  if (options.asJob) return StartJob(program, options, terminal, argv);

  child_ = fork();
  if (child_ < 0) return false;
  if (child_ == 0) {
    close(master_);
    login_tty(terminal);  // a new session with the terminal as its controlling terminal
    setenv("TERM", options.term.c_str(), 1);
    if (options.ignoreInterrupt) signal(SIGINT, SIG_IGN);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(terminal);
  return true;
}

void PtySession::Signal(int signalNumber) const {
  const pid_t program = job_ > 0 ? job_ : child_;
  if (program > 0) kill(program, signalNumber);
}

void PtySession::Resize(unsigned short rows, unsigned short columns) const {
  winsize size{};
  size.ws_row = rows;
  size.ws_col = columns;
  ioctl(master_, TIOCSWINSZ, &size);  // NOLINT(cppcoreguidelines-pro-type-vararg)
}

void PtySession::Type(std::string_view keys) {
  constexpr std::size_t kAtOnce = 256;  // little enough to fit where the terminal has room
  while (!keys.empty()) {
    // What the program shows is read meanwhile, so that it never waits to show more.
    pollfd both{master_, POLLIN | POLLOUT, 0};
    if (poll(&both, 1, 10000) <= 0) return;
    if ((both.revents & POLLIN) != 0) ReadSome(std::chrono::milliseconds(0));
    if ((both.revents & POLLOUT) == 0) continue;
    const ssize_t written = write(master_, keys.data(), std::min(keys.size(), kAtOnce));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    keys.remove_prefix(static_cast<std::size_t>(written));
  }
}

bool PtySession::ReadSome(std::chrono::milliseconds timeout) {
  pollfd waiting{master_, POLLIN, 0};
  if (poll(&waiting, 1, static_cast<int>(timeout.count())) <= 0) return false;
  std::array<char, 4096> chunk{};
  const ssize_t count = read(master_, chunk.data(), chunk.size());
  if (count <= 0) return false;  // EIO once the program has gone
  screen_.append(chunk.data(), static_cast<std::size_t>(count));
  return true;
}

bool PtySession::ReadUntil(std::string_view text, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    const std::size_t found = screen_.find(text, searchedTo_);
    if (found != std::string::npos) {
      searchedTo_ = found + text.size();
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !ReadSome(left)) return false;
  }
}

void PtySession::WaitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline && ReadSome(quiet)) {
  }
}

ProgramEnd PtySession::Wait(std::chrono::milliseconds timeout) {
  ProgramEnd end;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    int status = 0;
    const pid_t done = waitpid(child_, &status, WNOHANG);
    if (done == child_) {
      child_ = -1;
      while (ReadSome(std::chrono::milliseconds(50))) {
      }
      if (WIFEXITED(status)) end.exitStatus = WEXITSTATUS(status);
      if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
      return end;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      end.timedOut = true;
      return end;
    }
    ReadSome(std::chrono::milliseconds(20));
  }
}

unsigned PtySession::LocalModes() const {
  termios settings{};
  tcgetattr(master_, &settings);
  return static_cast<unsigned>(settings.c_lflag);
}

}  // namespace intcalc
