// Made-up Shift-JIS text for the benchmark history. The word lists are written
// here in UTF-8 and converted once; every entry has a code page 932 code.
#include "bench/BenchText.h"

#include <algorithm>
#include <initializer_list>

#include "platform/Codepage.h"

// Every draw is its own statement: the order in which C++ evaluates the
// operands of + or the arguments of a call is unspecified, and the bytes must
// not depend on the compiler.

namespace kelvane {

namespace {

std::vector<std::string> ToCp932(std::initializer_list<const char*> words) {
  std::vector<std::string> out;
  out.reserve(words.size());
  for (const char* w : words) out.push_back(cp932::FromUtf8(w));
  return out;
}

size_t CharLength(const std::string& s, size_t i) {
  return cp932::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

}  // namespace

std::string FirstChars(const std::string& s, int32_t max) {
  size_t i = 0;
  for (int32_t n = 0; n < max && i < s.size(); ++n) i += CharLength(s, i);
  return s.substr(0, i);
}

TBenchText::TBenchText()
    : kanji_(ToCp932({"文字", "入力", "変換", "編集", "履歴", "保存", "設定", "表示", "画面", "行番号", "改行",
                      "削除", "挿入", "置換", "検索", "機能", "操作", "記録", "時間", "日本語", "漢字", "文章",
                      "作業", "確認", "最初", "最後", "位置", "変更", "内容", "範囲", "選択", "状態", "手順",
                      "方法", "問題", "結果", "場合", "全角", "半角", "空白", "記号", "数字", "単語", "段落",
                      "説明", "例", "今日", "明日", "会議", "資料", "報告", "予定", "天気", "駅", "道", "春",
                      "夏", "秋", "冬", "朝", "夜", "手紙", "友人", "先生", "学校", "図書館", "本", "新聞",
                      "写真", "音楽", "映画", "料理", "野菜", "水", "茶", "花", "山", "川", "海", "空", "雨",
                      "雪", "風", "窓", "机", "部屋", "仕事", "休日", "旅行", "地図", "言葉", "意味", "練習"})),
      katakana_(ToCp932({"テキスト", "エディタ", "ファイル", "カーソル", "データ", "メモ", "ウィンドウ", "ボタン",
                         "メニュー", "キー", "マウス", "コピー", "バックアップ", "フォルダ", "プログラム", "テスト",
                         "サンプル", "リスト", "ページ", "ノート", "コーヒー", "パン", "バス", "ニュース", "メール",
                         "タブ", "スペース", "ログ"})),
      particles_(ToCp932({"は", "が", "を", "に", "で", "と", "の", "へ", "から", "まで", "より", "も", "や",
                          "には", "では", "について", "として"})),
      adverbs_(ToCp932({"とても", "少し", "もう一度", "すぐに", "ゆっくり", "きちんと", "まだ", "やはり",
                        "新しい", "古い", "大きな", "小さな", "同じ", "別の", "次の", "前の"})),
      endings_(ToCp932({"する。", "した。", "します。", "しました。", "です。", "でした。", "ある。", "ない。",
                        "だろう。", "してください。", "できません。", "している。", "される。", "ですか？",
                        "だよ！", "になる。", "を見る。", "が残る。"})),
      punct_(ToCp932({"、", "。", "「", "」", "（", "）", "・", "！", "？", "：", "『", "』", "…"})),
      bullets_(ToCp932({"・", "■", "●", "○", "※", "→", "１．", "２．", "（１）", "【注意】", "◆"})),
      ascii_({"the",  "file",   "undo",  "redo",  "line",   "text",   "edit",   "save",  "open",   "close",
              "copy", "paste",  "data",  "test",  "value",  "index",  "count",  "name",  "path",   "error",
              "ok",   "main",   "list",  "item",  "size",   "update", "config", "print", "return", "if",
              "else", "for",    "while", "int",   "char",   "string", "bool",   "null",  "void",   "const",
              "TODO", "README", "Enter", "Shift", "Ctrl",   "Tab",    "UTF",    "HTML",  "http",   "memo"}),
      symbols_({"(", ")", "=", ";", ",", ".", ":", "-", "_", "/", "+", "*", "<", ">", "[", "]", "{", "}", "#"}),
      wideSpace_(cp932::FromUtf8("\u3000")),
      comma_(cp932::FromUtf8("、")),
      open_(cp932::FromUtf8("「")),
      close_(cp932::FromUtf8("」")) {}

std::string TBenchText::Phrase(TBenchRandom& rnd) const {
  const int32_t kind = rnd.Below(10);
  if (kind >= 8) return rnd.Pick(adverbs_);
  std::string phrase = rnd.Pick(kind < 6 ? kanji_ : katakana_);
  return phrase + rnd.Pick(particles_);
}

std::string TBenchText::Sentence(TBenchRandom& rnd) const {
  std::string s;
  const int32_t phrases = rnd.Between(1, 4);
  for (int32_t i = 0; i < phrases; ++i) {
    if (rnd.Percent(8)) {
      s += open_ + rnd.Pick(rnd.Percent(50) ? kanji_ : katakana_) + close_;
    } else {
      s += Phrase(rnd);
    }
    if (i + 1 < phrases && rnd.Percent(25)) s += comma_;
  }
  return s + rnd.Pick(endings_);
}

std::string TBenchText::Number(TBenchRandom& rnd) const {
  switch (rnd.Below(4)) {
    case 0: return std::to_string(rnd.Between(0, 99999));
    case 1: {
      std::string date = std::to_string(rnd.Between(1990, 2030));
      date += "/" + std::to_string(rnd.Between(1, 12));
      return date + "/" + std::to_string(rnd.Between(1, 28));
    }
    case 2: {
      std::string time = std::to_string(rnd.Between(0, 23));
      return time + ":" + std::to_string(rnd.Between(10, 59));
    }
    default: return std::to_string(rnd.Between(0, 9));
  }
}

std::string TBenchText::CodeToken(TBenchRandom& rnd) const {
  const int32_t kind = rnd.Below(10);
  if (kind < 6) return rnd.Pick(ascii_);
  if (kind < 8) return rnd.Pick(symbols_);
  return Number(rnd);
}

// Appends sentences (or, WithAscii, also ASCII words and numbers) while they fit.
std::string TBenchText::FillProse(TBenchRandom& rnd, std::string line, size_t target, bool withAscii) const {
  for (int32_t tries = 0; tries < 8 && line.size() < target; ++tries) {
    std::string piece;
    if (withAscii && rnd.Percent(35)) {
      piece = rnd.Percent(60) ? rnd.Pick(ascii_) : Number(rnd);
      if (rnd.Percent(50)) piece += ' ';
      piece += Phrase(rnd);
    } else if (rnd.Percent(30)) {
      piece = Phrase(rnd);
    } else {
      piece = Sentence(rnd);
    }
    if (line.size() + piece.size() > static_cast<size_t>(kBenchMaxLineBytes)) continue;
    line += piece;
  }
  return line;
}

std::string TBenchText::Line(TBenchRandom& rnd) const {
  const int32_t kind = rnd.Below(100);
  if (kind < 9) return {};
  // Two draws averaged: lengths gather around the middle of the range.
  const int32_t twoDraws = rnd.Between(4, kBenchMaxLineBytes) + rnd.Between(4, kBenchMaxLineBytes);
  const size_t target = static_cast<size_t>(twoDraws / 2);
  if (kind < 52) return FillProse(rnd, rnd.Percent(40) ? wideSpace_ : std::string(), target, false);
  if (kind < 70) return FillProse(rnd, {}, target, true);
  if (kind < 86) {
    std::string line(static_cast<size_t>(rnd.Between(0, 3)), '\t');
    while (line.size() < target / 2 + 4) {
      std::string token = CodeToken(rnd);
      if (rnd.Percent(55)) token += ' ';
      if (line.size() + token.size() > static_cast<size_t>(kBenchMaxLineBytes)) break;
      line += token;
    }
    if (rnd.Percent(20) && line.size() + 20 < static_cast<size_t>(kBenchMaxLineBytes)) line += "// " + Phrase(rnd);
    return line;
  }
  std::string bullet = rnd.Pick(bullets_);
  if (kind < 95) return FillProse(rnd, rnd.Percent(30) ? bullet + '\t' : bullet, target / 2 + 8, true);
  return FillProse(rnd, bullet + wideSpace_ + rnd.Pick(punct_), 24, false);
}

std::string TBenchText::Text(TBenchRandom& rnd, int32_t lines) const {
  std::string text;
  text.reserve(static_cast<size_t>(lines) * 64);
  for (int32_t i = 0; i < lines; ++i) {
    if (i > 0) text += "\r\n";
    text += Line(rnd);
  }
  return text;
}

std::string TBenchText::Typed(TBenchRandom& rnd) const {
  const int32_t kind = rnd.Below(100);
  if (kind < 50) {
    const std::string phrase = Phrase(rnd);
    return FirstChars(phrase, rnd.Between(1, 8));
  }
  if (kind < 58) return FirstChars(rnd.Pick(endings_), 8);
  if (kind < 66) return rnd.Pick(punct_);
  if (kind < 86) {
    std::string word = rnd.Pick(ascii_);
    if (rnd.Percent(60)) word += ' ';
    return FirstChars(word, 8);
  }
  if (kind < 93) {
    const std::string digits = std::to_string(rnd.Between(0, 99999));
    return FirstChars(digits, rnd.Between(1, 5));
  }
  return rnd.Percent(60) ? std::string("\t") : wideSpace_;
}

std::string TBenchText::Block(TBenchRandom& rnd, bool wholeLines) const {
  std::string block;
  const int32_t lines = rnd.Between(2, 8);
  for (int32_t i = 0; i < lines; ++i) {
    if (i > 0) block += "\r\n";
    block += Line(rnd);
  }
  if (wholeLines) block += "\r\n";
  return block;
}

}  // namespace kelvane
