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

std::string Bool(bool b) { return b ? "true" : "false"; }

std::string RecordsJson(const TUndoList& list) {
  std::string s = "[";
  for (int32_t i = 0; i < list.Count(); ++i) {
    const TUndoData& r = list[i];
    s += (i ? "," : "") + std::string("{\"mode\":") + std::to_string(r.Mode) + ",\"x\":" + std::to_string(r.Caret.X) +
         ",\"y\":" + std::to_string(r.Caret.Y) + ",\"count\":" + std::to_string(r.Count) + ",\"text\":\"" +
         Hex(r.Text) + "\",\"utf8\":\"" + JsonUtf8(r.Text) + "\"}";
  }
  return s + "]";
}

// What one line gives a verb's parser: its words, and the rest of the line
// after the verb and one blank (a TEXT argument, blanks and all).
struct TScriptLine {
  std::vector<std::string> Words;
  std::string Rest;
};

class ScriptPlayer {
 public:
  ScriptPlayer(TVeskEdit& e, HeadlessEditHost& host, std::ostream& out) : e_(e), host_(host), out_(out) {}

  void Play(const TScriptCommand& c);

  // One member per verb, named in the verb table below.
  void Char(const TScriptCommand& c) { e_.Perform(WM_CHAR, static_cast<WPARAM>(c.Numbers[0] & 0xFFFF)); }
  void Type(const TScriptCommand& c) { PumpChars(c.Text); }
  void Key(const TScriptCommand& c) {
    e_.Perform(WM_KEYDOWN, static_cast<WPARAM>(c.Numbers[0]));
    e_.Perform(WM_KEYUP, static_cast<WPARAM>(c.Numbers[0]));
  }
  void Ime(const TScriptCommand& c) {
    host_.ImeResult = c.Text;
    e_.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    host_.ImeResult.clear();
    PumpChars(c.Text);
  }
  void Down(const TScriptCommand& c) { Mouse(WM_LBUTTONDOWN, c, true); }
  void Move(const TScriptCommand& c) { Mouse(WM_MOUSEMOVE, c, true); }
  void Up(const TScriptCommand& c) { Mouse(WM_LBUTTONUP, c, false); }
  void DblClick(const TScriptCommand& c) { Mouse(WM_LBUTTONDBLCLK, c, true); }
  void Wheel(const TScriptCommand& c) {
    const uint32_t delta = c.Text == "up" ? 120 : static_cast<uint16_t>(-120);
    e_.Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(MakeLParam(0, delta)));
  }
  void VScroll(const TScriptCommand& c) { Scroll(c, true); }
  void HScroll(const TScriptCommand& c) { Scroll(c, false); }
  void Clipboard(const TScriptCommand& c) { host_.Clipboard = c.Text; }
  void Copy(const TScriptCommand&) { e_.Perform(WM_COPY); }
  void Cut(const TScriptCommand&) { e_.Perform(WM_CUT); }
  void Paste(const TScriptCommand&) { e_.Perform(WM_PASTE); }
  void Undo(const TScriptCommand&) { e_.UndoStep(); }
  void Redo(const TScriptCommand&) { e_.RedoStep(); }
  void Set(const TScriptCommand& c) { SetPropertyByName(&e_, c.Text, c.Value); }
  void Dump(const TScriptCommand&) {
    const std::string text = e_.GetText();
    out_ << "{\"text\":\"" << Hex(text) << "\",\"utf8\":\"" << JsonUtf8(text) << "\",\"caret\":[" << e_.CaretPos.X << "," << e_.CaretPos.Y
         << "],\"anchor\":[" << e_.SelAnchor.X << "," << e_.SelAnchor.Y << "],\"selected\":" << Bool(e_.Selected)
         << ",\"box\":" << Bool(e_.BoxMode) << ",\"lineSelect\":" << Bool(e_.LineSelect) << ",\"top\":" << e_.TopLine
         << ",\"hscroll\":" << e_.HScrollPos << ",\"undo\":" << e_.Undo->FUndoList.Count()
         << ",\"redo\":" << e_.Undo->FRedoList.Count() << "}\n";
  }
  void Records(const TScriptCommand&) {
    out_ << "{\"undo\":" << RecordsJson(e_.Undo->FUndoList) << ",\"redo\":" << RecordsJson(e_.Undo->FRedoList)
         << "}\n";
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

  void Scroll(const TScriptCommand& c, bool vertical) {
    if (c.Numbers.size() > 1) host_.Bars[vertical ? 1 : 0].TrackPos = static_cast<int32_t>(c.Numbers[1]);
    e_.Perform(vertical ? WM_VSCROLL : WM_HSCROLL, static_cast<WPARAM>(c.Numbers[0] & 0xFFFF));
  }

  TVeskEdit& e_;
  HeadlessEditHost& host_;
  std::ostream& out_;
};

// ---- the arguments each verb takes -------------------------------------------------

void NoArguments(TScriptCommand& c, const TScriptLine& l) {
  Expect(l.Words.size() == 1, c.Verb + " takes no arguments");
}

void TextArgument(TScriptCommand& c, const TScriptLine& l) { c.Text = ScriptText(l.Rest); }

void CodeArgument(TScriptCommand& c, const TScriptLine& l) {
  Expect(l.Words.size() >= 2, "char needs a code");
  c.Numbers = {Number(l.Words[1])};
  TakeModifiers(c, l.Words, 2);
}

void KeyArgument(TScriptCommand& c, const TScriptLine& l) {
  Expect(l.Words.size() >= 2, "key needs a name");
  c.Numbers = {KeyCode(l.Words[1])};
  TakeModifiers(c, l.Words, 2);
}

void PointArguments(TScriptCommand& c, const TScriptLine& l) {
  Expect(l.Words.size() >= 3, c.Verb + " needs X and Y");
  c.Numbers = {Number(l.Words[1]), Number(l.Words[2])};
  TakeModifiers(c, l.Words, 3);
}

void WheelArgument(TScriptCommand& c, const TScriptLine& l) {
  Expect(l.Words.size() == 2 && (l.Words[1] == "up" || l.Words[1] == "down"), "wheel needs up or down");
  c.Text = l.Words[1];
}

void ScrollArguments(TScriptCommand& c, const TScriptLine& l) {
  Expect(l.Words.size() == 2 || l.Words.size() == 3, c.Verb + " needs CODE [POS]");
  c.Numbers = {Number(l.Words[1])};
  if (l.Words.size() == 3) c.Numbers.push_back(Number(l.Words[2]));
}

void PropertyArguments(TScriptCommand& c, const TScriptLine& l) {
  const std::vector<std::string>& w = l.Words;
  Expect(w.size() == 3 && SetPropertyByName(nullptr, w[1], w[2]), "set needs a property name and a value of its kind");
  c.Text = w[1];
  c.Value = w[2];
}

// The script language: every verb, how its arguments are read and what playing it does.
struct TScriptVerb {
  std::string_view Name;
  void (*Parse)(TScriptCommand&, const TScriptLine&);
  void (ScriptPlayer::*Play)(const TScriptCommand&);
};

constexpr TScriptVerb kVerbs[] = {
    {"char", CodeArgument, &ScriptPlayer::Char},
    {"type", TextArgument, &ScriptPlayer::Type},
    {"key", KeyArgument, &ScriptPlayer::Key},
    {"ime", TextArgument, &ScriptPlayer::Ime},
    {"down", PointArguments, &ScriptPlayer::Down},
    {"move", PointArguments, &ScriptPlayer::Move},
    {"up", PointArguments, &ScriptPlayer::Up},
    {"dblclick", PointArguments, &ScriptPlayer::DblClick},
    {"wheel", WheelArgument, &ScriptPlayer::Wheel},
    {"vscroll", ScrollArguments, &ScriptPlayer::VScroll},
    {"hscroll", ScrollArguments, &ScriptPlayer::HScroll},
    {"clipboard", TextArgument, &ScriptPlayer::Clipboard},
    {"copy", NoArguments, &ScriptPlayer::Copy},
    {"cut", NoArguments, &ScriptPlayer::Cut},
    {"paste", NoArguments, &ScriptPlayer::Paste},
    {"undo", NoArguments, &ScriptPlayer::Undo},
    {"redo", NoArguments, &ScriptPlayer::Redo},
    {"set", PropertyArguments, &ScriptPlayer::Set},
    {"dump", NoArguments, &ScriptPlayer::Dump},
    {"records", NoArguments, &ScriptPlayer::Records},
};

const TScriptVerb* FindVerb(std::string_view name) {
  for (const TScriptVerb& verb : kVerbs) {
    if (verb.Name == name) return &verb;
  }
  return nullptr;
}

void ScriptPlayer::Play(const TScriptCommand& c) {
  HoldModifiers(c);
  struct Release {
    HeadlessEditHost& host;
    ~Release() { host.KeysDown.clear(); }
  } release{host_};
  (this->*FindVerb(c.Verb)->Play)(c);
}

TScriptCommand ParseLine(const std::string& line, int lineNo) {
  TScriptLine l{Words(line), {}};
  const size_t space = line.find(' ', line.find_first_not_of(" \t"));
  if (space != std::string::npos) l.Rest = line.substr(space + 1);
  TScriptCommand c;
  c.LineNo = lineNo;
  c.Verb = l.Words[0];
  const TScriptVerb* verb = FindVerb(c.Verb);
  Expect(verb != nullptr, "unknown command '" + c.Verb + "'");
  verb->Parse(c, l);
  return c;
}

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
