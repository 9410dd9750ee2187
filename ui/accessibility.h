// SPDX-License-Identifier: MIT
// What screen readers learn about the dialogs beyond what Qt derives itself: the status bar as a
// status bar whose text is its value, and names and descriptions given to controls.
#pragma once

#include <QString>

class QWidget;

// Makes the status bar (CStatusBar) known to assistive technology as a status bar, whose panes'
// texts are its value, and the link control (CHyperLink) as a link. Once per process; later
// calls do nothing.
void InstallAccessibleControls();

// Gives a control its accessible name and description.
void NameControl(QWidget* control, const QString& name, const QString& description = QString());

// Tells assistive technology that a widget's value (a status text) changed.
void AnnounceValueChange(QWidget* widget);
