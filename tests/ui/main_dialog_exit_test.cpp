// SPDX-License-Identifier: MIT
// Leaving the main dialog: which ways ask first, and a confirmed exit during a running Protect,
// which abandons the conversion without leaving a TMX file or a partial file behind.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "text/string_table.h"
#include "ui/main_dialog.h"
#include "ui/user_prompts.h"
#include "ui_test_support.h"

namespace {

enum class Way { ExitButton, EnterKey, EnterInList, CloseBox, Escape };

}  // namespace

Q_DECLARE_METATYPE(Way)

class MainDialogExitTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { uitest::InitEnvironment(); }
  void init() {
    uitest::ResetState();
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
  }

  void waysOut_data() {
    QTest::addColumn<Way>("way");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<PromptAnswer>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("Exit, yes") << Way::ExitButton << true << PromptAnswer::Yes << true;
    QTest::newRow("Exit, no") << Way::ExitButton << true << PromptAnswer::No << false;
    QTest::newRow("Enter in a field, yes") << Way::EnterKey << true << PromptAnswer::Yes << true;
    QTest::newRow("Enter in a field, no") << Way::EnterKey << true << PromptAnswer::No << false;
    QTest::newRow("Enter in a language list")
        << Way::EnterInList << true << PromptAnswer::Yes << true;
    QTest::newRow("close box, yes") << Way::CloseBox << true << PromptAnswer::Yes << true;
    QTest::newRow("close box, no") << Way::CloseBox << true << PromptAnswer::No << false;
    QTest::newRow("Escape") << Way::Escape << false << PromptAnswer::No << true;
  }

  void waysOut() {
    QFETCH(Way, way);
    QFETCH(bool, asked);
    QFETCH(PromptAnswer, answer);
    QFETCH(bool, ends);
    CMainDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    UserPrompts::QueueAnswer(answer);
    switch (way) {
      case Way::ExitButton:
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
        break;
      case Way::EnterKey:
        QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("1002")), Qt::Key_Return);
        break;
      case Way::EnterInList: {
        QWidget* list = dialog.findChild<QWidget*>(QStringLiteral("1010"));
        list->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
      }
      case Way::CloseBox:
        dialog.close();
        break;
      case Way::Escape:
        QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("1002")), Qt::Key_Escape);
        break;
    }
    if (asked) {
      QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
      const ShownMessage& question = UserPrompts::Messages().front();
      QCOMPARE(question.text, QStringLiteral("Are you sure you want to exit?"));
      QCOMPARE(question.buttons, PromptButtons::YesNo);
      QCOMPARE(question.icon, PromptIcon::Question);
      QCOMPARE(question.caption, QStringLiteral("VELMAR\u00AE 2 TMX"));
    } else {
      QVERIFY(UserPrompts::Messages().empty());
    }
    QCOMPARE(dialog.isVisible(), !ends);
    // Only a confirmed exit stops running commands; Escape just closes.
    QCOMPARE(dialog.QuitPosted(), asked && ends);
    if (way == Way::ExitButton && ends) QCOMPARE(dialog.result(), int(QDialog::Accepted));
    if (way == Way::Escape) QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  void exitConfirmedDuringProtectAbandonsIt() {
    const QDir dir(m_temp->path());
    const QString txt = dir.filePath(QStringLiteral("large.txt"));
    const QString tmx = dir.filePath(QStringLiteral("large.tmx"));
    uitest::WriteTxt(txt, 2000, {"EN-US", "DE"});
    CMainDlg dialog;
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("1002"))->setText(txt);
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("1004"))->text(), tmx);

    // The Exit click is handled at the engine's first event check, in the middle of the run.
    bool clickedWhileBusy = false;
    UserPrompts::QueueAnswer(PromptAnswer::Yes);
    QTimer::singleShot(0, &dialog, [&] {
      clickedWhileBusy = dialog.IsBusy();
      QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1006")), Qt::LeftButton);

    QVERIFY(clickedWhileBusy);
    QVERIFY(dialog.QuitPosted());
    QVERIFY(!dialog.isVisible());
    // Only the exit question was asked: no result message for the abandoned run.
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QCOMPARE(UserPrompts::Messages().front().text,
             QString::fromUtf8(LoadStringText(IDS_CONFIRM_EXIT)));
    // No TMX file and no partial or temporary file: the folder holds the TXT file alone.
    QVERIFY(!QFile::exists(tmx));
    QCOMPARE(uitest::FolderEntries(dir.path()), QStringList({QStringLiteral("large.txt")}));
    QVERIFY(!dialog.IsBusy());
    QVERIFY(!QGuiApplication::overrideCursor());
  }

  void exitDeclinedDuringProtectLetsItFinish() {
    const QDir dir(m_temp->path());
    const QString txt = dir.filePath(QStringLiteral("kept.txt"));
    uitest::WriteTxt(txt, 500, {"EN-US", "DE"});
    CMainDlg dialog;
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("1002"))->setText(txt);
    UserPrompts::QueueAnswer(PromptAnswer::No);
    QTimer::singleShot(0, &dialog, [&] {
      QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1006")), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.QuitPosted());
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(2));
    QVERIFY(UserPrompts::Messages().back().text.contains(QStringLiteral(": 500\n")));
    bool skipped = false;
    const QString complaint = uitest::ValidateTmx(dir.filePath("kept.tmx"), &skipped);
    QVERIFY2(complaint.isEmpty(), qPrintable(complaint));
  }

 private:
  std::unique_ptr<QTemporaryDir> m_temp;
};

QTEST_MAIN(MainDialogExitTest)
#include "main_dialog_exit_test.moc"
