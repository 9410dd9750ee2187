// SPDX-License-Identifier: MIT
// Draws the program's pictures into PNG files: the banner (bitmap 139) and the icon (128) in
// the sizes the desktop asks for. The results are committed under ui/resources/; run this again
// (target velmar-draw-artwork) only to change them.
//   velmar-draw-artwork OUTPUT_FOLDER
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kNavy(16, 42, 84);
const QColor kTeal(0, 128, 128);
const QColor kPaper(250, 250, 246);
const QColor kGold(232, 176, 48);

// A shield with a check mark, the sign of a protected memory, in a box of the given size.
void DrawShield(QPainter& p, const QRectF& box, const QColor& fill, const QColor& mark) {
  const qreal w = box.width();
  const qreal h = box.height();
  QPainterPath shield;
  shield.moveTo(box.left() + w * 0.5, box.top());
  shield.lineTo(box.right(), box.top() + h * 0.16);
  shield.cubicTo(box.right(), box.top() + h * 0.62, box.left() + w * 0.78, box.top() + h * 0.86,
                 box.left() + w * 0.5, box.bottom());
  shield.cubicTo(box.left() + w * 0.22, box.top() + h * 0.86, box.left(), box.top() + h * 0.62,
                 box.left(), box.top() + h * 0.16);
  shield.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(shield);
  QPen pen(mark, qMax<qreal>(1.5, w * 0.13), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  QPainterPath check;
  check.moveTo(box.left() + w * 0.27, box.top() + h * 0.48);
  check.lineTo(box.left() + w * 0.45, box.top() + h * 0.66);
  check.lineTo(box.left() + w * 0.75, box.top() + h * 0.32);
  p.drawPath(check);
}

QImage DrawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  // Rounded tile.
  QLinearGradient tile(0, 0, s, s);
  tile.setColorAt(0, kNavy);
  tile.setColorAt(1, kTeal);
  p.setPen(Qt::NoPen);
  p.setBrush(tile);
  p.drawRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.18, s * 0.18);
  // A page with a folded corner and lines of text.
  const QRectF page(s * 0.2, s * 0.14, s * 0.46, s * 0.6);
  const qreal fold = s * 0.13;
  QPainterPath sheet;
  sheet.moveTo(page.topLeft());
  sheet.lineTo(page.right() - fold, page.top());
  sheet.lineTo(page.right(), page.top() + fold);
  sheet.lineTo(page.bottomRight());
  sheet.lineTo(page.bottomLeft());
  sheet.closeSubpath();
  p.setBrush(kPaper);
  p.drawPath(sheet);
  p.setBrush(QColor(200, 210, 222));
  QPainterPath corner;
  corner.moveTo(page.right() - fold, page.top());
  corner.lineTo(page.right() - fold, page.top() + fold);
  corner.lineTo(page.right(), page.top() + fold);
  corner.closeSubpath();
  p.drawPath(corner);
  if (size >= 32) {
    p.setBrush(QColor(120, 140, 165));
    const qreal lineHeight = qMax<qreal>(1.0, s * 0.035);
    for (int i = 0; i < 5; ++i) {
      const qreal y = page.top() + fold + s * 0.05 + i * s * 0.075;
      const qreal right = (i == 4) ? page.left() + page.width() * 0.5 : page.right() - s * 0.06;
      p.drawRect(QRectF(page.left() + s * 0.06, y, right - page.left() - s * 0.06, lineHeight));
    }
  }
  // The shield over the page's lower right corner.
  const qreal shieldSize = s * 0.42;
  DrawShield(p, QRectF(s * 0.5, s * 0.46, shieldSize * 0.86, shieldSize), kGold, kNavy);
  return image;
}

// The banner at scale times its size in pixels (2 for screens of twice the density).
QImage DrawBanner(int scale) {
  const int width = 470;
  const int height = 66;
  QImage image(width * scale, height * scale, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&image);
  p.scale(scale, scale);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient band(0, 0, width, 0);
  band.setColorAt(0, kNavy);
  band.setColorAt(0.7, QColor(8, 96, 118));
  band.setColorAt(1, kTeal);
  p.fillRect(QRect(0, 0, width, height), band);
  // A thin gold rule along the bottom.
  p.fillRect(QRect(0, height - 3, width, 3), kGold);
  // The icon's shield at the left.
  DrawShield(p, QRectF(16, 9, 38, 44), kGold, kNavy);
  // Name and purpose.
  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(26);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRect(70, 6, width - 80, 34), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("VELMAR\u00AE 2 TMX"));
  QFont subtitle(QStringLiteral("DejaVu Sans"));
  subtitle.setPixelSize(12);
  p.setFont(subtitle);
  p.setPen(QColor(210, 230, 236));
  p.drawText(QRect(71, 38, width - 80, 18), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Translation memories in the open TMX 1.4 format"));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: velmar-draw-artwork OUTPUT_FOLDER\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  bool ok = DrawBanner(1).save(out.filePath(QStringLiteral("banner.png")));
  ok = DrawBanner(2).save(out.filePath(QStringLiteral("banner@2x.png"))) && ok;
  for (int size : {16, 32, 48, 128, 256}) {
    ok = DrawIcon(size).save(out.filePath(QStringLiteral("icon-%1.png").arg(size))) && ok;
  }
  if (!ok) std::fprintf(stderr, "velmar-draw-artwork: cannot write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
