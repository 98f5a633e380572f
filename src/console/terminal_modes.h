// Terminal modes on POSIX: the line mode the console wants when the terminal edits and
// echoes, and the raw mode in which the line editor and a single key's wait read keys.
// Both keep the signal keys as they were found: whether a key sends a signal is the
// person's choice (stty -isig), in either mode.
#pragma once

#include <termios.h>

namespace intcalc {

// WithLineMode: line input with the terminal's own editing and echo, and Enter ending the
// line, whatever mode an earlier program left the terminal in. Output processing goes back
// on too, or the echo of Enter would not return to the line's start.
inline termios WithLineMode(termios settings) {
  settings.c_lflag |= ICANON | ECHO | ECHOE;
  settings.c_iflag |= ICRNL;
  settings.c_iflag &= ~static_cast<tcflag_t>(IGNCR | INLCR);
  settings.c_oflag |= OPOST | ONLCR;
  return settings;
}

// WithRawMode: every key as it is typed, nothing echoed; the terminal sends no signal for
// a key, as the reader does what the signal keys found ask.
inline termios WithRawMode(termios settings) {
  settings.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
  settings.c_cflag |= CS8;
  settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN | ISIG);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  return settings;
}

inline bool SameModes(const termios& left, const termios& right) {
  return left.c_iflag == right.c_iflag && left.c_oflag == right.c_oflag &&
         left.c_lflag == right.c_lflag;
}

}  // namespace intcalc
