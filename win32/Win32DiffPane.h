// The diff pane on Win32: what changed between a marked point A and the
// current point as a unified listing — hunks with a little context, removed
// rows on red and added ones on green with their old and new line numbers,
// the characters that differ inside a changed pair in a stronger tint — in
// the editor's font, under a header naming the two points. Rows are laid out
// once per diff and painted in view only; long lines scroll sideways.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "history/DiffRows.h"
#include "history/TextDiff.h"
#include "win32/GdiCanvas.h"
#include "win32/WinApi.h"

namespace kelvane {

class Win32DiffPane {
 public:
  Win32DiffPane(HWND parent, int id, HFONT headerFont);
  ~Win32DiffPane();
  Win32DiffPane(const Win32DiffPane&) = delete;
  Win32DiffPane& operator=(const Win32DiffPane&) = delete;

  HWND Handle() const { return hwnd_; }
  // The difference from point From to point To; a null diff (a point the
  // history does not reach) says the two cannot be compared. A new diff from
  // the same From keeps the view where it was in From's text.
  void SetDiff(std::unique_ptr<TTextDiff> diff, int64_t from, int64_t to);
  // No point A: a hint to mark one.
  void Clear();
  void SetEditorFont(const TFontSpec& font);

  const std::vector<TDiffRow>& Rows() const { return rows_; }
  int32_t RemovedLines() const { return removed_; }
  int32_t AddedLines() const { return added_; }
  const std::string& HeaderText() const { return header_; }  // UTF-8
  const std::string& Message() const { return message_; }    // shown in place of rows
  int TopRow() const { return top_; }
  // Row I's top in client coordinates (it may lie out of view).
  int RowTop(size_t i) const { return HeaderHeight() + (static_cast<int>(i) - top_) * lineHeight_; }
  int TextLeft() const { return gutterWidth_; }

  // The pane waits for the hand to rest: OnRest runs once Ms have passed
  // without another call.
  void WaitForRest(UINT ms);
  void StopWaiting();
  bool Waiting() const { return waiting_; }
  std::function<void()> OnRest;

 private:
  template <class T>
  friend LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void Show(std::unique_ptr<TTextDiff> diff, std::vector<TDiffRow> rows, std::string header, std::string message);
  int HeaderHeight() const { return header_.empty() ? 0 : headerHeight_; }
  int VisibleRows() const;
  int32_t TopOldLine() const;
  void Measure();
  void UpdateScrollBars();
  void ScrollTo(int top, int left);
  void OnScroll(int bar, WPARAM wParam);
  int CharWidth(HDC dc, wchar_t c);
  void Paint(HDC dc, const RECT& client);
  void PaintHeader(HDC dc, const RECT& client) const;
  void PaintMessage(HDC dc, const RECT& client) const;
  void PaintRow(HDC dc, const TDiffRow& row, int top, int width);
  void PaintText(HDC dc, const TDiffRow& row, int top, int width);
  void PaintGutter(HDC dc, const TDiffRow& row, int top) const;

  HWND hwnd_ = nullptr;
  std::unique_ptr<TTextDiff> diff_;  // the bytes the rows name
  std::vector<TDiffRow> rows_;
  int32_t removed_ = 0, added_ = 0;
  std::optional<int64_t> from_;  // A of the rows shown
  std::string header_, message_;
  HFONT headerFont_;
  TGdiPtr<HFONT> font_;
  std::unordered_map<wchar_t, int> widths_;  // of font_, per character
  int headerHeight_ = 20;
  int lineHeight_ = 16;
  int ascentGap_ = 1;
  int digitWidth_ = 8;
  int columnWidth_ = 8;  // half a full-width character
  int numberWidth_ = 24;
  int gutterWidth_ = 0;
  int textWidth_ = 0;  // the widest row, as far as known
  int top_ = 0;        // the first row in view
  int left_ = 0;       // pixels scrolled sideways
  bool waiting_ = false;
  GdiBitmap frame_;
};

}  // namespace kelvane
