// The terminal's modes on POSIX: the one place that sets them and puts them back, and the
// signals that must put them back however the program ends, stops or is resized while a
// mode is set. A handler does only what is safe in one: it writes what the reader left
// ready for a way out, puts back the settings, notes what happened, and raises its signal
// again with the default action. Everything else happens in the loop that reads, when it
// takes the news.
#pragma once

#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/key_decoder.h"

namespace intcalc {

enum class TerminalMode : std::uint8_t {
  kLine,  // the terminal's own line editing and echo, whatever mode an earlier program left
  kRaw,   // every key as typed, nothing echoed: the line editor's, and a single key's
};

// SignalNews: what the signals brought since the news was last taken.
enum class SignalNews : std::uint8_t {
  kNone,       // nothing that changes what is shown
  kContinued,  // stopped and continued in the foreground: the mode is set again, and what
               // was shown may be gone
  kResized,    // the terminal's size changed
};

// kMostLeaving: the most bytes a handler writes on the way out (SetLeaving).
inline constexpr std::size_t kMostLeaving = 48;

// Terminal: what the reading loop knows of standard input's terminal; what the signal
// handlers must reach is kept apart, in terminal.cpp, and reached only through here.
class Terminal {
 public:
  // SetMode: puts the terminal in `mode`; false when its modes cannot be read or set. The
  // first call keeps the settings found, which every restore puts back exactly, and
  // installs the signal handlers. Signals the program's caller ignored stay ignored. In
  // the background the change stops the program until it is brought to the foreground,
  // where it is made.
  bool SetMode(TerminalMode mode);

  // Restore: puts back the settings found, when a mode is set; no mode is wanted from
  // then on.
  void Restore();

  // RaiseAsTheTerminalWould: what the terminal does for one of its signal keys: the
  // signal, to every process of the foreground job, with the settings put back meanwhile.
  // Returns when the signal is ignored, or after a stop once continued; the mode is then
  // wanted again, and TakeNews sets it.
  void RaiseAsTheTerminalWould(int signalNumber);

  // TakeNews: what happened since the news was last taken. After a continue, the mode
  // wanted is set again when the program is in the terminal's foreground and its settings
  // are no longer ours: a continue with no stop before it changes nothing. In the
  // background nothing is touched, and the program stops with SIGTTIN, as a read there
  // would stop it, until it is brought back.
  SignalNews TakeNews();

  // NewsWaiting: whether a continue or a resize is yet to be taken.
  static bool NewsWaiting();

  // KeysFound: the keys the settings found name, once a mode has been set: the signal keys
  // none where the terminal sends no signals.
  static TerminalKeys KeysFound();

  // EchoesControls: whether the terminal, as found, shows a signal key as ^C does.
  static bool EchoesControls();

  // SetLeaving: what a handler writes to standard output before it puts the settings
  // back: `bytes`, at most kMostLeaving, such as those that erase what only the editor
  // shows; then, with `freshLine`, when the cursor is in the middle of an edited row, a
  // line end, except after the interrupt, when the shell starts a fresh line itself.
  static void SetLeaving(std::string_view bytes, bool freshLine);

 private:
  bool Apply(bool again);

  termios applied_{};  // the settings of the mode wanted
  bool found_ = false;
  bool wanted_ = false;
};

// EndBySignal: the terminal put back, then `signalNumber` with its default action, which
// ends the program.
void EndBySignal(int signalNumber);

}  // namespace intcalc
