// SPDX-License-Identifier: MIT
// Leaving the main dialog: which ways ask first, and leaving during a running Protect (a
// confirmed exit, the close box, Escape), which abandons the conversion without replacing the
// TMX file or leaving a partial file behind. Also the Enter key on a push button.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <memory>

#include "ui/command_runner.h"
#include "ui/main_dialog.h"
#include "ui/quit_signals.h"
#include "ui/status_bar.h"
#include "ui/ui_strings.h"
#include "ui/user_prompts.h"
#include "ui_test_support.h"

namespace {

enum class Way { ExitButton, EnterKey, EnterInList, CloseBox, Escape, Terminate };

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
    // Enter in a path field takes the path: it never leads to the exit question.
    QTest::newRow("Enter in a field") << Way::EnterKey << false << PromptAnswer::Yes << false;
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
      case Way::Terminate:
        QFAIL("not a row of this test");
    }
    if (asked) {
      QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
      const ShownMessage& question = UserPrompts::Messages().front();
      QCOMPARE(question.text, QStringLiteral("Are you sure you want to exit?"));
      QCOMPARE(question.buttons, PromptButtons::YesNo);
      QCOMPARE(question.icon, PromptIcon::Question);
      QCOMPARE(question.caption, QStringLiteral("VELMAR\u00AE 2 TMX"));
      // Enter answers No.
      QCOMPARE(question.defaultAnswer, PromptAnswer::No);
    } else {
      QVERIFY(UserPrompts::Messages().empty());
    }
    QCOMPARE(dialog.isVisible(), !ends);
    // Only a confirmed exit stops running commands; Escape just closes.
    QCOMPARE(dialog.QuitPosted(), asked && ends);
    if (way == Way::ExitButton && ends) QCOMPARE(dialog.result(), int(QDialog::Accepted));
    if (way == Way::Escape) QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  void enterInTheExitQuestionAnswersNo() {
    // The real message box: Enter, Enter must not end the program.
    UserPrompts::SetScripted(false);
    CMainDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QString asked;
    bool closedByEnter = false;
    QTimer::singleShot(0, &dialog, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      asked = box->text();
      QTest::keyClick(box, Qt::Key_Return);
      closedByEnter = !box->isVisible();
      if (box->isVisible()) box->done(QMessageBox::No);  // never left open
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("exitButton")), Qt::LeftButton);
    UserPrompts::SetScripted(true);
    QCOMPARE(asked, QStringLiteral("Are you sure you want to exit?"));
    QVERIFY(closedByEnter);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.QuitPosted());
  }

  void escapeClosesWhatIsOpenFirst_data() {
    QTest::addColumn<bool>("completion");  // else the drop-down list is open
    QTest::newRow("open list") << false;
    QTest::newRow("inline completion") << true;
  }

  void escapeClosesWhatIsOpenFirst() {
    QFETCH(bool, completion);
    CMainDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* list = dialog.findChild<QComboBox*>(QStringLiteral("targetLanguageList"));
    list->setFocus();
    if (completion) {
      list->lineEdit()->clear();
      QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Germ"));
      // The field proposes the rest of a name, selected after the typed letters.
      QVERIFY(list->lineEdit()->hasSelectedText());
      QVERIFY(list->lineEdit()->text().size() > 4);
    } else {
      list->showPopup();
      QTRY_VERIFY(list->view()->isVisible());
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    // The list or the completion is gone, the dialog stays.
    QVERIFY(dialog.isVisible());
    QVERIFY(!list->view()->isVisible());
    if (completion) QCOMPARE(list->lineEdit()->text(), QStringLiteral("Germ"));
    // A second Escape ends the dialog.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
  }

  void mnemonicsOfDisabledButtonsDoNotType() {
    const QDir dir(m_temp->path());
    const QString txt = dir.filePath(QStringLiteral("big.txt"));
    uitest::EndlessTxt endless(txt);
    QVERIFY(endless.Created());
    CMainDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* txtEdit = dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit"));
    txtEdit->blockSignals(true);
    txtEdit->setText(txt);
    txtEdit->blockSignals(false);
    dialog.findChild<QLineEdit*>(QStringLiteral("tmxPathEdit"))->setText(dir.filePath("big.tmx"));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("protectButton")),
                      Qt::LeftButton);
    QVERIFY(dialog.IsBusy());
    auto* list = dialog.findChild<QComboBox*>(QStringLiteral("sourceLanguageList"));
    const std::pair<QWidget*, QLineEdit*> fields[] = {{txtEdit, txtEdit}, {list, list->lineEdit()}};
    for (const auto& [field, edit] : fields) {
      field->setFocus();
      QVERIFY(field->hasFocus() || edit->hasFocus());
      const QString before = edit->text();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
      QCOMPARE(edit->text(), before);
    }
    dialog.OnCancel();
    QVERIFY(!dialog.IsBusy());
  }

  void cancelStopsTheConversion_data() {
    QTest::addColumn<bool>("tmxExists");
    QTest::newRow("existing TMX kept") << true;
    QTest::newRow("no TMX") << false;
  }

  void cancelStopsTheConversion() {
    QFETCH(bool, tmxExists);
    const QDir dir(m_temp->path());
    const QString txt = dir.filePath(QStringLiteral("endless.txt"));
    const QString tmx = dir.filePath(QStringLiteral("endless.tmx"));
    if (tmxExists) {
      QFile old(tmx);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("old content");
    }
    uitest::EndlessTxt endless(txt);
    QVERIFY(endless.Created());
    CMainDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* txtEdit = dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit"));
    txtEdit->blockSignals(true);
    txtEdit->setText(txt);
    txtEdit->blockSignals(false);
    dialog.findChild<QLineEdit*>(QStringLiteral("tmxPathEdit"))->setText(tmx);
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("cancelButton"));
    QVERIFY(cancel);
    QVERIFY(!cancel->isVisible());
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("protectButton")),
                      Qt::LeftButton);
    QTRY_COMPARE(dialog.StatusBar()->PaneText(0), QStringLiteral("Exporting..."));
    QVERIFY(cancel->isVisible());
    QTest::mouseClick(cancel, Qt::LeftButton);
    // Stopped at once, nothing asked or reported, the window idle again.
    QVERIFY(!dialog.IsBusy());
    QVERIFY(!dialog.findChild<CommandRunner*>()->IsRunning());
    QVERIFY(dialog.isVisible());
    QVERIFY(UserPrompts::Messages().empty());
    QVERIFY(!cancel->isVisible());
    QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("protectButton"))->isEnabled());
    QVERIFY(dialog.StatusBar()->PaneText(0).startsWith(QStringLiteral("Conversion cancelled.")));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("VELMAR\u00AE 2 TMX"));
    QVERIFY(!QGuiApplication::overrideCursor());
    QStringList expected{QStringLiteral("endless.txt")};
    if (tmxExists) expected.prepend(QStringLiteral("endless.tmx"));
    QCOMPARE(uitest::FolderEntries(dir.path()), expected);
    if (tmxExists) {
      QFile kept(tmx);
      QVERIFY(kept.open(QIODevice::ReadOnly));
      QCOMPARE(kept.readAll(), QByteArray("old content"));
    }
    QCoreApplication::processEvents();
    QVERIFY(UserPrompts::Messages().empty());
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
    // SIGTERM: ended as the command line ends, also where the TMX in work has a name.
    QTest::newRow("SIGTERM") << Way::Terminate << false;
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
    QuitSignals quit;
    connect(&quit, &QuitSignals::quitRequested, &dialog, &CMainDlg::Terminate);
    switch (way) {
      case Way::ExitButton:
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("exitButton")),
                          Qt::LeftButton);
        break;
      case Way::CloseBox:
        dialog.close();
        break;
      case Way::Terminate:
        QVERIFY(::raise(SIGTERM) == 0);
        QTRY_VERIFY(!dialog.isVisible());
        QVERIFY(dialog.Terminated());
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
    if (asked) {
      // The question names what Yes does to the running conversion; Enter answers No.
      QCOMPARE(UserPrompts::Messages().front().text,
               QStringLiteral("Stop the conversion and exit?"));
      QCOMPARE(UserPrompts::Messages().front().defaultAnswer, PromptAnswer::No);
    }
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
    // While the question is open (a user takes a while to answer) the conversion neither puts its
    // file in place nor shows its result.
    std::size_t shownWhileAsked = 0;
    bool writtenWhileAsked = true;
    UserPrompts::SetWhileShown([&](const ShownMessage&) {
      QTest::qWait(1500);
      shownWhileAsked = UserPrompts::Messages().size();
      writtenWhileAsked = QFile::exists(dir.filePath("kept.tmx"));
    });
    UserPrompts::QueueAnswer(PromptAnswer::No);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("exitButton")), Qt::LeftButton);
    UserPrompts::SetWhileShown(nullptr);
    QCOMPARE(shownWhileAsked, std::size_t(1));
    QVERIFY(!writtenWhileAsked);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.QuitPosted());
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(2));
    QCOMPARE(UserPrompts::Messages().front().text, QStringLiteral("Stop the conversion and exit?"));
    QVERIFY(UserPrompts::Messages().back().text.contains(QStringLiteral(": 500\n")));
    VERIFY_VALID_TMX(dir.filePath("kept.tmx"));
  }

 private:
  std::unique_ptr<QTemporaryDir> m_temp;
};

QTEST_MAIN(MainDialogExitTest)
#include "main_dialog_exit_test.moc"
