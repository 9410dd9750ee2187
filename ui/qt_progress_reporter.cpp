// SPDX-License-Identifier: MIT
#include "ui/qt_progress_reporter.h"

#include <QCursor>
#include <QGuiApplication>

#include "ui/ui_strings.h"

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

QtProgressReporter::QtProgressReporter(const std::atomic<bool>& stop, QObject* parent)
    : QObject(parent), m_stop(stop) {}

void QtProgressReporter::SetPosition(int percent) {
  if (percent == m_lastPercent) return;
  m_lastPercent = percent;
  emit positionChanged(percent);
}

void QtProgressReporter::SetState(ProgressState state) {
  const int id = state == ProgressState::Exporting ? IDS_EXPORTING : IDS_IDLE;
  emit textChanged(QString::fromUtf8(LoadUiText(id)));
}

bool QtProgressReporter::ShouldStop() {
  std::unique_lock<std::mutex> lock(m_holdMutex);
  m_released.wait(lock, [this] { return !m_held || m_stop.load(); });
  return m_stop.load(std::memory_order_relaxed);
}

void QtProgressReporter::Hold(bool hold) {
  {
    const std::lock_guard<std::mutex> lock(m_holdMutex);
    m_held = hold;
  }
  m_released.notify_all();
}

void QtProgressReporter::Wake() {
  { const std::lock_guard<std::mutex> lock(m_holdMutex); }
  m_released.notify_all();
}
