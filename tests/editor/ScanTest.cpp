// Scanning: attributes for spaces, tabs, anchors, links, references and
// keywords; classes; widths through the width cache; and the invariants on
// arbitrary bytes.
#include <gtest/gtest.h>

#include <random>

#include "editor/unistrings/VeskUniStrings.h"
#include "platform/Codepage.h"
#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

struct Scanner : EditorFixture {
  const TVeskItem& Scan(const std::string& bytes) {
    edit.SetText(bytes);  // lines are scanned when first read: read them now
    edit.Items[0].Scan();
    return edit.Items[0];
  }
  std::vector<int> Attrs(const std::string& bytes) {
    const TVeskItem& item = Scan(bytes);
    return {item.Attrs().begin(), item.Attrs().end()};
  }
  std::vector<int> Widths(const std::string& bytes) {
    const TVeskItem& item = Scan(bytes);
    std::vector<int> w;
    for (size_t i = 0; i < item.Widths().size(); ++i) w.push_back(item.WidthAt(i));
    return w;
  }
};

using V = std::vector<int>;
constexpr int kLink = 0x01, kRef = 0x40;

TEST(Scan, Spaces) {
  Scanner s;
  EXPECT_EQ(s.Attrs("a b"), (V{0, ',', 0}));
  EXPECT_EQ(s.Attrs("a  b"), (V{0, '-', '-', 0}));
  EXPECT_EQ(s.Attrs(" a"), (V{'-', 0}));
  EXPECT_EQ(s.Attrs("  a b"), (V{'-', '-', 0, ',', 0}));
  EXPECT_EQ(s.Attrs("\x81\x40"), (V{'+', '+'}));
  EXPECT_EQ(s.Attrs("a   "), (V{0, '-', '-', '-'}));
}

TEST(Scan, TabsHaveOneFixedWidth) {
  Scanner s;
  EXPECT_EQ(s.Attrs("\ta\t"), (V{'.', 0, '.'}));
  EXPECT_EQ(s.Widths("\ta\t"), (V{40, 8, 40}));
  EXPECT_EQ(s.Scan("ab\t").Classes(), "113");
}

TEST(Scan, Anchors) {
  Scanner s;
  EXPECT_EQ(s.Attrs(">>12"), (V{kLink, kLink, kLink, kLink}));
  EXPECT_EQ(s.Attrs("a>b"), (V{0, 0, 0}));
  EXPECT_EQ(s.Attrs("a>"), (V{0, 0}));
  EXPECT_EQ(s.Attrs(">1-3 x"), (V{kLink, kLink, kLink, kLink, ',', 0}));
  // A lone ">" is not tested for a link or a tab behind it.
  EXPECT_EQ(s.Attrs(">\t"), (V{0, '.'}));
}

TEST(Scan, Links) {
  Scanner s;
  auto linked = [&](const std::string& text) {
    const TVeskItem& item = s.Scan(text);
    size_t n = 0;
    while (n < item.Attrs().size() && item.Attrs()[n] == kLink) ++n;
    return n;
  };
  EXPECT_EQ(linked("http://ab"), 9u);
  EXPECT_EQ(linked("http://a"), 0u);  // eight bytes: too short
  EXPECT_EQ(linked("HTTP://AB"), 9u);
  EXPECT_EQ(linked("https://x.jp/a?b=c(d"), 18u);
  EXPECT_EQ(linked("ttp://x:y"), 7u);
  EXPECT_EQ(linked("ftp:// abc"), 6u);
  EXPECT_EQ(linked("ttps://ab"), 9u);
  EXPECT_EQ(linked("http://ab\x82\xa0"), 9u);
  EXPECT_EQ(s.Attrs("x http://ab c")[2], kLink);
}

TEST(Scan, NumericReferences) {
  Scanner s;
  s.edit.SetShowNumRef(true);
  const TVeskItem& item = s.Scan("&#12354;x");
  EXPECT_EQ(item.RefChars()[0], u'\u3042');
  EXPECT_EQ(item.Classes(), "999999991");
  EXPECT_EQ(s.Widths("&#12354;x"), (V{16, 0, 0, 0, 0, 0, 0, 0, 8}));
  EXPECT_EQ(s.Attrs("&#0;"), (V{0, 0, 0, 0}));
  EXPECT_EQ(s.Attrs("&#70000;"), V(8, 0));
  EXPECT_EQ(s.Attrs("&#65a"), (V{kRef, kRef, kRef, kRef, 0}));  // no ";" needed
  EXPECT_EQ(s.Attrs("&#1"), (V{kRef, kRef, kRef}));
  EXPECT_EQ(s.Attrs("&#"), (V{0, 0}));  // fewer than two bytes follow
  EXPECT_EQ(s.Attrs("&amp;"), V(5, 0));  // names only with their own switch
}

TEST(Scan, NamedReferences) {
  Scanner s;
  s.edit.SetShowNameRef(true);
  EXPECT_EQ(s.Scan("&hearts;").RefChars()[0], u'\u2665');
  EXPECT_EQ(s.Attrs("&hearts!"), (V{kRef, kRef, kRef, kRef, kRef, kRef, kRef, 0}));
  EXPECT_EQ(s.Attrs("&HEARTS;"), V(8, 0));
  EXPECT_EQ(s.Attrs("&a;"), V(3, 0));
  EXPECT_EQ(s.Scan("&Alpha;&alpha;").RefChars()[7], u'\u03b1');
  EXPECT_EQ(s.Scan("&Alpha;").RefChars()[0], u'\u0391');
  EXPECT_EQ(s.Attrs("&#65;"), V(5, 0));  // numbers only with their own switch
  // A link takes over the reference's bytes but keeps its character.
  const TVeskItem& url = s.Scan("http://a&amp;b");
  EXPECT_EQ(url.Attrs(), std::string(14, kLink));
  EXPECT_EQ(url.RefChars()[8], u'&');
  EXPECT_EQ(url.Classes().substr(8, 5), "99999");
}

TEST(Scan, ReferencesOffByDefault) {
  Scanner s;
  const TVeskItem& item = s.Scan("&#12354; &amp;");
  EXPECT_EQ(item.Attrs().find(static_cast<char>(kRef)), std::string::npos);
  EXPECT_EQ(item.RefChars(), std::u16string(14, u'\0'));
}

TEST(Scan, Classes) {
  Scanner s;
  const std::string text = Sjis("Ａａぁんァヶαяα─╂　、漢０") + "0aZ!~\x7f\xb1 ";
  EXPECT_EQ(s.Scan(text).Classes(), "444455555555666666" "7777::88;;;;" "0112233:");
}

TEST(Scan, Keywords) {
  Scanner s;
  s.edit.Keywords.Items(0).Words = {"if"};
  s.edit.Keywords.Items(3).Words = {"for", "if x"};
  EXPECT_EQ(s.Attrs("if x"), (V{5, 5, 5, 5}));  // a later group overwrites
  EXPECT_EQ(s.Attrs("(if)"), (V{0, 2, 2, 0}));
  EXPECT_EQ(s.Attrs("gif"), (V{0, 0, 0}));
  EXPECT_EQ(s.Attrs("format for"), (V{0, 0, 0, 0, 0, 0, ',', 5, 5, 5}));
  EXPECT_EQ(s.Attrs("IF"), (V{2, 2}));  // matched against the lower-cased line
  s.edit.Keywords.Items(0).Words = {"If"};
  EXPECT_EQ(s.Attrs("If"), (V{0, 0}));  // a word with a capital never matches
}

TEST(Scan, WidthCacheCellsAndFontChange) {
  Scanner s;
  s.Scan(Sjis("あ") + "\xb1\xfd");
  EXPECT_EQ(s.edit.WidthCache[129 + 256 + 0xA0], 16);
  EXPECT_EQ(s.edit.WidthCache[8065 + 0x11], 8);
  EXPECT_EQ(s.edit.WidthCache[15553], 8);
  s.edit.WidthCache['A'] = 99;  // a measured width is used as it stands
  EXPECT_EQ(s.Widths("A"), (V{99}));
  s.edit.SetFont(TFontSpec{"ＭＳ ゴシック", 20});  // clears the cache and rescans every line
  EXPECT_EQ(s.edit.WidthCache['A'], 8);
  EXPECT_EQ(s.edit.WidthCache['Q'], 0);
  EXPECT_EQ(s.Widths("A"), (V{8}));
}

TEST(Scan, LeadByteLastAndEmptyLine) {
  Scanner s;
  const TVeskItem& item = s.Scan("a\x82");
  EXPECT_EQ(item.Classes(), "1;");
  EXPECT_EQ(s.Widths("a\x82"), (V{8, 16}));
  const TVeskItem& empty = s.Scan("");
  EXPECT_TRUE(empty.Attrs().empty() && empty.RefChars().empty() && empty.Widths().empty() && empty.Classes().empty());
}

TEST(UniTable, TheEntityReferencesInCodeOrder) {
  EXPECT_EQ(UniTable.front().Name, "quot");
  EXPECT_EQ(UniTable.back().Name, "diams");
  EXPECT_EQ(UniTable.back().Code, 9830);
  for (size_t i = 1; i < UniTable.size(); ++i) EXPECT_LT(UniTable[i - 1].Code, UniTable[i].Code);
  EXPECT_EQ(FindUniName("nbsp"), 160);
  EXPECT_EQ(FindUniName("yuml"), 255);
  EXPECT_EQ(FindUniName("OElig"), 338);
  EXPECT_EQ(FindUniName("euro"), 8364);
  EXPECT_EQ(FindUniName("Euro"), 0);
  EXPECT_EQ(kEofMark, "[EOF]");
}

// Any bytes: four derived strings of the text's length, width 0 exactly where
// no character begins, both bytes of a double-byte character in one class.
TEST(Scan, InvariantsOnArbitraryBytes) {
  Scanner s;
  s.edit.SetShowNumRef(true);
  s.edit.SetShowNameRef(true);
  s.edit.Keywords.Items(2).Words = {"a", "&", "\x82\xa0"};
  std::mt19937 rng(11);
  const std::string pieces[] = {"&", "#", "1", ";", "amp", "hearts", " ", "\t", ">", "http://", "\x82", "\xa0", "\x81\x40"};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const size_t len = rng() % (round % 100 == 0 ? 4000 : 60);
    while (text.size() < len) {
      if (rng() % 2) text += pieces[rng() % std::size(pieces)];
      else text += static_cast<char>(rng() % 256);
    }
    TVeskItem item(&s.edit, text);
    item.Scan();
    const size_t n = text.size();
    ASSERT_EQ(item.Attrs().size(), n);
    ASSERT_EQ(item.RefChars().size(), n);
    ASSERT_EQ(item.Widths().size(), n);
    ASSERT_EQ(item.Classes().size(), n);
    for (size_t i = 0; i < n;) {
      const auto b = static_cast<unsigned char>(text[i]);
      if (static_cast<unsigned char>(item.Attrs()[i]) == kRef) {
        ASSERT_EQ(item.WidthAt(i) != 0, b == '&') << i;
        ++i;
      } else if (cp932::IsLeadByte(b)) {
        ASSERT_NE(item.WidthAt(i), 0) << i;
        if (i + 1 < n) {
          ASSERT_EQ(item.WidthAt(i + 1), 0) << i;
          ASSERT_EQ(item.Classes()[i], item.Classes()[i + 1]) << i;
        }
        i += 2;
      } else {
        ASSERT_NE(item.WidthAt(i), 0) << i;
        ++i;
      }
    }
  }
}

}  // namespace
}  // namespace kelvane::test
