// SPDX-License-Identifier: MIT
// Context help of the main dialog: F1 on a control, or What's This mode followed by a click on a
// control, shows the control's help text (a string-table text found by the control's object
// name) in a small pale yellow popup at the mouse position. Controls without a help text show
// nothing.
#pragma once

#include <QColor>
#include <QLabel>
#include <QObject>
#include <QPointer>

class QWidget;

// The popup: a framed text window that closes on the next key or mouse press.
class CHelpPopup : public QLabel {
  Q_OBJECT

 public:
  static const QColor kBackground;  // red 255, green 255, blue 208

  CHelpPopup(const QString& text, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

class ContextHelp : public QObject {
  Q_OBJECT

 public:
  // Watches every control of dialog (call again after adding controls).
  explicit ContextHelp(QWidget* dialog);

  // The help text of the control that holds widget (itself or the nearest parent below the dialog
  // that has a help text), or an empty text.
  QString HelpTextFor(const QWidget* widget) const;
  // Shows the help of widget at the global position; false when it has none.
  bool ShowHelp(const QWidget* widget, const QPoint& globalPos);
  // F1 on the focused control, at the mouse position.
  void ShowHelpForFocus();
  // The popup on show, or null.
  CHelpPopup* Popup() const { return m_popup.data(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_dialog;
  QPointer<CHelpPopup> m_popup;
};
