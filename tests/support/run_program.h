// RunProgram: runs a program with bytes on its standard input through a pipe and collects
// its standard output and standard error through two more, feeding and draining at once
// so neither side waits on a full pipe.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace intcalc {

struct ProgramRun {
  bool started = false;  // false when the pipes or the process could not be made
  std::string output;
  std::string errorOutput;
  int exitStatus = -1;  // when it exited
  int signal = 0;       // when a signal ended it
  bool timedOut = false;
};

// FindInPath: the path of a program found through PATH, or an empty string.
std::string FindInPath(const std::string& name);

// WindowsLoader: INTCALC_WINDOWS_LOADER, the Wine that runs the Windows program, or wine.
std::string WindowsLoader();

ProgramRun RunProgram(const std::string& program, std::string_view input,
                      const std::vector<std::string>& arguments = {},
                      std::chrono::seconds timeout = std::chrono::seconds(60));

}  // namespace intcalc
