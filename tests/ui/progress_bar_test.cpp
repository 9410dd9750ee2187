// SPDX-License-Identifier: MIT
// The progress bar in a status-bar pane: its place right of the message, the vertical inset,
// following resizes, the pane text, and what remains when it goes; the reporter that carries a
// worker's progress to the window, and the wait cursor.
#include "ui/progress_bar.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <memory>

#include "ui/qt_progress_reporter.h"
#include "ui/status_bar.h"
#include "ui_test_support.h"

namespace {

// A status bar with a pane 0 of 100 pixels and a stretching pane 1.
struct Bar {
  CStatusBar status;
  Bar() {
    status.SetPanes({100, 0});
    status.resize(400, 30);
    status.show();
  }
  QRect Pane() const { return status.GetItemRect(1); }
  int Width(const QString& text) const {
    return QFontMetrics(status.font()).horizontalAdvance(text);
  }
};

}  // namespace

class ProgressBarTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { uitest::InitEnvironment(); }

  void placedRightOfTheMessage_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("size");
    QTest::newRow("Progress") << "Progress" << 100;
    QTest::newRow("empty message") << "" << 100;
    QTest::newRow("half of the free width") << "42%" << 50;
    QTest::newRow("message wider than the pane") << QString(200, QLatin1Char('W')) << 100;
  }

  // The bar stands clear of the message, a gap after it, and takes its share of the width that is
  // left up to the pane's right edge; it is centred in the pane's height. A message wider than
  // the pane leaves the bar no width.
  void placedRightOfTheMessage() {
    QFETCH(QString, message);
    QFETCH(int, size);
    Bar bar;
    CProgressBar progress;
    QVERIFY(progress.Create(message, &bar.status, size, 100, false, 1));
    const QRect pane = bar.Pane();
    const int paneRight = pane.left() + pane.width();
    const QRect placed = progress.Bar()->geometry();
    if (message.isEmpty()) {
      QCOMPARE(placed.left(), pane.left());
    } else if (message.size() < 200) {
      QVERIFY(placed.left() >= pane.left() + bar.Width(message) + bar.Width(QStringLiteral(" ")));
    }
    const int free = paneRight - placed.left();
    if (message.size() == 200) {
      QCOMPARE(placed.width(), 0);
    } else if (size == 100) {
      QCOMPARE(placed.left() + placed.width(), paneRight);
    } else {
      QVERIFY2(std::abs(2 * placed.width() - free) <= 1, qPrintable(QString::number(free)));
    }
    QVERIFY(placed.top() >= pane.top());
    QCOMPARE(placed.top() - pane.top(),
             pane.top() + pane.height() - (placed.top() + placed.height()));
    QVERIFY(placed.height() > pane.height() / 2);
    // The pane shows the message.
    QCOMPARE(bar.status.PaneText(1), message);
  }

  void followsResizes() {
    Bar bar;
    CProgressBar progress(QStringLiteral("Progress"), &bar.status, 100, false, 1);
    bar.status.resize(600, 40);
    QCOMPARE(progress.Bar()->geometry().right(), bar.Pane().right());
    QCOMPARE(progress.Bar()->geometry().top(), bar.Pane().top() + bar.Pane().height() / 10);
    bar.status.resize(250, 24);
    QCOMPARE(progress.Bar()->geometry().right(), bar.Pane().right());
  }

  void textAndPosition() {
    Bar bar;
    CProgressBar progress(QStringLiteral("Progress"), &bar.status, 100, false, 1);
    const int leftBefore = progress.Bar()->geometry().left();
    QVERIFY(progress.SetText(QStringLiteral("7%")));
    QVERIFY(progress.SetPos(7));
    QCOMPARE(bar.status.PaneText(1), QStringLiteral("7%"));
    QCOMPARE(progress.Position(), 7);
    QVERIFY(progress.Bar()->geometry().left() < leftBefore);
    QCOMPARE(progress.Bar()->maximum(), 100);
    QVERIFY(!progress.IsSmooth());
  }

  void setTextWhileHiddenMovesTheBarOnly() {
    Bar bar;
    CProgressBar progress(QStringLiteral("Progress"), &bar.status, 100, false, 1);
    progress.Bar()->hide();
    progress.SetText(QStringLiteral("A much longer message"));
    QCOMPARE(bar.status.PaneText(1), QStringLiteral("Progress"));
    QCOMPARE(progress.Message(), QStringLiteral("A much longer message"));
    QCOMPARE(progress.Bar()->geometry().left(),
             bar.Pane().left() + bar.Width(QStringLiteral("A much longer message")) +
                 4 * bar.Width(QStringLiteral(" ")));
    // SetPos shows it again.
    progress.SetPos(3);
    QVERIFY(!progress.Bar()->isHidden());
  }

  void whatRemainsWhenTheBarGoes() {
    Bar bar;
    {
      CProgressBar progress(QStringLiteral("Progress"), &bar.status, 100, false, 1);
      progress.SetText(QStringLiteral("0%"));
      progress.DestroyWindow();  // after an analysis: the pane keeps the text
    }
    QCOMPARE(bar.status.PaneText(1), QStringLiteral("0%"));
    QVERIFY(bar.status.findChildren<QProgressBar*>().isEmpty());
    {
      CProgressBar progress(QStringLiteral("Progress"), &bar.status, 100, false, 1);
      progress.SetText(QStringLiteral("100%"));
    }  // after a conversion: destroyed with its window, the pane is emptied
    QCOMPARE(bar.status.PaneText(1), QString());
    QVERIFY(bar.status.findChildren<QProgressBar*>().isEmpty());
  }

  void withoutWindowNothingHappens() {
    CProgressBar progress;
    QVERIFY(!progress.HasWindow());
    QVERIFY(!progress.Create(QStringLiteral("Progress"), nullptr));
    QVERIFY(!progress.SetPos(5));
    QVERIFY(!progress.SetText(QStringLiteral("5%")));
    QVERIFY(!progress.SetRange(0, 10));
    QVERIFY(!progress.Resize());
    progress.Clear();
  }

  void reporterSignalsChangesAndAnswersTheStopFlag() {
    std::atomic<bool> stop{false};
    QtProgressReporter reporter(stop);
    QSignalSpy positions(&reporter, &QtProgressReporter::positionChanged);
    QSignalSpy texts(&reporter, &QtProgressReporter::textChanged);
    // The engine repeats a percentage many times: only changes are signalled.
    for (int percent : {0, 0, 0, 30, 30, 31, 100, 100}) reporter.SetPosition(percent);
    QCOMPARE(positions.size(), 4);
    QCOMPARE(positions[1].at(0).toInt(), 30);
    QCOMPARE(positions[3].at(0).toInt(), 100);
    reporter.SetState(ProgressState::Exporting);
    reporter.SetState(ProgressState::Idle);
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0].at(0).toString(), QStringLiteral("Exporting..."));
    QCOMPARE(texts[1].at(0).toString(), QStringLiteral("Idle"));
    QVERIFY(!reporter.ShouldStop());
    stop = true;
    QVERIFY(reporter.ShouldStop());
    // A new run starts from scratch: its first percentage is signalled even if it is the last.
    reporter.Reset();
    reporter.SetPosition(100);
    QCOMPARE(positions.size(), 5);
  }

  void reporterSignalsFromAWorkerReachTheWindowQueued() {
    std::atomic<bool> stop{false};
    QtProgressReporter reporter(stop);
    QList<int> received;
    bool onWindowThread = true;
    connect(&reporter, &QtProgressReporter::positionChanged, this, [&](int percent) {
      onWindowThread = onWindowThread && QThread::currentThread() == thread();
      received << percent;
    });
    std::unique_ptr<QThread> worker(QThread::create([&] {
      for (int percent = 0; percent <= 100; percent += 25) reporter.SetPosition(percent);
    }));
    worker->start();
    QVERIFY(worker->wait(60000));
    QVERIFY(received.isEmpty());  // queued: nothing arrives before the window's events run
    QTRY_COMPARE(received, QList<int>({0, 25, 50, 75, 100}));
    QVERIFY(onWindowThread);
  }

  void waitCursorIsPutBack() {
    WaitCursor::Begin();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::changeOverrideCursor(QCursor(Qt::ArrowCursor));
    WaitCursor::Restore();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    WaitCursor::End();
    QVERIFY(!QGuiApplication::overrideCursor());
    WaitCursor::Restore();  // no override cursor: nothing to put back
    QVERIFY(!QGuiApplication::overrideCursor());
  }
};

QTEST_MAIN(ProgressBarTest)
#include "progress_bar_test.moc"
