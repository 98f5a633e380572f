#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <vector>

namespace intcalc {

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
  std::array<char, 1 << 16> chunk{};
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      kill(child, SIGKILL);
      break;
    }
    std::array<pollfd, 2> waiting{{{fromChild[0], POLLIN, 0}, {writeEnd, POLLOUT, 0}}};
    if (poll(waiting.data(), writeEnd < 0 ? 1 : 2, static_cast<int>(left.count())) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (writeEnd >= 0 && (waiting[1].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
      const ssize_t written = write(writeEnd, input.data(), input.size());
      if (written > 0) input.remove_prefix(static_cast<std::size_t>(written));
      if (input.empty() || (written < 0 && errno != EAGAIN && errno != EINTR)) {
        close(writeEnd);
        writeEnd = -1;
      }
    }
    if ((waiting[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      const ssize_t count = read(fromChild[0], chunk.data(), chunk.size());
      if (count > 0) {
        run.output.append(chunk.data(), static_cast<std::size_t>(count));
      } else if (count == 0 || errno != EINTR) {
        break;
      }
    }
  }
  if (writeEnd >= 0) close(writeEnd);
  close(fromChild[0]);
  // Standard error is small; what the program wrote there is all in the pipe by now.
  int status = 0;
  waitpid(child, &status, 0);
  for (ssize_t count = 0; (count = read(errorsFromChild[0], chunk.data(), chunk.size())) > 0;) {
    run.errorOutput.append(chunk.data(), static_cast<std::size_t>(count));
  }
  close(errorsFromChild[0]);

  if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

}  // namespace intcalc
