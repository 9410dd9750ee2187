// SPDX-License-Identifier: MIT
#include "ui/qt_progress_reporter.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include "ui/progress_bar.h"
#include "ui/status_bar.h"

namespace WaitCursor {

void Begin() {
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void Restore() {
  const QCursor* current = QGuiApplication::overrideCursor();
  if (current && current->shape() != Qt::WaitCursor) {
    QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
  }
}

void End() {
  QGuiApplication::restoreOverrideCursor();
}

}  // namespace WaitCursor

QtProgressReporter::QtProgressReporter(CProgressBar* bar, CStatusBar* statusBar,
                                       std::function<bool()> quitting)
    : m_bar(bar), m_statusBar(statusBar), m_quitting(std::move(quitting)) {}

QtProgressReporter::~QtProgressReporter() {
  // An engine that left without ending its wait cursor must not leave the dialog busy.
  while (m_waitCursors > 0) EndWaitCursor();
}

void QtProgressReporter::SetProgressText(const std::string& text) {
  // The same percentage comes many times in a row: the bar is placed for a new text only.
  if (!m_bar || text == m_lastText) return;
  m_lastText = text;
  m_bar->SetText(QString::fromUtf8(text));
}

void QtProgressReporter::SetPosition(int percent) {
  SetProgressText(std::to_string(percent) + "%");
  if (m_bar) m_bar->SetPos(percent);
}

void QtProgressReporter::SetText(const std::string& text) {
  if (m_statusBar) m_statusBar->SetPaneText(0, QString::fromUtf8(text));
}

void QtProgressReporter::BeginWaitCursor() {
  ++m_waitCursors;
  WaitCursor::Begin();
}

void QtProgressReporter::EndWaitCursor() {
  if (m_waitCursors == 0) return;
  --m_waitCursors;
  WaitCursor::End();
}

bool QtProgressReporter::ShouldStop() {
  if (m_waitCursors > 0) WaitCursor::Restore();
  if (!m_sincePump.isValid() || m_sincePump.elapsed() >= kPumpIntervalMs) {
    QCoreApplication::processEvents();
    m_sincePump.start();
  }
  return m_quitting && m_quitting();
}
