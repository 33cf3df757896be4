// The free grid shapes: the owning list and the drawing of each kind.
#include "editor/gridlines/VeskGridLines.h"

#include <algorithm>
#include <utility>

#include "editor/Errors.h"

namespace kelvane {

namespace {

TRect BoxOf(TPoint a, TPoint b) { return {a.X, a.Y, b.X, b.Y}; }

}  // namespace

void TGridShape::Draw(Canvas& canvas, TPoint offset) const {
  const int32_t n = Count();
  if (n == 0) return;
  std::vector<TPoint> p(Points);
  for (TPoint& q : p) {
    q.X += offset.X;
    q.Y += offset.Y;
  }
  switch (Kind) {
    case 'A':
      if (n > 1) canvas.Polyline(p);
      break;
    case 'B':
      if (n == 2) canvas.Ellipse(BoxOf(p[0], p[1]));
      break;
    case 'C':
      if (n == 4) canvas.Pie(BoxOf(p[0], p[1]), p[2], p[3]);
      break;
    case 'D':
      if (n == 4) canvas.Arc(BoxOf(p[0], p[1]), p[2], p[3]);
      break;
    case 'E':
      // The platform's Bezier call takes a start point and three per segment
      // and draws nothing for any other count.
      if (n > 3 && (n - 1) % 3 == 0) canvas.PolyBezier(p);
      break;
    default:
      break;
  }
}

TGridShape& TVeskGridLines::Add(char kind, std::vector<TPoint> points) {
  items_.push_back(std::make_unique<TGridShape>(TGridShape{kind, std::move(points)}));
  return *items_.back();
}

void TVeskGridLines::Insert(int32_t index, char kind, std::vector<TPoint> points) {
  const size_t at = std::min(static_cast<size_t>(std::max(index, 0)), items_.size());
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at),
                std::make_unique<TGridShape>(TGridShape{kind, std::move(points)}));
}

void TVeskGridLines::Delete(int32_t index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(CheckedIndex(index, Count())));
}

void TVeskGridLines::Clear() {
  for (auto& shape : items_) shape.reset();  // first to last
  items_.clear();
}

TGridShape& TVeskGridLines::Items(int32_t i) { return *items_[CheckedIndex(i, Count())]; }

const TGridShape& TVeskGridLines::Items(int32_t i) const { return *items_[CheckedIndex(i, Count())]; }

void TVeskGridLines::Draw(Canvas& canvas, TPoint offset) const {
  for (const auto& shape : items_) shape->Draw(canvas, offset);
}

}  // namespace kelvane
