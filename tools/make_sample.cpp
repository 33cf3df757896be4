// make_sample: writes samples/haru.eud, a short Japanese memo about spring in a
// town as a person leaves it: typed phrase by phrase, corrected, partly undone.
// Usage: make_sample [OUT.eud]   (default samples/haru.eud)
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "headless/HeadlessPlayer.h"
#include "platform/Codepage.h"
#include "platform/FileSystem.h"
#include "player/UndoFile.h"
#include "tools/HistoryBuilder.h"
#include "util/TovelUtils.h"

namespace kelvane {
namespace {

constexpr const char* kDefaultOut = "samples/haru.eud";

// Code page 932 bytes of script text, "\n" becoming CR LF. A character the code
// page lacks would silently turn into "?", so it stops the generator instead.
std::string Sjis(std::string_view utf8) {
  const std::string bytes = cp932::FromUtf8(utf8);
  if (std::count(bytes.begin(), bytes.end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
    throw std::runtime_error("not in code page 932: " + std::string(utf8));
  return ReplaceAll(bytes, "\n", "\r\n");
}

// ---- phrases: how the text is committed --------------------------------------

struct TScriptChar {
  char32_t Code;
  size_t Offset;  // in the UTF-8 text
};

// Characters of the script with their offsets. The script is our own
// well-formed UTF-8, so malformed input needs no care here.
std::vector<TScriptChar> DecodeUtf8(std::string_view utf8) {
  std::vector<TScriptChar> out;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? lead : lead & (0x3F >> (n - 1));
    for (size_t k = 1; k < n && i + k < utf8.size(); ++k) c = (c << 6) | (utf8[i + k] & 0x3F);
    out.push_back({c, i});
    i += n;
  }
  return out;
}

enum class TCharKind { End, Ascii, Digit, Space, Tab, WideSpace, Kana, Open, Close, Stop, Mark, Core };

TCharKind KindOf(char32_t c) {
  constexpr std::u32string_view kOpen = U"「『（【［";
  constexpr std::u32string_view kClose = U"」』）】］";
  constexpr std::u32string_view kStops = U"、。，．！？：；";
  constexpr std::u32string_view kMarks = U"■□●○・※";
  if (c == U'\t') return TCharKind::Tab;
  if (c == U' ') return TCharKind::Space;
  if (c >= U'0' && c <= U'9') return TCharKind::Digit;
  if (c < 0x80) return TCharKind::Ascii;
  if (c == U'\u3000') return TCharKind::WideSpace;
  if (c >= 0x3041 && c <= 0x309F) return TCharKind::Kana;
  if (kOpen.find(c) != kOpen.npos) return TCharKind::Open;
  if (kClose.find(c) != kClose.npos) return TCharKind::Close;
  if (kStops.find(c) != kStops.npos) return TCharKind::Stop;
  if (kMarks.find(c) != kMarks.npos) return TCharKind::Mark;
  return TCharKind::Core;  // kanji, katakana, full-width letters
}

// The pieces a person commits while typing Utf8: an IME phrase (opening
// brackets, a kanji/katakana run, its kana and punctuation up to a comma or
// full stop; at most 8 characters), an ASCII word, a Tab, a full-width space,
// a list mark. Digits right before Japanese go into its phrase, as an IME
// converts "4がつ" to "4月". Half-width blanks stay with the piece before them.
std::vector<std::string_view> Phrases(std::string_view utf8) {
  const std::vector<TScriptChar> chars = DecodeUtf8(utf8);
  auto kind = [&](size_t i) { return i < chars.size() ? KindOf(chars[i].Code) : TCharKind::End; };
  auto digitsLeadJapanese = [&](size_t i) {
    while (kind(i) == TCharKind::Digit) ++i;
    const TCharKind next = kind(i);
    return next == TCharKind::Core || next == TCharKind::Kana || next == TCharKind::Close || next == TCharKind::Stop;
  };
  std::vector<std::string_view> out;
  for (size_t i = 0; i < chars.size();) {
    const size_t start = i;
    const TCharKind k = kind(i);
    if (k == TCharKind::Tab || k == TCharKind::WideSpace || k == TCharKind::Mark) {
      ++i;
    } else if (k == TCharKind::Ascii || k == TCharKind::Space || (k == TCharKind::Digit && !digitsLeadJapanese(i))) {
      while (kind(i) == TCharKind::Ascii || kind(i) == TCharKind::Digit) ++i;
    } else {
      auto room = [&] { return i - start < 8; };
      while (room() && kind(i) == TCharKind::Open) ++i;
      while (room() && (kind(i) == TCharKind::Core || kind(i) == TCharKind::Digit)) ++i;
      while (room() && (kind(i) == TCharKind::Kana || kind(i) == TCharKind::Close || kind(i) == TCharKind::Mark)) ++i;
      while (room() && (kind(i) == TCharKind::Stop || kind(i) == TCharKind::Close)) ++i;
      if (i == start) ++i;
    }
    while (kind(i) == TCharKind::Space) ++i;
    const size_t from = chars[start].Offset;
    const size_t to = i < chars.size() ? chars[i].Offset : utf8.size();
    out.push_back(utf8.substr(from, to - from));
  }
  return out;
}

// ---- the typist ----------------------------------------------------------------

// Types, moves and corrects like a person at the keyboard, recording every edit
// through the history builder. It keeps its own caret in byte columns; a script
// step that would put it off the text or inside a character stops the generator.
class TSampleTypist {
 public:
  explicit TSampleTypist(TVeskEdit& editor) : editor_(editor), builder_(editor) {}

  // Types Utf8 phrase by phrase. "{wrong|right}" is a slip: wrong is typed, the
  // characters where it differs from right are taken back, the rest of right typed.
  void Type(std::string_view utf8) {
    while (!utf8.empty()) {
      const size_t open = utf8.find('{');
      TypePhrases(utf8.substr(0, open));
      if (open == utf8.npos) return;
      const size_t bar = utf8.find('|', open);
      const size_t close = utf8.find('}', open);
      if (bar == utf8.npos || close == utf8.npos || bar > close) throw std::logic_error("bad slip in the script");
      Slip(utf8.substr(open + 1, bar - open - 1), utf8.substr(bar + 1, close - bar - 1));
      utf8.remove_prefix(close + 1);
    }
  }
  void Line(std::string_view utf8) {
    Type(utf8);
    Enter();
  }
  void Enter() {
    Check(caret_);
    builder_.Enter(caret_);
    caret_ = {0, caret_.Y + 1};
  }
  // One insert, line breaks and all.
  void Paste(std::string_view utf8) { Commit(Sjis(utf8)); }

  // Puts the caret behind Utf8, which lies within one line.
  void MoveAfter(std::string_view utf8) {
    caret_ = Locate(utf8);
    caret_.X += static_cast<int32_t>(Sjis(utf8).size());
  }
  void MoveToEnd() {
    const int32_t last = editor_.Items.Count() - 1;
    caret_ = {editor_.Items[last].TextLength(), last};
  }
  // Selects Utf8 (it may span lines) and deletes it: one delete record.
  void DeleteSpan(std::string_view utf8) {
    caret_ = Locate(utf8);
    builder_.Delete(caret_, static_cast<int32_t>(Sjis(utf8).size()));
  }
  // Selects the Count whole lines from the one starting with First and types
  // Lines (each ending "\n") over them: one change record.
  void RetypeLines(std::string_view first, int32_t count, std::string_view lines) {
    const TPoint at = Locate(first);
    if (at.X != 0) throw std::logic_error("not a line start: " + std::string(first));
    builder_.Change(at.Y, count, Sjis(lines));
    caret_ = at;
  }
  void UndoNewest(int32_t n) { builder_.UndoNewest(n); }

 private:
  void TypePhrases(std::string_view utf8) {
    for (std::string_view phrase : Phrases(utf8)) Commit(Sjis(phrase));
  }

  void Slip(std::string_view wrong, std::string_view right) {
    TypePhrases(wrong);
    const std::vector<TScriptChar> w = DecodeUtf8(wrong);
    const std::vector<TScriptChar> r = DecodeUtf8(right);
    size_t same = 0;
    while (same < w.size() && same < r.size() && w[same].Code == r[same].Code) ++same;
    Backspace(Sjis(wrong.substr(same < w.size() ? w[same].Offset : wrong.size())));
    TypePhrases(right.substr(same < r.size() ? r[same].Offset : right.size()));
  }

  // One insert at the caret; the caret ends up behind it.
  void Commit(std::string bytes) {
    Check(caret_);
    const size_t lastBreak = bytes.rfind("\r\n");
    TPoint end = caret_;
    if (lastBreak == std::string::npos) {
      end.X += static_cast<int32_t>(bytes.size());
    } else {
      for (size_t i = bytes.find("\r\n"); i != std::string::npos; i = bytes.find("\r\n", i + 2)) ++end.Y;
      end.X = static_cast<int32_t>(bytes.size() - lastBreak - 2);
    }
    builder_.Insert(caret_, std::move(bytes));
    caret_ = end;
  }

  // Takes back Typed, which ends at the caret, with Backspace: one delete record
  // per character at its start, the last character first.
  void Backspace(std::string_view typed) {
    const std::string& line = editor_.Items[caret_.Y].Text;
    if (caret_.X < static_cast<int32_t>(typed.size()) ||
        line.compare(static_cast<size_t>(caret_.X) - typed.size(), typed.size(), typed) != 0)
      throw std::logic_error("backspace over text that is not there");
    std::vector<int32_t> sizes;
    for (size_t i = 0; i < typed.size(); i += sizes.back())
      sizes.push_back(cp932::IsLeadByte(static_cast<unsigned char>(typed[i])) && i + 1 < typed.size() ? 2 : 1);
    for (auto size = sizes.rbegin(); size != sizes.rend(); ++size) {
      caret_.X -= *size;
      Check(caret_);
      builder_.Delete(caret_, *size);
    }
  }

  // Where the only occurrence of Utf8 starts (on a character boundary).
  TPoint Locate(std::string_view utf8) const {
    const std::string text = editor_.GetText();
    const std::string needle = Sjis(utf8);
    int found = 0;
    TPoint at;
    for (size_t i = text.find(needle); i != std::string::npos; i = text.find(needle, i + 1)) {
      const size_t lastBreak = text.rfind("\r\n", i);
      const size_t lineStart = lastBreak == std::string::npos ? 0 : lastBreak + 2;
      const TPoint p{static_cast<int32_t>(i - lineStart),
                     static_cast<int32_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(i), '\n'))};
      if (editor_.NormalizePos(p) != p) continue;  // a trail byte and a lead byte that happen to match
      at = p;
      ++found;
    }
    if (found != 1) throw std::logic_error("not found exactly once: " + std::string(utf8));
    return at;
  }

  void Check(TPoint p) const {
    if (p.Y < 0 || p.Y >= editor_.Items.Count() || editor_.NormalizePos(p) != p)
      throw std::logic_error("caret off the text or inside a character at " + std::to_string(p.X) + "," +
                             std::to_string(p.Y));
  }

  TVeskEdit& editor_;
  THistoryBuilder builder_;
  TPoint caret_;
};

// ---- the session ---------------------------------------------------------------

void WriteMemo(TSampleTypist& t) {
  // The first draft, top to bottom, with the slips noticed on the spot.
  t.Line("春のメモ");
  t.Enter();
  t.Line("　今年は三月の終わりに急に暖かくなり、{川沿いの佐倉が|川沿いの桜が}一気に咲いた。");
  t.Line("朝の通勤で駅まで歩くと、花びらが{道を白く染めていつ|道を白く染めている。}");
  t.Line("電車の窓から見える土手も、{薄いピンク色似|薄いピンク色に}変わってきた。");
  t.Line("天気予報では週末まで晴れが続くらしい。でも");
  t.Line("日曜は少し雨かもしれない。");
  t.Enter();
  t.Line("通勤の電車は、春休みのせいか少し{すいてる|すいている。}");
  t.Line("いつもより一本早い7:42発に乗れば、会社の前の桜並木をゆっくり見られる。");
  t.Enter();
  t.Line("■花見の予定");
  t.Paste("・4月6日（土）10:00　東公園の広場に集合\n・持ち物：敷物、水筒、ゴミ袋\n");
  t.Line("・雨なら「図書館前のカフェ」に変更");
  t.Line("・写真は {https://exmaple|https://example}.com/haru にまとめる");
  t.Line("TODO: 敷物を2枚用意する");
  t.Enter();
  t.Line("場所\t東公園（駅から徒歩10分）");
  t.Line("幹事\t{佐藤さん、田中さｎ|佐藤さん、田中さん}");
  t.Enter();
  t.Line("夕方になると風が冷たくなるので、{上着を一毎|上着を一枚}持っていくこと。");
  t.Line("日が沈むと気温は10度くらいまで下がるらしい。");
  t.Line("去年は焼きそばが売り切れていた。");
  t.Line("今年は早めに買う。");

  // Reading it over.
  t.RetypeLines("春のメモ", 1, "桜の町だより（2024年4月）\n");
  t.DeleteSpan("一気に");
  t.Type("いっせいに");
  t.DeleteSpan("でも\n日曜は少し雨かもしれない。");
  t.MoveAfter("水筒、");
  t.Type("紙コップ、");
  t.DeleteSpan("用意する");
  t.Type("借りる");
  t.RetypeLines("去年は焼きそばが", 2,
                "去年は屋台の焼きそばが売り切れて、みんなでコンビニまで走った。\n"
                "今年は早めに買っておきたい。\n");

  // The closing paragraph, the part the writer then takes back.
  t.MoveToEnd();
  t.Enter();
  t.Line("帰り道、商店街の八百屋で菜の花と新玉ねぎを買った。");
  t.Type("今夜は春の味がする夕飯になりそうだ。");
}

constexpr int32_t kUndoneTail = 15;

int Run(const std::vector<std::string>& args) {
  if (args.size() > 1 || (args.size() == 1 && args[0].starts_with("-"))) {
    std::cerr << "usage: make_sample [OUT.eud]   (default " << kDefaultOut << ")\n";
    return 2;
  }
  const std::string out = args.empty() ? kDefaultOut : args[0];
  HeadlessPlayer player;
  TVeskEdit& editor = player.Editor();
  editor.SetText("");
  TSampleTypist typist(editor);
  WriteMemo(typist);
  typist.UndoNewest(kUndoneTail);

  const std::string bytes = BuildUndoFile(editor);
  if (!WriteFileAtomically(out, bytes)) {
    std::cerr << "make_sample: " << out << ": cannot be written\n";
    return 1;
  }
  std::cout << out << ": " << editor.Undo->FUndoList.Count() << " undo + " << editor.Undo->FRedoList.Count()
            << " redo records, " << bytes.size() << " bytes\n";
  return 0;
}

}  // namespace
}  // namespace kelvane

int main(int argc, char** argv) {
  try {
    return kelvane::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << "make_sample: " << e.what() << "\n";
    return 1;
  }
}
