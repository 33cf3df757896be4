// kelvane_qt_bench: the desktop's costs on Qt (offscreen): scrubbing the history
// scroll bar across the benchmark history in steps of 1, 100 and 40,960 records
// (each tracking step with the repaint of the window it causes), and a full
// repaint of a 1000 × 800 editor of dense Japanese text; and one record at a
// time on the real eval.eud (when its folder is there): the tracking step, and
// the single step with the explorer's marks off and on.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include "bench/BenchLibrary.h"
#include "platform/Codepage.h"
#include "qt/QtEditWidget.h"
#include "qt/QtExplorer.h"
#include "qt/QtPlayerWindow.h"

namespace kelvane {

namespace {

TBenchLibrary* gLibrary = nullptr;

// One tracking step of the thumb: the text follows, then the window is drawn
// as the screen would show it.
void BM_ScrubHistory(benchmark::State& state) {
  const TBenchFile& file = gLibrary->History({});
  QtPlayerWindow window;
  window.resize(1000, 800);
  if (!window.Form().LoadUndoFile(file.Path)) {
    state.SkipWithError("the benchmark history did not load");
    return;
  }
  TFormKelvane& form = window.Form();
  const int32_t stride = static_cast<int32_t>(state.range(0));
  // The thumb bounces between the first state and the loaded one. Redoing past
  // the loaded state would push the undo stack over its limit and drop the
  // oldest records, shrinking the history under the benchmark.
  const int32_t top = form.FUndoPos;
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

}  // namespace

BENCHMARK(BM_ScrubHistory)->Arg(1)->Arg(100)->Arg(4096)->Arg(16384)->Arg(40960)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_StepRealHistory)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RepaintEditor)->Unit(benchmark::kMillisecond);

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
