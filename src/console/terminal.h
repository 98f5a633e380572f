// The terminal's modes on POSIX: the one place that sets them and puts them back, and the
// signals that must put them back however the program ends, stops or is resized while a
// mode is set.
#pragma once

#include <cstdint>

namespace intcalc {

enum class TerminalMode : std::uint8_t {
  kLine,  // the terminal's own line editing and echo, whatever mode an earlier program left
  kRaw,   // every key as typed, nothing echoed, no signal keys: the line editor's
  kKey,   // keys one at a time, not echoed, the signal keys working: a single key's
};

// SetTerminalMode: puts standard input's terminal in `mode`; false when its modes cannot
// be read or set. The raw and the key mode are put back by RestoreTerminal.
bool SetTerminalMode(TerminalMode mode);

// RestoreTerminal: puts back the modes the raw or the key mode replaced, if one is set.
void RestoreTerminal();

// InstallSignalHandlers: once; from then on, a signal that ends the program while the raw
// mode is set puts the terminal back first (and, but for the interrupt, after which the
// shell starts a fresh line itself, moves to a fresh line), a stop puts it back until the
// program continues, and a stop or a resize asks for a redraw. Signals the program's
// caller ignored stay ignored.
void InstallSignalHandlers();

// RaiseAsTheTerminalWould: the interrupt or stop key's own signal, with the terminal in
// its own mode meanwhile; false when the raw mode cannot be set again.
bool RaiseAsTheTerminalWould(int signalNumber);

enum class RedrawRequest : std::uint8_t { kNone, kRedraw, kResized };

// RedrawWanted: whether a signal asked for a redraw since the last TakeRedrawRequest.
bool RedrawWanted();

// TakeRedrawRequest: what signals asked for since it was last taken: nothing, a redraw, or
// a redraw after the terminal's size changed.
RedrawRequest TakeRedrawRequest();

}  // namespace intcalc
