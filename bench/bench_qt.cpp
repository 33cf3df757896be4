// kelvane_qt_bench: the desktop's costs on Qt (offscreen): scrubbing the history
// scroll bar across the benchmark history in steps of 1 … 40,960 records and
// across the whole of a real one (each tracking step with the repaint of the
// window it causes), a full repaint of a 1000 × 800 editor of dense Japanese
// text, and one record at a time on the real eval.eud (when its folder is
// there): the tracking step, and the single step with the explorer's marks off
// and on; the history's timeline strip on it: a repaint for the next point, and
// its static layer drawn for a new size; the diff pane brought up to date: the
// diff of a fixed point and the last one, shown and painted, and the same after
// jumps of the current point.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include "bench/BenchLibrary.h"
#include "headless/HeadlessPlayer.h"
#include "headless/HeadlessEditHost.h"
#include "history/HistoryAnalysis.h"
#include "platform/Codepage.h"
#include "platform/FileSystem.h"
#include "qt/QtDiffPane.h"
#include "qt/QtEditWidget.h"
#include "qt/QtExplorer.h"
#include "qt/QtFonts.h"
#include "qt/QtPlayerWindow.h"
#include "qt/QtTimelinePanel.h"

namespace kelvane {

namespace {

TBenchLibrary* gLibrary = nullptr;

// Tracking steps of the thumb of Stride records each, bouncing between the
// first state and Top: the text follows, then the window is drawn as the
// screen would show it.
void Scrub(benchmark::State& state, const std::string& path, int32_t stride, bool toTheEnd) {
  QtPlayerWindow window;
  window.resize(1000, 800);
  if (!window.Form().LoadUndoFile(path)) {
    state.SkipWithError(("cannot load " + path).c_str());
    return;
  }
  TFormKelvane& form = window.Form();
  const int32_t top = toTheEnd ? form.FUndoPos + form.Editor->Undo->FRedoList.Count() : form.FUndoPos;
  stride = std::min(stride, top);
  QImage frame(window.size(), QImage::Format_ARGB32_Premultiplied);
  int32_t direction = -1;
  int64_t steps = 0;
  for (auto _ : state) {
    int32_t to = form.FUndoPos + direction * stride;
    if (to < 0 || to > top) {
      direction = -direction;
      to = std::clamp(form.FUndoPos + direction * stride, 0, top);
    }
    form.ScrollBarUndoScroll(TScrollCode::scTrack, to);
    window.render(&frame);
    ++steps;
  }
  state.counters["records_per_step"] = stride;
  state.counters["per_tracking_step"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// On the benchmark history, between the first state and the loaded one.
void BM_ScrubHistory(benchmark::State& state) {
  Scrub(state, gLibrary->History({}).Path, static_cast<int32_t>(state.range(0)), false);
}

// On a real history, from end to end at every step (skipped where ../shared is absent).
void BM_ScrubRealHistory(benchmark::State& state, const std::string& name) {
  const std::string path = std::string(KELVANE_SHARED_DATA) + "/" + name + ".eud";
  if (!FileExists(path)) {
    state.SkipWithError(("no such history, skipped: " + path).c_str());
    return;
  }
  Scrub(state, path, INT32_MAX, true);
}

// Arg 0: a tracking step of the thumb; 1: a single step (as its tool button
// does) with the step marks off; 2: the same with them on.
void BM_StepRealHistory(benchmark::State& state) {
  const std::string path = std::string(KELVANE_SHARED_DATA) + "/eval.eud";
  QtPlayerWindow window;
  window.MessageBox = [](const std::string&) {};
  window.resize(1000, 800);
  if (!window.Form().LoadUndoFile(path)) {
    state.SkipWithError("eval.eud is not there");
    return;
  }
  TFormKelvane& form = window.Form();
  const int64_t kind = state.range(0);
  window.Explorer().Logic().SetHighlightSteps(kind == 2);
  const int32_t top = form.FUndoPos;
  QImage frame(window.size(), QImage::Format_ARGB32_Premultiplied);
  int32_t direction = -1;
  for (auto _ : state) {
    if (form.FUndoPos + direction < 0 || form.FUndoPos + direction > top) direction = -direction;
    if (kind == 0) {
      form.ScrollBarUndoScroll(TScrollCode::scTrack, form.FUndoPos + direction);
    } else {
      form.Execute(direction < 0 ? TPlayerAction::textUndo : TPlayerAction::textRedo);
    }
    window.render(&frame);
  }
  state.SetLabel(kind == 0 ? "tracking" : kind == 1 ? "single, marks off" : "single, marks on");
}

void BM_RepaintEditor(benchmark::State& state) {
  QtEditWidget widget;
  widget.resize(1000, 800);
  TVeskEdit& e = widget.Editor();
  e.SetFont(TFontSpec{"ＭＳ Ｐゴシック", 16});
  std::string text;
  const std::string line = cp932::FromUtf8("春の朝、駅までの道で桜の花びらが舞っていた。電車の窓から見える土手も薄い桃色に変わってきた。天気予報では週末まで晴れが続くらしい。");
  for (int i = 0; i < 200; ++i) text += line + "\r\n";
  e.SetText(text);
  QImage frame(widget.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    e.Paint();
    widget.render(&frame);
  }
  state.counters["rows"] = e.VisibleLines;
}

// The strip as a dock would hold it, over the whole of eval.eud, with the
// ranges holding "の" and a marker every 4,096 points laid over it.
struct TTimelineStrip {
  bool Load(benchmark::State& state) {
    const std::string path = std::string(KELVANE_SHARED_DATA) + "/eval.eud";
    if (!FileExists(path) || !player.Form.LoadUndoFile(path)) {
      state.SkipWithError(("no such history, skipped: " + path).c_str());
      return false;
    }
    const TTimeline& timeline = analysis.Timeline();
    std::vector<std::pair<int64_t, std::string>> markers;
    for (int64_t p = 0; p <= timeline.Records(); p += 4096) markers.emplace_back(p, std::to_string(p));
    panel.resize(1000, 80);
    panel.SetTimeline(&timeline);
    panel.SetMarkers(std::move(markers));
    panel.SetRanges(analysis.Find(cp932::FromUtf8("の")));
    return true;
  }
  HeadlessPlayer player;
  THistoryAnalysis analysis{player.Editor(), [] { return std::make_unique<HeadlessEditHost>(); }};
  QtTimelinePanel panel;
};

// The point moves on by one, back at either end, and the strip is drawn.
void BM_TimelineRedraw(benchmark::State& state) {
  TTimelineStrip strip;
  if (!strip.Load(state)) return;
  QImage frame(strip.panel.size(), QImage::Format_ARGB32_Premultiplied);
  strip.panel.render(&frame);
  const int64_t total = strip.analysis.Timeline().Records();
  int64_t point = 0, direction = 1;
  for (auto _ : state) {
    if (point + direction < 0 || point + direction > total) direction = -direction;
    point += direction;
    strip.panel.SetPoint(point);
    strip.panel.render(&frame);
  }
  state.counters["points"] = static_cast<double>(total + 1);
  state.counters["layers_drawn"] = strip.panel.LayerBuilds();
}

// A width one pixel more or less at every step, so the static layer is drawn
// again each time.
void BM_TimelineBuildLayer(benchmark::State& state) {
  TTimelineStrip strip;
  if (!strip.Load(state)) return;
  QImage frame(QSize(1001, 80), QImage::Format_ARGB32_Premultiplied);
  int width = 1000;
  for (auto _ : state) {
    width = width == 1000 ? 1001 : 1000;
    strip.panel.resize(width, 80);
    strip.panel.render(&frame);
  }
  state.counters["layers_drawn"] = strip.panel.LayerBuilds();
}

// eval.eud loaded into a window, its analysis, and a pane in the editor's font.
struct TDiffPaneCase {
  QtPlayerWindow window;
  std::unique_ptr<THistoryAnalysis> analysis;
  QtDiffPane pane;
  QImage frame{600, 800, QImage::Format_ARGB32_Premultiplied};
  int64_t last = 0;

  bool Load(benchmark::State& state) {
    const std::string path = std::string(KELVANE_SHARED_DATA) + "/eval.eud";
    window.MessageBox = [](const std::string&) {};
    if (!FileExists(path) || !window.Form().LoadUndoFile(path)) {
      state.SkipWithError(("no such history, skipped: " + path).c_str());
      return false;
    }
    const TVeskEdit& editor = *window.Form().Editor;
    analysis = std::make_unique<THistoryAnalysis>(editor, [] { return std::make_unique<HeadlessEditHost>(); });
    last = analysis->Timeline().Records();
    pane.SetEditorFont(ToQFont(editor.Font()));
    pane.resize(frame.size());
    return true;
  }
  // What the window does when either point moves.
  void Update(int64_t a, int64_t b) {
    pane.SetDiff(analysis->Diff(a, b), a, b);
    pane.render(&frame);
  }
  void Count(benchmark::State& state) const {
    state.counters["rows"] = static_cast<double>(pane.Rows().size());
    state.counters["removed"] = pane.RemovedLines();
    state.counters["added"] = pane.AddedLines();
  }
};

// Arg 0: A at the first point, 1: A in the middle of the history; B the last
// point. The analysis keeps both texts, so this is the diff, the rows and a
// paint.
void BM_DiffPaneUpdate(benchmark::State& state) {
  TDiffPaneCase c;
  if (!c.Load(state)) return;
  const int64_t a = state.range(0) == 0 ? 0 : c.last / 2;
  for (auto _ : state) c.Update(a, c.last);
  c.Count(state);
  state.SetLabel(state.range(0) == 0 ? "A=0" : "A=middle");
}

// A fixed in the middle, B jumping by Stride records between the ends: each
// update walks the history to B's text as well.
void BM_DiffPaneJump(benchmark::State& state) {
  TDiffPaneCase c;
  if (!c.Load(state)) return;
  const int64_t a = c.last / 2;
  const int64_t stride = state.range(0);
  int64_t b = c.last, direction = -1;
  for (auto _ : state) {
    if (b + direction * stride < 0 || b + direction * stride > c.last) direction = -direction;
    b += direction * stride;
    c.Update(a, b);
  }
  state.counters["records_per_jump"] = static_cast<double>(stride);
}

}  // namespace

BENCHMARK(BM_ScrubHistory)->Arg(1)->Arg(100)->Arg(4096)->Arg(16384)->Arg(40960)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(BM_ScrubRealHistory, eval, std::string("eval"))->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_StepRealHistory)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RepaintEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimelineRedraw)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_TimelineBuildLayer)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_DiffPaneUpdate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiffPaneJump)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace kelvane

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  kelvane::TBenchLibrary library;
  kelvane::gLibrary = &library;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
