// Markers: labelled points of a history, kept beside its undo file in a side
// file NAME.eud.marks (UTF-8, one JSON object a line, {"point":P,"label":"…"};
// other fields are ignored, so later versions may add some). The undo file
// itself is never touched. A point is a history point as the scroll bar counts
// it; one past the end of the history as it now is (a history changed since)
// is kept as written and leads to the history's last point.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

struct TMarker {
  int32_t Point = 0;
  std::string Label;  // UTF-8
  friend bool operator==(const TMarker&, const TMarker&) = default;
};

// The markers in point order; markers at one point in the order they came.
class TMarkerList {
 public:
  const std::vector<TMarker>& Items() const { return items_; }
  size_t Count() const { return items_.size(); }
  const TMarker& operator[](size_t i) const { return items_.at(i); }

  size_t Add(TMarker marker);  // returns its index
  void Rename(size_t i, std::string label);
  void Remove(size_t i);
  void Assign(std::vector<TMarker> markers);

  // The first marker beyond Point, or the last one before it, in a history of
  // Total records; nullopt when there is none.
  std::optional<size_t> Next(int32_t point, int32_t total) const;
  std::optional<size_t> Previous(int32_t point, int32_t total) const;

 private:
  std::vector<TMarker> items_;
};

// Where a marker leads in a history of Total records.
inline int32_t MarkerTarget(const TMarker& m, int32_t total) { return m.Point < total ? m.Point : total; }
inline bool MarkerPastEnd(const TMarker& m, int32_t total) { return m.Point > total; }

// NAME.eud.marks for NAME.eud.
std::string MarksPathOf(const std::string& undoPath);

struct TMarksRead {
  std::vector<TMarker> Markers;
  std::vector<std::string> Notices;  // one per line left out, naming it and why
};

// The markers of a side file's bytes. A line that is not an object with a
// whole "point" from 0 on and a string "label" is left out with a notice;
// blank lines are skipped.
TMarksRead ParseMarks(std::string_view bytes);
std::string FormatMarks(const std::vector<TMarker>& markers);

}  // namespace kelvane
