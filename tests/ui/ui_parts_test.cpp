// SPDX-License-Identifier: MIT
// Smaller parts of the desktop tool: the TMX name derived from the TXT name, the file dialogs'
// filters, the skipped units and the report's name in the result, the Target list's items, the
// scripted prompts, the About box and its links.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "ui/about_dialog.h"
#include "ui/dialog_look.h"
#include "ui/export_summary.h"
#include "ui/file_paths.h"
#include "ui/hyperlink.h"
#include "ui/main_dialog.h"
#include "ui/status_bar.h"
#include "ui/target_language_model.h"
#include "ui/translations.h"
#include "ui/ui_strings.h"
#include "ui/user_prompts.h"
#include "ui/web_addresses.h"
#include "ui_test_support.h"

// What a FIFO holds once its writer is done (read through a read end opened before it).
QByteArray Drain(int readEnd) {
  QByteArray bytes;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(readEnd, buffer, sizeof buffer)) > 0) bytes.append(buffer, n);
  ::close(readEnd);
  return bytes;
}

class UiPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { uitest::InitEnvironment(); }
  void init() { UserPrompts::ClearLog(); }

  void tmxPathFromTxtPath_data() {
    QTest::addColumn<QString>("txt");
    QTest::addColumn<QString>("tmx");
    QTest::newRow("extension replaced") << "/tm/legal.txt"
                                        << "/tm/legal.tmx";
    QTest::newRow("no extension") << "/tm/legal"
                                  << "/tm/legal.tmx";
    QTest::newRow("two dots") << "/tm/a.b.txt"
                              << "/tm/a.b.tmx";
    QTest::newRow("dot in the folder only") << "/tm.v2/legal"
                                            << "/tm.v2/legal.tmx";
    QTest::newRow("folder") << "/tm/"
                            << "/tm/.tmx";
    QTest::newRow("root") << "/"
                          << "/.tmx";
    QTest::newRow("hidden file") << "/tm/.hidden"
                                 << "/tm/.hidden.tmx";
    QTest::newRow("relative") << "legal.TXT"
                              << "legal.tmx";
    QTest::newRow("non-ASCII") << "/tm/\u00FCbersetzung.txt"
                               << "/tm/\u00FCbersetzung.tmx";
  }

  void tmxPathFromTxtPath() {
    QFETCH(QString, txt);
    QFETCH(QString, tmx);
    QCOMPARE(DeriveTmxPath(txt).value_or(QStringLiteral("<none>")), tmx);
  }

  void skippedUnitsByReason_data() {
    QTest::addColumn<qint64>("noSource");
    QTest::addColumn<qint64>("noTarget");
    QTest::addColumn<qint64>("unresolved");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << qint64(0) << qint64(0) << qint64(0) << QString();
    QTest::newRow("one") << qint64(0) << qint64(1) << qint64(0)
                         << "1 unit skipped (no target segment: 1)";
    QTest::newRow("unknown codes")
        << qint64(0) << qint64(0) << qint64(7) << "7 units skipped (unknown language code: 7)";
    QTest::newRow("all reasons")
        << qint64(2) << qint64(3) << qint64(4000000000)
        << "4000000005 units skipped (no source segment: 2, no target segment: 3, unknown "
           "language code: 4000000000)";
  }

  void skippedUnitsByReason() {
    QFETCH(qint64, noSource);
    QFETCH(qint64, noTarget);
    QFETCH(qint64, unresolved);
    QFETCH(QString, text);
    SkipCounts skipped;
    skipped.noSource = noSource;
    skipped.noTarget = noTarget;
    skipped.unresolved = unresolved;
    QCOMPARE(SkippedUnitsText(skipped), text);
  }

  void reportFindings() {
    ExportReport report;
    QVERIFY(!ReportHasFindings(report));
    report.unitsWritten = 5;
    QVERIFY(!ReportHasFindings(report));
    ExportReport skipped = report;
    skipped.skipped.unresolved = 1;
    QVERIFY(ReportHasFindings(skipped));
    for (ReportList ExportReport::*list :
         {&ExportReport::forbiddenCharacters, &ExportReport::invalidDates,
          &ExportReport::repeatedFields, &ExportReport::unpairedInline,
          &ExportReport::unknownCodeSegments, &ExportReport::repeatedSegments,
          &ExportReport::fieldsBetweenUnits}) {
      ExportReport changed = report;
      (changed.*list).Add(ReportEntry{3, {}, {}, 0});
      QVERIFY(ReportHasFindings(changed));
    }
  }

  void reportPathBesideTheTmx_data() {
    QTest::addColumn<QString>("tmx");
    QTest::addColumn<QString>("report");
    QTest::newRow("extension replaced") << "/tm/legal.tmx"
                                        << "/tm/legal.report.json";
    QTest::newRow("upper-case extension") << "/tm/legal.TMX"
                                          << "/tm/legal.report.json";
    QTest::newRow("other extension") << "/tm/legal.xml"
                                     << "/tm/legal.xml.report.json";
    QTest::newRow("no extension") << "/tm/legal"
                                  << "/tm/legal.report.json";
    QTest::newRow("two dots") << "/tm/a.b.tmx"
                              << "/tm/a.b.report.json";
  }

  void reportPathBesideTheTmx() {
    QFETCH(QString, tmx);
    QFETCH(QString, report);
    QCOMPARE(ReportPathFor(tmx), report);
  }

  // The report is written as the TMX file is: a replaced report keeps its mode and owner, a
  // link stays and its target is replaced, a FIFO is written into.
  void reportFileWrittenAsTheTmxIs_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("mode and owner kept") << "owned";
    QTest::newRow("link followed") << "link";
    QTest::newRow("FIFO written into") << "fifo";
  }

  void reportFileWrittenAsTheTmxIs() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    const QString report = dir.filePath(QStringLiteral("r.report.json"));
    const QByteArray target = folder + "/real.json";
    ExportReport content;
    content.txtPath = "a.txt";
    struct stat st {};
    if (kind == QLatin1String("owned")) {
      QFile old(report);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.close();
      QCOMPARE(::chmod(QFile::encodeName(report).constData(), 0600), 0);
      QVERIFY(::chown(QFile::encodeName(report).constData(), 4321, 4322) == 0 || ::geteuid() != 0);
      QVERIFY(WriteReportFile(report, content, nullptr));
      QCOMPARE(::stat(QFile::encodeName(report).constData(), &st), 0);
      QCOMPARE(st.st_mode & 0777, 0600u);
      if (::geteuid() == 0) QCOMPARE(st.st_uid, 4321u);
    } else if (kind == QLatin1String("link")) {
      QCOMPARE(::symlink("real.json", QFile::encodeName(report).constData()), 0);
      QVERIFY(WriteReportFile(report, content, nullptr));
      QCOMPARE(::lstat(QFile::encodeName(report).constData(), &st), 0);
      QVERIFY(S_ISLNK(st.st_mode));
      QFile written(QString::fromLocal8Bit(target));
      QVERIFY(written.open(QIODevice::ReadOnly));
      QVERIFY(written.readAll().contains("\"a.txt\""));
    } else {
      QCOMPARE(::mkfifo(QFile::encodeName(report).constData(), 0600), 0);
      // The read end is open first: the writer does not wait, and a report that replaced the
      // FIFO instead of going into it leaves it empty.
      const int readEnd = ::open(QFile::encodeName(report).constData(), O_RDONLY | O_NONBLOCK);
      QVERIFY(readEnd >= 0);
      const bool written = WriteReportFile(report, content, nullptr);
      const QByteArray received = Drain(readEnd);
      QVERIFY(written);
      QVERIFY(received.contains("\"a.txt\""));
      QCOMPARE(::lstat(QFile::encodeName(report).constData(), &st), 0);
      QVERIFY(S_ISFIFO(st.st_mode));
    }
  }

  void targetListModel_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("selectedCode");
    QTest::newRow("all languages") << "*"
                                   << "*";
    QTest::newRow("a language") << "DE"
                                << "DE";
    QTest::newRow("unknown code") << "XX"
                                  << "<none>";
    QTest::newRow("empty") << ""
                           << "<none>";
  }

  void targetListModel() {
    QFETCH(QString, code);
    QFETCH(QString, selectedCode);
    const ComboModel languages = LanguageComboModel(code.toStdString());
    const ComboModel target = TargetLanguageComboModel(code.toStdString());
    QCOMPARE(target.items.size(), languages.items.size() + 1);
    QCOMPARE(target.items.front().text, std::string(kAllLanguagesText));
    QCOMPARE(target.items.front().code, std::string(kAllLanguagesCode));
    QCOMPARE(target.items.back().code, languages.items.back().code);
    const QString selected = target.selected < 0
                                 ? QStringLiteral("<none>")
                                 : QString::fromStdString(target.items[target.selected].code);
    QCOMPARE(selected, selectedCode);
    // No catalogue language takes the marker.
    QCOMPARE(FindStringExact(languages, kAllLanguagesText), -1);
    for (const ComboItem& item : languages.items) QVERIFY(!IsAllLanguagesCode(item.code));
  }

  void pastedPathsAreCleanedUp_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "/tm/a.txt"
                           << "/tm/a.txt";
    QTest::newRow("blanks and line end") << " \t/tm/a.txt \r\n"
                                         << "/tm/a.txt";
    QTest::newRow("double quotes") << "\"/tm/a b.txt\""
                                   << "/tm/a b.txt";
    QTest::newRow("single quotes") << "'/tm/a.txt'"
                                   << "/tm/a.txt";
    QTest::newRow("blanks inside quotes") << "\" /tm/a.txt \""
                                          << "/tm/a.txt";
    QTest::newRow("unpaired quote kept") << "\"/tm/a.txt"
                                         << "\"/tm/a.txt";
    QTest::newRow("file URL") << "file:///tm/a.txt"
                              << "/tm/a.txt";
    QTest::newRow("file URL with escapes") << "file:///tm/a%20b%C3%BC.txt"
                                           << "/tm/a b\u00FC.txt";
    QTest::newRow("quoted file URL") << "'FILE:///tm/a.txt'"
                                     << "/tm/a.txt";
    QTest::newRow("empty") << "  "
                           << "";
  }

  void pastedPathsAreCleanedUp() {
    QFETCH(QString, pasted);
    QFETCH(QString, path);
    QCOMPARE(CleanPastedPath(pasted), path);
  }

  void tooLongTmxPathIsRefused() {
    const QString txt = QLatin1Char('/') + QString(int(kMaxTmxPathBytes), QLatin1Char('a'));
    QVERIFY(!DeriveTmxPath(txt).has_value());
    const QString fits = QLatin1Char('/') + QString(int(kMaxTmxPathBytes) - 5, QLatin1Char('a'));
    QCOMPARE(DeriveTmxPath(fits)->size(), qsizetype(kMaxTmxPathBytes));
  }

  void existenceOfPaths() {
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("x.txt"));
    QFile(file).open(QIODevice::WriteOnly);
    QVERIFY(PathExists(file));
    QVERIFY(PathExists(dir.path()));  // a folder passes too
    QVERIFY(!PathExists(file + QStringLiteral(".missing")));
    QVERIFY(!PathExists(QString()));
  }

  void fileDialogFilters() {
    QCOMPARE(QtFileFilter(LoadUiText(IDS_TXT_FILTER)),
             QStringLiteral("VELMAR\u00AE export files (*.txt);;All files (*.*)"));
    QCOMPARE(QtFileFilter(LoadUiText(IDS_TMX_FILTER)),
             QStringLiteral("TMX files (*.tmx);;All files (*.*)"));
    QCOMPARE(QtFileFilter("Both|*.txt;*.tmx||"), QStringLiteral("Both (*.txt *.tmx)"));
    QCOMPARE(QtFileFilter(""), QString());
  }

  void scriptedPromptsAnswerInOrder() {
    UserPrompts::QueueAnswer(PromptAnswer::Yes);
    QCOMPARE(UserPrompts::ShowMessage(nullptr, "a", PromptIcon::Question, PromptButtons::YesNo),
             PromptAnswer::Yes);
    // Nothing queued: a question gets No, an OK box Ok.
    QCOMPARE(UserPrompts::ShowMessage(nullptr, "b", PromptIcon::Question, PromptButtons::YesNo),
             PromptAnswer::No);
    QCOMPARE(UserPrompts::ShowMessage(nullptr, "c", PromptIcon::Information, PromptButtons::Ok),
             PromptAnswer::Ok);
    UserPrompts::SetDefaultQuestionAnswer(PromptAnswer::Yes);
    QCOMPARE(UserPrompts::ShowMessage(nullptr, "d", PromptIcon::Question, PromptButtons::YesNo),
             PromptAnswer::Yes);
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(4));
    QCOMPARE(UserPrompts::Messages()[2].text, QStringLiteral("c"));
    QCOMPARE(UserPrompts::Messages()[2].caption, QStringLiteral("VELMAR\u00AE 2 TMX"));
    UserPrompts::QueueFile(QStringLiteral("/x.txt"));
    UserPrompts::QueueFile(std::nullopt);
    QCOMPARE(UserPrompts::ChooseFile(nullptr, {}).value_or(QString()), QStringLiteral("/x.txt"));
    QVERIFY(!UserPrompts::ChooseFile(nullptr, {}).has_value());
    QVERIFY(!UserPrompts::ChooseFile(nullptr, {}).has_value());  // nothing queued: cancelled
  }

  void aboutBoxTextsAndLinks() {
    CAboutDlg about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About VELMAR\u00AE 2 TMX"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
    for (const char* expected :
         {"Converts VELMAR\u00AE translation memories to TMX 1.4 format", "Version " VELMAR_VERSION,
          "How to use VELMAR\u00AE 2 TMX:",
          "1. Export your VELMAR\u00AE translation memory to a VELMAR\u00AE TXT file",
          "2. Select the top [...] button and browse to your VELMAR\u00AE TXT file. The TMX file "
          "name and               location will be automatically generated with the same name "
          "and location",
          "3. Click the Protect button to create the TMX file",
          "4. Your translation memory is now secure", "To find out more visit:", "or"}) {
      QVERIFY2(texts.contains(QString::fromUtf8(expected)), expected);
    }
    // The two address links open what they show; the maker's name opens the home page.
    QCOMPARE(about.ProductLink()->objectName(), QStringLiteral("productLink"));
    QCOMPARE(about.ProductLink()->GetURL(), about.ProductLink()->text());
    QCOMPARE(about.StandardLink()->objectName(), QStringLiteral("standardLink"));
    QCOMPARE(about.StandardLink()->GetURL(), about.StandardLink()->text());
    QCOMPARE(about.StandardLink()->GetURL(), QString::fromUtf8(kTmxStandardPage));
    QCOMPARE(about.MakerLink()->objectName(), QStringLiteral("makerLink"));
    QCOMPARE(about.MakerLink()->text(), QString::fromUtf8(kMakerName));
    QCOMPARE(about.MakerLink()->GetURL(), QString::fromUtf8(kMakerHomePage));
    for (const CHyperLink* link : {about.ProductLink(), about.MakerLink()}) {
      QVERIFY(link->GetURL().startsWith(QStringLiteral("https://www.norvane.example/")));
    }
  }

  void runsInGermanUnderAGermanLocale() {
    if (qEnvironmentVariableIsSet("VELMAR_GERMAN_CHILD")) {
      // The child: started with LANG=de_DE.UTF-8, as a German desktop starts the tool.
      QVERIFY(InstallTranslations(QLocale::system()));
      CMainDlg dialog;
      QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("protectButton"))->text(),
               QString::fromUtf8("&Sch\u00FCtzen"));
      QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("browseTxtButton"))->accessibleName(),
               QStringLiteral("TXT-Datei w\u00E4hlen"));
      QCOMPARE(dialog.StatusBar()->PaneText(0), QStringLiteral("Bereit"));
      dialog.OnOK();
      QCOMPARE(UserPrompts::Messages().back().text,
               QStringLiteral("M\u00F6chten Sie das Programm wirklich beenden?"));
      // Qt's own texts (the Yes and No of the message boxes) are German as well.
      QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
      return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) {
      environment.remove(QString::fromLatin1(name));
    }
    environment.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    environment.insert(QStringLiteral("VELMAR_GERMAN_CHILD"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("runsInGermanUnderAGermanLocale")});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
  }

  void aboutBoxLinksAreReachedWithTab() {
    CAboutDlg about;
    about.show();
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    about.ProductLink()->setFocus();
    QStringList walked{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 3; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      walked << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walked, QStringList({"productLink", "standardLink", "makerLink", "okButton"}));
    // Space on a focused link opens it.
    QStringList opened;
    CHyperLink::SetOpener([&](const QString& target) {
      opened << target;
      return 33;
    });
    about.StandardLink()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    CHyperLink::SetOpener(nullptr);
    QCOMPARE(opened, QStringList({about.StandardLink()->GetURL()}));
  }

  void bannerIsSharpAtTwiceTheDensity() {
    const QPixmap normal = BannerPixmap(1.0);
    const QPixmap sharp = BannerPixmap(2.0);
    QVERIFY(!normal.isNull());
    QCOMPARE(sharp.devicePixelRatio(), 2.0);
    // Twice the pixels, the same size on the screen.
    QCOMPARE(sharp.size(), normal.size() * 2);
    QCOMPARE(sharp.deviceIndependentSize().toSize(), normal.size());
  }
};

QTEST_MAIN(UiPartsTest)
#include "ui_parts_test.moc"
