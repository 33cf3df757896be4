// The player's ten tool images, drawn as vector shapes so they stay sharp at
// any size and device pixel ratio: open, undo, redo, save, save as, auto undo,
// auto redo, first, last, info (indices 0 to 9).
#pragma once

#include <QIcon>
#include <QPainter>

namespace kelvane {

constexpr int kToolImageCount = 10;

// Draws image Index into a 16 × 16 logical square (the painter may be scaled).
void PaintToolImage(QPainter& p, int index);

// The image as an icon that renders at whatever size and ratio is asked.
QIcon ToolIcon(int index);

// The program's image (the window's icon; the installed one is its SVG twin).
QIcon AppIcon();

}  // namespace kelvane
