// SPDX-License-Identifier: MIT
// CProgressBar: a progress bar inside one pane of the status bar. The pane shows a message at
// its left; the bar takes the pane's width right of the message and a gap of four blanks,
// inset by a tenth of the pane's height at top and bottom. The bar follows every resize of the
// status bar. A default-constructed bar has no window until Create.
#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QRect>
#include <QString>

#include "ui/status_bar.h"

class CProgressBar : public QObject {
  Q_OBJECT

 public:
  CProgressBar();
  // Constructs and creates the bar with size 100.
  CProgressBar(const QString& message, CStatusBar* statusBar, int maximum = 100,
               bool smooth = false, int pane = 0);
  // Clear, then the window goes.
  ~CProgressBar() override;
  CProgressBar(const CProgressBar&) = delete;
  CProgressBar& operator=(const CProgressBar&) = delete;

  // Creates the bar in the pane: false without a status bar.
  bool Create(const QString& message, CStatusBar* statusBar, int size = 100, int maximum = 100,
              bool smooth = false, int pane = 0);
  bool SetRange(int lower, int upper, int step = 1);
  // Show the bar and set its step / position.
  bool SetStep(int step);
  bool SetPos(int position);
  // message := text, then Resize.
  bool SetText(const QString& text);
  // Places the bar in its pane after the message; false without window or status bar.
  bool Resize();
  // Hides the bar and empties the pane's text.
  void Clear();
  // Destroys the bar's window only: the pane keeps its text.
  void DestroyWindow();

  bool HasWindow() const { return !m_bar.isNull(); }
  QProgressBar* Bar() const { return m_bar.data(); }
  QString Message() const { return m_message; }
  int Position() const;
  int Step() const { return m_step; }
  bool IsSmooth() const { return m_smooth; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int m_size = 100;
  int m_pane = 0;
  QString m_message;
  QRect m_lastRect;
  int m_step = 1;
  bool m_smooth = false;
  QPointer<CStatusBar> m_statusBar;
  QPointer<QProgressBar> m_bar;
};
