// SPDX-License-Identifier: MIT
#include "ui/dialog_look.h"

#include <QApplication>
#include <QFontMetrics>

// The resources live in this static library: register them before the first use (the macro
// must stand outside any namespace).
static void InitResources() {
  static bool done = false;
  if (done) return;
  done = true;
  Q_INIT_RESOURCE(velmar);
}

QFont DialogFont() {
  // The desktop's choice of face and size, which the user may have made larger.
  return QApplication::font("QDialog");
}

QSize DialogUnitsToPixels(const QFont& font, int width, int height) {
  // The base units of a dialog font: the average width of the Latin letters and the height.
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  const int baseX = (letters / 26 + 1) / 2;
  const int baseY = metrics.height();
  return QSize(width * baseX / 4, height * baseY / 8);
}

QPixmap BannerPixmap(qreal pixelRatio) {
  InitResources();
  if (pixelRatio <= 1.0) return QPixmap(QStringLiteral(":/velmar/banner.png"));
  QPixmap sharp(QStringLiteral(":/velmar/banner@2x.png"));
  sharp.setDevicePixelRatio(2.0);
  return sharp;
}

QIcon AppIcon() {
  InitResources();
  QIcon icon;
  for (int size : {16, 32, 48, 128, 256}) {
    icon.addFile(QStringLiteral(":/velmar/icon-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}
