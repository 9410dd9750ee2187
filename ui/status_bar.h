// SPDX-License-Identifier: MIT
// CStatusBar: the status bar at the bottom of the main dialog, with panes side by side. Pane 0
// has a fixed width, the last pane stretches over the rest. Each pane shows a text at its left;
// child widgets (the progress bar) can be placed inside a pane's rectangle.
#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

class CStatusBar : public QWidget {
  Q_OBJECT

 public:
  explicit CStatusBar(QWidget* parent = nullptr);

  // The panes: one width per pane, 0 for the stretching pane; texts start empty.
  void SetPanes(const std::vector<int>& widths);
  int PaneCount() const { return static_cast<int>(m_widths.size()); }
  // Rectangle of a pane in the status bar's coordinates (empty for an unknown pane).
  QRect GetItemRect(int pane) const;
  void SetPaneText(int pane, const QString& text);
  QString PaneText(int pane) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<int> m_widths;
  QStringList m_texts;
};
