// The Qt drawing surface, bitmap, picture and colours.
#include "qt/QtCanvas.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainterPath>
#include <QPalette>
#include <cmath>
#include <numbers>

#include "platform/Codepage.h"
#include "qt/QtFonts.h"

namespace kelvane {
namespace {

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

// One character per element: how the editor measures and steps through text.
std::vector<char32_t> Cp932Chars(std::string_view bytes) {
  std::vector<char32_t> chars;
  chars.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    // The codec decides what a stray lead byte or an unmapped byte becomes.
    const size_t n = cp932::IsLeadByte(b) && i + 1 < bytes.size() &&
                             cp932::IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))
                         ? 2
                         : 1;
    const std::u16string u = cp932::ToUtf16(bytes.substr(i, n));
    chars.push_back(u.empty() ? char32_t{cp932::kDefaultChar} : char32_t{u[0]});
    i += n;
  }
  return chars;
}

// Surrogate pairs stay together; a lone surrogate is a character of its own.
std::vector<char32_t> Utf16Chars(std::u16string_view text) {
  std::vector<char32_t> chars;
  chars.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1])) {
      chars.push_back(QChar::surrogateToUcs4(c, text[i + 1]));
      ++i;
    } else {
      chars.push_back(c);
    }
  }
  return chars;
}

QString CharString(char32_t c) {
  if (c > 0xFFFF) return QString::fromUcs4(&c, 1);
  return QString(QChar(static_cast<char16_t>(c)));  // also a lone surrogate, as it is
}

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
  switch (style) {
    case TPenStyle::psSolid: return Qt::SolidLine;
    case TPenStyle::psDash: return Qt::DashLine;
    case TPenStyle::psDot: return Qt::DotLine;
    case TPenStyle::psDashDot: return Qt::DashDotLine;
    case TPenStyle::psDashDotDot: return Qt::DashDotDotLine;
    case TPenStyle::psClear: return Qt::NoPen;
    case TPenStyle::psInsideFrame: return Qt::SolidLine;
  }
  return Qt::SolidLine;
}

// The parametric angle (degrees, counter-clockwise, y up) Qt wants for the
// point where the ray from the centre through p meets the ellipse in r.
double EllipseAngle(const QRectF& r, TPoint p) {
  const double rx = r.width() / 2, ry = r.height() / 2;
  if (rx <= 0 || ry <= 0) return 0;
  const double dx = (p.X - r.center().x()) / rx;
  const double dy = (r.center().y() - p.Y) / ry;
  return std::atan2(dy, dx) * 180 / std::numbers::pi;
}

// From start counter-clockwise to end, as a device context draws; equal
// angles make the whole ellipse.
std::pair<int, int> ArcAngles(const QRectF& r, TPoint start, TPoint end) {
  const double a = EllipseAngle(r, start);
  double span = EllipseAngle(r, end) - a;
  while (span <= 0) span += 360;
  return {static_cast<int>(std::lround(a * 16)), static_cast<int>(std::lround(span * 16))};
}

}  // namespace

QColor QtSysColor(int index) {
  const QPalette p = QGuiApplication::palette();
  switch (index) {
    case 0: return p.color(QPalette::Button);                // scroll bar
    case 1: return p.color(QPalette::Dark);                  // desktop
    case 2: return p.color(QPalette::Highlight);             // active caption
    case 3: return p.color(QPalette::Mid);                   // inactive caption
    case 4: return p.color(QPalette::Window);                // menu
    case COLOR_WINDOW: return p.color(QPalette::Base);       // where text is edited
    case 6: return p.color(QPalette::Shadow);                // window frame
    case 7: return p.color(QPalette::WindowText);            // menu text
    case COLOR_WINDOWTEXT: return p.color(QPalette::Text);
    case 9: return p.color(QPalette::HighlightedText);       // caption text
    case 10:
    case 11: return p.color(QPalette::Button);               // borders
    case 12: return p.color(QPalette::Mid);                  // application workspace
    case COLOR_HIGHLIGHT: return p.color(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT: return p.color(QPalette::HighlightedText);
    case COLOR_BTNFACE: return p.color(QPalette::Button);
    case 16: return p.color(QPalette::Dark);                 // button shadow
    case 17: return p.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18: return p.color(QPalette::ButtonText);
    case 19: return p.color(QPalette::WindowText);           // inactive caption text
    case 20: return p.color(QPalette::Light);                // button highlight
    case 21: return p.color(QPalette::Shadow);               // 3D dark shadow
    case 22: return p.color(QPalette::Midlight);             // 3D light
    case 23: return p.color(QPalette::ToolTipText);
    case 24: return p.color(QPalette::ToolTipBase);
    case 26: return p.color(QPalette::Link);                 // hot-tracked item
    case 27: return p.color(QPalette::Highlight);            // caption gradients
    case 28: return p.color(QPalette::Mid);
    case 29: return p.color(QPalette::Highlight);            // menu highlight
    case 30: return p.color(QPalette::Window);               // menu bar
    default: return QColor(Qt::black);
  }
}

QColor ToQColor(TColor color) {
  if (IsSysColor(color)) return QtSysColor(static_cast<int>(color & 0xFF));
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

// ---- canvas ---------------------------------------------------------------------

QtCanvas::QtCanvas(QImage& image) : image_(&image) {
  SetFont(fontSpec_);
}

QtCanvas::~QtCanvas() { End(); }

void QtCanvas::End() {
  if (painter_.isActive()) painter_.end();
}

QPainter* QtCanvas::Begin() {
  if (painter_.isActive()) return &painter_;
  if (image_->isNull() || !painter_.begin(image_)) return nullptr;
  // Aliased like a device context, so pixels land where the integer coordinates say.
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  return &painter_;
}

void QtCanvas::SetFont(const TFontSpec& font) {
  if (metrics_ && font == fontSpec_) return;
  fontSpec_ = font;
  font_ = ToQFont(font);
  metrics_.emplace(font_);
  advances_.clear();
  raw_.reset();
  glyphs_.clear();
}

void QtCanvas::SetPen(TColor color, TPenStyle style, int width) {
  penColor_ = ToQColor(color);
  penStyle_ = style;
  penWidth_ = width;
}

QPen QtCanvas::MakePen() const {
  QPen pen(penColor_);
  pen.setStyle(ToQtPenStyle(penStyle_));
  if (penWidth_ <= 1) {
    // A one-pixel pen leaves out the last point of a line, as a device context does.
    pen.setWidth(0);
    pen.setCapStyle(Qt::FlatCap);
  } else {
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  return pen;
}

const QFontMetrics& QtCanvas::Metrics() { return *metrics_; }

int QtCanvas::Advance(char32_t c) {
  const auto found = advances_.find(c);
  if (found != advances_.end()) return found->second;
  const int advance = Metrics().horizontalAdvance(CharString(c));
  advances_.emplace(c, advance);
  return advance;
}

quint32 QtCanvas::Glyph(char32_t c) {
  const auto found = glyphs_.find(c);
  if (found != glyphs_.end()) return found->second;
  if (!raw_) raw_.emplace(QRawFont::fromFont(font_));
  quint32 glyph = 0;
  if (raw_->isValid()) {
    const QList<quint32> indexes = raw_->glyphIndexesForString(CharString(c));
    if (indexes.size() == 1) glyph = indexes.front();
  }
  glyphs_.emplace(c, glyph);
  return glyph;
}

TSize QtCanvas::Extent(const std::vector<char32_t>& chars) {
  int width = 0;
  for (char32_t c : chars) width += Advance(c);
  return {width, Metrics().height()};
}

TSize QtCanvas::TextExtent(std::string_view cp932) { return Extent(Cp932Chars(cp932)); }

TSize QtCanvas::TextExtentW(std::u16string_view text) { return Extent(Utf16Chars(text)); }

void QtCanvas::FillRect(const TRect& r) {
  QPainter* p = Begin();
  if (!p || r.Right <= r.Left || r.Bottom <= r.Top) return;
  p->fillRect(ToQRect(r), brush_);
}

void QtCanvas::DrawChars(int x, int y, const std::vector<char32_t>& chars, const TRect* clip) {
  QPainter* p = Begin();
  if (!p) return;
  p->save();
  if (clip) p->setClipRect(ToQRect(*clip));
  if (!transparent_) {
    // TextRect fills its whole rectangle, TextOut just the text cells.
    const QRect cell = clip ? ToQRect(*clip) : QRect(x, y, Extent(chars).cx, Metrics().height());
    p->fillRect(cell, background_);
  }
  p->setFont(font_);
  p->setPen(text_);
  const int baseline = y + Metrics().ascent();
  // Each glyph where it was measured, no run-level shaping moving it: the
  // glyphs of the font's own face go out as one run, each at its advance,
  // and a character another face draws (a fallback) on its own.
  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(static_cast<qsizetype>(chars.size()));
  positions.reserve(static_cast<qsizetype>(chars.size()));
  int at = x;
  for (char32_t c : chars) {
    if (const quint32 glyph = Glyph(c); glyph != 0) {
      glyphs.push_back(glyph);
      positions.push_back(QPointF(at, baseline));
    } else {
      p->drawText(QPoint(at, baseline), CharString(c));
    }
    at += Advance(c);
  }
  if (!glyphs.isEmpty()) {
    QGlyphRun run;
    run.setRawFont(*raw_);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    p->drawGlyphRun(QPointF(0, 0), run);
  }
  p->restore();
}

void QtCanvas::TextOut(int x, int y, std::string_view cp932) { DrawChars(x, y, Cp932Chars(cp932), nullptr); }

void QtCanvas::TextOutW(int x, int y, std::u16string_view text) { DrawChars(x, y, Utf16Chars(text), nullptr); }

void QtCanvas::TextRect(const TRect& clip, int x, int y, std::string_view cp932) {
  DrawChars(x, y, Cp932Chars(cp932), &clip);
}

void QtCanvas::TextRectW(const TRect& clip, int x, int y, std::u16string_view text) {
  DrawChars(x, y, Utf16Chars(text), &clip);
}

void QtCanvas::DrawTextRight(const TRect& box, std::string_view cp932) {
  const std::vector<char32_t> chars = Cp932Chars(cp932);
  const int x = box.Right - Extent(chars).cx;
  // Only the text cell is filled when opaque, clipped to the box.
  QPainter* p = Begin();
  if (!p) return;
  p->save();
  p->setClipRect(ToQRect(box));
  DrawChars(x, box.Top, chars, nullptr);
  p->restore();
}

void QtCanvas::MoveTo(int x, int y) { penPos_ = QPoint(x, y); }

void QtCanvas::LineTo(int x, int y) {
  const QPoint to(x, y);
  if (QPainter* p = Begin()) {
    p->setPen(MakePen());
    p->drawLine(penPos_, to);
  }
  penPos_ = to;
}

void QtCanvas::Polyline(const std::vector<TPoint>& points) {
  QPainter* p = Begin();
  if (!p || points.size() < 2) return;
  QPolygon polygon;
  polygon.reserve(static_cast<int>(points.size()));
  for (const TPoint& pt : points) polygon << QPoint(pt.X, pt.Y);
  p->setPen(MakePen());
  p->drawPolyline(polygon);
}

void QtCanvas::Ellipse(const TRect& r) {
  QPainter* p = Begin();
  if (!p || r.Right <= r.Left || r.Bottom <= r.Top) return;
  p->setPen(MakePen());
  p->setBrush(brush_);
  // Outline inside the box: the right and bottom edges stay exclusive.
  p->drawEllipse(QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
  p->setBrush(Qt::NoBrush);
}

void QtCanvas::Pie(const TRect& r, TPoint start, TPoint end) { DrawArcShape(r, start, end, true); }

void QtCanvas::Arc(const TRect& r, TPoint start, TPoint end) { DrawArcShape(r, start, end, false); }

// A pie is the arc closed to the centre and filled with the brush.
void QtCanvas::DrawArcShape(const TRect& r, TPoint start, TPoint end, bool pie) {
  QPainter* p = Begin();
  if (!p || r.Right <= r.Left || r.Bottom <= r.Top) return;
  const QRect box(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
  const auto [a, span] = ArcAngles(QRectF(ToQRect(r)), start, end);
  p->setPen(MakePen());
  if (!pie) {
    p->drawArc(box, a, span);
    return;
  }
  p->setBrush(brush_);
  p->drawPie(box, a, span);
  p->setBrush(Qt::NoBrush);
}

void QtCanvas::PolyBezier(const std::vector<TPoint>& points) {
  QPainter* p = Begin();
  if (!p || points.size() < 4 || (points.size() - 1) % 3 != 0) return;
  QPainterPath path(QPointF(points[0].X, points[0].Y));
  for (size_t i = 1; i + 2 < points.size(); i += 3)
    path.cubicTo(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X, points[i + 2].Y);
  p->strokePath(path, MakePen());
}

void QtCanvas::StretchDraw(const TRect& r, const Picture& picture) {
  const auto* qt = dynamic_cast<const QtPicture*>(&picture);
  QPainter* p = Begin();
  if (!p || !qt || qt->Empty() || r.Right <= r.Left || r.Bottom <= r.Top) return;
  // Nearest pixel, as a device context stretches by default.
  p->setRenderHint(QPainter::SmoothPixmapTransform, false);
  p->drawImage(ToQRect(r), qt->Image());
}

void QtCanvas::CopyFrom(const TRect& dest, Bitmap& source, TPoint sourceOrigin) {
  auto* qt = dynamic_cast<QtBitmap*>(&source);
  QPainter* p = Begin();
  if (!p || !qt || dest.Right <= dest.Left || dest.Bottom <= dest.Top) return;
  const QRect to = ToQRect(dest);
  // Coordinates are the control's pixels; an image at a higher density holds
  // more of its own for each.
  const qreal ratio = qt->Image().devicePixelRatio();
  const QRectF from(sourceOrigin.X * ratio, sourceOrigin.Y * ratio, to.width() * ratio, to.height() * ratio);
  p->save();
  p->setCompositionMode(QPainter::CompositionMode_Source);
  if (&qt->Image() == image_) {
    // Copying within one image: take the pixels out first.
    const QImage part = image_->copy(from.toAlignedRect());
    p->drawImage(QRectF(to), part, QRectF(part.rect()));
  } else {
    p->drawImage(QRectF(to), qt->Image(), from);
  }
  p->restore();
}

// ---- bitmap and picture ------------------------------------------------------

void QtBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const qreal ratio = ratio_ ? ratio_() : 1.0;
  if (width == width_ && height == height_ && ratio == image_.devicePixelRatio()) return;
  canvas_.End();
  QImage next;
  if (width > 0 && height > 0) {
    next = QImage(static_cast<int>(std::ceil(width * ratio)), static_cast<int>(std::ceil(height * ratio)),
                  QImage::Format_ARGB32_Premultiplied);
    next.setDevicePixelRatio(ratio);
    next.fill(Qt::white);
    if (!image_.isNull()) {
      QPainter copy(&next);
      copy.setCompositionMode(QPainter::CompositionMode_Source);
      copy.drawImage(QRectF(0, 0, width_, height_), image_, QRectF(image_.rect()));
    }
  }
  image_ = std::move(next);
  width_ = width;
  height_ = height;
}

bool QtPicture::LoadFromFile(const std::string& path) {
  QImage loaded;
  if (!loaded.load(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())))) return false;
  image_ = std::move(loaded);
  return true;
}

}  // namespace kelvane
