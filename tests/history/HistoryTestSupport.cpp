// Recorded histories and the point-by-point oracle.
#include "tests/history/HistoryTestSupport.h"

#include "platform/Codepage.h"
#include "tools/HistoryBuilder.h"

namespace kelvane::test {

namespace {

std::string S(std::string_view utf8) { return cp932::FromUtf8(utf8); }

void Select(TVeskEdit& e, TPoint anchor, TPoint caret) {
  e.SetCaret(caret);
  e.SelAnchor = anchor;
  e.Selected = true;
}

void Typing(TVeskEdit& e) {
  e.SetText(S("春の海"));
  e.SetCaret({6, 0});
  e.InputText(S("ひねもす"));
  e.NewLine();
  e.InputText(S("のたり\r\nのたり"));
  e.SetCaret({0, 0});
  e.InputText("ab");
  e.TabKey();
  e.SetCaret({2, 1});
  e.InputText(S("あ"));
}

void Deleting(TVeskEdit& e) {
  e.SetText(S("あいう\r\nえお\r\nかき\r\nabc"));
  e.SetCaret({2, 0});
  e.DeleteKey();  // い
  e.SetCaret({4, 0});
  e.DeleteKey();  // the break after line 0
  e.SetCaret({0, 1});
  e.BackSpaceKey();  // the break before かき
  Select(e, {2, 0}, {1, 1});
  e.DeleteSelection();  // across a break
  e.SetCaret({1, 0});
  e.BackSpaceKey();
}

void Replacing(TVeskEdit& e) {
  e.SetText(S("一行目\r\n二行目\r\n三行目"));
  Select(e, {2, 0}, {4, 0});
  e.InputText(S("番"));  // a change of line 0
  Select(e, {0, 1}, {2, 2});
  e.InputText("1\r\n2\r\n3");  // lines 1 and 2 into three
  Select(e, {0, 0}, {1, 0});
  e.InputText(S("ー"));
}

void Boxes(TVeskEdit& e) {
  e.SetText("abcd\r\na\r\nabcd");
  Select(e, {1, 0}, {3, 2});
  e.BoxMode = true;
  e.BoxLeftX = 8;
  e.BoxRightX = 24;
  e.BackSpaceKey();
  e.SetCaret({1, 0});
  e.DropBox("12\r\n34\r\n56");
}

void Prefixing(TVeskEdit& e) {
  e.SetText("a\r\nb\r\nc\r\nd");
  Select(e, {0, 1}, {0, 3});
  e.LineSelect = true;
  e.PrefixLines("> ");
  e.SetCaret({3, 2});
  e.InputText(S("＆&amp;"));
}

// Records the editor makes only from a file: blocks put in at the end, taken
// from the end, every line replaced by none.
void Edges(TVeskEdit& e) {
  e.SetText("ab\r\ncd\r\nef");
  THistoryBuilder b(e);
  b.Change(3, 0, "gh\r\nij\r\n");
  b.Change(3, 2, "");
  b.Delete({1, 0}, 3);
  b.Change(0, 2, "");
  b.Insert({0, 0}, S("いろ\r\nは"));
  b.Enter({0, 1});
  b.Change(1, 0, "x\r\n");
}

}  // namespace

std::vector<TRecordedHistory> RecordedHistories() {
  return {{"typing", Typing},
          {"deleting", Deleting},
          {"replacing", Replacing},
          {"boxes", Boxes},
          {"prefixing", Prefixing},
          {"edges", Edges},
          {"undone half-way", [](TVeskEdit& e) {
             Typing(e);
             for (int i = 0; i < 3; ++i) e.UndoStep();
           }}};
}

std::vector<std::string> TextsByPlayer(HeadlessPlayer& player) {
  const HistoryView& h = player.Form.History();
  const int32_t start = h.Position();
  player.Form.StepHistory(-start, false);
  std::vector<std::string> texts{player.Editor().GetText()};
  while (h.Position() < h.Size()) {
    player.Form.StepHistory(1, false);
    texts.push_back(player.Editor().GetText());
  }
  player.Form.StepHistory(start - h.Position(), false);
  return texts;
}

std::unique_ptr<THistoryAnalysis> Analyse(const TVeskEdit& editor) {
  return std::make_unique<THistoryAnalysis>(editor, [] { return std::make_unique<HeadlessEditHost>(); });
}

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t from = 0;;) {
    const size_t brk = text.find("\r\n", from);
    lines.push_back(text.substr(from, brk - from));
    if (brk == std::string::npos) return lines;
    from = brk + 2;
  }
}

bool ContainsByWalking(const std::string& text, const std::string& needle) {
  size_t lineStart = 0;
  for (const std::string& line : SplitCrLf(text)) {
    for (size_t i = 0; i <= line.size();) {
      if (text.compare(lineStart + i, needle.size(), needle) == 0) return true;
      if (i == line.size()) break;
      i += cp932::IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? 2 : 1;
    }
    lineStart += line.size() + 2;
  }
  return needle.empty();
}

}  // namespace kelvane::test
