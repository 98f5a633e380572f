#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace intcalc {

std::string FindInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  const std::string directories(path);
  std::size_t start = 0;
  while (start <= directories.size()) {
    const std::size_t end = std::min(directories.find(':', start), directories.size());
    const std::filesystem::path candidate =
        std::filesystem::path(directories.substr(start, end - start)) / name;
    if (std::filesystem::exists(candidate)) return candidate.string();
    start = end + 1;
  }
  return {};
}

std::string WindowsLoader() {
  const char* loader = std::getenv("INTCALC_WINDOWS_LOADER");
  return loader != nullptr ? loader : FindInPath("wine");
}

ProgramRun RunProgram(const std::string& program, std::string_view input,
                      const std::vector<std::string>& arguments, std::chrono::seconds timeout) {
  ProgramRun run;
  int toChild[2];
  int fromChild[2];
  int errorsFromChild[2];
  if (pipe(toChild) != 0 || pipe(fromChild) != 0 || pipe(errorsFromChild) != 0) return run;

  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child < 0) {
    for (const int descriptor : {toChild[0], toChild[1], fromChild[0], fromChild[1],
                                 errorsFromChild[0], errorsFromChild[1]}) {
      close(descriptor);
    }
    return run;
  }
  if (child == 0) {
    signal(SIGPIPE, SIG_DFL);  // as a shell starts a program, whatever this process ignores
    dup2(toChild[0], STDIN_FILENO);
    dup2(fromChild[1], STDOUT_FILENO);
    dup2(errorsFromChild[1], STDERR_FILENO);
    for (const int descriptor : {toChild[0], toChild[1], fromChild[0], fromChild[1],
                                 errorsFromChild[0], errorsFromChild[1]}) {
      close(descriptor);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  run.started = true;
  close(toChild[0]);
  close(fromChild[1]);
  close(errorsFromChild[1]);
  fcntl(errorsFromChild[0], F_SETFL, O_NONBLOCK);
  fcntl(toChild[1], F_SETFL, O_NONBLOCK);
  signal(SIGPIPE, SIG_IGN);  // the program may stop reading; that is its business

  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int writeEnd = input.empty() ? (close(toChild[1]), -1) : toChild[1];
  int outputEnd = fromChild[0];
  int errorEnd = errorsFromChild[0];
  std::array<char, 1 << 16> chunk{};
  // Drain: reads what a pipe holds into `text`; closes it at its end.
  const auto drain = [&chunk](int& descriptor, std::string& text) {
    const ssize_t count = read(descriptor, chunk.data(), chunk.size());
    if (count > 0) {
      text.append(chunk.data(), static_cast<std::size_t>(count));
    } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
      close(descriptor);
      descriptor = -1;
    }
  };
  while (outputEnd >= 0 || errorEnd >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      kill(child, SIGKILL);
      break;
    }
    std::array<pollfd, 3> waiting{{{outputEnd, POLLIN, 0},
                                   {errorEnd, POLLIN, 0},
                                   {writeEnd, POLLOUT, 0}}};  // a negative one is skipped
    if (poll(waiting.data(), waiting.size(), static_cast<int>(left.count())) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (writeEnd >= 0 && (waiting[2].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
      const ssize_t written = write(writeEnd, input.data(), input.size());
      if (written > 0) input.remove_prefix(static_cast<std::size_t>(written));
      if (input.empty() || (written < 0 && errno != EAGAIN && errno != EINTR)) {
        close(writeEnd);
        writeEnd = -1;
      }
    }
    if (outputEnd >= 0 && (waiting[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      drain(outputEnd, run.output);
    }
    if (errorEnd >= 0 && (waiting[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      drain(errorEnd, run.errorOutput);
    }
  }
  for (const int descriptor : {writeEnd, outputEnd, errorEnd}) {
    if (descriptor >= 0) close(descriptor);
  }
  int status = 0;
  waitpid(child, &status, 0);

  if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

}  // namespace intcalc
