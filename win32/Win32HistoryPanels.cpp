// The explorer's panels in the Win32 window and their shared analysis.
#include "win32/Win32HistoryPanels.h"

#include <algorithm>
#include <cstdlib>

#include "headless/HeadlessEditHost.h"
#include "history/PanelText.h"
#include "win32/Win32DiffPane.h"
#include "win32/Win32Explorer.h"
#include "win32/Win32HistoryList.h"
#include "win32/Win32NoticeBar.h"
#include "win32/Win32PlayerWindow.h"
#include "win32/Win32ProvenanceTint.h"
#include "win32/Win32TimelinePanel.h"
#include "win32/WinText.h"

namespace kelvane {

namespace {

// Child windows' ids, inside the panels' range.
constexpr int kListId = 380;
constexpr int kTimelineId = 381;
constexpr int kDiffId = 382;
constexpr int kNoticeId = 383;
constexpr UINT kDiffRestMs = 120;
constexpr int kMinSide = 220;     // the right column's least width
constexpr int kMinTimeline = 80;  // the timeline's least height
constexpr int kEditorKeeps = 80;  // what the editor keeps however small the window

void Place(HWND hwnd, bool shown, int left, int top, int width, int height) {
  if (shown) ::MoveWindow(hwnd, left, top, std::max(0, width), std::max(0, height), TRUE);
  ::ShowWindow(hwnd, shown ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

Win32HistoryPanels::Win32HistoryPanels(Win32PlayerWindow& window)
    : window_(window),
      analysis_(window.EditWindow().Editor(), [] { return std::make_unique<HeadlessEditHost>(); }),
      follower_(window.Form(), analysis_) {
  const LOGFONTW log = ToLogFont(TFontSpec{"ＭＳ Ｐゴシック", 12});
  font_.reset(::CreateFontIndirectW(&log));
  const HWND parent = window_.Handle();
  list_ = std::make_unique<Win32HistoryList>(parent, kListId, font_.get());
  list_->OnJump = [this](int64_t point) { JumpTo(point); };
  list_->OnSearch = [this](const std::string& text) { window_.Guard([this, text] { Search(text); }); };
  timeline_ = std::make_unique<Win32TimelinePanel>(parent, kTimelineId);
  timeline_->OnTrack = [this](int64_t point) { Track(point); };
  timeline_->OnRelease = [this](int64_t point) { Release(point); };
  diff_ = std::make_unique<Win32DiffPane>(parent, kDiffId, font_.get());
  diff_->OnRest = [this] { window_.Guard([this] { UpdateDiff(); }); };
  notice_ = std::make_unique<Win32NoticeBar>(parent, kNoticeId, font_.get());
  notice_->OnChanged = [this] { Relayout(); };
  tint_ = std::make_unique<Win32ProvenanceTint>(window_.EditWindow(), analysis_, [this] { return Point(); });
  tint_->OnJump = [this](int64_t point) { JumpTo(point); };

  TFormKelvane& form = window_.Form();
  formLoaded_ = form.OnLoaded;
  form.OnLoaded = [this] { Loaded(); };
}

Win32HistoryPanels::~Win32HistoryPanels() {
  window_.Form().OnLoaded = formLoaded_;
  tint_.reset();  // it leaves the editor's painting as it found it
}

std::vector<ACCEL> Win32HistoryPanels::Accelerators() {
  const auto key = [](BYTE flags, WORD vk, int command) {
    return ACCEL{static_cast<BYTE>(flags | FVIRTKEY), vk, static_cast<WORD>(command)};
  };
  return {key(FCONTROL, 'L', kPanelHistoryList),          key(FCONTROL, 'F', kPanelFindInHistory),
          key(FCONTROL, 'T', kPanelTimeline),             key(FCONTROL, 'D', kPanelDiff),
          key(FCONTROL | FSHIFT, 'D', kPanelMarkDiffFrom), key(FCONTROL | FSHIFT, 'B', kPanelProvenance)};
}

void Win32HistoryPanels::OnCommand(int id) {
  window_.Guard([this, id] {
    switch (id) {
      case kPanelHistoryList: Show(TPanelId::history, !Shown(TPanelId::history)); break;
      case kPanelFindInHistory:
        Show(TPanelId::history, true);
        ::SetFocus(list_->Search());
        ::SendMessageW(list_->Search(), EM_SETSEL, 0, -1);
        break;
      case kPanelTimeline: Show(TPanelId::timeline, !Shown(TPanelId::timeline)); break;
      case kPanelDiff: Show(TPanelId::diff, !Shown(TPanelId::diff)); break;
      case kPanelMarkDiffFrom:
        SetDiffFrom(Point());
        Show(TPanelId::diff, true);
        break;
      case kPanelProvenance: SetTint(!tint_->On()); break;
      default: break;
    }
  });
}

// ---- layout ----------------------------------------------------------------------

// The notice along the very bottom, the timeline above it across the whole
// width, the list over the diff on the right, each taking half when both are
// open; the editor keeps the rest.
RECT Win32HistoryPanels::Layout(const RECT& area) {
  RECT rest = area;
  const int width = area.right - area.left;
  const bool notice = notice_->Wanted();
  const int noticeHeight = notice ? notice_->Height() : 0;
  rest.bottom -= noticeHeight;
  Place(notice_->Handle(), notice, area.left, rest.bottom, width, noticeHeight);

  const bool timeline = Shown(TPanelId::timeline);
  const int height = area.bottom - area.top;
  const int timelineHeight =
      timeline ? std::clamp(height / 4, std::min(kMinTimeline, height / 2), std::max(0, height - kEditorKeeps)) : 0;
  rest.bottom -= timelineHeight;
  Place(timeline_->Handle(), timeline, area.left, rest.bottom, width, timelineHeight);

  const bool list = Shown(TPanelId::history), diff = Shown(TPanelId::diff);
  const int sideWidth =
      list || diff ? std::clamp(width * 2 / 5, std::min(kMinSide, width / 2), std::max(0, width - kEditorKeeps)) : 0;
  rest.right -= sideWidth;
  const int sideHeight = std::max(0, static_cast<int>(rest.bottom - rest.top));
  const int listHeight = list && diff ? sideHeight / 2 : (list ? sideHeight : 0);
  Place(list_->Handle(), list, rest.right, rest.top, sideWidth, listHeight);
  Place(diff_->Handle(), diff, rest.right, rest.top + listHeight, sideWidth, sideHeight - listHeight);
  if (rest.bottom < rest.top) rest.bottom = rest.top;
  return rest;
}

// The window lays itself out on WM_SIZE, whatever its arguments.
void Win32HistoryPanels::Relayout() { ::SendMessageW(window_.Handle(), WM_SIZE, 0, 0); }

void Win32HistoryPanels::Show(TPanelId p, bool shown) {
  shown_[static_cast<size_t>(p)] = shown;
  Relayout();
  if (shown) Update();
}

void Win32HistoryPanels::SetTint(bool on) {
  tint_->SetOn(on);
  follower_.TintedEveryRow();
  notice_->SetLegend(on);
  Relayout();
}

// ---- following the player ----------------------------------------------------------

int64_t Win32HistoryPanels::Point() const { return window_.Form().History().Position(); }

bool Win32HistoryPanels::AnyViewOpen() const {
  return std::any_of(shown_.begin(), shown_.end(), [](bool shown) { return shown; });
}

void Win32HistoryPanels::Update() {
  if (follower_.TintAged(tint_->On())) window_.EditWindow().Editor().Invalidate();
  if (!AnyViewOpen()) return;
  if (follower_.NewTimeline()) {
    const TTimeline& t = analysis_.Timeline();
    list_->SetTimeline(&t);
    timeline_->SetTimeline(&t);
    if (!search_.empty()) Search(search_);
  }
  if (follower_.NewPoint()) {
    list_->SetPoint(Point());
    timeline_->SetPoint(Point());
  }
  UpdateMarkers();
  switch (follower_.DiffNeed(Shown(TPanelId::diff), false)) {
    case TPanelFollower::TDiffNeed::now: UpdateDiff(); break;
    case TPanelFollower::TDiffNeed::wait:  // until the hand rests
      if (Point() != diffWaitsFor_) {
        diffWaitsFor_ = Point();
        diff_->WaitForRest(kDiffRestMs);
      }
      break;
    case TPanelFollower::TDiffNeed::none: break;
  }
}

void Win32HistoryPanels::UpdateMarkers() {
  std::vector<std::pair<int64_t, std::string>> markers = Markers ? Markers() : decltype(markers){};
  if (!follower_.NewMarkers(markers)) return;
  list_->SetMarkers(markers);
  timeline_->SetMarkers(std::move(markers));
}

void Win32HistoryPanels::SetDiffFrom(std::optional<int64_t> point) {
  follower_.SetDiffFrom(point);
  if (!point) diff_->Clear();
  else UpdateDiff();
}

void Win32HistoryPanels::UpdateDiff() {
  diff_->StopWaiting();
  diffWaitsFor_ = -1;
  if (!follower_.DiffFrom()) return;
  const TFontSpec& font = window_.EditWindow().Editor().Font();
  if (font != diffFont_) {
    diffFont_ = font;
    diff_->SetEditorFont(font);
  }
  diff_->SetDiff(follower_.TakeDiff(), *follower_.DiffFrom(), Point());
}

void Win32HistoryPanels::FlushDiff() {
  if (diff_->Waiting() || follower_.DiffNeed(true, false) != TPanelFollower::TDiffNeed::none) UpdateDiff();
}

void Win32HistoryPanels::Search(const std::string& text) {
  search_ = text;
  ranges_ = SearchHistory(analysis_, text);
  timeline_->SetRanges(ranges_);
}

// ---- moving the player --------------------------------------------------------------

void Win32HistoryPanels::JumpTo(int64_t point) {
  window_.Guard([this, point] { window_.Explorer().Logic().GoTo(point); });
}

void Win32HistoryPanels::Track(int64_t point) {
  window_.Guard([this, point] { follower_.Track(point); });
}

void Win32HistoryPanels::Release(int64_t point) {
  window_.Guard([this, point] { follower_.Release(point); });
}

// A new file: the check's notice, and no point A of a history that is gone.
void Win32HistoryPanels::Loaded() {
  if (formLoaded_) formLoaded_();
  SetDiffFrom(std::nullopt);
  ::SetWindowTextW(list_->Search(), L"");
  list_->SearchNow();  // its search settles to none, as the user's clearing would
  notice_->SetNotice(CheckNotice(analysis_.Timeline()));
  Relayout();
}

}  // namespace kelvane
