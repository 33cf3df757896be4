// Fuzz target: the editor driven by a byte stream of window messages (keys
// with modifiers, characters with lead and trail bytes, input-method results,
// mouse presses, moves, releases and double clicks, clipboard contents, copy,
// cut, paste, undo and redo), its invariants checked after every message and
// undo-all then redo-all required to give the text back at the end. An
// input-method result echoed as characters must leave the text as the result
// made it.
//
// Input: one byte of settings (bit 0: the input method echoes its results as
// characters; bit 1: text drag on), then one message per opcode byte; each
// opcode takes the argument bytes its decoder reads.
#include <array>
#include <cstdint>

#include "fuzz/FuzzInput.h"
#include "fuzz/Invariants.h"
#include "headless/HeadlessPlayer.h"

namespace kelvane::fuzz {

namespace {

// Enough to build and take apart a few screens of text, few enough that the
// invariant checks after every message stay far from a time-out.
constexpr int kMaxMessages = 400;
constexpr size_t kMaxString = 24;
// Select all, copy and paste doubles the text: capped, four hundred messages
// could make it exponentially long, and every check reads all of it.
constexpr size_t kMaxClipboard = 128;

constexpr std::array<uint32_t, 22> kKeys = {
    VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_INSERT, VK_DELETE, VK_BACK,
    VK_RETURN, VK_TAB, VK_ESCAPE, VK_SPACE, VK_F2, 'A', 'C', 'R', 'V', 'X', 'Z'};

class MessagePlayer {
 public:
  explicit MessagePlayer(HeadlessPlayer& p) : host_(p.EditWindow), e_(p.Editor()) {}

  // What the last message was, for the report of a broken invariant.
  std::string Last;

  void Play(FuzzInput& in) {
    const uint32_t op = in.Below(12);
    Last = "message " + std::to_string(++count_) + " (opcode " + std::to_string(op) + ")";
    switch (op) {
      case 0: Key(in); break;
      case 1: Chars(std::string(1, static_cast<char>(in.Byte())), in.Byte()); break;
      case 2: Chars(std::string{static_cast<char>(in.Byte()), static_cast<char>(in.Byte())}, in.Byte()); break;
      case 3: Chars(in.Bytes(kMaxString), 0); break;
      case 4: Ime(in.Bytes(kMaxString)); break;
      case 5: Mouse(in); break;
      case 6: host_.Clipboard = in.Bytes(kMaxString); break;
      case 7: Copy(WM_COPY); break;
      case 8: Copy(WM_CUT); break;
      case 9: e_.Perform(WM_PASTE); break;
      case 10: e_.UndoStep(); break;
      case 11: e_.RedoStep(); break;
    }
  }

 private:
  // Bit 0 Shift, bit 1 Ctrl, bit 2 Alt: held while the message is handled.
  struct Modifiers {
    HeadlessEditHost& host;
    Modifiers(HeadlessEditHost& h, uint8_t bits) : host(h) {
      if (bits & 1) host.KeysDown.insert(VK_SHIFT);
      if (bits & 2) host.KeysDown.insert(VK_CONTROL);
      if (bits & 4) host.KeysDown.insert(VK_MENU);
    }
    ~Modifiers() { host.KeysDown.clear(); }
  };

  void Key(FuzzInput& in) {
    const uint32_t vk = kKeys[in.Below(kKeys.size())];
    const Modifiers held(host_, in.Byte());
    e_.Perform(WM_KEYDOWN, vk);
    CheckEditor(e_, Last);
    e_.Perform(WM_KEYUP, vk);
  }

  void Copy(uint32_t msg) {
    e_.Perform(msg);
    if (host_.Clipboard && host_.Clipboard->size() > kMaxClipboard) host_.Clipboard->resize(kMaxClipboard);
  }

  // Queued character messages, handled one at a time; a lead byte's handler
  // takes its trail byte from the queue itself.
  void Chars(const std::string& bytes, uint8_t modifiers) {
    const Modifiers held(host_, modifiers);
    for (unsigned char b : bytes) host_.CharQueue.push_back(b);
    while (std::optional<uint32_t> ch = host_.PeekChar(true)) {
      e_.Perform(WM_CHAR, *ch);
      CheckEditor(e_, Last);
    }
  }

  // A result string, then (where the platform does so) the same bytes again as
  // characters: those are the result's echo, to be swallowed whole, every byte
  // of it, and nothing after it. A platform's result string ends at a NUL, and
  // so does its echo.
  void Ime(const std::string& result) {
    host_.ImeResult = result;
    e_.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    host_.ImeResult.clear();
    CheckEditor(e_, Last);
    if (!host_.ImeEchoes) return;
    const std::string text = e_.GetText();
    Chars(std::string(UpToNul(result)), 0);
    if (e_.GetText() != text) Fail("the echo of an input-method result changed the text", Last);
    if (e_.ImeSkipCount != 0) Fail("characters are left to swallow after an input-method result's echo", Last);
  }

  // Anywhere on the 640 x 480 window and a little outside it (a captured mouse).
  void Mouse(FuzzInput& in) {
    static constexpr std::array<uint32_t, 4> kMsgs = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
    const uint32_t msg = kMsgs[in.Below(kMsgs.size())];
    const int32_t x = in.Byte() * 3 - 40;
    const int32_t y = in.Byte() * 2 - 20;
    const uint8_t modifiers = in.Byte();
    const Modifiers held(host_, modifiers);
    host_.Mouse = {x, y};
    WPARAM keys = msg == WM_LBUTTONUP ? 0 : WPARAM{MK_LBUTTON};
    if (modifiers & 1) keys |= MK_SHIFT;
    if (modifiers & 2) keys |= MK_CONTROL;
    e_.Perform(msg, keys, MakeLParam(static_cast<uint32_t>(x) & 0xFFFF, static_cast<uint32_t>(y) & 0xFFFF));
  }

  HeadlessEditHost& host_;
  TVeskEdit& e_;
  int count_ = 0;
};

}  // namespace

}  // namespace kelvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvane;
  using namespace kelvane::fuzz;
  FuzzInput in(data, size);
  HeadlessPlayer player;
  const uint8_t settings = in.Byte();
  player.EditWindow.ImeEchoes = (settings & 1) != 0;
  player.Editor().TextDrag = (settings & 2) != 0;
  MessagePlayer messages(player);
  for (int i = 0; i < kMaxMessages && !in.Empty(); ++i) {
    messages.Play(in);
    CheckEditor(player.Editor(), messages.Last);
  }
  CheckUndoAllRedoAll(player.Editor(), kMaxMessages * kMaxString);
  return 0;
}
