// The POSIX calls the console makes, every one of them, gathered behind one seam so that
// tests can fake them. The seam is static, as the signal handlers call through it too.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <termios.h>
#include <time.h>

#include <cstddef>

namespace intcalc {

struct SystemCalls {
  ssize_t (*read)(int fileDescriptor, void* buffer, std::size_t count);
  ssize_t (*write)(int fileDescriptor, const void* buffer, std::size_t count);
  int (*isTerminal)(int fileDescriptor);
  // ppoll: the wait, with the signal mask `mask` (when not null) while it waits.
  int (*ppoll)(pollfd* descriptors, nfds_t count, const timespec* timeout, const sigset_t* mask);
  int (*blockSignals)(int how, const sigset_t* signals, sigset_t* before);  // sigprocmask
  int (*getModes)(int fileDescriptor, termios* modes);                      // tcgetattr
  int (*setModes)(int fileDescriptor, int when, const termios* modes);      // tcsetattr
  int (*windowSize)(int fileDescriptor, winsize* size);                     // ioctl(TIOCGWINSZ)
  int (*open)(const char* path, int flags, mode_t mode);  // open(2): FILEs and the history
  int (*close)(int fileDescriptor);
  int (*signalAction)(int signalNumber, const struct sigaction* wanted,
                      struct sigaction* before);  // sigaction
  int (*raise)(int signalNumber);
  pid_t (*foregroundGroup)(int fileDescriptor);     // tcgetpgrp
  pid_t (*processGroup)();                          // getpgrp
  int (*killGroup)(pid_t group, int signalNumber);  // killpg
  void (*exit)(int status);                         // _exit
  // The history file's: fstat, stat (lstat with AT_SYMLINK_NOFOLLOW), pread, ftruncate,
  // flock, fsync, mkdir, rename, unlink.
  int (*fileStatus)(int fileDescriptor, struct stat* status);           // fstat
  int (*pathStatus)(const char* path, struct stat* status, int flags);  // fstatat(AT_FDCWD)
  ssize_t (*readAt)(int fileDescriptor, void* buffer, std::size_t count, off_t offset);
  int (*truncate)(int fileDescriptor, off_t length);  // ftruncate
  int (*lock)(int fileDescriptor, int operation);     // flock
  int (*sync)(int fileDescriptor);                    // fsync
  int (*makeDirectory)(const char* path, mode_t mode);
  int (*rename)(const char* from, const char* to);
  int (*unlink)(const char* path);
};

// RealSystemCalls: the calls of the operating system itself.
SystemCalls RealSystemCalls();

// Calls: the calls the console makes now.
const SystemCalls& Calls();

// InstallSystemCalls: the calls the console and the signal handlers make from now on.
void InstallSystemCalls(const SystemCalls& calls);

}  // namespace intcalc
