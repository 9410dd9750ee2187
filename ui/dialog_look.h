// SPDX-License-Identifier: MIT
// What the dialogs share: their font (the desktop's own face and size), sizes given in dialog
// units of that font, the banner and the icon.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QSize>

QFont DialogFont();
// The size of a template of width x height dialog units in the font.
QSize DialogUnitsToPixels(const QFont& font, int width, int height);
// Bitmap resource 139: the banner at the top of the main dialog and the About box, drawn for a
// screen of this pixel ratio (a ratio above 1 takes the picture of twice the density).
QPixmap BannerPixmap(qreal pixelRatio);
// Icon resource 128: the application's icon.
QIcon AppIcon();
