// The editor on a screen of twice the density (run with QT_SCALE_FACTOR=2;
// skipped otherwise): drawn at the screen's pixels, measured in its own.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>

#include "qt/QtEditWidget.h"
#include "tests/support/EditorFixture.h"

namespace kelvane {
namespace {

TEST(QtHighDensity, EditorDrawsAtTheScreensDensityInItsOwnPixels) {
  QtEditWidget w;
  w.resize(400, 300);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  if (w.devicePixelRatioF() < 2) GTEST_SKIP() << "not a high-density screen (QT_SCALE_FACTOR=2 makes one)";
  TVeskEdit& e = w.Editor();
  e.SetText(test::Sjis("春の朝\r\nabc"));
  const QSize client = w.ClientSize();
  EXPECT_EQ(e.ViewWidth, client.width());  // the control's pixels
  const QImage shot = w.grab().toImage();
  EXPECT_EQ(shot.width(), static_cast<int>(w.width() * w.devicePixelRatioF()));
  // A glyph drawn at the screen's density has detail that a doubled one lacks:
  // somewhere two neighbouring device pixels of a doubled pair differ.
  bool detail = false;
  for (int y = 0; y + 1 < shot.height() / 2 && !detail; y += 2)
    for (int x = 0; x + 1 < shot.width() / 2 && !detail; x += 2) detail = shot.pixel(x, y) != shot.pixel(x + 1, y);
  EXPECT_TRUE(detail);
}

}  // namespace
}  // namespace kelvane
