// Keys at the terminal, for the line editor's shell and the wait for a single key: the
// parts of the console they reach, the wait for keys and the keys it holds, and what the
// terminal's own signal keys do. POSIX only.
#pragma once

#include <string_view>

#include "console/interactive.h"
#include "console/output.h"
#include "console/terminal.h"

namespace intcalc {

// After an Escape, how long the rest of a key's sequence may take to come: a slow link or
// a busy machine may split a sequence across reads; after this, it is the Escape key.
inline constexpr int kEscapeWaitMilliseconds = 500;

// Shell: the parts of the console the shell reaches, for one line or one key.
struct Shell {
  InteractiveState& session;
  Output& output;
  Terminal& terminal;
  std::string_view prompt;
};

// What a wait for keys came to.
enum class KeysRead : unsigned char {
  kKeys,          // keys are held
  kTimedOut,      // none came in time
  kShowAgain,     // news came that asks for what was shown to be shown again
  kOutputFailed,  // the answers so far could not be written out: nothing is read
  kEnd,           // input ended
  kFailed,        // the wait or the read failed; errno says why
};

// OnNews: what the news a signal brought asks of the reader: true to go on waiting.
using OnNews = bool (*)(Shell& shell, SignalNews news);

// ReadKeys: waits for keys, at most `waitMilliseconds` when it is not -1, and reads what is
// waiting into the held keys, which must all have been used. Before each wait it takes the
// news and shows it with `onNews`, and writes out the answers so far.
KeysRead ReadKeys(Shell& shell, int waitMilliseconds, OnNews onNews);

// ActAsTheTerminal: what the terminal does for one of its signal keys, `key`: shows it,
// ^C for Ctrl-C, where the terminal would, then sends its signal to the job. Returns when
// the signal is ignored, or after a stop once continued; whether the key was shown.
bool ActAsTheTerminal(Shell& shell, int signalNumber, int key);

}  // namespace intcalc
