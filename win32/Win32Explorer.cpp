// The history explorer's face in the Win32 player window.
#include "win32/Win32Explorer.h"

#include <algorithm>

#include "win32/Win32HistoryPanels.h"
#include "win32/Win32InputDialog.h"
#include "win32/Win32ProvenanceTint.h"
#include "win32/Win32PlayerWindow.h"
#include "win32/WinText.h"

namespace kelvane {

namespace {

constexpr int kGaugeImage = 10;
constexpr int kFlagImage = 11;
constexpr wchar_t kMenuTip[] = L"履歴の探索";

struct TKeyDef {
  TExplorerAction Id;
  BYTE Flags;
  WORD Key;
};

// The Qt window's keys: none is one the editor acts on, and the accelerators
// take them before the editor sees a key or a character (Ctrl+H and Ctrl+M
// would otherwise reach it as Backspace and Enter).
constexpr std::array<TKeyDef, 17> kKeys{{
    {TExplorerAction::stepBack, FALT, VK_LEFT},
    {TExplorerAction::stepForward, FALT, VK_RIGHT},
    {TExplorerAction::first, FALT, VK_HOME},
    {TExplorerAction::last, FALT, VK_END},
    {TExplorerAction::playBack, 0, 0x74 /* F5 */},
    {TExplorerAction::playForward, 0, 0x75 /* F6 */},
    {TExplorerAction::stop, 0, 0x76 /* F7 */},
    {TExplorerAction::stop, 0, VK_ESCAPE},
    {TExplorerAction::goTo, FCONTROL, 'G'},
    {TExplorerAction::addMarker, FCONTROL, 'M'},
    {TExplorerAction::previousMarker, FALT, VK_PRIOR},
    {TExplorerAction::nextMarker, FALT, VK_NEXT},
    {TExplorerAction::markerList, FCONTROL | FSHIFT, 'M'},
    {TExplorerAction::highlight, FCONTROL, 'H'},
    {TExplorerAction::restore, FCONTROL | FSHIFT, 'Y'},
    {TExplorerAction::help, 0, 0x70 /* F1 */},
    {TExplorerAction::help, FSHIFT, 0x70},
}};

std::string VirtualKeyName(WORD key) {
  if (key >= 0x70 && key <= 0x7B) return "F" + std::to_string(key - 0x6F);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  switch (key) {
    case VK_LEFT: return "Left";
    case VK_RIGHT: return "Right";
    case VK_HOME: return "Home";
    case VK_END: return "End";
    case VK_PRIOR: return "PageUp";
    case VK_NEXT: return "PageDown";
    case VK_ESCAPE: return "Esc";
    default: return "?";
  }
}

std::string KeyName(const ACCEL& a) {
  std::string name;
  if (a.fVirt & FCONTROL) name += "Ctrl+";
  if (a.fVirt & FALT) name += "Alt+";
  if (a.fVirt & FSHIFT) name += "Shift+";
  return name + VirtualKeyName(a.key);
}

// "F7, Esc": every key of one command, in the table's order.
std::string KeysOf(const std::vector<ACCEL>& table, int command) {
  std::string keys;
  for (const ACCEL& a : table)
    if (a.cmd == command) keys += (keys.empty() ? "" : ", ") + KeyName(a);
  return keys;
}

std::vector<ACCEL> AcceleratorsOf(HACCEL table) {
  std::vector<ACCEL> out(static_cast<size_t>(::CopyAcceleratorTableW(table, nullptr, 0)));
  ::CopyAcceleratorTableW(table, out.data(), static_cast<int>(out.size()));
  return out;
}

void AddItem(HMENU menu, int id, const std::string& text) {
  ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), ToWide(text).c_str());
}

}  // namespace

std::vector<ACCEL> Win32Explorer::Accelerators() {
  std::vector<ACCEL> table;
  for (const TKeyDef& k : kKeys)
    table.push_back({static_cast<BYTE>(k.Flags | FVIRTKEY), k.Key, static_cast<WORD>(CommandOf(k.Id))});
  return table;
}

Win32Explorer::Win32Explorer(Win32PlayerWindow& window)
    : window_(window),
      logic_(window.Form()),  // the window lets it go before the form
      markers_(std::make_unique<Win32MarkerWindow>(window.Handle(), window.UiFont())) {
  AskPoint = [this](int32_t point, int32_t total) -> std::optional<int64_t> {
    const std::optional<std::string> typed = AskLine(
        window_.Handle(), {"指定位置へ", "位置（0 … " + std::to_string(total) + "）:", std::to_string(point), true});
    if (!typed || typed->empty() || typed->size() > 18) return std::nullopt;
    return std::stoll(*typed);  // digits only: the field takes no other
  };
  AskLabel = [this](const std::string& title, const std::string& initial) {
    return AskLine(window_.Handle(), {title, "名前:", initial, false});
  };
  ShowKeys = [this](const TKeyList& keys) { ShowKeyList(window_.Handle(), window_.UiFont(), keys); };
  markers_->OnCommand = [this](TMarkerCommand c) { window_.Guard([this, c] { OnMarkerCommand(c); }); };
  markers_->OnClosed = [this] { checked_[static_cast<size_t>(TExplorerAction::markerList)] = false; };
  enabled_.fill(true);
  checked_[static_cast<size_t>(TExplorerAction::highlight)] = logic_.HighlightSteps();
  BuildMenus();
  AddToolButtons();
  ChoosePace(logic_.Pace());
}

Win32Explorer::~Win32Explorer() {
  for (HMENU m : {paceMenu_, menu_})
    if (m) ::DestroyMenu(m);
}

void Win32Explorer::AddToolButtons() {
  paceTip_ = L"再生速度";
  std::array<TBBUTTON, 2> buttons{};
  buttons[0] = {kGaugeImage, kPaceButton, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(L"")};
  buttons[1] = {kFlagImage, kMenuButton, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(kMenuTip)};
  ::SendMessageW(window_.ToolBar(), TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
}

// The pace menu has a grey heading over each group, as the Qt menu's sections.
void Win32Explorer::BuildMenus() {
  paceMenu_ = ::CreatePopupMenu();
  ::AppendMenuW(paceMenu_, MF_STRING | MF_GRAYED, 0, L"間隔");
  for (size_t i = 0; i < kPaceIntervals.size(); ++i)
    AddItem(paceMenu_, kIntervalBase + static_cast<int>(i), std::to_string(kPaceIntervals[i]) + " ms");
  ::AppendMenuW(paceMenu_, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(paceMenu_, MF_STRING | MF_GRAYED, 0, L"1回に進む件数");
  for (size_t i = 0; i < kPaceRecords.size(); ++i)
    AddItem(paceMenu_, kRecordsBase + static_cast<int>(i), std::to_string(kPaceRecords[i]) + " 件");

  menu_ = ::CreatePopupMenu();
  const std::vector<ACCEL> keys = Accelerators();
  using E = TExplorerAction;
  const auto group = [&](std::initializer_list<E> actions) {
    if (::GetMenuItemCount(menu_) > 0) ::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
    for (E a : actions) AddItem(menu_, CommandOf(a), std::string(ExplorerActionText(a)) + "\t" + KeysOf(keys, CommandOf(a)));
  };
  group({E::stepBack, E::stepForward, E::first, E::last});
  group({E::playBack, E::playForward, E::stop});
  group({E::goTo, E::addMarker, E::previousMarker, E::nextMarker, E::markerList});
  group({E::highlight, E::restore, E::help});
  // The panels' actions, as the Qt window's menu has them after the explorer's.
  ::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
  const std::vector<ACCEL> panelKeys = Win32HistoryPanels::Accelerators();
  for (size_t i = 0; i < kPanelActionCount; ++i) {
    const int command = kPanelHistoryList + static_cast<int>(i);
    AddItem(menu_, command, std::string(kPanelActionTexts[i]) + "\t" + KeysOf(panelKeys, command));
  }
}

// Under the button, as a drop-down; the item chosen runs as its command.
void Win32Explorer::PopUp(int button, HMENU menu) {
  RECT r{};
  ::SendMessageW(window_.ToolBar(), TB_GETRECT, button, reinterpret_cast<LPARAM>(&r));
  ::MapWindowPoints(window_.ToolBar(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  for (size_t i = 0; i < kExplorerActionCount; ++i) {
    const UINT item = static_cast<UINT>(CommandOf(static_cast<TExplorerAction>(i)));
    ::EnableMenuItem(menu, item, MF_BYCOMMAND | (enabled_[i] ? MF_ENABLED : MF_GRAYED));
    ::CheckMenuItem(menu, item, MF_BYCOMMAND | (checked_[i] ? MF_CHECKED : MF_UNCHECKED));
  }
  if (menu == menu_) CheckPanels();
  const int chosen = ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, r.left,
                                      r.bottom, 0, window_.Handle(), nullptr);
  if (Win32HistoryPanels::IsCommand(chosen)) window_.Panels().OnCommand(chosen);
  else if (chosen != 0) OnCommand(chosen);
}

// The panels shown and the tint, checked in the menu as the Qt window checks them.
void Win32Explorer::CheckPanels() {
  Win32HistoryPanels& panels = window_.Panels();
  const auto check = [this](int command, bool on) {
    ::CheckMenuItem(menu_, static_cast<UINT>(command), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  };
  check(kPanelHistoryList, panels.Shown(TPanelId::history));
  check(kPanelTimeline, panels.Shown(TPanelId::timeline));
  check(kPanelDiff, panels.Shown(TPanelId::diff));
  check(kPanelProvenance, panels.Tint().On());
}

void Win32Explorer::OnCommand(int id) {
  if (id == kPaceButton) return PopUp(id, paceMenu_);
  if (id == kMenuButton) return PopUp(id, menu_);
  const TPlaybackPace pace = logic_.Pace();
  if (id >= kIntervalBase && id < kIntervalBase + static_cast<int>(kPaceIntervals.size()))
    return ChoosePace({kPaceIntervals[static_cast<size_t>(id - kIntervalBase)], pace.RecordsPerTick});
  if (id >= kRecordsBase && id < kRecordsBase + static_cast<int>(kPaceRecords.size()))
    return ChoosePace({pace.IntervalMs, kPaceRecords[static_cast<size_t>(id - kRecordsBase)]});
  const int index = id - kFirstCommand;
  if (index < 0 || index >= static_cast<int>(kExplorerActionCount)) return;
  const auto a = static_cast<TExplorerAction>(index);
  if (enabled_[static_cast<size_t>(a)]) window_.Guard([this, a] { Run(a); });  // an accelerator of a disabled action
}

void Win32Explorer::ChoosePace(TPlaybackPace pace) {
  if (!logic_.SetPace(pace)) return;
  const auto radio = [](HMENU menu, int base, size_t count, size_t chosen) {
    ::CheckMenuRadioItem(menu, static_cast<UINT>(base), static_cast<UINT>(base + static_cast<int>(count) - 1),
                         static_cast<UINT>(base + static_cast<int>(chosen)), MF_BYCOMMAND);
  };
  const auto at = [](const auto& choices, int32_t v) {
    return static_cast<size_t>(std::find(choices.begin(), choices.end(), v) - choices.begin());
  };
  radio(paceMenu_, kIntervalBase, kPaceIntervals.size(), at(kPaceIntervals, pace.IntervalMs));
  radio(paceMenu_, kRecordsBase, kPaceRecords.size(), at(kPaceRecords, pace.RecordsPerTick));
  window_.SetTimerInterval(pace.IntervalMs);
  UpdateActions();
}

// ---- the actions --------------------------------------------------------------

void Win32Explorer::Run(TExplorerAction a) {
  if (logic_.Move(a)) return;
  switch (a) {
    case TExplorerAction::goTo: GoToAsked(); break;
    case TExplorerAction::addMarker: AddMarkerAsked(); break;
    case TExplorerAction::markerList:
      checked_[static_cast<size_t>(a)] = !checked_[static_cast<size_t>(a)];
      markers_->Show(checked_[static_cast<size_t>(a)]);
      break;
    case TExplorerAction::highlight:
      logic_.SetHighlightSteps(!logic_.HighlightSteps());
      checked_[static_cast<size_t>(a)] = logic_.HighlightSteps();
      break;
    case TExplorerAction::restore: RestoreAsked(); break;
    case TExplorerAction::help: ShowKeys(Keys()); break;
    default: break;  // the player's moves, above
  }
}

void Win32Explorer::GoToAsked() {
  if (const std::optional<int64_t> point = AskPoint(logic_.Point(), logic_.Total())) logic_.GoTo(*point);
}

void Win32Explorer::AddMarkerAsked() {
  if (const std::optional<std::string> label = AskLabel("マーカーを追加", logic_.NewMarkerLabel())) MarkersChanged(logic_.AddMarker(*label));
}

void Win32Explorer::OnMarkerCommand(TMarkerCommand c) {
  if (c == TMarkerCommand::add) return AddMarkerAsked();
  const int row = markers_->Selected();
  if (row < 0 || static_cast<size_t>(row) >= logic_.Markers().Count()) return;
  const auto i = static_cast<size_t>(row);
  switch (c) {
    case TMarkerCommand::rename:
      if (const std::optional<std::string> label = AskLabel("マーカーの名前を変更", logic_.Markers()[i].Label))
        MarkersChanged(logic_.RenameMarker(i, *label));
      break;
    case TMarkerCommand::remove: MarkersChanged(logic_.RemoveMarker(i)); break;
    case TMarkerCommand::goTo: logic_.GoToMarker(i); break;
    case TMarkerCommand::add: break;
  }
}

// The edits made since the history was thrown away go in its place: asked first.
void Win32Explorer::RestoreAsked() {
  if (!logic_.CanRestore()) return;
  if (window_.AskOkCancel("履歴の復元", logic_.RestoreQuestion())) logic_.RestoreDiscarded();
}

void Win32Explorer::MarkersChanged(bool written) {
  RefreshMarkerList();
  if (!written) window_.ShowMessage("マーカーを保存できません。\n" + logic_.MarksError());
}

// ---- states -------------------------------------------------------------------

void Win32Explorer::Enable(TExplorerAction a, bool on) { enabled_[static_cast<size_t>(a)] = on; }

void Win32Explorer::UpdateActions() {
  TFormKelvane& form = window_.Form();
  const bool canUndo = form.Editor->CanUndo();
  const bool canRedo = form.Editor->CanRedo();
  const bool playing = window_.TimerEnabled();
  using E = TExplorerAction;
  for (E a : {E::stepBack, E::first}) Enable(a, canUndo);
  for (E a : {E::stepForward, E::last}) Enable(a, canRedo);
  Enable(E::playBack, canUndo || playing);
  Enable(E::playForward, canRedo || playing);
  Enable(E::stop, playing);
  Enable(E::goTo, logic_.Total() > 0);
  const bool anyMarker = logic_.Markers().Count() > 0;
  Enable(E::previousMarker, anyMarker);
  Enable(E::nextMarker, anyMarker);
  Enable(E::restore, logic_.CanRestore());
  checked_[static_cast<size_t>(E::markerList)] = markers_->Visible();
  SetPaceTip();
  RefreshMarkerList();
  TakeNotices();
}

void Win32Explorer::SetPaceTip() {
  const std::wstring tip =
      ToWide("再生速度: " + PaceText(logic_.Pace()) + "（全 " + std::to_string(logic_.Total()) + " 件で " +
             DurationText(PlayingTimeMs(logic_.Pace(), logic_.Total())) + "）");
  if (tip == paceTip_) return;
  paceTip_ = tip;
  TBBUTTONINFOW info{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_TEXT;
  info.pszText = paceTip_.data();
  ::SendMessageW(window_.ToolBar(), TB_SETBUTTONINFOW, kPaceButton, reinterpret_cast<LPARAM>(&info));
}

void Win32Explorer::TakeNotices() {
  const std::vector<std::string> notices = logic_.TakeMarksNotices();
  if (notices.empty()) return;
  std::string text;
  for (const std::string& n : notices) text += (text.empty() ? "" : "\n") + n;
  markers_->SetNotice(text);
  window_.ShowMessage("マーカーファイルの読めない行を飛ばしました。\n" + text);
}

void Win32Explorer::RefreshMarkerList() {
  const std::vector<TMarker>& markers = logic_.Markers().Items();
  const int32_t total = logic_.Total();
  if (markers == shownMarkers_ && total == shownTotal_) return;
  std::vector<std::string> rows;
  for (const TMarker& m : markers) {
    std::string text = std::to_string(m.Point) + "  " + m.Label;
    if (MarkerPastEnd(m, total)) text += "（履歴の外: " + std::to_string(total) + " へ）";
    rows.push_back(text);
  }
  markers_->SetRows(rows);
  shownMarkers_ = markers;
  shownTotal_ = total;
}

// The window's keys with their tool tips or captions, then the editor's. The
// accelerators are the list: a key added to them shows here too.
TKeyList Win32Explorer::Keys() const {
  TKeyList list;
  const std::vector<ACCEL> table = AcceleratorsOf(window_.Accelerators());
  std::vector<int> done;
  for (const ACCEL& a : table) {
    if (std::find(done.begin(), done.end(), a.cmd) != done.end()) continue;
    done.push_back(a.cmd);
    const int index = a.cmd - kFirstCommand;
    std::string what;
    if (index >= 0 && index < static_cast<int>(kExplorerActionCount))
      what = ExplorerActionText(static_cast<TExplorerAction>(index));
    else
      what = window_.CommandText(a.cmd);
    if (!what.empty()) list.Window.push_back({KeysOf(table, a.cmd), what});
  }
  list.Window.push_back({kTintClickKey.first, kTintClickKey.second});
  for (const auto& [keys, what] : kEditorKeys) list.Editor.push_back({keys, what});
  return list;
}

}  // namespace kelvane
