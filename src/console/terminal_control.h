// Raw mode for the line editor, and the signals that put the terminal back however the
// program ends, stops or is resized while a line is edited.
#pragma once

#include <cstdint>

#include "console/system_calls.h"

namespace intcalc {

// EnterRawMode: every key as typed and nothing echoed, through these calls from now on;
// false when the terminal's mode cannot be read or set.
bool EnterRawMode(const SystemCalls& calls);

// LeaveRawMode: the terminal's own line mode, as it was before.
void LeaveRawMode();

// InstallSignalHandlers: once; from then on, a signal that ends the program while raw
// mode is on puts the terminal back first (and, but for the interrupt, after which the
// shell starts a fresh line itself, moves to a fresh line), a stop puts it back until the
// program continues, and a stop or a resize asks for a redraw. Signals the program's
// caller ignored stay ignored.
void InstallSignalHandlers();

// RaiseAsTheTerminalWould: the interrupt or stop key's own signal, with the terminal in
// its own mode meanwhile; false when raw mode cannot be taken again.
bool RaiseAsTheTerminalWould(int signalNumber);

enum class RedrawRequest : std::uint8_t { kNone, kRedraw, kResized };

// RedrawWanted: whether a signal asked for a redraw since the last TakeRedrawRequest.
bool RedrawWanted();

// TakeRedrawRequest: what signals asked for since it was last taken: nothing, a redraw, or
// a redraw after the terminal's size changed.
RedrawRequest TakeRedrawRequest();

}  // namespace intcalc
