#include "support/pty_session.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

#include <array>
#include <cerrno>
#include <cstdlib>

namespace intcalc {

PtySession::~PtySession() {
  if (child_ > 0) {
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
  }
  if (master_ >= 0) close(master_);
}

bool PtySession::Start(const std::string& program, const Options& options) {
  winsize size{};
  size.ws_row = 24;
  size.ws_col = 80;
  int terminal = -1;
  if (openpty(&master_, &terminal, nullptr, nullptr, &size) != 0) return false;
  if (options.startRaw) {
    termios settings{};
    tcgetattr(terminal, &settings);
    cfmakeraw(&settings);
    tcsetattr(terminal, TCSANOW, &settings);
  }
  // Read before the program exists, so it cannot have changed them yet.
  initialLocalModes_ = LocalModes();

  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : options.arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);

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
  if (child_ > 0) kill(child_, signalNumber);
}

void PtySession::Resize(unsigned short rows, unsigned short columns) const {
  winsize size{};
  size.ws_row = rows;
  size.ws_col = columns;
  ioctl(master_, TIOCSWINSZ, &size);  // NOLINT(cppcoreguidelines-pro-type-vararg)
}

void PtySession::Type(std::string_view keys) {
  while (!keys.empty()) {
    const ssize_t written = write(master_, keys.data(), keys.size());
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
