// Repaint requests and the ruler strip. Painting itself is not drawn yet: these
// record what they were asked to do, so that tests can check which rows an
// operation repaints, and pass invalidation on to the window.
#include "editor/VeskEdit.h"

namespace kelvane {

void TVeskEdit::RepaintLines(int32_t first, int32_t last) {
  ++FPaintLog.RepaintRequests;
  FPaintLog.LastRepaintFirst = first;
  FPaintLog.LastRepaintLast = last;
}

void TVeskEdit::Invalidate() {
  ++FPaintLog.Invalidations;
  FHost.Invalidate();
}

void TVeskEdit::DrawRulerStrip() { ++FPaintLog.RulerStripDraws; }

void TVeskEdit::RefreshRuler() { ++FPaintLog.RulerRefreshes; }

void TVeskEdit::BuildRuler() { ++FPaintLog.RulerBuilds; }

void TVeskEdit::SetupRulerBitmap() {
  RulerBitmap->SetSize(ViewWidth, 14);
  RulerBitmap->GetCanvas().SetPen(ColorRuler, TPenStyle::psSolid, 1);
  RefreshRuler();
}

}  // namespace kelvane
