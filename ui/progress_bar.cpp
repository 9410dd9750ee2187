// SPDX-License-Identifier: MIT
#include "ui/progress_bar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QProgressBar>

#include "ui/status_bar.h"

CProgressBar::CProgressBar() = default;

CProgressBar::CProgressBar(const QString& message, CStatusBar* statusBar, int maximum, bool smooth,
                           int pane) {
  Create(message, statusBar, 100, maximum, smooth, pane);
}

CProgressBar::~CProgressBar() {
  Clear();
  DestroyWindow();
}

bool CProgressBar::Create(const QString& message, CStatusBar* statusBar, int size, int maximum,
                          bool smooth, int pane) {
  if (!statusBar) return false;
  DestroyWindow();
  m_statusBar = statusBar;
  auto* bar = new QProgressBar(statusBar);
  bar->setObjectName(QStringLiteral("progressBar"));
  bar->setTextVisible(false);
  bar->setGeometry(statusBar->GetItemRect(pane));
  m_smooth = smooth;
  m_bar = bar;
  bar->show();
  SetRange(0, maximum, 1);
  SetStep(1);
  m_message = message;
  m_pane = pane;
  m_size = size;
  m_lastRect = QRect();
  statusBar->installEventFilter(this);
  Resize();
  return true;
}

bool CProgressBar::SetRange(int lower, int upper, int step) {
  if (!m_bar) return false;
  m_bar->setRange(lower, upper);
  m_step = step;
  return true;
}

bool CProgressBar::SetStep(int step) {
  if (!m_bar) return false;
  m_bar->show();
  m_step = step;
  return true;
}

bool CProgressBar::SetPos(int position) {
  if (!m_bar) return false;
  if (m_bar->isHidden()) m_bar->show();
  if (m_bar->value() != position) m_bar->setValue(position);
  return true;
}

int CProgressBar::Position() const {
  return m_bar ? m_bar->value() : 0;
}

bool CProgressBar::SetText(const QString& text) {
  m_message = text;
  return Resize();
}

bool CProgressBar::Resize() {
  if (!m_bar || !m_statusBar) return false;
  if (!m_bar->isHidden()) m_statusBar->SetPaneText(m_pane, m_message);

  const QFontMetrics metrics(m_statusBar->font());
  const int messageWidth = metrics.horizontalAdvance(m_message);
  const int blankWidth = metrics.horizontalAdvance(QLatin1Char(' '));

  const QRect pane = m_statusBar->GetItemRect(m_pane);
  // Edges as the pane gives them: right and bottom are one past the last pixel.
  const int paneLeft = pane.left();
  const int paneRight = pane.left() + pane.width();
  const int paneTop = pane.top();
  const int paneBottom = pane.top() + pane.height();

  const int left = m_message.isEmpty() ? paneLeft : paneLeft + messageWidth + 4 * blankWidth;
  int right = paneRight - ((100 - m_size) * (paneRight - left)) / 100;
  if (right < left) right = left;
  const int inset = (paneBottom - paneTop) / 10;
  const QRect place(left, paneTop + inset, right - left, (paneBottom - inset) - (paneTop + inset));

  if (place != m_lastRect) {
    m_bar->setGeometry(place);
    m_lastRect = place;
  }
  return true;
}

void CProgressBar::Clear() {
  if (!m_bar) return;
  m_bar->hide();
  if (m_statusBar) {
    m_statusBar->SetPaneText(m_pane, QString());
    m_statusBar->repaint();
  }
}

void CProgressBar::DestroyWindow() {
  if (m_statusBar) m_statusBar->removeEventFilter(this);
  delete m_bar.data();
  m_bar = nullptr;
}

bool CProgressBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_statusBar && m_bar &&
      (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest)) {
    Resize();
  }
  return QObject::eventFilter(watched, event);
}
