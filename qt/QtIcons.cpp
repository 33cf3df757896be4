// The tool images, a few strokes and fills on a 16-unit grid each, and the
// program's own image.
#include "qt/QtIcons.h"

#include <QIconEngine>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <memory>
#include <utility>

namespace kelvane {

namespace {

const QColor kInk(40, 40, 48);
const QColor kBlue(30, 100, 200);
const QColor kGreen(20, 140, 60);
const QColor kFolder(230, 180, 60);
const QColor kDisk(60, 90, 160);

// Flips the 16-unit square left to right: one drawing serves both directions.
void MirrorIf(QPainter& p, bool mirrored) {
  if (!mirrored) return;
  p.translate(16, 0);
  p.scale(-1, 1);
}

// A curved arrow from right to left (undo); mirrored for redo.
void CurvedArrow(QPainter& p, bool mirrored, const QColor& color) {
  p.save();
  MirrorIf(p, mirrored);
  QPainterPath arc;
  arc.moveTo(13, 13);
  arc.cubicTo(14, 6, 9, 4.5, 5, 5.5);
  p.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(arc);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPolygon(QPolygonF({QPointF(1.5, 6), QPointF(6.5, 1.5), QPointF(6.5, 10)}));
  p.restore();
}

// A triangle pointing left or right with a bar at its tip (first / last).
void EndArrow(QPainter& p, bool right) {
  p.save();
  MirrorIf(p, right);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawRect(QRectF(2, 3, 2.5, 10));
  p.drawPolygon(QPolygonF({QPointF(5, 8), QPointF(14, 2.5), QPointF(14, 13.5)}));
  p.restore();
}

// Two triangles and a play dot (auto-play in either direction).
void AutoArrow(QPainter& p, bool right) {
  p.save();
  MirrorIf(p, right);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawPolygon(QPolygonF({QPointF(1, 8), QPointF(8, 3), QPointF(8, 13)}));
  p.drawPolygon(QPolygonF({QPointF(7.5, 8), QPointF(14.5, 3), QPointF(14.5, 13)}));
  p.restore();
}

void Disk(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kDisk);
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 2, 8, 5));
  p.setBrush(QColor(200, 200, 210));
  p.drawRect(QRectF(4, 10, 8, 4));
}

void PaintOpen(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kFolder.darker(115));
  p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5), QPointF(13.5, 5),
                           QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
  p.setBrush(kFolder);
  p.drawPolygon(QPolygonF({QPointF(1.5, 13.5), QPointF(4, 7.5), QPointF(15, 7.5), QPointF(12.5, 13.5)}));
}

void PaintSaveAs(QPainter& p) {
  Disk(p);
  // A pencil across the corner: a new name.
  p.setPen(QPen(QColor(200, 60, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9, 14), QPointF(14.5, 8.5));
  p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8, 15), QPointF(9, 14));
}

void PaintInfo(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(1, 1, 14, 14));
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(7, 3.5, 2.2, 2.2));
  p.drawRect(QRectF(7, 7, 2.2, 5.5));
}

// The program's own image on a 64-unit grid, as packaging/kelvane.svg draws it:
// a page of text with a curved arrow turning back through it.
void PaintApp(QPainter& p) {
  p.setPen(QPen(QColor(0x4a, 0x5a, 0x70), 2.5));
  p.setBrush(QColor(0xfd, 0xfd, 0xf8));
  p.drawRoundedRect(QRectF(12, 6, 40, 52), 3, 3);
  p.setPen(QPen(QColor(0x9a, 0xa8, 0xbc), 3, Qt::SolidLine, Qt::RoundCap));
  for (const QLineF& line : {QLineF(19, 17, 45, 17), QLineF(19, 25, 41, 25), QLineF(19, 33, 45, 33),
                             QLineF(19, 41, 35, 41)}) {
    p.drawLine(line);
  }
  const QColor red(0xd2, 0x45, 0x2e);
  QPainterPath arc;  // the large arc of radius 16 from (48, 48) round to (44, 30)
  arc.moveTo(48, 48);
  arc.arcTo(QRectF(17.23, 25.84, 32, 32), -22.66, -289.63);
  p.setPen(QPen(red, 4.5, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(arc);
  p.setPen(Qt::NoPen);
  p.setBrush(red);
  p.drawPolygon(QPolygonF({QPointF(36, 28), QPointF(47, 26), QPointF(47, 38)}));
}

// Renders a vector image drawn on a Grid × Grid square at exactly the pixel
// size asked for.
class VectorIconEngine : public QIconEngine {
 public:
  VectorIconEngine(std::function<void(QPainter&)> draw, qreal grid) : draw_(std::move(draw)), grid_(grid) {}
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / grid_, rect.height() / grid_);
    if (mode == QIcon::Disabled) painter->setOpacity(0.35);
    draw_(*painter);
    painter->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }
  // Size is in device pixels already; Scale only labels the result.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    {
      QPainter p(&pm);
      paint(&p, QRect(QPoint(0, 0), pm.size()), mode, state);
    }
    pm.setDevicePixelRatio(scale);
    return pm;
  }
  QIconEngine* clone() const override { return new VectorIconEngine(draw_, grid_); }  // Qt takes ownership

 private:
  std::function<void(QPainter&)> draw_;
  qreal grid_;
};

QIcon VectorIcon(std::function<void(QPainter&)> draw, qreal grid) {
  auto engine = std::make_unique<VectorIconEngine>(std::move(draw), grid);
  return QIcon(engine.release());  // the icon owns its engine
}

}  // namespace

void PaintToolImage(QPainter& p, int index) {
  p.save();
  switch (index) {
    case 0: PaintOpen(p); break;
    case 1: CurvedArrow(p, false, kBlue); break;
    case 2: CurvedArrow(p, true, kBlue); break;
    case 3: Disk(p); break;
    case 4: PaintSaveAs(p); break;
    case 5: AutoArrow(p, false); break;
    case 6: AutoArrow(p, true); break;
    case 7: EndArrow(p, false); break;
    case 8: EndArrow(p, true); break;
    case 9: PaintInfo(p); break;
    default: break;
  }
  p.restore();
}

QIcon ToolIcon(int index) {
  return VectorIcon([index](QPainter& p) { PaintToolImage(p, index); }, 16);
}

QIcon AppIcon() { return VectorIcon(PaintApp, 64); }

}  // namespace kelvane
