// SPDX-License-Identifier: MIT
// The two language settings: read when the main dialog is built, written when it goes, on
// every way out; absent values give the defaults, stored empty values stay empty.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <csignal>
#include <memory>

#include "text/language_catalogue.h"
#include "ui/language_settings.h"
#include "ui/main_dialog.h"
#include "ui/quit_signals.h"
#include "ui/target_language_model.h"
#include "ui/user_prompts.h"
#include "ui_test_support.h"

namespace {

void Store(const QVariant& source, const QVariant& target) {
  QSettings settings;
  settings.beginGroup(QStringLiteral("Settings"));
  if (source.isValid()) settings.setValue(QStringLiteral("SourceLang"), source);
  if (target.isValid()) settings.setValue(QStringLiteral("TargetLang"), target);
  settings.sync();
}

QString Stored(const char* key) {
  QSettings settings;
  settings.beginGroup(QStringLiteral("Settings"));
  return settings.value(QString::fromLatin1(key), QStringLiteral("<absent>")).toString();
}

enum class Way { ExitButton, CloseBox, Escape, DestroyedOpen, Terminate };

}  // namespace

Q_DECLARE_METATYPE(Way)

class SettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { uitest::InitEnvironment(); }
  void init() {
    uitest::ResetState();
    m_temp = std::make_unique<QTemporaryDir>();
  }

  void settingsLiveInTheApplicationsFile() {
    QSettings settings;
    QVERIFY2(settings.fileName().endsWith(QStringLiteral("/Norvane/VELMAR\u00AE 2 TMX.conf")),
             qPrintable(settings.fileName()));
  }

  void readAtConstruction_data() {
    QTest::addColumn<QVariant>("source");
    QTest::addColumn<QVariant>("target");
    QTest::addColumn<QString>("sourceCode");
    QTest::addColumn<QString>("targetCode");
    QTest::addColumn<int>("sourceIndex");  // -1: no selection expected
    QTest::newRow("absent: defaults") << QVariant() << QVariant() << "EN-US"
                                      << "FR" << 0;
    QTest::newRow("stored codes") << QVariant("DE") << QVariant("IT") << "DE"
                                  << "IT" << 0;
    QTest::newRow("stored empty") << QVariant("") << QVariant("") << ""
                                  << "" << -1;
    QTest::newRow("not a catalogue code") << QVariant("XX") << QVariant("FR") << "XX"
                                          << "FR" << -1;
    // A display name stored instead of a code is found in the list by its text.
    QTest::newRow("display name") << QVariant(QString::fromUtf8(LanguageDisplayName("DE")))
                                  << QVariant() << QString::fromUtf8(LanguageDisplayName("DE"))
                                  << "FR" << 0;
  }

  void readAtConstruction() {
    QFETCH(QVariant, source);
    QFETCH(QVariant, target);
    QFETCH(QString, sourceCode);
    QFETCH(QString, targetCode);
    QFETCH(int, sourceIndex);
    Store(source, target);
    CMainDlg dialog;
    QCOMPARE(QString::fromStdString(dialog.SourceLanguageCode()), sourceCode);
    QCOMPARE(QString::fromStdString(dialog.TargetLanguageCode()), targetCode);
    auto* sourceList = dialog.findChild<QComboBox*>(QStringLiteral("sourceLanguageList"));
    if (sourceIndex < 0) {
      QCOMPARE(sourceList->currentIndex(), -1);
    } else {
      const std::string code = dialog.SourceLanguageCode();
      QCOMPARE(sourceList->currentText(), QString::fromUtf8(LanguageDisplayName(code)));
    }
  }

  void writtenOnEveryWayOut_data() {
    QTest::addColumn<Way>("way");
    QTest::newRow("Exit confirmed") << Way::ExitButton;
    QTest::newRow("close box confirmed") << Way::CloseBox;
    QTest::newRow("Escape") << Way::Escape;
    QTest::newRow("destroyed while open") << Way::DestroyedOpen;
    QTest::newRow("SIGTERM") << Way::Terminate;
  }

  void writtenOnEveryWayOut() {
    QFETCH(Way, way);
    const QString txt = QDir(m_temp->path()).filePath(QStringLiteral("pair.txt"));
    uitest::WriteTxt(txt, 1, {"NL", "SV"});
    {
      auto dialog = std::make_unique<CMainDlg>();
      dialog->show();
      dialog->findChild<QLineEdit*>(QStringLiteral("txtPathEdit"))->setText(txt);
      QVERIFY(uitest::WaitUntilIdle(*dialog));
      QCOMPARE(dialog->SourceLanguageCode(), std::string("NL"));
      UserPrompts::QueueAnswer(PromptAnswer::Yes);
      QuitSignals quit;
      connect(&quit, &QuitSignals::quitRequested, dialog.get(), &CMainDlg::Terminate);
      switch (way) {
        case Way::ExitButton:
          dialog->findChild<QPushButton*>(QStringLiteral("exitButton"))->click();
          break;
        case Way::CloseBox:
          dialog->close();
          break;
        case Way::Escape:
          dialog->reject();
          break;
        case Way::DestroyedOpen:
          break;
        case Way::Terminate:
          QVERIFY(::raise(SIGTERM) == 0);
          QTRY_VERIFY(!dialog->isVisible());
          // Written at once: the process ends after this.
          QCOMPARE(Stored("SourceLang"), QStringLiteral("NL"));
          break;
      }
      QCOMPARE(dialog->isVisible(), way == Way::DestroyedOpen);
      // A preselection is no choice of the user's: nothing is written before the dialog goes.
      if (way != Way::Terminate) QCOMPARE(Stored("SourceLang"), QStringLiteral("<absent>"));
    }
    QCOMPARE(Stored("SourceLang"), QStringLiteral("NL"));
    QCOMPARE(Stored("TargetLang"), QStringLiteral("SV"));

    // And the next dialog starts with them.
    CMainDlg next;
    QCOMPARE(next.SourceLanguageCode(), std::string("NL"));
    QCOMPARE(next.TargetLanguageCode(), std::string("SV"));
    QCOMPARE(next.findChild<QComboBox*>(QStringLiteral("targetLanguageList"))->currentText(),
             QString::fromUtf8(LanguageDisplayName("SV")));
  }

  void emptyCodesAreWrittenAsEmpty() {
    Store(QVariant(""), QVariant("DE"));
    { CMainDlg dialog; }
    QCOMPARE(Stored("SourceLang"), QString());
    QCOMPARE(Stored("TargetLang"), QStringLiteral("DE"));
    const LanguageSettings read = LoadLanguageSettings();
    QVERIFY(read.sourceLang.isEmpty());
  }

  void aChangedListWithoutACommandKeepsTheOldCode() {
    {
      CMainDlg dialog;
      auto* target = dialog.findChild<QComboBox*>(QStringLiteral("targetLanguageList"));
      target->setCurrentIndex(target->findText(QString::fromUtf8(LanguageDisplayName("JA"))));
      QCOMPARE(dialog.TargetLanguageCode(), std::string("FR"));
    }
    QCOMPARE(Stored("TargetLang"), QStringLiteral("FR"));
  }

  void aLanguageChosenIsStoredAtOnce_data() {
    QTest::addColumn<QString>("typed");  // empty: the next entry chosen with the Down key
    QTest::addColumn<QString>("stored");
    QTest::newRow("chosen with the keyboard") << QString() << "<next>";
    QTest::newRow("name typed") << QString::fromUtf8(LanguageDisplayName("JA")) << "JA";
    // An unknown language has no code: the stored one stays.
    QTest::newRow("unknown language typed") << "Klingon"
                                            << "FR";
  }

  void aLanguageChosenIsStoredAtOnce() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Store(QVariant("EN-US"), QVariant("FR"));
    {
      CMainDlg dialog;
      dialog.show();
      dialog.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&dialog));
      auto* target = dialog.findChild<QComboBox*>(QStringLiteral("targetLanguageList"));
      target->setFocus();
      if (typed.isEmpty()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        stored = QString::fromStdString(dialog.TargetLanguageCode());
        QVERIFY(stored != QStringLiteral("FR"));
      } else {
        target->lineEdit()->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
      // Stored before any command ran or the dialog went.
      QCOMPARE(Stored("TargetLang"), stored);
      QCOMPARE(Stored("SourceLang"), QStringLiteral("EN-US"));
    }
    QCOMPARE(Stored("TargetLang"), stored);
  }

  void protectStoresTheCodesItUsed() {
    const QString dir = m_temp->path();
    {
      CMainDlg dialog;
      auto* target = dialog.findChild<QComboBox*>(QStringLiteral("targetLanguageList"));
      target->setCurrentIndex(target->findText(QString::fromUtf8(LanguageDisplayName("JA"))));
      dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit"))->setText(dir + "/absent.txt");
      dialog.findChild<QLineEdit*>(QStringLiteral("tmxPathEdit"))->setText(dir + "/absent.tmx");
      dialog.OnProtect();
      QCOMPARE(dialog.TargetLanguageCode(), std::string("JA"));
      QCOMPARE(dialog.TargetCodePage(), 932);
    }
    QCOMPARE(Stored("TargetLang"), QStringLiteral("JA"));
  }

  void allLanguagesIsKeptAsItsMarker() {
    const QString dir = m_temp->path();
    {
      CMainDlg dialog;
      auto* target = dialog.findChild<QComboBox*>(QStringLiteral("targetLanguageList"));
      target->setCurrentIndex(0);
      dialog.findChild<QLineEdit*>(QStringLiteral("txtPathEdit"))->setText(dir + "/absent.txt");
      dialog.findChild<QLineEdit*>(QStringLiteral("tmxPathEdit"))->setText(dir + "/absent.tmx");
      dialog.OnProtect();
      QVERIFY(uitest::WaitUntilIdle(dialog));
      QCOMPARE(dialog.TargetLanguageCode(), std::string("*"));
    }
    QCOMPARE(Stored("TargetLang"), QStringLiteral("*"));
    QCOMPARE(Stored("SourceLang"), QStringLiteral("EN-US"));

    // The next dialog starts with the entry chosen and no target encoding.
    CMainDlg next;
    QCOMPARE(next.TargetLanguageCode(), std::string(kAllLanguagesCode));
    QCOMPARE(next.TargetCodePage(), 0);
    auto* target = next.findChild<QComboBox*>(QStringLiteral("targetLanguageList"));
    QCOMPARE(target->currentIndex(), 0);
    QCOMPARE(target->currentText(), QString::fromUtf8(kAllLanguagesText));
    QCOMPARE(next.findChild<QComboBox*>(QStringLiteral("targetEncodingList"))->currentIndex(), -1);
    // The Source list has no such entry: the marker stored there selects nothing.
    Store(QVariant("*"), QVariant());
    CMainDlg third;
    QCOMPARE(third.findChild<QComboBox*>(QStringLiteral("sourceLanguageList"))->currentIndex(), -1);
  }

 private:
  std::unique_ptr<QTemporaryDir> m_temp;
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
