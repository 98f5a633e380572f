#include "console/terminal_keys.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <utility>

#include "console/retry.h"
#include "console/system_calls.h"
#include "editor/key_decoder.h"

namespace intcalc {

KeysRead ReadKeys(Shell& shell, int waitMilliseconds, OnNews onNews) {
  bool showAgain = false;
  const Waited waited = WaitForInput(waitMilliseconds, [&shell, &onNews, &showAgain] {
    showAgain = Terminal::NewsWaiting() && !onNews(shell, shell.terminal.TakeNews());
    return !showAgain && shell.output.ReadyToWait();
  });
  switch (waited) {
    case Waited::kReady:
      break;
    case Waited::kTimedOut:
      return KeysRead::kTimedOut;
    case Waited::kStopped:
      return showAgain ? KeysRead::kShowAgain : KeysRead::kOutputFailed;
    case Waited::kFailed:
      return KeysRead::kFailed;
  }
  HeldKeys& keys = shell.session.keys;
  keys.bytes.Clear();
  keys.used = 0;
  const std::span<char> room = keys.bytes.Unfilled();
  const ssize_t count = Retrying(
      STDIN_FILENO, POLLIN, [&] { return Calls().read(STDIN_FILENO, room.data(), room.size()); });
  if (count < 0) return KeysRead::kFailed;
  if (count == 0) return KeysRead::kEnd;
  keys.bytes.Filled(static_cast<std::size_t>(count));
  return KeysRead::kKeys;
}

bool ActAsTheTerminal(Shell& shell, int signalNumber, int key) {
  const bool shown = Terminal::EchoesControls() && key != TerminalKeys::kNoKey;
  if (shown) {
    constexpr int kControlBit = 0x40;  // Ctrl-C is C without it
    const std::array<char, 2> echo = {'^', static_cast<char>(key ^ kControlBit)};
    shell.output.WriteBytes({echo.data(), echo.size()});
  }
  (void)shell.output.ReadyToWait();  // all that shows, before the signal
  shell.terminal.RaiseAsTheTerminalWould(signalNumber);
  return shown;
}

namespace {

// FirstByte: what a key typed, for a key that types a character; NUL for any other.
char FirstByte(const Key& key) {
  return key.Character().empty() ? '\0' : key.Character()[0];
}

// SignalOf: the signal a signal key sends, and the key; 0 for any other key.
std::pair<int, int> SignalOf(EditAction action, const TerminalKeys& keys) {
  switch (action) {
    case EditAction::kInterrupt:
      return {SIGINT, keys.interrupt};
    case EditAction::kQuit:
      return {SIGQUIT, keys.quit};
    case EditAction::kSuspend:
      return {SIGTSTP, keys.suspend};
    default:
      return {0, TerminalKeys::kNoKey};
  }
}

// NextKey: the next key of those held, decoded; empty while the held bytes end inside one.
Keys NextKey(HeldKeys& keys, KeyDecoder& decoder) {
  Keys decoded;
  while (decoded.IsEmpty() && !keys.Left().empty()) {
    decoded = decoder.Feed(keys.Left().front());
    ++keys.used;
  }
  return decoded;
}

// NewsShownAgain: a continue shows the step again; other news changes nothing here.
bool NewsShownAgain(Shell& /*shell*/, SignalNews news) {
  return news != SignalNews::kContinued;
}

}  // namespace

// ReadInteractiveKey: one key as the editor decodes it, whatever it is; the signal keys do
// as the terminal would. Keys typed after it are held for whatever reads next.
KeyRead ReadInteractiveKey(InteractiveState& session, Output& output, PlatformState& platform) {
  Shell shell{session, output, platform.terminal, {}};
  if (!output.ReadyToWait() || !shell.terminal.SetMode(TerminalMode::kRaw)) {
    return {KeyStatus::kNone, 0};
  }
  Terminal::SetLeaving({}, false);  // the rows of the steps end with their line ends
  const TerminalKeys terminalKeys = Terminal::KeysFound();
  KeyDecoder decoder(terminalKeys);
  while (true) {
    Keys keys = NextKey(session.keys, decoder);
    if (keys.IsEmpty()) {
      const int wait = decoder.Unfinished() ? kEscapeWaitMilliseconds : -1;
      switch (ReadKeys(shell, wait, NewsShownAgain)) {
        case KeysRead::kKeys:
          continue;
        case KeysRead::kTimedOut:
          keys = decoder.Expire();
          break;
        case KeysRead::kShowAgain:
          return {KeyStatus::kContinued, 0};  // the step is shown again
        default:
          return {KeyStatus::kNone, 0};
      }
    }
    const auto [signalNumber, key] = SignalOf(keys[0].action, terminalKeys);
    if (signalNumber == 0) return {KeyStatus::kKey, FirstByte(keys[0])};
    if (ActAsTheTerminal(shell, signalNumber, key)) output.Write(TextView(kLineEnd));
  }
}

std::size_t TakeKeysHeld(InteractiveState& session, std::span<char> destination) {
  HeldKeys& keys = session.keys;
  const std::string_view held = keys.Left();
  const std::size_t count = std::min(held.size(), destination.size());
  for (std::size_t index = 0; index < count; ++index) {
    destination[index] = held[index] == '\r' ? '\n' : held[index];
  }
  keys.used += count;
  return count;
}

}  // namespace intcalc
