// The Qt drawing surface: Canvas on a QPainter over a QImage, the Bitmap that
// owns such an image, the Picture, and colours (system colours from QPalette).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Canvas.h"

namespace kelvane {

// A system colour by its Windows index, from the application palette; an
// index with no meaning gives black.
QColor QtSysColor(int index);
// 0x00BBGGRR, or a system colour when the top bit is set.
QColor ToQColor(TColor color);

class QtCanvas : public Canvas {
 public:
  // The image is not owned; it must outlive the canvas.
  explicit QtCanvas(QImage& image);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  // Ends painting; the next drawing call begins again. Call before the image
  // is resized or replaced. State (font, pen, colours) is kept.
  void End();
  QImage& Image() { return *image_; }

  void SetFont(const TFontSpec& font) override;
  const TFontSpec& Font() const override { return fontSpec_; }
  void SetPen(TColor color, TPenStyle style, int width) override;
  void SetBrushColor(TColor color) override { brush_ = ToQColor(color); }
  void SetTextColor(TColor color) override { text_ = ToQColor(color); }
  void SetBkColor(TColor color) override { background_ = ToQColor(color); }
  void SetTransparent(bool transparent) override { transparent_ = transparent; }

  TSize TextExtent(std::string_view cp932) override;
  TSize TextExtentW(std::u16string_view text) override;

  void FillRect(const TRect& r) override;
  void TextOut(int x, int y, std::string_view cp932) override;
  void TextOutW(int x, int y, std::u16string_view text) override;
  void TextRect(const TRect& clip, int x, int y, std::string_view cp932) override;
  void TextRectW(const TRect& clip, int x, int y, std::u16string_view text) override;
  void DrawTextRight(const TRect& box, std::string_view cp932) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(const std::vector<TPoint>& points) override;
  void Ellipse(const TRect& r) override;
  void Pie(const TRect& r, TPoint start, TPoint end) override;
  void Arc(const TRect& r, TPoint start, TPoint end) override;
  void PolyBezier(const std::vector<TPoint>& points) override;
  void StretchDraw(const TRect& r, const Picture& picture) override;
  void CopyFrom(const TRect& dest, Bitmap& source, TPoint sourceOrigin) override;

 private:
  QPainter* Begin();  // null when the image cannot be painted (empty)
  QPen MakePen() const;
  void DrawArcShape(const TRect& r, TPoint start, TPoint end, bool pie);
  const QFontMetrics& Metrics();
  int Advance(char32_t c);
  quint32 Glyph(char32_t c);  // its glyph in font_'s own face; 0 when another face draws it
  TSize Extent(const std::vector<char32_t>& chars);
  // Draws glyph by glyph at the measured advances; clip is optional.
  void DrawChars(int x, int y, const std::vector<char32_t>& chars, const TRect* clip);

  QImage* image_;
  QPainter painter_;
  TFontSpec fontSpec_;
  QFont font_;
  std::optional<QFontMetrics> metrics_;
  std::unordered_map<char32_t, int> advances_;  // for font_
  std::optional<QRawFont> raw_;                 // font_'s own face, made on first use
  std::unordered_map<char32_t, quint32> glyphs_;
  QColor penColor_ = Qt::black;
  TPenStyle penStyle_ = TPenStyle::psSolid;
  int penWidth_ = 1;
  QColor brush_ = Qt::white;
  QColor text_ = Qt::black;
  QColor background_ = Qt::white;
  bool transparent_ = false;
  QPoint penPos_;
};

// An off-screen image with its canvas; resizing keeps the content that fits.
// Sizes are in the control's pixels; the image holds Ratio device pixels for
// each (the screen's density, asked at every resize), so drawing is sharp on
// a high-density screen.
class QtBitmap : public Bitmap {
 public:
  explicit QtBitmap(std::function<qreal()> ratio = {}) : ratio_(std::move(ratio)) {}
  QtBitmap(const QtBitmap&) = delete;
  QtBitmap& operator=(const QtBitmap&) = delete;

  Canvas& GetCanvas() override { return canvas_; }
  QtCanvas& Surface() { return canvas_; }
  void SetSize(int width, int height) override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // The pixels; painting may still be in progress (raster painting is direct).
  const QImage& Image() const { return image_; }

 private:
  std::function<qreal()> ratio_;
  int width_ = 0;
  int height_ = 0;
  QImage image_;  // declared before the canvas that refers to it
  QtCanvas canvas_{image_};
};

class QtPicture : public Picture {
 public:
  bool LoadFromFile(const std::string& path) override;  // keeps the old picture on failure
  void Clear() override { image_ = QImage(); }
  bool Empty() const override { return image_.isNull(); }
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
};

}  // namespace kelvane
