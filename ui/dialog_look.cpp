// SPDX-License-Identifier: MIT
#include "ui/dialog_look.h"

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
  QFont font(QStringLiteral("Verdana"), 8);
  font.setStyleHint(QFont::SansSerif, QFont::PreferMatch);
  return font;
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

QPixmap BannerPixmap() {
  InitResources();
  return QPixmap(QStringLiteral(":/velmar/banner.png"));
}

QIcon AppIcon() {
  InitResources();
  QIcon icon;
  for (int size : {16, 32, 48, 128, 256}) {
    icon.addFile(QStringLiteral(":/velmar/icon-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}
