// A line editor for terminals that understand cursor movement: cursor keys, the usual
// erase and kill keys, and a history of this session on Up and Down. POSIX only.
#pragma once

#include <span>

#include "console/console.h"
#include "console/system_calls.h"

namespace intcalc {

// EditorSuits: whether lines should be read through the editor: standard input and
// output are terminals, and TERM names a terminal that is not "dumb".
bool EditorSuits(const SystemCalls& calls);

// ReadEditedLine: writes out the pending output, lets the person edit one line and stores
// it, followed by LF, into destination. Ctrl-D on an empty line is the end of input;
// Ctrl-C ends the program as the interrupt key does. The terminal is in raw mode only
// while the line is edited, from before the pending output shows.
ReadResult ReadEditedLine(const SystemCalls& calls, std::span<char> destination);

}  // namespace intcalc
