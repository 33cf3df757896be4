// Edit scripts: parsing and playing them to the control.
#include "cli/EditScript.h"

#include <map>
#include <ostream>
#include <sstream>

#include "cli/Hex.h"
#include "editor/VeskEdit.h"
#include "platform/Codepage.h"
#include "headless/HeadlessEditHost.h"

namespace kelvane {

namespace {

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

int64_t Number(const std::string& word) {
  const bool negative = !word.empty() && word[0] == '-';
  const std::string digits = negative ? word.substr(1) : word;
  const bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
  const std::string body = hex ? digits.substr(2) : digits;
  if (body.empty() || body.size() > 15) throw ScriptError("not a number: " + word);
  for (char c : body) {
    if (!(hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c))))
      throw ScriptError("not a number: " + word);
  }
  const int64_t v = std::stoll(body, nullptr, hex ? 16 : 10);
  return negative ? -v : v;
}

// TEXT: UTF-8 converted to code page 932, with \r \n \t \\ and \xHH (a raw byte).
std::string ScriptText(const std::string& raw) {
  std::string out, run;
  auto flush = [&] {
    out += cp932::FromUtf8(run);
    run.clear();
  };
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\') {
      run.push_back(raw[i]);
      continue;
    }
    flush();
    const char e = i + 1 < raw.size() ? raw[++i] : '\0';
    if (e == 'r') out.push_back('\r');
    else if (e == 'n') out.push_back('\n');
    else if (e == 't') out.push_back('\t');
    else if (e == '\\') out.push_back('\\');
    else if (e == 'x' && i + 2 < raw.size() && std::isxdigit(static_cast<unsigned char>(raw[i + 1])) &&
             std::isxdigit(static_cast<unsigned char>(raw[i + 2]))) {
      out.push_back(static_cast<char>(std::stoi(raw.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      throw ScriptError("unknown escape in text");
    }
  }
  flush();
  return out;
}

const std::map<std::string, uint32_t>& KeyNames() {
  static const std::map<std::string, uint32_t> kNames = {
      {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT}, {"UP", VK_UP},       {"DOWN", VK_DOWN},     {"HOME", VK_HOME},
      {"END", VK_END},   {"PGUP", VK_PRIOR},  {"PGDN", VK_NEXT},   {"INSERT", VK_INSERT}, {"DELETE", VK_DELETE},
  };
  return kNames;
}

uint32_t KeyCode(const std::string& name) {
  if (auto it = KeyNames().find(name); it != KeyNames().end()) return it->second;
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return static_cast<uint32_t>(name[0]);
  if (name.size() > 2 && name[0] == '0' && name[1] == 'x') return static_cast<uint32_t>(Number(name) & 0xFF);
  throw ScriptError("unknown key " + name);
}

// The modifiers after the fixed arguments: +shift, +ctrl, +alt.
void TakeModifiers(TScriptCommand& c, const std::vector<std::string>& words, size_t from) {
  for (size_t i = from; i < words.size(); ++i) {
    if (words[i] == "+shift") c.Shift = true;
    else if (words[i] == "+ctrl") c.Ctrl = true;
    else if (words[i] == "+alt") c.Alt = true;
    else throw ScriptError("unexpected '" + words[i] + "'");
  }
}

void Expect(bool ok, const std::string& what) {
  if (!ok) throw ScriptError(what);
}

TScriptCommand ParseLine(const std::string& line, int lineNo) {
  const std::vector<std::string> w = Words(line);
  TScriptCommand c;
  c.LineNo = lineNo;
  c.Verb = w[0];
  const std::string& v = c.Verb;
  const size_t space = line.find(' ', line.find_first_not_of(" \t"));
  const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
  if (v == "type" || v == "ime" || v == "clipboard") {
    c.Text = ScriptText(rest);
  } else if (v == "char") {
    Expect(w.size() >= 2, "char needs a code");
    c.Numbers = {Number(w[1])};
    TakeModifiers(c, w, 2);
  } else if (v == "key") {
    Expect(w.size() >= 2, "key needs a name");
    c.Numbers = {KeyCode(w[1])};
    TakeModifiers(c, w, 2);
  } else if (v == "down" || v == "move" || v == "up" || v == "dblclick") {
    Expect(w.size() >= 3, v + " needs X and Y");
    c.Numbers = {Number(w[1]), Number(w[2])};
    TakeModifiers(c, w, 3);
  } else if (v == "wheel") {
    Expect(w.size() == 2 && (w[1] == "up" || w[1] == "down"), "wheel needs up or down");
    c.Text = w[1];
  } else if (v == "vscroll" || v == "hscroll") {
    Expect(w.size() == 2 || w.size() == 3, v + " needs CODE [POS]");
    c.Numbers = {Number(w[1])};
    if (w.size() == 3) c.Numbers.push_back(Number(w[2]));
  } else if (v == "set") {
    Expect(w.size() == 3 && SetPropertyByName(nullptr, w[1], w[2]), "set needs a property name and a value of its kind");
    c.Text = w[1];
    c.Value = w[2];
  } else {
    static const char* kBare[] = {"copy", "cut", "paste", "undo", "redo", "dump", "records"};
    Expect(std::find(std::begin(kBare), std::end(kBare), v) != std::end(kBare), "unknown command '" + v + "'");
    Expect(w.size() == 1, v + " takes no arguments");
  }
  return c;
}

std::string Bool(bool b) { return b ? "true" : "false"; }

std::string RecordsJson(const TUndoList& list) {
  std::string s = "[";
  for (int32_t i = 0; i < list.Count(); ++i) {
    const TUndoData& r = list[i];
    s += (i ? "," : "") + std::string("{\"mode\":") + std::to_string(r.Mode) + ",\"x\":" + std::to_string(r.Caret.X) +
         ",\"y\":" + std::to_string(r.Caret.Y) + ",\"count\":" + std::to_string(r.Count) + ",\"text\":\"" +
         Hex(r.Text) + "\"}";
  }
  return s + "]";
}

class ScriptPlayer {
 public:
  ScriptPlayer(TVeskEdit& e, HeadlessEditHost& host, std::ostream& out) : e_(e), host_(host), out_(out) {}

  void Play(const TScriptCommand& c) {
    HoldModifiers(c);
    struct Release {
      HeadlessEditHost& host;
      ~Release() { host.KeysDown.clear(); }
    } release{host_};
    Dispatch(c);
  }

 private:
  void HoldModifiers(const TScriptCommand& c) {
    if (c.Shift) host_.KeysDown.insert(VK_SHIFT);
    if (c.Ctrl) host_.KeysDown.insert(VK_CONTROL);
    if (c.Alt) host_.KeysDown.insert(VK_MENU);
  }

  // Queued character messages are handled one by one; a handler may take the
  // next one from the queue itself (the trail byte of a double-byte character).
  void PumpChars(const std::string& bytes) {
    for (unsigned char b : bytes) host_.CharQueue.push_back(b);
    while (std::optional<uint32_t> ch = host_.PeekChar(true)) e_.Perform(WM_CHAR, *ch);
  }

  void Mouse(uint32_t msg, const TScriptCommand& c, bool buttonHeld) {
    const auto x = static_cast<int32_t>(c.Numbers[0]);
    const auto y = static_cast<int32_t>(c.Numbers[1]);
    host_.Mouse = {x, y};
    WPARAM keys = buttonHeld ? WPARAM{MK_LBUTTON} : WPARAM{0};
    if (c.Shift) keys |= MK_SHIFT;
    if (c.Ctrl) keys |= MK_CONTROL;
    e_.Perform(msg, keys, MakeLParam(static_cast<uint32_t>(x) & 0xFFFF, static_cast<uint32_t>(y) & 0xFFFF));
  }

  void Dispatch(const TScriptCommand& c) {
    const std::string& v = c.Verb;
    if (v == "char") {
      e_.Perform(WM_CHAR, static_cast<WPARAM>(c.Numbers[0] & 0xFFFF));
    } else if (v == "type") {
      PumpChars(c.Text);
    } else if (v == "key") {
      e_.Perform(WM_KEYDOWN, static_cast<WPARAM>(c.Numbers[0]));
      e_.Perform(WM_KEYUP, static_cast<WPARAM>(c.Numbers[0]));
    } else if (v == "ime") {
      host_.ImeResult = c.Text;
      e_.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
      host_.ImeResult.clear();
      PumpChars(c.Text);
    } else if (v == "down") {
      Mouse(WM_LBUTTONDOWN, c, true);
    } else if (v == "move") {
      Mouse(WM_MOUSEMOVE, c, true);
    } else if (v == "up") {
      Mouse(WM_LBUTTONUP, c, false);
    } else if (v == "dblclick") {
      Mouse(WM_LBUTTONDBLCLK, c, true);
    } else if (v == "wheel") {
      const uint32_t delta = c.Text == "up" ? 120 : static_cast<uint16_t>(-120);
      e_.Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(MakeLParam(0, delta)));
    } else if (v == "vscroll" || v == "hscroll") {
      const bool vertical = v == "vscroll";
      if (c.Numbers.size() > 1) host_.Bars[vertical ? 1 : 0].TrackPos = static_cast<int32_t>(c.Numbers[1]);
      e_.Perform(vertical ? WM_VSCROLL : WM_HSCROLL, static_cast<WPARAM>(c.Numbers[0] & 0xFFFF));
    } else if (v == "clipboard") {
      host_.Clipboard = c.Text;
    } else if (v == "copy" || v == "cut" || v == "paste") {
      const uint32_t msg = v == "copy" ? uint32_t{WM_COPY} : v == "cut" ? uint32_t{WM_CUT} : uint32_t{WM_PASTE};
      e_.Perform(msg);
    } else if (v == "undo") {
      e_.UndoStep();
    } else if (v == "redo") {
      e_.RedoStep();
    } else if (v == "set") {
      SetPropertyByName(&e_, c.Text, c.Value);
    } else if (v == "dump") {
      Dump();
    } else if (v == "records") {
      out_ << "{\"undo\":" << RecordsJson(e_.Undo->FUndoList) << ",\"redo\":" << RecordsJson(e_.Undo->FRedoList)
           << "}\n";
    }
  }

  void Dump() {
    out_ << "{\"text\":\"" << Hex(e_.GetText()) << "\",\"caret\":[" << e_.CaretPos.X << "," << e_.CaretPos.Y
         << "],\"anchor\":[" << e_.SelAnchor.X << "," << e_.SelAnchor.Y << "],\"selected\":" << Bool(e_.Selected)
         << ",\"box\":" << Bool(e_.BoxMode) << ",\"lineSelect\":" << Bool(e_.LineSelect) << ",\"top\":" << e_.TopLine
         << ",\"hscroll\":" << e_.HScrollPos << ",\"undo\":" << e_.Undo->FUndoList.Count()
         << ",\"redo\":" << e_.Undo->FRedoList.Count() << "}\n";
  }

  TVeskEdit& e_;
  HeadlessEditHost& host_;
  std::ostream& out_;
};

}  // namespace

std::optional<std::vector<TScriptCommand>> ParseEditScript(const std::string& script, std::string& error) {
  std::vector<TScriptCommand> commands;
  std::istringstream in(script);
  int lineNo = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    try {
      commands.push_back(ParseLine(line, lineNo));
    } catch (const std::exception& e) {
      error = "line " + std::to_string(lineNo) + ": " + e.what();
      return std::nullopt;
    }
  }
  return commands;
}

bool RunEditScript(const std::vector<TScriptCommand>& commands, TVeskEdit& editor, HeadlessEditHost& host,
                   std::ostream& out, std::ostream& err) {
  ScriptPlayer player(editor, host, out);
  bool ok = true;
  for (const TScriptCommand& c : commands) {
    try {
      player.Play(c);
    } catch (const std::exception& e) {
      err << "kelvane-cli: line " << c.LineNo << ": " << c.Verb << " failed: " << e.what() << "\n";
      ok = false;
    }
  }
  return ok;
}

}  // namespace kelvane
