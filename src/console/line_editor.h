// The line editor's terminal shell, for terminals that understand cursor movement: it
// reads keys, hands them to the editor's layers in src/editor (key_decoder: bytes to keys;
// line_editing: keys to the line; line_drawing: the line to bytes), and writes what they
// draw. POSIX only.
#pragma once

#include <span>

#include "console/console.h"

namespace intcalc {

// EditorSuits: whether lines should be read through the editor: standard input and
// output are terminals, and TERM names a terminal that is not "dumb".
bool EditorSuits();

// ShowPromptOnClear: the prompt the editor shows above the line when Ctrl-L clears the
// screen; it must live as long as the program.
void ShowPromptOnClear(TextView prompt);

// ReadEditedLine: writes out the pending output, lets the person edit one line of at most
// destination.size() - 2 bytes, and stores it, followed by CR LF, into destination. A key
// that would make the line longer rings the bell and is dropped. Ctrl-D on an empty line
// is the end of input; Ctrl-C ends the program as the interrupt key does. The terminal is
// in raw mode only while the line is edited, from before the pending output shows.
ReadResult ReadEditedLine(std::span<char> destination);

}  // namespace intcalc
