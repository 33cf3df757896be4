// The Qt canvas offscreen: fonts, measuring and glyph placement, fills, lines,
// text backgrounds, pictures, bitmap copies and system colours.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>

#include "qt/QtCanvas.h"
#include "qt/QtFonts.h"

namespace kelvane {
namespace {

const std::string kPGothic = "ＭＳ Ｐゴシック";
const std::string kGothic = "ＭＳ ゴシック";
constexpr TColor kWhite = RGB(255, 255, 255);
constexpr TColor kRed = RGB(255, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 255);

QRgb Rgb(TColor c) { return ToQColor(c).rgb(); }

// A white bitmap with the given font, black text and pen, transparent text.
struct TSurface {
  QtBitmap Bitmap;
  QtCanvas& Canvas;
  explicit TSurface(int w = 64, int h = 32, const std::string& font = kPGothic) : Canvas(Bitmap.Surface()) {
    Bitmap.SetSize(w, h);
    Canvas.SetBrushColor(kWhite);
    Canvas.FillRect({0, 0, w, h});
    Canvas.SetFont({font, 16});
    Canvas.SetTextColor(0);
    Canvas.SetPen(0, TPenStyle::psSolid, 1);
    Canvas.SetTransparent(true);
  }
  QRgb At(int x, int y) const { return Bitmap.Image().pixel(x, y); }
  bool Inked(int x, int y) const { return At(x, y) != Rgb(kWhite); }
};

TEST(QtFontsTest, JapaneseNamesResolveToJapaneseFonts) {
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  for (const std::string& name : {kPGothic, kGothic}) {
    const QFont font = ToQFont({name, 16, 0, TFontCharset::ShiftJis, true});
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(japanese.contains(family)) << name << " -> " << family.toStdString();
    EXPECT_EQ(QFontInfo(font).pixelSize(), 16);
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.kerning());
    const QFontMetrics metrics(font);
    EXPECT_TRUE(metrics.inFont(QChar(u'漢')));
    EXPECT_GT(metrics.horizontalAdvance(QChar(u'あ')), 0);
  }
  // The fixed-pitch one keeps the 1:2 cells the editor's columns rely on.
  const QFontMetrics fixed(ToQFont({kGothic, 16}));
  EXPECT_EQ(fixed.horizontalAdvance(QChar(u'a')) * 2, fixed.horizontalAdvance(QChar(u'あ')));
}

TEST(QtCanvasTest, ExtentIsTheSumOfCharacterExtents) {
  TSurface s;
  // a, あ, ｱ (half-width kana), 漢, then a stray lead byte before "1" and at the end.
  const std::string text = "a\x82\xa0\xb1\x8a\xbf\x81" "1\x81";
  const std::vector<std::string> chars = {"a", "\x82\xa0", "\xb1", "\x8a\xbf", "\x81", "1", "\x81"};
  int sum = 0;
  for (const std::string& c : chars) {
    const TSize one = s.Canvas.TextExtent(c);
    EXPECT_GT(one.cx, 0) << c;
    sum += one.cx;
  }
  const TSize all = s.Canvas.TextExtent(text);
  EXPECT_EQ(all.cx, sum);
  EXPECT_EQ(all.cy, QFontMetrics(ToQFont({kPGothic, 16})).height());
  EXPECT_EQ(s.Canvas.TextExtent("\x81").cx, s.Canvas.TextExtentW(u"\u30FB").cx);
  EXPECT_EQ(s.Canvas.TextExtentW(u"a\u3042").cx, s.Canvas.TextExtent("a\x82\xa0").cx);
}

TEST(QtCanvasTest, TextIsDrawnGlyphByGlyphAtTheMeasuredAdvances) {
  // Pairs that kern or shape in a run must look the same drawn one by one.
  for (const std::string& pair : {std::string("AV"), std::string("To"), std::string("f\x82\xa0")}) {
    TSurface run, single;
    run.Canvas.TextOut(3, 2, pair);
    const std::string first = pair.substr(0, 1), second = pair.substr(1);
    single.Canvas.TextOut(3, 2, first);
    single.Canvas.TextOut(3 + single.Canvas.TextExtent(first).cx, 2, second);
    EXPECT_TRUE(run.Bitmap.Image() == single.Bitmap.Image()) << pair;
  }
  // Nothing of "b" lands left of where "a" ends.
  TSurface s, a;
  s.Canvas.TextOut(0, 0, "ab");
  a.Canvas.TextOut(0, 0, "a");
  const int advance = s.Canvas.TextExtent("a").cx;
  for (int x = 0; x < advance; ++x)
    for (int y = 0; y < 32; ++y) ASSERT_EQ(s.At(x, y), a.At(x, y)) << x << "," << y;
  bool inked = false;
  for (int x = advance; x < s.Canvas.TextExtent("ab").cx; ++x)
    for (int y = 0; y < 32; ++y) inked = inked || s.Inked(x, y);
  EXPECT_TRUE(inked);
}

TEST(QtCanvasTest, FillRectLeavesRightAndBottomEdgesOut) {
  TSurface s;
  s.Canvas.SetBrushColor(kRed);
  s.Canvas.FillRect({2, 3, 6, 8});
  EXPECT_EQ(s.At(2, 3), Rgb(kRed));
  EXPECT_EQ(s.At(5, 7), Rgb(kRed));
  EXPECT_EQ(s.At(6, 3), Rgb(kWhite));
  EXPECT_EQ(s.At(2, 8), Rgb(kWhite));
  EXPECT_EQ(s.At(1, 3), Rgb(kWhite));
  s.Canvas.FillRect({10, 10, 10, 20});  // empty
  EXPECT_EQ(s.At(10, 10), Rgb(kWhite));
}

TEST(QtCanvasTest, LinesLeaveTheirLastPointOut) {
  TSurface s;
  s.Canvas.SetPen(kRed, TPenStyle::psSolid, 1);
  s.Canvas.MoveTo(1, 5);
  s.Canvas.LineTo(10, 5);
  EXPECT_EQ(s.At(1, 5), Rgb(kRed));
  EXPECT_EQ(s.At(9, 5), Rgb(kRed));
  EXPECT_EQ(s.At(10, 5), Rgb(kWhite));
  s.Canvas.LineTo(10, 12);  // continues from the pen position
  EXPECT_EQ(s.At(10, 5), Rgb(kRed));
  EXPECT_EQ(s.At(10, 12), Rgb(kWhite));

  s.Canvas.Polyline({{20, 2}, {20, 8}, {26, 8}});
  EXPECT_EQ(s.At(20, 2), Rgb(kRed));
  EXPECT_EQ(s.At(20, 8), Rgb(kRed));
  EXPECT_EQ(s.At(25, 8), Rgb(kRed));
  EXPECT_EQ(s.At(26, 8), Rgb(kWhite));

  s.Canvas.SetPen(kBlue, TPenStyle::psClear, 1);
  s.Canvas.MoveTo(30, 1);
  s.Canvas.LineTo(40, 1);
  EXPECT_EQ(s.At(31, 1), Rgb(kWhite));
}

TEST(QtCanvasTest, ShapesStayInTheirBoxAndArcsRunCounterClockwise) {
  TSurface s;
  s.Canvas.SetBrushColor(kRed);
  s.Canvas.Ellipse({0, 0, 21, 21});
  EXPECT_EQ(s.At(10, 10), Rgb(kRed));
  EXPECT_TRUE(s.Inked(0, 10));
  EXPECT_FALSE(s.Inked(21, 10) || s.Inked(10, 21) || s.Inked(1, 1));

  TSurface pie;
  pie.Canvas.SetBrushColor(kRed);
  pie.Canvas.Pie({0, 0, 21, 21}, {20, 10}, {10, 0});  // east to north: the upper right quarter
  EXPECT_EQ(pie.At(14, 6), Rgb(kRed));
  EXPECT_FALSE(pie.Inked(6, 6) || pie.Inked(6, 14) || pie.Inked(14, 14));
  pie.Canvas.Arc({30, 0, 51, 21}, {50, 10}, {40, 0});  // an outline only
  EXPECT_EQ(pie.At(44, 6), Rgb(kWhite));
  EXPECT_TRUE(pie.Inked(47, 3) || pie.Inked(46, 3) || pie.Inked(47, 4));

  s.Canvas.PolyBezier({{30, 25}, {35, 25}, {45, 25}, {50, 25}});
  EXPECT_TRUE(s.Inked(40, 25));
  s.Canvas.PolyBezier({{30, 28}, {35, 28}});  // not a curve: nothing drawn
  EXPECT_FALSE(s.Inked(32, 28));
}

TEST(QtCanvasTest, OpaqueTextFillsItsCellAndTransparentTextDoesNot) {
  TSurface s;
  s.Canvas.SetBkColor(kBlue);
  s.Canvas.SetTransparent(false);
  const TSize cell = s.Canvas.TextExtent("  ");
  s.Canvas.TextOut(4, 2, "  ");
  EXPECT_EQ(s.At(4, 2), Rgb(kBlue));
  EXPECT_EQ(s.At(4 + cell.cx - 1, 2 + cell.cy - 1), Rgb(kBlue));
  EXPECT_EQ(s.At(4 + cell.cx, 2), Rgb(kWhite));
  EXPECT_EQ(s.At(3, 2), Rgb(kWhite));

  s.Canvas.SetTransparent(true);
  s.Canvas.TextOut(40, 2, "  ");
  EXPECT_EQ(s.At(40, 2), Rgb(kWhite));

  // TextRect clips, and when opaque fills the whole clip rectangle.
  TSurface r;
  r.Canvas.SetBkColor(kBlue);
  r.Canvas.SetTransparent(false);
  r.Canvas.TextRect({10, 0, 14, 20}, 0, 0, "\x88\x9f\x88\x9f\x88\x9f");
  EXPECT_EQ(r.At(10, 19), Rgb(kBlue));
  EXPECT_EQ(r.At(14, 5), Rgb(kWhite));
  for (int y = 0; y < 32; ++y) EXPECT_FALSE(r.Inked(9, y) || r.Inked(14, y));

  // DrawTextRight ends the text at the right edge of the box.
  TSurface d;
  d.Canvas.SetBkColor(kBlue);
  d.Canvas.SetTransparent(false);
  d.Canvas.DrawTextRight({0, 0, 50, 20}, "12 ");
  EXPECT_EQ(d.At(49, 0), Rgb(kBlue));
  EXPECT_EQ(d.At(50 - d.Canvas.TextExtent("12 ").cx, 0), Rgb(kBlue));
  EXPECT_EQ(d.At(50 - d.Canvas.TextExtent("12 ").cx - 1, 0), Rgb(kWhite));
  EXPECT_EQ(d.At(50, 0), Rgb(kWhite));
}

TEST(QtCanvasTest, PictureLoadsAndStretches) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QImage source(2, 2, QImage::Format_RGB32);
  source.setPixel(0, 0, qRgb(255, 0, 0));
  source.setPixel(1, 0, qRgb(0, 255, 0));
  source.setPixel(0, 1, qRgb(0, 0, 255));
  source.setPixel(1, 1, qRgb(255, 255, 0));
  const QString path = dir.filePath(QString::fromUtf8("背景.png"));
  ASSERT_TRUE(source.save(path));

  QtPicture picture;
  EXPECT_TRUE(picture.Empty());
  EXPECT_FALSE(picture.LoadFromFile(dir.filePath("missing.png").toStdString()));
  ASSERT_TRUE(picture.LoadFromFile(path.toUtf8().toStdString()));
  EXPECT_EQ(picture.Width(), 2);
  EXPECT_EQ(picture.Height(), 2);
  EXPECT_FALSE(picture.LoadFromFile(dir.filePath("missing.png").toStdString()));
  EXPECT_FALSE(picture.Empty());  // a failed load keeps what was there

  TSurface s;
  s.Canvas.StretchDraw({4, 4, 24, 24}, picture);
  EXPECT_EQ(s.At(4, 4), qRgb(255, 0, 0));
  EXPECT_EQ(s.At(13, 13), qRgb(255, 0, 0));
  EXPECT_EQ(s.At(14, 4), qRgb(0, 255, 0));
  EXPECT_EQ(s.At(4, 23), qRgb(0, 0, 255));
  EXPECT_EQ(s.At(23, 23), qRgb(255, 255, 0));
  EXPECT_EQ(s.At(24, 24), Rgb(kWhite));

  picture.Clear();
  EXPECT_TRUE(picture.Empty());
}

TEST(QtCanvasTest, CopyFromCopiesTheRectangleAndResizeKeepsContent) {
  TSurface source, target;
  source.Canvas.SetBrushColor(kRed);
  source.Canvas.FillRect({5, 5, 10, 10});
  target.Canvas.CopyFrom({20, 1, 25, 6}, source.Bitmap, {5, 5});
  EXPECT_EQ(target.At(20, 1), Rgb(kRed));
  EXPECT_EQ(target.At(24, 5), Rgb(kRed));
  EXPECT_EQ(target.At(25, 5), Rgb(kWhite));
  EXPECT_EQ(target.At(20, 6), Rgb(kWhite));

  source.Bitmap.SetSize(8, 100);  // narrower and taller
  EXPECT_EQ(source.Bitmap.Width(), 8);
  EXPECT_EQ(source.At(7, 9), Rgb(kRed));
  EXPECT_EQ(source.At(4, 9), Rgb(kWhite));
  source.Canvas.FillRect({0, 90, 8, 100});  // still paints after the resize
  EXPECT_EQ(source.At(0, 99), Rgb(kRed));
  source.Bitmap.SetSize(0, 0);
  source.Canvas.FillRect({0, 0, 8, 8});  // nothing to paint on, and no harm done
  EXPECT_EQ(source.Bitmap.Width(), 0);
}

// At twice the density the sizes and coordinates stay the control's own;
// the image holds four pixels for each, and copies keep the density.
TEST(QtCanvasTest, BitmapsAtTwiceTheDensityKeepTheControlsCoordinates) {
  QtBitmap source([] { return 2.0; });
  QtBitmap target([] { return 2.0; });
  source.SetSize(10, 10);
  target.SetSize(30, 10);
  EXPECT_EQ(source.Width(), 10);
  EXPECT_EQ(source.Image().size(), QSize(20, 20));
  source.GetCanvas().SetBrushColor(kRed);
  source.GetCanvas().FillRect({5, 5, 10, 10});
  target.GetCanvas().CopyFrom({20, 1, 25, 6}, source, {5, 5});
  source.Surface().End();
  target.Surface().End();
  EXPECT_EQ(source.Image().pixel(10, 10), Rgb(kRed));
  EXPECT_EQ(source.Image().pixel(9, 9), Rgb(kWhite));
  EXPECT_EQ(target.Image().pixel(40, 2), Rgb(kRed));
  EXPECT_EQ(target.Image().pixel(49, 11), Rgb(kRed));
  EXPECT_EQ(target.Image().pixel(50, 11), Rgb(kWhite));
  EXPECT_EQ(target.Image().pixel(39, 2), Rgb(kWhite));
}

TEST(QtCanvasTest, SystemColoursComeFromThePalette) {
  const QPalette palette = QGuiApplication::palette();
  EXPECT_EQ(QtSysColor(COLOR_HIGHLIGHT), palette.color(QPalette::Highlight));
  EXPECT_EQ(QtSysColor(COLOR_HIGHLIGHTTEXT), palette.color(QPalette::HighlightedText));
  EXPECT_EQ(QtSysColor(COLOR_WINDOW), palette.color(QPalette::Base));
  EXPECT_EQ(QtSysColor(COLOR_WINDOWTEXT), palette.color(QPalette::Text));
  EXPECT_EQ(QtSysColor(COLOR_BTNFACE), palette.color(QPalette::Button));
  EXPECT_EQ(ToQColor(SysColor(COLOR_HIGHLIGHT)), palette.color(QPalette::Highlight));
  EXPECT_EQ(ToQColor(SysColor(25)), QColor(Qt::black));
  EXPECT_EQ(ToQColor(SysColor(200)), QColor(Qt::black));
  EXPECT_EQ(ToQColor(RGB(1, 2, 3)), QColor(1, 2, 3));
}

}  // namespace
}  // namespace kelvane

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);  // the editor widget needs widgets
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
