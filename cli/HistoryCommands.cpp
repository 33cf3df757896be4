// kelvane-cli's history verbs, on THistoryAnalysis with replay editors on
// headless windows. Texts come out as UTF-8; a byte that begins no code page
// 932 character comes out as U+FFFD.
#include "cli/HistoryCommands.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>

#include "cli/CliApp.h"
#include "headless/HeadlessEditHost.h"
#include "history/HistoryAnalysis.h"
#include "platform/Codepage.h"
#include "util/TovelUtils.h"

namespace kelvane {

namespace {

constexpr std::array<const char*, kEditKindCount> kKindNames = {"insert", "delete", "enter", "change", "unknown"};
constexpr std::array<const char*, kScriptCount> kScriptNames = {
    "hiragana", "katakana", "halfwidth_katakana", "kanji", "fullwidth", "ascii_alnum", "other"};

const char* KindName(TEditKind kind) { return kKindNames[static_cast<size_t>(kind)]; }

// A JSON string's inside: UTF-8 as it is, with the escapes JSON needs.
std::string JsonEscaped(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string JsonText(std::string_view cp932Bytes) { return JsonEscaped(cp932::ToUtf8Marked(cp932Bytes)); }

class THistoryCommand {
 public:
  THistoryCommand(const THistoryOptions& o, const TVeskEdit& editor, std::ostream& out, std::ostream& err)
      : o_(o), editor_(editor), analysis_(editor, [] { return std::make_unique<HeadlessEditHost>(); }), out_(out),
        err_(err) {}

  int Run() {
    const std::string& c = o_.Command;
    if (c == "log") return Log();
    if (c == "timeline") return TimelineTable();
    if (c == "diff") return Diff();
    if (c == "find") return Find();
    if (c == "check") return Check();
    if (c == "blame") return Blame();
    return Stats();
  }

 private:
  const TTimeline& Timeline() { return analysis_.Timeline(); }
  int64_t Clamped(int64_t p) { return std::clamp<int64_t>(p, 0, Timeline().Records()); }

  // What the walk could not pass, on stderr; exit 3.
  int Unreached() {
    const TTimeline& t = Timeline();
    for (const TTimelineStop* stop : {&t.StopBelow(), &t.StopAbove()}) {
      if (stop->Why == TStepFailure::None) continue;
      err_ << "kelvane-cli: record " << stop->Record << " cannot be "
           << (stop == &t.StopBelow() ? "undone" : "redone") << ": " << stop->Detail << "\n";
    }
    err_ << "kelvane-cli: only points " << t.First() << " to " << t.Last() << " of 0 to " << t.Records()
         << " can be reached\n";
    return kExitStep;
  }

  int Log() {
    const TTimeline& t = Timeline();
    const int64_t from = Clamped(o_.From.value_or(0));
    const int64_t to = Clamped(o_.To.value_or(t.Records()));
    bool complete = true;
    std::string line;
    for (int64_t k = from; k < to; ++k) {
      const TTimelineEdit e = t.Edit(k);
      if (!e.Known) {
        complete = false;
        continue;
      }
      line = "{\"k\":" + std::to_string(k) + ",\"kind\":\"" + KindName(e.Kind) + "\",\"line\":" +
             std::to_string(e.Pos.Y) + ",\"column\":" + std::to_string(e.Pos.X) + ",\"added\":\"" + JsonText(e.Added) +
             "\",\"removed\":\"" + JsonText(e.Removed) + "\"}\n";
      out_ << line;
    }
    return complete ? kExitOk : Unreached();
  }

  int TimelineTable() {
    const TTimeline& t = Timeline();
    if (o_.Csv) out_ << "point,bytes,lines,kind,line,column\n";
    else out_ << Row({"point", "bytes", "lines", "kind", "line", "column", "added", "removed"});
    for (int64_t p = t.First(); p <= t.Last(); ++p) {
      std::vector<std::string> cells = {std::to_string(p), std::to_string(t.Bytes(p)), std::to_string(t.LineCount(p))};
      if (p > 0) {
        const TTimelineEdit e = t.Edit(p - 1);
        for (std::string cell : {std::string(KindName(e.Kind)), std::to_string(e.Pos.Y), std::to_string(e.Pos.X)})
          cells.push_back(std::move(cell));
        if (!o_.Csv) {  // a record the walk could not apply has no known texts
          cells.push_back(e.Known ? std::to_string(e.Added.size()) : "-");
          cells.push_back(e.Known ? std::to_string(e.Removed.size()) : "-");
        }
      } else {
        cells.resize(o_.Csv ? 6 : 8);
      }
      out_ << (o_.Csv ? Join(cells, ",") + "\n" : Row(cells));
    }
    return t.Complete() ? kExitOk : Unreached();
  }

  // The table without --csv: fixed columns, numbers right-aligned, the kind left-aligned.
  static std::string Row(const std::vector<std::string>& cells) {
    static constexpr std::array<size_t, 8> kWidths = {7, 10, 7, 8, 7, 7, 8, 8};
    std::string row;
    for (size_t i = 0; i < cells.size(); ++i) {
      // A number wider than its column still stands apart from the one before.
      const size_t pad = cells[i].size() < kWidths[i] ? kWidths[i] - cells[i].size() : (i > 0 && i != 3 ? 1 : 0);
      if (i == 3) row += "  " + cells[i] + std::string(pad, ' ');
      else row += std::string(pad, ' ') + cells[i];
    }
    while (!row.empty() && row.back() == ' ') row.pop_back();
    return row + "\n";
  }

  static std::string Join(const std::vector<std::string>& cells, const char* sep) {
    std::string s;
    for (size_t i = 0; i < cells.size(); ++i) s += (i ? sep : "") + cells[i];
    return s;
  }

  int Diff() {
    const int64_t a = Clamped(*o_.From), b = Clamped(*o_.To);
    const std::unique_ptr<TTextDiff> diff = analysis_.Diff(a, b);
    if (!diff) return Unreached();
    out_ << UnifiedDiff(*diff, static_cast<int>(std::min<int64_t>(o_.Context, 1 << 30)), "point " + std::to_string(a),
                        "point " + std::to_string(b), [](std::string_view line) { return cp932::ToUtf8Marked(line); });
    return kExitOk;
  }

  int Find() {
    // A line break typed in TEXT, LF or CR LF, is the text's CR LF.
    const std::string text = ReplaceAll(ReplaceAll(o_.Needle, "\r\n", "\n"), "\n", "\r\n");
    const std::string needle = cp932::FromUtf8(text);
    if (std::count(needle.begin(), needle.end(), '?') > std::count(text.begin(), text.end(), '?')) {
      err_ << "kelvane-cli: the text has characters code page 932 cannot hold; no text contains it\n";
      return kExitOk;
    }
    for (const TPointRange& r : analysis_.Find(needle))
      out_ << "{\"from\":" << r.From << ",\"to\":" << r.To << "}\n";
    return Timeline().Complete() ? kExitOk : Unreached();
  }

  int Check() {
    const std::vector<THistoryProblem> problems = analysis_.Check();
    for (const THistoryProblem& p : problems)
      out_ << "{\"k\":" << p.Record << ",\"problem\":\"" << ProblemName(p.Kind) << "\",\"detail\":\""
           << JsonEscaped(p.Detail) << "\"}\n";
    if (problems.empty()) return kExitOk;
    err_ << "kelvane-cli: " << problems.size() << (problems.size() == 1 ? " problem" : " problems") << " found\n";
    return kExitStep;
  }

  int Blame() {
    const TTimeline& t = Timeline();
    const int64_t wanted = Clamped(o_.At.value_or(editor_.Undo->FUndoList.Count()));
    const TProvenance& tags = analysis_.Blame(wanted);
    std::string line;
    for (int32_t y = 0; y < tags.LineCount(); ++y) {
      line = "{\"y\":" + std::to_string(y) + ",\"runs\":[";
      bool first = true;
      for (const TTagSpan& s : tags.Spans(y)) {
        line += (first ? "[" : ",[") + std::to_string(s.Begin) + "," + std::to_string(s.End) + "," +
                std::to_string(s.Record) + "]";
        first = false;
      }
      out_ << line << "]}\n";
    }
    return t.First() == 0 && t.Reaches(wanted) ? kExitOk : Unreached();
  }

  int Stats() {
    const THistoryStats s = analysis_.Stats();
    std::string json = "{\"records\":" + std::to_string(s.Records) + ",\"kinds\":{";
    for (size_t i = 0; i < kEditKindCount; ++i)
      json += (i ? ",\"" : "\"") + std::string(kKindNames[i]) + "\":" + std::to_string(s.Kinds[i]);
    for (const auto& [name, counts] : {std::pair{"added", &s.Added}, std::pair{"removed", &s.Removed}}) {
      json += std::string("},\"") + name + "\":{";
      for (size_t i = 0; i < kScriptCount; ++i)
        json += (i ? ",\"" : "\"") + std::string(kScriptNames[i]) + "\":" + std::to_string((*counts)[i]);
    }
    out_ << json << "}}\n";
    return Timeline().Complete() ? kExitOk : Unreached();
  }

  const THistoryOptions& o_;
  const TVeskEdit& editor_;
  THistoryAnalysis analysis_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace

bool IsHistoryCommand(std::string_view command) {
  for (const char* verb : {"log", "timeline", "diff", "find", "check", "blame", "stats"}) {
    if (command == verb) return true;
  }
  return false;
}

int RunHistoryCommand(const THistoryOptions& o, const TVeskEdit& editor, std::ostream& out, std::ostream& err) {
  return THistoryCommand(o, editor, out, err).Run();
}

}  // namespace kelvane
