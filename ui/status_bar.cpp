// SPDX-License-Identifier: MIT
#include "ui/status_bar.h"

#include <qdrawutil.h>

#include <QPainter>

#include "ui/accessibility.h"

namespace {
constexpr int kGap = 2;          // space between panes and around them
constexpr int kTextPadding = 3;  // text inset inside a pane
}  // namespace

CStatusBar::CStatusBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("statusBar"));
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CStatusBar::SetPanes(const std::vector<int>& widths) {
  m_widths = widths;
  m_texts.clear();
  for (std::size_t i = 0; i < widths.size(); ++i) m_texts << QString();
  update();
}

QRect CStatusBar::GetItemRect(int pane) const {
  if (pane < 0 || pane >= PaneCount()) return {};
  int left = kGap;
  const int top = kGap;
  const int bottom = height() - 1;
  for (int i = 0; i < pane; ++i) left += m_widths[static_cast<std::size_t>(i)] + kGap;
  int right;
  if (pane == PaneCount() - 1) {
    right = width() - kGap - 1;
  } else {
    right = left + m_widths[static_cast<std::size_t>(pane)] - 1;
  }
  if (right < left - 1) right = left - 1;
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

void CStatusBar::SetPaneText(int pane, const QString& text) {
  if (pane < 0 || pane >= PaneCount() || m_texts[pane] == text) return;
  m_texts[pane] = text;
  update(GetItemRect(pane));
  AnnounceValueChange(this);
}

QString CStatusBar::PaneText(int pane) const {
  if (pane < 0 || pane >= PaneCount()) return {};
  return m_texts[pane];
}

QSize CStatusBar::sizeHint() const {
  const int textHeight = fontMetrics().height();
  return QSize(200, textHeight + 2 * kTextPadding + kGap + 1);
}

QSize CStatusBar::minimumSizeHint() const {
  return QSize(0, sizeHint().height());
}

void CStatusBar::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  for (int pane = 0; pane < PaneCount(); ++pane) {
    const QRect r = GetItemRect(pane);
    if (r.width() <= 0) continue;
    qDrawShadePanel(&painter, r, palette(), true, 1);
    const QRect textRect = r.adjusted(kTextPadding, 0, -kTextPadding, 0);
    const QString shown = fontMetrics().elidedText(m_texts[pane], Qt::ElideRight, textRect.width());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
  }
}
