// TVeskGridLines: the free shapes an embedding program may lay behind the text
// when GridType is gtLines, and how one shape is drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Types.h"

namespace kelvane {

// One shape. Kind is a letter:
//   'A' polyline (2 points or more)       'B' ellipse in the box P1-P2 (2 points)
//   'C' pie of that ellipse, P3 to P4 (4)  'D' arc of that ellipse, P3 to P4 (4)
//   'E' Bezier curve (1 + 3k points, k >= 1)
// Any other kind, or a point count the kind does not take, draws nothing.
// Points are in pixels of the text area at scroll position zero.
struct TGridShape {
  char Kind = 0;
  std::vector<TPoint> Points;

  int32_t Count() const { return static_cast<int32_t>(Points.size()); }
  // Draws with the canvas's current pen, every point moved by Offset.
  void Draw(Canvas& canvas, TPoint offset) const;
};

// The list owns its shapes; they are drawn in list order.
class TVeskGridLines {
 public:
  TGridShape& Add(char kind, std::vector<TPoint> points);
  void Insert(int32_t index, char kind, std::vector<TPoint> points);  // appended when index >= Count
  void Delete(int32_t index);  // an index outside the list raises EListError
  void Clear();
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Shape I; an index outside the list raises EListError.
  TGridShape& Items(int32_t i);
  const TGridShape& Items(int32_t i) const;

  void Draw(Canvas& canvas, TPoint offset) const;

 private:
  std::vector<std::unique_ptr<TGridShape>> items_;
};

}  // namespace kelvane
