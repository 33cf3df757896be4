// The history list on Win32: a search field over a virtual report list-view,
// one row per record of the timeline (made only as the view asks for them),
// the record that led to the current point selected and kept in view, the
// records still to come greyed. A click or Enter on a row asks for the point
// just after its record.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "history/PanelText.h"
#include "history/Timeline.h"
#include "win32/WinApi.h"

namespace kelvane {

class Win32HistoryList {
 public:
  Win32HistoryList(HWND parent, int id, HFONT font);
  ~Win32HistoryList();
  Win32HistoryList(const Win32HistoryList&) = delete;
  Win32HistoryList& operator=(const Win32HistoryList&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND View() const { return view_; }
  HWND Search() const { return search_; }

  // Null: no rows. The caller keeps the timeline alive until the next call.
  void SetTimeline(const TTimeline* timeline);
  // Records 0 … Point−1 have been applied; record Point−1 is the current one.
  void SetPoint(int64_t point);
  // Markers (point, UTF-8 label, by point) show on the row of the record leading to their point.
  void SetMarkers(TPanelMarkers markers);
  // Runs the search as typed now, without waiting for a pause.
  void SearchNow();

  int Rows() const;
  int64_t RecordAt(int row) const { return filtered_ ? rows_[static_cast<size_t>(row)] : row; }
  // The row showing record K, or the nearest row before it; −1 for none.
  int RowOf(int64_t k) const;
  int CurrentRow() const;
  std::wstring CellText(int row, int column) const;

  std::function<void(int64_t point)> OnJump;
  // The search as typed (UTF-8), once it settles; empty when cleared.
  std::function<void(const std::string& text)> OnSearch;

 private:
  template <class T>
  friend LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void BuildColumns(HFONT font);
  void Place();
  void Refill();
  void ShowPoint();
  LRESULT OnNotify(const NMHDR& n);
  LRESULT CustomDraw(NMLVCUSTOMDRAW& d) const;
  void Activate(int row);
  static LRESULT CALLBACK SearchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);

  HWND hwnd_ = nullptr;
  HWND search_ = nullptr;
  HWND view_ = nullptr;
  const TTimeline* timeline_ = nullptr;
  TPanelMarkers markers_;
  bool filtered_ = false;
  std::vector<int64_t> rows_;  // filtered: the records shown
  int64_t point_ = 0;
  std::wstring cell_;  // the text handed to the view, until it asks again
};

}  // namespace kelvane
