// Reading and writing undo files.
#include "player/UndoFile.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "editor/VeskEdit.h"
#include "util/TovelUtils.h"

namespace kelvane {

namespace {

constexpr std::string_view kEscapedBreak = "\x01\x01";
constexpr std::string_view kCrLf = "\r\n";

struct RecordKeys {
  std::string_view Mode, CaretX, CaretY, Count, Text;
};
constexpr RecordKeys kUndoKeys{"udMODE=", "udCARET_X=", "udCARET_Y=", "udCOUNT=", "udTEXT="};
constexpr RecordKeys kRedoKeys{"rdMODE=", "rdCARET_X=", "rdCARET_Y=", "rdCOUNT=", "rdTEXT="};

std::string Escape(std::string_view text) { return ReplaceAll(text, kCrLf, kEscapedBreak); }
std::string Unescape(std::string_view text) { return ReplaceAll(text, kEscapedBreak, kCrLf); }

// The escape is as long as what it stands for, so it is undone where it stands.
void UnescapeInPlace(std::string& text) {
  for (size_t at = 0; (at = text.find(kEscapedBreak, at)) != std::string::npos; at += 2) text.replace(at, 2, kCrLf);
}

// The value of a line from the 1-based character position Pos on ("" when shorter).
std::string_view ValueAt(std::string_view line, size_t pos) {
  return line.size() >= pos ? line.substr(pos - 1) : std::string_view{};
}

void AppendRecords(std::string& out, const TUndoList& list, const RecordKeys& keys) {
  for (int32_t i = 0; i < list.Count(); ++i) {
    const TUndoData& r = list[i];
    out.append(keys.Mode).append(std::to_string(static_cast<unsigned>(r.Mode))).append(kCrLf);
    out.append(keys.CaretX).append(std::to_string(r.Caret.X)).append(kCrLf);
    out.append(keys.CaretY).append(std::to_string(r.Caret.Y)).append(kCrLf);
    out.append(keys.Count).append(std::to_string(r.Count)).append(kCrLf);
    out.append(keys.Text).append(Escape(r.Text)).append(kCrLf);
  }
}

// Builds one record from five lines, by position alone.
void AddRecordFrom(TUndoList& list, const std::string* lines[5]) {
  const auto mode = static_cast<uint8_t>(StrToIntDef(ValueAt(*lines[0], 8), 0) & 0xFF);
  const TPoint caret{StrToIntDef(ValueAt(*lines[1], 11), 0), StrToIntDef(ValueAt(*lines[2], 11), 0)};
  const int32_t count = StrToIntDef(ValueAt(*lines[3], 9), 0);
  AddUndoData(list, mode, caret, Unescape(ValueAt(*lines[4], 8)), count);
}

// What in an escaped value would not read back as itself, or nothing.
std::optional<std::string> UnwritableBytes(std::string_view v) {
  for (size_t i = 0; i < v.size(); ++i) {
    const bool crLf = v[i] == '\r' && i + 1 < v.size() && v[i + 1] == '\n';
    switch (v[i]) {
      case '\0': return "a NUL byte";
      case '\r':
        if (!crLf) return "a CR without LF";
        ++i;  // the pair is escaped
        break;
      case '\n': return "an LF without CR";
      case '\x01':
        if (i + 1 < v.size() && v[i + 1] == '\x01') return "two 0x01 bytes in a row";
        if (v.substr(i + 1, 2) == kCrLf) return "a 0x01 byte right before a line break";
        break;
      default:
        break;
    }
  }
  return std::nullopt;
}

std::optional<std::string> UnwritableRecord(const TUndoList& list, const char* stack) {
  for (int32_t i = 0; i < list.Count(); ++i) {
    if (std::optional<std::string> why = UnwritableBytes(list[i].Text))
      return std::string(stack) + " record " + std::to_string(int64_t{i} + 1) + " holds " + *why;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> UnwritableReason(const TVeskEdit& editor) {
  const int32_t count = editor.Items.Count();
  for (int32_t y = 0; y < count; ++y) {
    std::string_view line = editor.Items[y].Text;
    // A line's last byte meets the CR LF that joins it to the next.
    std::string joined;
    if (y + 1 < count && !line.empty() && line.back() == '\x01') {
      joined.assign(line).append(kCrLf);
      line = joined;
    }
    if (std::optional<std::string> why = UnwritableBytes(line))
      return "line " + std::to_string(int64_t{y} + 1) + " of the text holds " + *why;
  }
  if (auto why = UnwritableRecord(editor.Undo->FUndoList, "undo")) return why;
  return UnwritableRecord(editor.Undo->FRedoList, "redo");
}

std::string BuildUndoFile(const TVeskEdit& editor) {
  std::string out;
  out.append("[TEXT]").append(kCrLf);
  out.append("TEXT=").append(Escape(editor.GetText())).append(kCrLf);
  out.append("[UNDO]").append(kCrLf);
  AppendRecords(out, editor.Undo->FUndoList, kUndoKeys);
  out.append("[REDO]").append(kCrLf);
  AppendRecords(out, editor.Undo->FRedoList, kRedoKeys);
  return out;
}

TUndoFileReader::TUndoFileReader(TVeskEdit& editor) : editor_(editor) {}

void TUndoFileReader::Feed(std::string_view bytes) {
  if (ended_) return;
  if (bytes.empty()) return;
  if (afterCr_ && bytes.front() == '\n') bytes.remove_prefix(1);  // the CR's own LF
  afterCr_ = false;
  const size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) {
    bytes = bytes.substr(0, nul);
    ended_ = true;
  }
  size_t start = 0;
  size_t cr = bytes.find('\r');  // the next CR, found once for all the LFs before it
  for (;;) {
    const size_t lf = bytes.substr(0, cr).find('\n', start);
    const size_t i = std::min(cr, lf);
    if (i == std::string_view::npos) break;
    partial_.append(bytes.substr(start, i - start));
    EndLine();
    start = i + 1;
    if (i == cr) {
      if (start == bytes.size()) afterCr_ = true;  // its LF may come with the next bytes
      else if (bytes[start] == '\n') ++start;
      cr = bytes.find('\r', start);
    }
  }
  partial_.append(bytes.substr(start));
}

void TUndoFileReader::Finish() {
  if (!partial_.empty()) EndLine();  // a break at the very end gives no extra line
  while (waiting_ > 0) TakeFirst(false);
}

// The line cut so far joins those waiting; the first acts once four more
// stand behind it, as a record needs.
void TUndoFileReader::EndLine() {
  std::string& slot = window_[(first_ + waiting_) % window_.size()];
  slot.swap(partial_);  // the slot's old bytes become the next line's buffer
  partial_.clear();
  ++waiting_;
  if (waiting_ == window_.size()) TakeFirst(true);
}

// The original reader's walk, one line at a time: a "TEXT=" line replaces the
// text; a mode line with four lines after it makes a record of those five and
// the walk goes on at its fifth (its text line, which is looked at again);
// anything else is passed over.
void TUndoFileReader::TakeFirst(bool recordFits) {
  std::string& line = window_[first_];
  size_t taken = 1;
  if (line.starts_with("TEXT=")) {
    UnescapeInPlace(line);
    editor_.SetText(std::string_view(line).substr(5));
  } else if (recordFits && (line.starts_with(kUndoKeys.Mode) || line.starts_with(kRedoKeys.Mode))) {
    const std::string* record[5];
    for (size_t k = 0; k < 5; ++k) record[k] = &window_[(first_ + k) % window_.size()];
    AddRecordFrom(line.starts_with(kUndoKeys.Mode) ? editor_.Undo->FUndoList : editor_.Undo->FRedoList, record);
    taken = 4;
  }
  first_ = (first_ + taken) % window_.size();
  waiting_ -= taken;
}

void ReadUndoFileInto(TVeskEdit& editor, std::string_view bytes) {
  TUndoFileReader reader(editor);
  reader.Feed(bytes);
  reader.Finish();
}

}  // namespace kelvane
