// SPDX-License-Identifier: MIT
// What the dialogs share: their font (Verdana 8 where installed, the closest sans-serif face
// otherwise), sizes given in dialog units of that font, the banner and the icon.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QSize>

QFont DialogFont();
// The size of a template of width x height dialog units in the font.
QSize DialogUnitsToPixels(const QFont& font, int width, int height);
// Bitmap resource 139: the banner at the top of the main dialog and the About box.
QPixmap BannerPixmap();
// Icon resource 128: the application's icon.
QIcon AppIcon();
