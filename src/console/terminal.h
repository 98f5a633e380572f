// The terminal's modes on POSIX: the one place that sets them and puts them back, and the
// signals that must put them back however the program ends, stops or is resized while a
// mode is set. A handler does only what is safe in one: it puts back the settings, moves
// to a fresh line, notes what happened, and raises its signal again with the default
// action. Everything else happens in the loop that reads, when it takes the news.
#pragma once

#include <termios.h>

#include <cstdint>

#include "editor/key_decoder.h"

namespace intcalc {

enum class TerminalMode : std::uint8_t {
  kLine,  // the terminal's own line editing and echo, whatever mode an earlier program left
  kRaw,   // every key as typed, nothing echoed, no signal keys: the line editor's
  kKey,   // keys one at a time, not echoed, the signal keys working: a single key's
};

enum class SignalNews : std::uint8_t {
  kNone,
  kContinued,  // stopped and continued in the foreground: the mode is set again
  kResized,    // the terminal's size changed
};

// Terminal: what the reading loop knows of standard input's terminal; what the signal
// handlers must reach is kept apart, in terminal.cpp, and reached only through here.
class Terminal {
 public:
  // SetMode: puts the terminal in `mode`; false when its modes cannot be read or set. The
  // first call keeps the settings found, which every restore puts back exactly, and
  // installs the signal handlers. Signals the program's caller ignored stay ignored.
  bool SetMode(TerminalMode mode);

  // Restore: puts back the settings found, when a mode is set; no mode is wanted from
  // then on.
  void Restore();

  // RaiseAsTheTerminalWould: the interrupt or stop key's own signal, with the settings put
  // back meanwhile. Returns when the signal is ignored, or after a stop once continued;
  // the mode is then wanted again, and TakeNews sets it.
  void RaiseAsTheTerminalWould(int signalNumber);

  // TakeNews: what happened since the news was last taken. After a continue, the mode
  // wanted is set again when the program is in the terminal's foreground; in the
  // background nothing is touched, and the program stops with SIGTTIN, as a read there
  // would stop it, until it is brought back.
  SignalNews TakeNews();

  // NewsWaiting: whether a continue or a resize is yet to be taken.
  static bool NewsWaiting();

  // KeysFound: the interrupt, quit, suspend and erase keys the settings found name, once a
  // mode has been set; none of the first three where the terminal sends no signals.
  static TerminalKeys KeysFound();

 private:
  bool Apply();

  termios applied_{};  // the settings of the mode wanted
  bool found_ = false;
  bool wanted_ = false;
};

// EndBySignal: the terminal put back, then `signalNumber` with its default action, which
// ends the program.
void EndBySignal(int signalNumber);

}  // namespace intcalc
