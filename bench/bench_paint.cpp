// Painting costs: a full paint of a 1000 × 800 view of dense Japanese text on
// the headless canvas, with the drawing calls recorded and without; and the
// cost of a repaint request on a frozen window and for rows out of view, which
// every history step pays.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/VeskEdit.h"
#include "platform/Codepage.h"
#include "headless/HeadlessEditHost.h"

namespace kelvane {

namespace {

// Lines wider than the view: kanji and kana with full-width and single spaces,
// a tab, ASCII and a character reference, so that runs break often.
std::string DenseText(int lines) {
  const std::string pieces[] = {
      cp932::FromUtf8("吾輩は猫である。名前はまだ無い。"), cp932::FromUtf8("どこで生れたかとんと見当がつかぬ。"),
      cp932::FromUtf8("　"), " ", "\t", "Kelvane 2.0 ", "&amp;", cp932::FromUtf8("何でも薄暗いじめじめした所で"),
  };
  std::string text;
  for (int i = 0; i < lines; ++i) {
    std::string line;
    for (size_t k = static_cast<size_t>(i) % 3; line.size() < 170; ++k) line += pieces[k % std::size(pieces)];
    text += line;
    if (i + 1 < lines) text += "\r\n";
  }
  return text;
}

struct TPaintBench {
  HeadlessEditHost host;
  TVeskEdit edit{host};
  HeadlessCanvas& text;

  explicit TPaintBench(bool recording)
      : text(dynamic_cast<HeadlessBitmap&>(*edit.TextBitmap).Headless()) {
    edit.CreateWnd();
    edit.Perform(WM_SIZE, 0, MakeLParam(1000, 800));
    edit.SetShowRuler(true);
    edit.SetShowGrid(true);
    edit.SetText(DenseText(200));
    edit.SetCaret({0, 40});
    edit.SelAnchor = {10, 38};
    edit.Selected = true;  // a few selected rows as well
    host.SurfaceCanvas.Recording = recording;
    text.Recording = recording;
  }
  void Forget() {
    host.SurfaceCanvas.Calls.clear();
    text.Calls.clear();
  }
};

void BM_PaintFullView(benchmark::State& state) {
  TPaintBench b(state.range(0) != 0);
  size_t calls = 0;
  for (auto _ : state) {
    b.edit.Paint();
    state.PauseTiming();
    calls = b.text.Calls.size() + b.host.SurfaceCanvas.Calls.size();
    b.Forget();
    state.ResumeTiming();
  }
  state.counters["rows"] = static_cast<double>(b.edit.VisibleLines + 1);
  state.counters["calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_PaintFullView)->ArgName("recording")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One row, as a single-line edit repaints it.
void BM_RepaintOneRow(benchmark::State& state) {
  TPaintBench b(false);
  for (auto _ : state) b.edit.RepaintLines(b.edit.TopLine + 5, b.edit.TopLine + 5);
}
BENCHMARK(BM_RepaintOneRow)->Unit(benchmark::kMicrosecond);

// What a history step pays: a frozen window, or rows below the view.
void BM_RepaintNothingShown(benchmark::State& state) {
  TPaintBench b(false);
  const bool frozen = state.range(0) != 0;
  if (frozen) b.edit.Perform(WM_SETREDRAW, 0);
  const int32_t line = frozen ? b.edit.TopLine : b.edit.TopLine + 150;
  for (auto _ : state) b.edit.RepaintLines(line, line + 1);
}
BENCHMARK(BM_RepaintNothingShown)->ArgName("frozen")->Arg(1)->Arg(0);

}  // namespace

}  // namespace kelvane
