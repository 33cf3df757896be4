// What both windows show of the explorer: its actions with their captions,
// and the editor's own keys for the key list. The keys of the actions are
// each toolkit's to spell; the captions and the order are shared, so that
// both windows' menus and key lists read alike.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace kelvane {

enum class TExplorerAction : uint8_t {
  stepBack, stepForward, first, last, playBack, playForward, stop, goTo, addMarker, previousMarker,
  nextMarker, markerList, highlight, restore, help,
};
constexpr size_t kExplorerActionCount = 15;

// In the order of TExplorerAction.
inline constexpr std::array<const char*, kExplorerActionCount> kExplorerActionTexts{{
    "1つ戻る",
    "1つ進む",
    "先頭へ",
    "最後へ",
    "自動で戻す（もう一度で停止）",
    "自動で進める（もう一度で停止）",
    "自動再生を停止",
    "指定位置へ…",
    "この位置にマーカーを追加…",
    "前のマーカーへ",
    "次のマーカーへ",
    "マーカー一覧",
    "1つ分の変更箇所を強調",
    "入力で破棄された履歴を復元…",
    "キー一覧",
}};

inline const char* ExplorerActionText(TExplorerAction a) { return kExplorerActionTexts[static_cast<size_t>(a)]; }

// The editor's own keys and mouse, as editor/Input.cpp reads them.
inline constexpr std::array<std::pair<const char*, const char*>, 16> kEditorKeys{{
    {"← → ↑ ↓", "カーソル移動（Shift で選択）"},
    {"Ctrl+↑ Ctrl+↓", "スクロール"},
    {"Home End", "行頭・行末へ"},
    {"Ctrl+Home Ctrl+End", "文頭・文末へ"},
    {"PageUp PageDown", "1画面分スクロール"},
    {"Ctrl+A", "すべて選択"},
    {"Ctrl+C Ctrl+X", "コピー・切り取り"},
    {"Ctrl+V Shift+Insert", "貼り付け"},
    {"Backspace Delete", "1文字削除"},
    {"Shift+Ctrl+Delete", "行末まで削除"},
    {"Shift+Ctrl+Insert", "行頭まで削除"},
    {"Enter Tab", "改行・タブ"},
    {"Ctrl+Shift+Z Ctrl+Shift+R", "エディタの元に戻す・やり直し（窓の Ctrl+Z, Ctrl+R が先）"},
    {"ダブルクリック", "単語を選択（行番号の左で段落）"},
    {"行番号の左をクリック", "行を選択"},
    {"Ctrl+Alt+ドラッグ", "矩形選択"},
}};

// A key of the key list that belongs to no action: the provenance tint's click.
// The panels' actions: the history list, searching it, the timeline, the diff
// pane, point A of the diff, the provenance tint — in this order on both ports.
constexpr size_t kPanelActionCount = 6;
inline constexpr std::array<const char*, kPanelActionCount> kPanelActionTexts{
    {"履歴一覧", "履歴を検索…", "タイムライン", "差分", "この位置を差分の比較元にする", "入力時期で色分け"}};

inline constexpr std::pair<const char*, const char*> kTintClickKey{"Ctrl+クリック", "色分けした文字を入力した記録の直後へ"};

}  // namespace kelvane
