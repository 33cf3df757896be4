// The explorer's panels on the real eval.eud (skipped where ../shared is
// absent): a one-record tracking step of the timeline with every panel open
// (and with the provenance tint on too), and the history list opening on the
// whole history.
#include <benchmark/benchmark.h>

#include <QImage>

#include "platform/FileSystem.h"
#include "qt/QtHistoryList.h"
#include "qt/QtHistoryPanels.h"
#include "qt/QtPlayerWindow.h"
#include "qt/QtTimelinePanel.h"

namespace kelvane {

namespace {

bool LoadEval(QtPlayerWindow& window, benchmark::State& state) {
  const std::string path = std::string(KELVANE_SHARED_DATA) + "/eval.eud";
  window.MessageBox = [](const std::string&) {};
  window.resize(1280, 800);
  if (FileExists(path) && window.Form().LoadUndoFile(path)) return true;
  state.SkipWithError(("no such history, skipped: " + path).c_str());
  return false;
}

// Arg 0: the history list, the timeline and the diff pane (from the first
// point) open; 1: the provenance tint on as well. A step is the timeline's
// tracking step, the window's idle update and the frame drawn; the diff waits
// for the drag to rest, as it does in the window.
void BM_TrackWithPanels(benchmark::State& state) {
  QtPlayerWindow window;
  if (!LoadEval(window, state)) return;
  window.show();
  QtHistoryPanels& panels = window.Panels();
  for (TPanel p : {TPanel::history, TPanel::timeline, TPanel::diff}) panels.Show(p, true);
  panels.SetDiffFrom(0);
  if (state.range(0) == 1) panels.Action(TPanelAction::provenance).trigger();
  panels.Update();
  TFormKelvane& form = window.Form();
  const int32_t top = form.FUndoPos;
  QImage frame(window.size(), QImage::Format_ARGB32_Premultiplied);
  int32_t direction = -1;
  for (auto _ : state) {
    if (form.FUndoPos + direction < 0 || form.FUndoPos + direction > top) direction = -direction;
    panels.Timeline().OnTrack(form.FUndoPos + direction);
    panels.Update();
    window.render(&frame);
  }
  panels.Timeline().OnRelease(form.FUndoPos);
  state.SetLabel(state.range(0) == 0 ? "list, timeline, diff" : "list, timeline, diff, tint");
}

// A new list given the whole timeline, then drawn.
void BM_OpenHistoryList(benchmark::State& state) {
  QtPlayerWindow window;
  if (!LoadEval(window, state)) return;
  const TTimeline& timeline = window.Panels().Analysis().Timeline();
  QImage frame(QSize(480, 700), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QtHistoryList list;
    list.resize(frame.size());
    list.SetTimeline(&timeline);
    list.SetPoint(window.Form().FUndoPos);
    list.render(&frame);
  }
  state.counters["rows"] = static_cast<double>(timeline.Records());
}

}  // namespace

BENCHMARK(BM_TrackWithPanels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OpenHistoryList)->Unit(benchmark::kMillisecond);

}  // namespace kelvane
