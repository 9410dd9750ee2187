// SPDX-License-Identifier: MIT
// Leaving the main dialog: which ways ask first, and leaving during a running Protect (a
// confirmed exit, the close box, Escape), which abandons the conversion without replacing the
// TMX file or leaving a partial file behind. Also the Enter key on a push button.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ui/command_runner.h"
#include "ui/main_dialog.h"
#include "ui/status_bar.h"
#include "ui/ui_strings.h"
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
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("exitButton")),
                          Qt::LeftButton);
        break;
      case Way::EnterKey:
        QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit")),
                        Qt::Key_Return);
        break;
      case Way::EnterInList: {
        QWidget* list = dialog.findChild<QWidget*>(QStringLiteral("sourceLanguageList"));
        list->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
      }
      case Way::CloseBox:
        dialog.close();
        break;
      case Way::Escape:
        QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit")),
                        Qt::Key_Escape);
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

  void enterOnAButtonPressesIt_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");  // the message it shows, if any
    QTest::addColumn<int>("fileRequests");
    QTest::addColumn<bool>("aboutBox");
    const QString needTxt = QString::fromUtf8(LoadUiText(IDS_NEED_TXT));
    QTest::newRow("TXT browse") << "browseTxtButton" << QString() << 1 << false;
    QTest::newRow("TMX browse") << "browseTmxButton" << QString() << 1 << false;
    QTest::newRow("About") << "aboutButton" << QString() << 0 << true;
    QTest::newRow("Analyse") << "analyseButton" << needTxt << 0 << false;
    QTest::newRow("Protect") << "protectButton" << needTxt << 0 << false;
    QTest::newRow("Exit") << "exitButton" << QString::fromUtf8(LoadUiText(IDS_CONFIRM_EXIT)) << 0
                          << false;
  }

  void enterOnAButtonPressesIt() {
    QFETCH(QString, button);
    QFETCH(QString, message);
    QFETCH(int, fileRequests);
    QFETCH(bool, aboutBox);
    CMainDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* pressed = dialog.findChild<QPushButton*>(button);
    QVERIFY(pressed);
    pressed->setFocus();
    bool aboutShown = false;
    if (aboutBox) {
      // The About box runs modally: note it and close it once it shows.
      QTimer::singleShot(0, &dialog, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        aboutShown = modal && modal->objectName() == QStringLiteral("aboutDialog");
        if (modal) modal->close();
      });
    }
    QTest::keyClick(pressed, Qt::Key_Return);
    if (message.isEmpty()) {
      QVERIFY(UserPrompts::Messages().empty());
    } else {
      QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
      QCOMPARE(UserPrompts::Messages().front().text, message);
    }
    QCOMPARE(int(UserPrompts::FileRequests().size()), fileRequests);
    QCOMPARE(aboutShown, aboutBox);
    // Only the Exit button's question (answered No) could have ended the dialog.
    QVERIFY(dialog.isVisible());
  }

  void leavingDuringProtectAbandonsIt_data() {
    QTest::addColumn<Way>("way");
    QTest::addColumn<bool>("asked");
    QTest::newRow("Exit confirmed") << Way::ExitButton << true;
    QTest::newRow("close box confirmed") << Way::CloseBox << true;
    QTest::newRow("Escape") << Way::Escape << false;
  }

  void leavingDuringProtectAbandonsIt() {
    QFETCH(Way, way);
    QFETCH(bool, asked);
    const QDir dir(m_temp->path());
    const QString txt = dir.filePath(QStringLiteral("endless.txt"));
    const QString tmx = dir.filePath(QStringLiteral("endless.tmx"));
    {
      QFile old(tmx);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("old content");
    }
    // Units without end: the run can only stop because it is asked to.
    uitest::EndlessTxt endless(txt);
    QVERIFY(endless.Created());
    CMainDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* txtEdit = dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit"));
    txtEdit->blockSignals(true);  // no analysis: it would read the FIFO
    txtEdit->setText(txt);
    txtEdit->blockSignals(false);
    dialog.findChild<QLineEdit*>(QStringLiteral("tmxPathEdit"))->setText(tmx);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("protectButton")),
                      Qt::LeftButton);
    // The conversion is under way: its state text shows (its temporary file has no name).
    QTRY_COMPARE(dialog.StatusBar()->PaneText(0), QStringLiteral("Exporting..."));
    QVERIFY(dialog.IsBusy());

    UserPrompts::QueueAnswer(PromptAnswer::Yes);
    switch (way) {
      case Way::ExitButton:
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("exitButton")),
                          Qt::LeftButton);
        break;
      case Way::CloseBox:
        dialog.close();
        break;
      default:
        QTest::keyClick(txtEdit, Qt::Key_Escape);
        break;
    }
    // Closed at once, the worker stopped, nothing reported.
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.IsBusy());
    QVERIFY(!dialog.findChild<CommandRunner*>()->IsRunning());
    QCOMPARE(dialog.QuitPosted(), asked);
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(asked ? 1 : 0));
    QVERIFY(!QGuiApplication::overrideCursor());
    // The old TMX file kept, no temporary file left.
    QCOMPARE(uitest::FolderEntries(dir.path()),
             QStringList({QStringLiteral("endless.tmx"), QStringLiteral("endless.txt")}));
    QFile kept(tmx);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("old content"));
    // No result arrives later either.
    QCoreApplication::processEvents();
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(asked ? 1 : 0));
  }

  void exitDeclinedDuringProtectLetsItFinish() {
    const QDir dir(m_temp->path());
    const QString txt = dir.filePath(QStringLiteral("kept.txt"));
    uitest::WriteTxt(txt, 500, {"EN-US", "DE"});
    CMainDlg dialog;
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit"))->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("protectButton")),
                      Qt::LeftButton);
    QVERIFY(dialog.IsBusy());
    UserPrompts::QueueAnswer(PromptAnswer::No);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("exitButton")), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.QuitPosted());
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(2));
    QVERIFY(UserPrompts::Messages().back().text.contains(QStringLiteral(": 500\n")));
    VERIFY_VALID_TMX(dir.filePath("kept.tmx"));
  }

 private:
  std::unique_ptr<QTemporaryDir> m_temp;
};

QTEST_MAIN(MainDialogExitTest)
#include "main_dialog_exit_test.moc"
