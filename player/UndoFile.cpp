// Reading and writing undo files.
#include "player/UndoFile.h"

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

// Lines split at CR LF, lone CR and lone LF; a break at the very end gives no
// extra line, and a NUL byte ends the readable text.
std::vector<std::string_view> SplitFileLines(std::string_view bytes) {
  std::vector<std::string_view> lines = SplitAtBreaks(UpToNul(bytes));
  if (lines.back().empty()) lines.pop_back();
  return lines;
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

// Builds one record from the five lines starting at First, by position alone.
void AddRecordAt(TUndoList& list, const std::vector<std::string_view>& lines, size_t first) {
  const auto mode = static_cast<uint8_t>(StrToIntDef(ValueAt(lines[first], 8), 0) & 0xFF);
  const TPoint caret{StrToIntDef(ValueAt(lines[first + 1], 11), 0), StrToIntDef(ValueAt(lines[first + 2], 11), 0)};
  const int32_t count = StrToIntDef(ValueAt(lines[first + 3], 9), 0);
  AddUndoData(list, mode, caret, Unescape(ValueAt(lines[first + 4], 8)), count);
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

void ReadUndoFileInto(TVeskEdit& editor, std::string_view bytes) {
  const std::vector<std::string_view> lines = SplitFileLines(bytes);
  size_t i = 0;
  while (i < lines.size()) {
    const std::string_view line = lines[i];
    const bool recordFits = i + 4 < lines.size();
    if (line.starts_with("TEXT=")) {
      editor.SetText(Unescape(line.substr(5)));
      ++i;
    } else if (recordFits && line.starts_with(kUndoKeys.Mode)) {
      AddRecordAt(editor.Undo->FUndoList, lines, i);
      i += 4;
    } else if (recordFits && line.starts_with(kRedoKeys.Mode)) {
      AddRecordAt(editor.Undo->FRedoList, lines, i);
      i += 4;
    } else {
      ++i;
    }
  }
}

}  // namespace kelvane
