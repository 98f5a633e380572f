// Terminal modes on POSIX: the line mode the console wants when the terminal edits and
// echoes, the raw mode the line editor works in, and the mode a single key is read in.
#pragma once

#include <termios.h>

namespace intcalc {

// WithLineMode: line input with the terminal's own editing and echo, the signal keys, and
// Enter ending the line, whatever mode an earlier program left the terminal in. Output
// processing goes back on too, or the echo of Enter would not return to the line's start.
inline termios WithLineMode(termios settings) {
  settings.c_lflag |= ICANON | ECHO | ECHOE | ISIG;
  settings.c_iflag |= ICRNL;
  settings.c_iflag &= ~static_cast<tcflag_t>(IGNCR | INLCR);
  settings.c_oflag |= OPOST | ONLCR;
  return settings;
}

// WithRawMode: every key as it is typed, nothing echoed, no signal keys.
inline termios WithRawMode(termios settings) {
  settings.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
  settings.c_cflag |= CS8;
  settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN | ISIG);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  return settings;
}

// WithKeyMode: keys one at a time, not echoed; the signal keys still work.
inline termios WithKeyMode(termios settings) {
  settings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  return settings;
}

inline bool SameModes(const termios& left, const termios& right) {
  return left.c_iflag == right.c_iflag && left.c_oflag == right.c_oflag &&
         left.c_lflag == right.c_lflag;
}

}  // namespace intcalc
