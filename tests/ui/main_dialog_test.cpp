// SPDX-License-Identifier: MIT
// The main dialog's commands: the TXT path change (TMX path, analysis, preselection), Protect,
// Analyse with the language dialog, the file dialogs, a dropped file, the context help and the
// controls as the user meets them.
#include "ui/main_dialog.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

#include "text/language_catalogue.h"
#include "ui/command_runner.h"
#include "ui/context_help.h"
#include "ui/hyperlink.h"
#include "ui/language_dialog.h"
#include "ui/progress_bar.h"
#include "ui/run_messages.h"
#include "ui/start_arguments.h"
#include "ui/status_bar.h"
#include "ui/target_language_model.h"
#include "ui/ui_strings.h"
#include "ui/ui_texts.h"
#include "ui/user_prompts.h"
#include "ui/web_addresses.h"
#include "ui_test_support.h"

namespace {

QString Text(int id) {
  return QString::fromUtf8(LoadUiText(id));
}

template <typename T>
T* Control(const QWidget& dialog, const char* id) {
  T* control = dialog.findChild<T*>(QString::fromLatin1(id));
  if (!control) qFatal("control %s missing", id);
  return control;
}

QString Name(const char* code) {
  return QString::fromUtf8(LanguageDisplayName(code));
}

// The xml:lang values of each <tu> of a TMX file, in order.
QList<QStringList> UnitLanguages(const QString& tmxPath) {
  QFile file(tmxPath);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QList<QStringList> units;
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("tu")) units.append(QStringList());
    if (xml.name() == QLatin1String("tuv") && !units.isEmpty()) {
      units.last() << xml.attributes().value(QStringLiteral("xml:lang")).toString();
    }
  }
  return units;
}

// What a Protect that writes nothing starts from.
enum class Setup { OtherLanguages, TxtMissing, TxtFolder, TmxFolderMissing, TmxIsTxt, NoUnits };

// One node of Qt's accessibility tree, as a screen reader meets it.
struct AccessibleNode {
  QAccessible::Role role;
  QString name;
  QString description;
  QString value;
};

// The visible nodes below an interface, depth first.
void WalkAccessibleTree(QAccessibleInterface* node, QList<AccessibleNode>& out) {
  for (int i = 0; i < node->childCount(); ++i) {
    QAccessibleInterface* child = node->child(i);
    if (!child || child->state().invisible) continue;
    out.append({child->role(), child->text(QAccessible::Name),
                child->text(QAccessible::Description), child->text(QAccessible::Value)});
    WalkAccessibleTree(child, out);
  }
}

QString AllLanguagesText() {
  return QString::fromUtf8(kAllLanguagesText);
}

}  // namespace

class MainDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { uitest::InitEnvironment(); }
  void init() {
    uitest::ResetState();
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    m_dir.setPath(m_temp->path());
  }

  void startsWithTheTemplateControls() {
    CMainDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("VELMAR\u00AE 2 TMX"));
    QVERIFY(dialog.windowFlags() & Qt::WindowContextHelpButtonHint);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(Control<QPushButton>(dialog, "aboutButton")->text(), QStringLiteral("&About..."));
    QCOMPARE(Control<QPushButton>(dialog, "analyseButton")->text(), QStringLiteral("A&nalyse"));
    QCOMPARE(Control<QPushButton>(dialog, "protectButton")->text(), QStringLiteral("&Protect"));
    QCOMPARE(Control<QPushButton>(dialog, "exitButton")->text(), QStringLiteral("E&xit"));
    QVERIFY(Control<QPushButton>(dialog, "exitButton")->isDefault());
    QCOMPARE(Control<QPushButton>(dialog, "browseTxtButton")->text(), QStringLiteral("..."));
    QCOMPARE(Control<QPushButton>(dialog, "browseTmxButton")->text(), QStringLiteral("..."));

    // Access keys of the labels lead to their fields.
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->buddy()) labels << label->text() + "->" + label->buddy()->objectName();
    }
    labels.sort();
    QCOMPARE(labels, QStringList({QStringLiteral("&Source->sourceLanguageList"),
                                  QStringLiteral("&Target->targetLanguageList"),
                                  QStringLiteral("T&MX file->tmxPathEdit"),
                                  QStringLiteral("V&ELMAR\u00AE file->txtPathEdit")}));
    QStringList frames;
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>()) frames << box->title();
    frames.sort();
    QCOMPARE(frames, QStringList({QStringLiteral("&Files"), QStringLiteral("&Languages")}));

    // The encoding lists exist but are never shown.
    dialog.show();
    QVERIFY(!Control<QComboBox>(dialog, "sourceEncodingList")->isVisible());
    QVERIFY(!Control<QComboBox>(dialog, "targetEncodingList")->isVisible());
    QCOMPARE(Control<QComboBox>(dialog, "sourceEncodingList")->currentText(),
             QString::fromUtf8(CodePageName(1252)));

    // Status bar: "Idle" in a pane 300 pixels narrower than the dialog; no percentage while
    // nothing runs.
    CStatusBar* status = dialog.StatusBar();
    QCOMPARE(status->PaneCount(), 2);
    QCOMPARE(status->PaneText(0), QStringLiteral("Idle"));
    QCOMPARE(status->PaneText(1), QString());
    QCOMPARE(status->GetItemRect(0).width(), dialog.width() - 300);

    // The link, and the notice in a smaller italic face.
    auto* link = Control<CHyperLink>(dialog, "certificationLink");
    QCOMPARE(link->text(), QStringLiteral("TMX Certification"));
    QCOMPARE(link->GetURL(), QString::fromUtf8(kTmxProductPage));
    QCOMPARE(link->toolTip(), QString::fromUtf8(kTmxProductPage));
    QVERIFY(link->GetURL().startsWith(QStringLiteral("https://www.norvane.example/")));
    auto* notice = Control<QLabel>(dialog, "trademarkNotice");
    QVERIFY(notice->font().italic());
    QCOMPARE(QFontInfo(notice->font()).pixelSize(), QFontInfo(dialog.font()).pixelSize() - 2);
  }

  void accessibilityTreeNamesEveryControl() {
    CMainDlg dialog;
    dialog.show();
    QList<AccessibleNode> nodes;
    WalkAccessibleTree(QAccessible::queryAccessibleInterface(&dialog), nodes);
    QStringList named;
    for (const AccessibleNode& node : nodes) {
      switch (node.role) {
        case QAccessible::PushButton:
        case QAccessible::EditableText:
        case QAccessible::ComboBox:
        case QAccessible::Link:
        case QAccessible::StatusBar:
          // Every control a user can reach has a name and says what it does.
          QVERIFY2(!node.name.isEmpty(), qPrintable(QString::number(node.role)));
          QVERIFY2(!node.description.isEmpty(), qPrintable(node.name));
          named << node.name;
          break;
        default:
          break;
      }
    }
    for (const char* expected : {"Choose the TXT file", "Choose the TMX file", "VELMAR\u00AE file",
                                 "TMX file", "Source language", "Target language", "About",
                                 "Analyse", "Protect", "Exit", "TMX Certification", "Status"}) {
      QVERIFY2(named.contains(QString::fromUtf8(expected)), expected);
    }
    // The status bar is one, and its text is its value.
    const auto status = std::find_if(nodes.begin(), nodes.end(), [](const AccessibleNode& n) {
      return n.role == QAccessible::StatusBar;
    });
    QVERIFY(status != nodes.end());
    QCOMPARE(status->value, QStringLiteral("Idle"));

    // During a run the progress bar is in the tree with its name and value.
    const QString txt = m_dir.filePath(QStringLiteral("access.txt"));
    uitest::WriteTxt(txt, 300, {"EN-US", "DE"});
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QList<AccessibleNode> during;
    QMetaObject::Connection first;
    first = connect(dialog.findChild<CommandRunner*>(), &CommandRunner::positionChanged, this, [&] {
      disconnect(first);
      WalkAccessibleTree(QAccessible::queryAccessibleInterface(&dialog), during);
    });
    QTest::mouseClick(Control<QPushButton>(dialog, "protectButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    const auto bar = std::find_if(during.begin(), during.end(), [](const AccessibleNode& n) {
      return n.role == QAccessible::ProgressBar;
    });
    QVERIFY(bar != during.end());
    QCOMPARE(bar->name, QStringLiteral("Progress"));
    const auto busy = std::find_if(during.begin(), during.end(), [](const AccessibleNode& n) {
      return n.role == QAccessible::StatusBar;
    });
    QVERIFY(busy != during.end());
    QVERIFY2(busy->value.startsWith(QStringLiteral("Exporting...")), qPrintable(busy->value));
    const auto cancel = std::find_if(during.begin(), during.end(), [](const AccessibleNode& n) {
      return n.name == QStringLiteral("Cancel the conversion");
    });
    QVERIFY(cancel != during.end());
  }

  void usesTheDesktopsFont() {
    QFont desktop = QApplication::font("QDialog");
    desktop.setPointSize(desktop.pointSize() + 3);
    QApplication::setFont(desktop, "QDialog");
    CMainDlg dialog;
    QApplication::setFont(QFont(), "QDialog");
    QCOMPARE(dialog.font().pointSize(), desktop.pointSize());
    QCOMPARE(dialog.font().family(), desktop.family());
  }

  void tabOrderFollowsTheTemplate() {
    CMainDlg dialog;
    dialog.show();
    QStringList order;
    QWidget* start = Control<QLineEdit>(dialog, "txtPathEdit");
    QWidget* w = start;
    do {
      if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
          !w->objectName().isEmpty()) {
        order << w->objectName();
      }
      w = w->nextInFocusChain();
    } while (w != start);
    QCOMPARE(order,
             QStringList({"txtPathEdit", "browseTxtButton", "tmxPathEdit", "browseTmxButton",
                          "sourceLanguageList", "targetLanguageList", "aboutButton",
                          "analyseButton", "protectButton", "exitButton", "certificationLink"}));
  }

  void startsWithTheStoredLanguagesSelected() {
    CMainDlg dialog;
    QCOMPARE(Control<QComboBox>(dialog, "sourceLanguageList")->currentText(), Name("EN-US"));
    QCOMPARE(Control<QComboBox>(dialog, "targetLanguageList")->currentText(), Name("FR"));
    QCOMPARE(dialog.SourceLanguageCode(), std::string("EN-US"));
    QCOMPARE(dialog.TargetLanguageCode(), std::string("FR"));
    QCOMPARE(dialog.SourceCodePage(), 1252);
    QCOMPARE(dialog.TargetCodePage(), 1252);
  }

  void txtPathChangeAnalysesAndPreselects_data() {
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("sourceCode");
    QTest::addColumn<QString>("targetCode");
    QTest::addColumn<int>("sourceCodePage");
    QTest::addColumn<int>("targetCodePage");
    QTest::newRow("two languages") << QStringList{"EN-US", "DE"} << "EN-US"
                                   << "DE" << 1252 << 1252;
    QTest::newRow("first two of three") << QStringList{"RU", "EL", "DE"} << "RU"
                                        << "EL" << 1251 << 1253;
    // One language changes only the source; the target keeps the stored "FR".
    QTest::newRow("one language") << QStringList{"PL"} << "PL"
                                  << "FR" << 1250 << 1252;
    // Other code forms are resolved to the catalogue's codes.
    QTest::newRow("underscore codes") << QStringList{"DE_CH", "EN_GB"} << "DE-CH"
                                      << "EN-GB" << 1252 << 1252;
  }

  void txtPathChangeAnalysesAndPreselects() {
    QFETCH(QStringList, codes);
    QFETCH(QString, sourceCode);
    QFETCH(QString, targetCode);
    QFETCH(int, sourceCodePage);
    QFETCH(int, targetCodePage);
    const QString txt = m_dir.filePath(QStringLiteral("memory.txt"));
    uitest::WriteTxt(txt, 3, codes);

    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));

    QCOMPARE(Control<QLineEdit>(dialog, "tmxPathEdit")->text(), m_dir.filePath("memory.tmx"));
    QCOMPARE(QString::fromStdString(dialog.SourceLanguageCode()), sourceCode);
    QCOMPARE(QString::fromStdString(dialog.TargetLanguageCode()), targetCode);
    QCOMPARE(dialog.SourceCodePage(), sourceCodePage);
    QCOMPARE(dialog.TargetCodePage(), targetCodePage);
    QCOMPARE(Control<QComboBox>(dialog, "sourceLanguageList")->currentText(),
             Name(sourceCode.toLatin1().constData()));
    QCOMPARE(Control<QComboBox>(dialog, "targetLanguageList")->currentText(),
             Name(targetCode.toLatin1().constData()));
    QCOMPARE(Control<QComboBox>(dialog, "sourceEncodingList")->currentText(),
             QString::fromUtf8(CodePageName(static_cast<unsigned>(sourceCodePage))));
    QCOMPARE(Control<QComboBox>(dialog, "targetEncodingList")->currentText(),
             QString::fromUtf8(CodePageName(static_cast<unsigned>(targetCodePage))));
    // The analysis left its last text in pane 1, its bar is gone, the buttons are free again.
    QCOMPARE(dialog.StatusBar()->PaneText(1), QString());
    QVERIFY(dialog.StatusBar()->findChildren<QProgressBar*>().isEmpty());
    QVERIFY(!dialog.IsBusy());
    QVERIFY(Control<QPushButton>(dialog, "analyseButton")->isEnabled());
    QVERIFY(Control<QPushButton>(dialog, "protectButton")->isEnabled());
    QVERIFY(UserPrompts::Messages().empty());
  }

  // velmar2tmx FILE (a file manager's "Open with"): the dialog starts as if FILE was typed.
  void startArgumentFillsTheTxtField() {
    const QString txt = m_dir.filePath(QStringLiteral("opened.txt"));
    uitest::WriteTxt(txt, 2, {QStringLiteral("RU"), QStringLiteral("EL")});
    const StartArguments start = ParseStartArguments({txt});
    QCOMPARE(start.action, StartArguments::Action::Run);
    QCOMPARE(start.txtPath, txt);

    CMainDlg dialog;
    ApplyStartArguments(dialog, start);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(Control<QLineEdit>(dialog, "txtPathEdit")->text(), txt);
    QCOMPARE(Control<QLineEdit>(dialog, "tmxPathEdit")->text(), m_dir.filePath("opened.tmx"));
    QCOMPARE(QString::fromStdString(dialog.SourceLanguageCode()), QStringLiteral("RU"));
    QCOMPARE(QString::fromStdString(dialog.TargetLanguageCode()), QStringLiteral("EL"));
  }

  void startArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("txtPath");
    QTest::addColumn<QString>("problem");
    const int run = int(StartArguments::Action::Run);
    const int usage = int(StartArguments::Action::Usage);
    QTest::newRow("none") << QStringList{} << run << ""
                          << "";
    QTest::newRow("file") << QStringList{"a.txt"} << run << "a.txt"
                          << "";
    QTest::newRow("file after --") << QStringList{"--", "-a.txt"} << run << "-a.txt"
                                   << "";
    QTest::newRow("lone dash is a name") << QStringList{"-"} << run << "-"
                                         << "";
    QTest::newRow("help") << QStringList{"--help"} << int(StartArguments::Action::Help) << ""
                          << "";
    QTest::newRow("short help") << QStringList{"a.txt", "-h"} << int(StartArguments::Action::Help)
                                << "a.txt"
                                << "";
    QTest::newRow("version") << QStringList{"--version"} << int(StartArguments::Action::Version)
                             << ""
                             << "";
    QTest::newRow("unknown long option") << QStringList{"--bogus"} << usage << ""
                                         << "unknown option '--bogus'";
    QTest::newRow("unknown short option") << QStringList{"a.txt", "-x"} << usage << "a.txt"
                                          << "unknown option '-x'";
    QTest::newRow("two files") << QStringList{"a.txt", "b.txt"} << usage << "a.txt"
                               << "only one TXT file can be given";
    QTest::newRow("Qt's options passed over")
        << QStringList{"-platform", "offscreen", "--style", "Fusion", "-reverse", "a.txt"} << run
        << "a.txt"
        << "";
    QTest::newRow("Qt's option value is no file")
        << QStringList{"a.txt", "-qwindowtitle", "b"} << run << "a.txt"
        << "";
  }

  void startArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, txtPath);
    QFETCH(QString, problem);
    const StartArguments start = ParseStartArguments(arguments);
    QCOMPARE(int(start.action), action);
    QCOMPARE(start.txtPath, txtPath);
    QCOMPARE(start.problem, problem);
  }

  void unknownOptionGivesUsageAndStatusTwo() {
    const StartArguments start = ParseStartArguments({QStringLiteral("--bogus")});
    QCOMPARE(AnswerStartArguments(start), std::optional<int>(2));
    QVERIFY(
        StartUsageText().startsWith(QStringLiteral("Usage: velmar2tmx [OPTION]... [TXT-FILE]")));
    QVERIFY(StartHelpText().contains(QStringLiteral("--version")));
    QVERIFY(StartVersionText().contains(QStringLiteral(VELMAR_VERSION)));
    // A run needs the dialog: nothing to answer.
    QCOMPARE(AnswerStartArguments(ParseStartArguments({})), std::nullopt);
  }

  void typingAPathLetterByLetter() {
    const QString txt = m_dir.filePath(QStringLiteral("typed.txt"));
    uitest::WriteTxt(txt, 2, {"EN-US", "IT"});
    CMainDlg dialog;
    dialog.show();
    auto* tmxEdit = Control<QLineEdit>(dialog, "tmxPathEdit");
    QStringList tmxNames;
    connect(tmxEdit, &QLineEdit::textChanged, this, [&](const QString& t) { tmxNames << t; });
    int analyses = 0;
    connect(dialog.findChild<CommandRunner*>(), &CommandRunner::analysisFinished, this,
            [&] { ++analyses; });
    // Typed with a pause after each folder of the path, as a user types.
    const QStringList parts = txt.split(QLatin1Char('/'));
    for (int i = 0; i < parts.size(); ++i) {
      const QString part = i + 1 < parts.size() ? parts[i] + QLatin1Char('/') : parts[i];
      QTest::keyClicks(Control<QLineEdit>(dialog, "txtPathEdit"), part);
      if (i + 1 < parts.size()) QTest::qWait(CMainDlg::kPathPauseMs + 100);
    }
    QVERIFY(uitest::WaitUntilIdle(dialog));
    // Folders are neither analysed nor give a TMX name: only the file does.
    QVERIFY(UserPrompts::Messages().empty());
    QCOMPARE(tmxNames, QStringList({m_dir.filePath("typed.tmx")}));
    QCOMPARE(analyses, 1);
    QCOMPARE(tmxEdit->text(), m_dir.filePath("typed.tmx"));
    QCOMPARE(dialog.TargetLanguageCode(), std::string("IT"));
  }

  void enterTakesATypedPathAtOnce() {
    const QString txt = m_dir.filePath(QStringLiteral("entered.txt"));
    uitest::WriteTxt(txt, 2, {"EN-US", "IT"});
    CMainDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* txtEdit = Control<QLineEdit>(dialog, "txtPathEdit");
    txtEdit->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), txt);
    QVERIFY(dialog.PathChangePending());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // Taken without the pause, and no question about leaving.
    QVERIFY(!dialog.PathChangePending());
    QCOMPARE(Control<QLineEdit>(dialog, "tmxPathEdit")->text(), m_dir.filePath("entered.tmx"));
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QVERIFY(UserPrompts::Messages().empty());
    QVERIFY(dialog.isVisible());
  }

  void pathThatNamesNothingChangesNothing() {
    CMainDlg dialog;
    auto* tmxEdit = Control<QLineEdit>(dialog, "tmxPathEdit");
    tmxEdit->setText(QStringLiteral("/chosen/by/hand.tmx"));
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(m_dir.filePath("missing.txt"));
    QCOMPARE(tmxEdit->text(), QStringLiteral("/chosen/by/hand.tmx"));
    QCOMPARE(dialog.SourceLanguageCode(), std::string("EN-US"));
    QCOMPARE(dialog.StatusBar()->PaneText(1), QString());
  }

  void fileWithoutExtensionAndWithTwoDots_data() {
    QTest::addColumn<QString>("txtName");
    QTest::addColumn<QString>("tmxName");
    QTest::newRow("no extension") << "legal"
                                  << "legal.tmx";
    QTest::newRow("two dots") << "a.b.txt"
                              << "a.b.tmx";
    // A dot that begins the name starts no extension, as on the command line.
    QTest::newRow("hidden file") << ".hidden"
                                 << ".hidden.tmx";
    QTest::newRow("hidden file with extension") << ".hidden.txt"
                                                << ".hidden.tmx";
  }

  void fileWithoutExtensionAndWithTwoDots() {
    QFETCH(QString, txtName);
    QFETCH(QString, tmxName);
    uitest::WriteTxt(m_dir.filePath(txtName), 1, {"EN-US", "DE"});
    CMainDlg dialog;
    auto* tmxEdit = Control<QLineEdit>(dialog, "tmxPathEdit");
    tmxEdit->setText(QStringLiteral("/chosen/by/hand.tmx"));
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(m_dir.filePath(txtName));
    QVERIFY(uitest::WaitUntilIdle(dialog));
    // The derived name replaces a TMX path chosen by hand.
    QCOMPARE(tmxEdit->text(), m_dir.filePath(tmxName));
  }

  void protectWritesAValidTmxAndReportsTheCount() {
    const QString txt = m_dir.filePath(QStringLiteral("protect.txt"));
    const QString tmx = m_dir.filePath(QStringLiteral("protect.tmx"));
    uitest::WriteTxt(txt, 3, {"EN-US", "DE"});
    CMainDlg dialog;
    dialog.show();
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QTest::mouseClick(Control<QPushButton>(dialog, "protectButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));

    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    const ShownMessage& shown = UserPrompts::Messages().front();
    QCOMPARE(shown.caption, QStringLiteral("VELMAR\u00AE 2 TMX"));
    QCOMPARE(shown.icon, PromptIcon::Information);
    QCOMPARE(shown.text,
             QStringLiteral("Finished exporting.\nNumber of translation units written to TMX: "
                            "3\nYour translation memory is now secure."));
    VERIFY_VALID_TMX(tmx);
    // Afterwards: pane 1 empty, pane 0 back to "Idle", no bar, no wait cursor, buttons free.
    QCOMPARE(dialog.StatusBar()->PaneText(1), QString());
    QCOMPARE(dialog.StatusBar()->PaneText(0), QStringLiteral("Idle"));
    QVERIFY(dialog.StatusBar()->findChildren<QProgressBar*>().isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(Control<QPushButton>(dialog, "protectButton")->isEnabled());
  }

  void protectShowsTheBusyStateWhileItRuns() {
    const QString txt = m_dir.filePath(QStringLiteral("busy.txt"));
    uitest::WriteTxt(txt, 300, {"EN-US", "DE"});
    CMainDlg dialog;
    dialog.show();
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));

    bool sawBusy = false;
    QString pane0, pane1;
    bool analyseEnabled = true, protectEnabled = true, exitEnabled = false, waitCursor = false;
    bool barVisible = false, cancelShown = false;
    QString title;
    // Runs at the first progress the worker reports, after the dialog has shown it.
    auto* runner = dialog.findChild<CommandRunner*>();
    QVERIFY(runner);
    QMetaObject::Connection first;
    first = connect(runner, &CommandRunner::positionChanged, this, [&] {
      disconnect(first);
      sawBusy = dialog.IsBusy();
      pane0 = dialog.StatusBar()->PaneText(0);
      pane1 = dialog.StatusBar()->PaneText(1);
      analyseEnabled = Control<QPushButton>(dialog, "analyseButton")->isEnabled();
      protectEnabled = Control<QPushButton>(dialog, "protectButton")->isEnabled();
      exitEnabled = Control<QPushButton>(dialog, "exitButton")->isEnabled();
      const QCursor* cursor = QGuiApplication::overrideCursor();
      waitCursor = cursor && cursor->shape() == Qt::WaitCursor;
      const auto bars = dialog.StatusBar()->findChildren<QProgressBar*>();
      barVisible = bars.size() == 1 && bars.front()->isVisible();
      cancelShown = Control<QPushButton>(dialog, "cancelButton")->isVisible();
      title = dialog.windowTitle();
    });
    QTest::mouseClick(Control<QPushButton>(dialog, "protectButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));

    QVERIFY(sawBusy);
    QCOMPARE(pane0, QStringLiteral("Exporting..."));
    QVERIFY2(pane1.endsWith(QLatin1Char('%')), qPrintable(pane1));
    QVERIFY(!analyseEnabled);
    QVERIFY(!protectEnabled);
    QVERIFY(exitEnabled);
    QVERIFY(waitCursor);
    QVERIFY(barVisible);
    // Cancel in the place of Protect, the percentage in the title.
    QVERIFY(cancelShown);
    QVERIFY2(
        QRegularExpression(QStringLiteral("^\\d+% - VELMAR\u00AE 2 TMX$")).match(title).hasMatch(),
        qPrintable(title));
    QVERIFY(!Control<QPushButton>(dialog, "cancelButton")->isVisible());
    QVERIFY(Control<QPushButton>(dialog, "protectButton")->isVisible());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("VELMAR\u00AE 2 TMX"));
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QVERIFY(UserPrompts::Messages().front().text.contains(QStringLiteral(": 300\n")));
    QVERIFY(UserPrompts::Messages().front().text.contains(QStringLiteral("translation units")));
  }

  void txtPathChangedDuringProtectIsAnalysedAfterIt() {
    const QString first = m_dir.filePath(QStringLiteral("first.txt"));
    const QString second = m_dir.filePath(QStringLiteral("second.txt"));
    uitest::WriteTxt(first, 200, {"EN-US", "DE"});
    uitest::WriteTxt(second, 1, {"EN-US", "PT-BR"});
    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(first);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QTest::mouseClick(Control<QPushButton>(dialog, "protectButton"), Qt::LeftButton);
    QVERIFY(dialog.IsBusy());
    // The TMX name follows after the pause; the conversion keeps the names it started with.
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(second);
    QTRY_COMPARE(Control<QLineEdit>(dialog, "tmxPathEdit")->text(), m_dir.filePath("second.tmx"));
    if (dialog.IsBusy()) QCOMPARE(dialog.TargetLanguageCode(), std::string("DE"));
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QVERIFY(UserPrompts::Messages().front().text.contains(QStringLiteral(": 200\n")));
    VERIFY_VALID_TMX(m_dir.filePath("first.tmx"));
    QVERIFY(!QFile::exists(m_dir.filePath("second.tmx")));
    // Then the new file was analysed.
    QCOMPARE(dialog.TargetLanguageCode(), std::string("PT-BR"));
    QCOMPARE(dialog.StatusBar()->PaneText(1), QString());
  }

  void protectWithEmptyPaths_data() {
    QTest::addColumn<bool>("withTxt");
    QTest::addColumn<int>("message");
    QTest::newRow("no TXT path") << false << IDS_NEED_TXT;
    QTest::newRow("no TMX path") << true << IDS_NEED_TMX;
  }

  void protectWithEmptyPaths() {
    QFETCH(bool, withTxt);
    QFETCH(int, message);
    CMainDlg dialog;
    if (withTxt) Control<QLineEdit>(dialog, "txtPathEdit")->setText(m_dir.filePath("nothing.txt"));
    dialog.OnProtect();
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QCOMPARE(UserPrompts::Messages().front().text, Text(message));
    QCOMPARE(UserPrompts::Messages().front().icon, PromptIcon::Exclamation);
    QVERIFY(!dialog.IsBusy());
    QVERIFY(uitest::FolderEntries(m_dir.path()).isEmpty());
  }

  void protectThatWritesNothing_data() {
    QTest::addColumn<int>("setup");
    QTest::addColumn<QString>("first");  // the message's start (%1 the TXT path, %2 the TMX path)
    QTest::addColumn<PromptIcon>("icon");
    QTest::addColumn<QString>("skipped");
    const QString unreadable = QStringLiteral("The TXT file %1 cannot be read: ");
    // The file was read but lacks the chosen pair: 0 units, and the advice on the languages.
    QTest::newRow("languages not in the file")
        << int(Setup::OtherLanguages) << RunMessages::NothingExported() << PromptIcon::Information
        << "\n\n2 units skipped (no source segment: 2)";
    // A failure names its cause first, in plain words, with a warning.
    QTest::newRow("TXT file missing")
        << int(Setup::TxtMissing) << unreadable + "no such file or directory."
        << PromptIcon::Exclamation << "";
    QTest::newRow("TXT is a folder")
        << int(Setup::TxtFolder) << unreadable + "it is a folder." << PromptIcon::Exclamation << "";
    QTest::newRow("TMX folder missing")
        << int(Setup::TmxFolderMissing)
        << "The TMX file %2 cannot be written: no such file or directory."
        << PromptIcon::Exclamation << "";
    QTest::newRow("TMX is the TXT file")
        << int(Setup::TmxIsTxt)
        << "The TMX file %1 is the TXT file itself. Choose another name for the TMX file."
        << PromptIcon::Exclamation << "";
    QTest::newRow("no language at all")
        << int(Setup::NoUnits)
        << "No language was found in %1: it is not a Velmar Vovuzaduz TXT export."
        << PromptIcon::Exclamation << "";
  }

  void protectThatWritesNothing() {
    QFETCH(int, setup);
    QFETCH(QString, first);
    QFETCH(PromptIcon, icon);
    QFETCH(QString, skipped);
    const QString txt = m_dir.filePath(QStringLiteral("other.txt"));
    QString tmx = m_dir.filePath(QStringLiteral("other.tmx"));
    switch (Setup(setup)) {
      case Setup::OtherLanguages:
        uitest::WriteTxt(txt, 2, {"ES", "IT"});
        break;
      case Setup::TxtMissing:
        break;
      case Setup::TxtFolder:
        QVERIFY(QDir().mkdir(txt));
        break;
      case Setup::TmxFolderMissing:
        uitest::WriteTxt(txt, 2, {"EN-US", "FR"});
        tmx = m_dir.filePath(QStringLiteral("gone/other.tmx"));
        break;
      case Setup::TmxIsTxt:
        uitest::WriteTxt(txt, 2, {"EN-US", "FR"});
        tmx = txt;
        break;
      case Setup::NoUnits:
        uitest::WriteTxt(txt, 0, {"EN-US", "FR"});
        break;
    }
    CMainDlg dialog;
    // The stored EN-US and FR stay selected: a one-entry file would change only the source.
    Control<QLineEdit>(dialog, "txtPathEdit")->blockSignals(true);
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    Control<QLineEdit>(dialog, "tmxPathEdit")->setText(tmx);
    dialog.OnProtect();
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    const QString shown = UserPrompts::Messages().front().text;
    const QString expected =
        QString(first).replace(QStringLiteral("%1"), txt).replace(QStringLiteral("%2"), tmx);
    QVERIFY2(shown.startsWith(expected + skipped), qPrintable(shown));
    QCOMPARE(shown.contains(QStringLiteral(" skipped (")), !skipped.isEmpty());
    QCOMPARE(UserPrompts::Messages().front().buttons, PromptButtons::Ok);
    QCOMPARE(UserPrompts::Messages().front().icon, icon);
    // The advice about the languages is only for a file that was read.
    QCOMPARE(shown.contains(QStringLiteral("Analyse")), Setup(setup) == Setup::OtherLanguages);
    if (Setup(setup) != Setup::TmxIsTxt) QVERIFY(!QFile::exists(tmx));
  }

  void failedRunsLeaveTheStatusIdle_data() {
    QTest::addColumn<bool>("protect");
    QTest::newRow("Protect") << true;
    QTest::newRow("Analyse") << false;
  }

  void failedRunsLeaveTheStatusIdle() {
    QFETCH(bool, protect);
    // A TMX file in a missing folder: the conversion fails after it has started. A folder as the
    // TXT file: the analysis is refused with the cause.
    const QString folder = m_dir.filePath(QStringLiteral("folder.txt"));
    const QString txt = m_dir.filePath(QStringLiteral("file.txt"));
    const QString tmx = m_dir.filePath(QStringLiteral("gone/folder.tmx"));
    QVERIFY(QDir().mkdir(folder));
    uitest::WriteTxt(txt, 1, {"EN-US", "FR"});
    CMainDlg dialog;
    dialog.show();
    bool ran = false;
    dialog.SetLanguageDialogRunner([&](CLanguageDlg&) {
      ran = true;
      return int(QDialog::Rejected);
    });
    Control<QLineEdit>(dialog, "txtPathEdit")->blockSignals(true);
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(protect ? txt : folder);
    Control<QLineEdit>(dialog, "tmxPathEdit")->setText(tmx);
    if (protect) {
      dialog.OnProtect();
    } else {
      dialog.OnAnalyse();
    }
    QVERIFY(uitest::WaitUntilIdle(dialog));
    if (protect) {
      QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
      QVERIFY(UserPrompts::Messages().front().text.contains(tmx));
    } else {
      QVERIFY(!ran);
      QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
      QVERIFY(UserPrompts::Messages().front().text.contains(folder));
    }
    QCOMPARE(dialog.StatusBar()->PaneText(0), QStringLiteral("Idle"));
    QCOMPARE(dialog.StatusBar()->PaneText(1), QString());
    QVERIFY(dialog.StatusBar()->findChildren<QProgressBar*>().isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(Control<QPushButton>(dialog, "protectButton")->isEnabled());
    QVERIFY(!QFile::exists(tmx));
  }

  void failedProtectKeepsAnExistingTmxAndSaysSo_data() {
    QTest::addColumn<bool>("tmxExists");
    QTest::newRow("TMX file exists") << true;
    QTest::newRow("no TMX file") << false;
  }

  void failedProtectKeepsAnExistingTmxAndSaysSo() {
    QFETCH(bool, tmxExists);
    // A file without units: it is read, and nothing is written.
    const QString empty = m_dir.filePath(QStringLiteral("empty.txt"));
    const QString tmx = m_dir.filePath(QStringLiteral("empty.tmx"));
    uitest::WriteTxt(empty, 0, {"EN-US", "FR"});
    if (tmxExists) {
      QFile old(tmx);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("old content");
    }
    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->blockSignals(true);
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(empty);
    Control<QLineEdit>(dialog, "tmxPathEdit")->setText(tmx);
    dialog.OnProtect();
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    const QString shown = UserPrompts::Messages().front().text;
    QVERIFY(shown.startsWith(RunMessages::NotAnExport(empty)));
    const QString kept = QString::fromUtf8(kExistingTmxKept).arg(tmx);
    QCOMPARE(shown.endsWith(QStringLiteral("\n\n") + kept), tmxExists);
    QCOMPARE(QFile::exists(tmx), tmxExists);
    if (tmxExists) {
      QFile old(tmx);
      QVERIFY(old.open(QIODevice::ReadOnly));
      QCOMPARE(old.readAll(), QByteArray("old content"));
    }
  }

  void replacingADerivedTmxAsksFirst_data() {
    QTest::addColumn<bool>("chosenInFileDialog");
    QTest::addColumn<PromptAnswer>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<bool>("txtGone");  // the TXT file went away after it was analysed
    QTest::newRow("derived, yes") << false << PromptAnswer::Yes << true << true << false;
    QTest::newRow("derived, no") << false << PromptAnswer::No << true << false << false;
    // The file dialog asked already.
    QTest::newRow("chosen") << true << PromptAnswer::No << false << true << false;
    // Nothing is asked about a TMX file that a TXT file that cannot be read would not replace.
    QTest::newRow("derived, TXT gone") << false << PromptAnswer::Yes << false << false << true;
  }

  void replacingADerivedTmxAsksFirst() {
    QFETCH(bool, chosenInFileDialog);
    QFETCH(PromptAnswer, answer);
    QFETCH(bool, asked);
    QFETCH(bool, replaced);
    QFETCH(bool, txtGone);
    const QString txt = m_dir.filePath(QStringLiteral("again.txt"));
    const QString tmx = m_dir.filePath(QStringLiteral("again.tmx"));
    uitest::WriteTxt(txt, 2, {"EN-US", "DE"});
    {
      QFile old(tmx);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("old content");
    }
    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(Control<QLineEdit>(dialog, "tmxPathEdit")->text(), tmx);
    if (chosenInFileDialog) {
      UserPrompts::QueueFile(tmx);
      QTest::mouseClick(Control<QPushButton>(dialog, "browseTmxButton"), Qt::LeftButton);
    }
    if (txtGone) QVERIFY(QFile::remove(txt));
    UserPrompts::QueueAnswer(answer);
    QTest::mouseClick(Control<QPushButton>(dialog, "protectButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));

    std::vector<ShownMessage> shown = UserPrompts::Messages();
    if (txtGone) {
      QCOMPARE(shown.size(), std::size_t(1));
      QVERIFY(
          shown.front().text.startsWith(QStringLiteral("The TXT file %1 cannot be read").arg(txt)));
      shown.clear();
    }
    if (asked) {
      QVERIFY(!shown.empty());
      QCOMPARE(shown.front().text, QString::fromUtf8(kReplaceTmxQuestion).arg(tmx));
      QCOMPARE(shown.front().buttons, PromptButtons::YesNo);
      QCOMPARE(shown.front().icon, PromptIcon::Question);
      shown.erase(shown.begin());
    }
    // Declined: no run, no message. Otherwise the result.
    QCOMPARE(shown.size(), std::size_t(replaced ? 1 : 0));
    QFile file(tmx);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() == QByteArray("old content"), !replaced);
    if (replaced) VERIFY_VALID_TMX(tmx);
  }

  void targetListStartsWithAllLanguages() {
    CMainDlg dialog;
    auto* target = Control<QComboBox>(dialog, "targetLanguageList");
    auto* source = Control<QComboBox>(dialog, "sourceLanguageList");
    QCOMPARE(target->itemText(0), AllLanguagesText());
    QCOMPARE(target->findText(AllLanguagesText()), 0);
    QCOMPARE(target->count(), source->count() + 1);
    QCOMPARE(source->findText(AllLanguagesText()), -1);
    // The languages follow in the Source list's order.
    QCOMPARE(target->itemText(1), source->itemText(0));
    QCOMPARE(target->itemText(target->count() - 1), source->itemText(source->count() - 1));
  }

  void protectWithAllLanguagesWritesEveryLanguage() {
    const QString txt = m_dir.filePath(QStringLiteral("three.txt"));
    const QString tmx = m_dir.filePath(QStringLiteral("three.tmx"));
    uitest::WriteTxt(txt, 4, {"EN-US", "RU", "EL"});
    CMainDlg dialog;
    dialog.show();
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(dialog.TargetLanguageCode(), std::string("RU"));  // the file's first two
    Control<QComboBox>(dialog, "targetLanguageList")->setCurrentIndex(0);
    QTest::mouseClick(Control<QPushButton>(dialog, "protectButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));

    QCOMPARE(dialog.TargetLanguageCode(), std::string(kAllLanguagesCode));
    QCOMPARE(dialog.TargetCodePage(), 0);
    QCOMPARE(Control<QComboBox>(dialog, "targetEncodingList")->currentIndex(), -1);
    QCOMPARE(dialog.SourceLanguageCode(), std::string("EN-US"));
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QVERIFY(UserPrompts::Messages().front().text.contains(QStringLiteral(": 4\n")));
    QCOMPARE(UserPrompts::Messages().front().buttons, PromptButtons::Ok);
    VERIFY_VALID_TMX(tmx);
    const QList<QStringList> units = UnitLanguages(tmx);
    QCOMPARE(units.size(), 4);
    for (const QStringList& languages : units) {
      QCOMPARE(languages.size(), 3);
      QCOMPARE(languages.front(), QStringLiteral("EN-US"));
      QCOMPARE(QSet<QString>(languages.begin(), languages.end()).size(), 3);
    }
  }

  void languageChoicesReplaceAllLanguages() {
    const QString txt = m_dir.filePath(QStringLiteral("three.txt"));
    uitest::WriteTxt(txt, 2, {"EN-US", "IT", "DE"});
    CMainDlg dialog;
    auto* target = Control<QComboBox>(dialog, "targetLanguageList");
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    target->setCurrentIndex(0);
    dialog.SetLanguageDialogRunner([&](CLanguageDlg& chooser) {
      chooser.SourceEdit()->setText(QStringLiteral("IT"));
      chooser.TargetEdit()->setText(QStringLiteral("DE"));
      chooser.accept();
      return int(QDialog::Accepted);
    });
    QTest::mouseClick(Control<QPushButton>(dialog, "analyseButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(dialog.TargetLanguageCode(), std::string("DE"));
    QCOMPARE(target->currentText(), Name("DE"));
    QCOMPARE(dialog.TargetCodePage(), 1252);
    QCOMPARE(Control<QComboBox>(dialog, "targetEncodingList")->currentText(),
             QString::fromUtf8(CodePageName(1252)));

    // A file chosen afterwards preselects its first two languages, as always.
    target->setCurrentIndex(0);
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(QStringLiteral(" ") + txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(dialog.TargetLanguageCode(), std::string("IT"));
    QCOMPARE(target->currentText(), Name("IT"));
  }

  void resultCountsSkippedUnitsAndOffersTheReport_data() {
    QTest::addColumn<QList<QStringList>>("units");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<int>("written");
    QTest::addColumn<QString>("addition");  // after message 1022
    QTest::addColumn<bool>("offered");
    QTest::addColumn<PromptAnswer>("answer");
    const QList<QStringList> complete(2, {"EN-US", "DE"});
    const QList<QStringList> gaps{{"EN-US", "DE"}, {"EN-US"}, {"DE"}, {"EN-US"}, {"EN-US", "DE"}};
    const QByteArray plain = " with {\\b bold} text & more";
    const QString skipped = QStringLiteral(
        "3 units skipped (no source segment: 1, no target "
        "segment: 2)");
    QTest::newRow("nothing skipped or changed")
        << complete << plain << 2 << QString() << false << PromptAnswer::Yes;
    QTest::newRow("skipped, saved") << gaps << plain << 2 << skipped << true << PromptAnswer::Yes;
    QTest::newRow("skipped, not saved")
        << gaps << plain << 2 << skipped << true << PromptAnswer::No;
    QTest::newRow("one skipped") << QList<QStringList>{{"EN-US", "DE"}, {"EN-US"}} << plain << 1
                                 << QStringLiteral("1 unit skipped (no target segment: 1)") << true
                                 << PromptAnswer::No;
    // A character that XML forbids is left out: nothing skipped, but the report tells.
    QTest::newRow("changed only, saved") << complete << QByteArray(" with \x01 inside") << 2
                                         << QString() << true << PromptAnswer::Yes;
  }

  void resultCountsSkippedUnitsAndOffersTheReport() {
    QFETCH(QList<QStringList>, units);
    QFETCH(QByteArray, tail);
    QFETCH(int, written);
    QFETCH(QString, addition);
    QFETCH(bool, offered);
    QFETCH(PromptAnswer, answer);
    const QString txt = m_dir.filePath(QStringLiteral("gaps.txt"));
    const QString tmx = m_dir.filePath(QStringLiteral("gaps.tmx"));
    const QString report = m_dir.filePath(QStringLiteral("gaps.report.json"));
    uitest::WriteTxtUnits(txt, units, tail);
    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    UserPrompts::QueueAnswer(answer);
    dialog.OnProtect();
    QVERIFY(uitest::WaitUntilIdle(dialog));

    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    const ShownMessage& shown = UserPrompts::Messages().front();
    QCOMPARE(shown.icon, PromptIcon::Information);
    QString expected = QStringLiteral(
                           "Finished exporting.\nNumber of translation units written to TMX: "
                           "%1\nYour translation memory is now secure.")
                           .arg(written);
    if (!addition.isEmpty()) expected += QStringLiteral("\n\n") + addition;
    if (offered) {
      expected += QStringLiteral("\n\n") + QString::fromUtf8(kSaveReportQuestion).arg(report);
    }
    QCOMPARE(shown.text, expected);
    QCOMPARE(shown.buttons, offered ? PromptButtons::YesNo : PromptButtons::Ok);
    VERIFY_VALID_TMX(tmx);
    const bool saved = offered && answer == PromptAnswer::Yes;
    QStringList entries{"gaps.tmx", "gaps.txt"};
    if (saved) entries << "gaps.report.json";
    entries.sort();
    QCOMPARE(uitest::FolderEntries(m_dir.path()), entries);
    if (!saved) return;
    QFile file(report);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const nlohmann::json json = nlohmann::json::parse(file.readAll().toStdString(), nullptr, false);
    QVERIFY(!json.is_discarded());
    const nlohmann::json& run = json.at("files").at(0);
    QCOMPARE(QString::fromStdString(run.at("output").get<std::string>()), tmx);
    QCOMPARE(run.at("unitsRead").get<int>(), int(units.size()));
    QCOMPARE(run.at("unitsWritten").get<int>(), written);
    const int skippedUnits = run.at("unitsSkipped").at("total").get<int>();
    QCOMPARE(skippedUnits, int(units.size()) - written);
    if (!addition.isEmpty()) {
      QCOMPARE(run.at("unitsSkipped").at("noTargetSegment").at("count").get<int>(), 2);
      QCOMPARE(run.at("unitsSkipped").at("noSourceSegment").at("entries").size(), std::size_t(1));
    } else {
      QCOMPARE(skippedUnits, 0);
      QCOMPARE(run.at("changes").at("forbiddenCharacters").at("count").get<int>(), 4);
    }
  }

  void reportThatCannotReplaceItsFileSaysSo_data() {
    QTest::addColumn<bool>("folderInTheWay");
    QTest::newRow("existing file replaced") << false;
    QTest::newRow("folder in the way") << true;
  }

  void reportThatCannotReplaceItsFileSaysSo() {
    QFETCH(bool, folderInTheWay);
    const QString txt = m_dir.filePath(QStringLiteral("gaps.txt"));
    const QString report = m_dir.filePath(QStringLiteral("gaps.report.json"));
    uitest::WriteTxtUnits(txt, {{"EN-US", "DE"}, {"EN-US"}});
    if (folderInTheWay) {
      QVERIFY(QDir().mkdir(report));
    } else {
      QFile old(report);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("old report");
    }
    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    UserPrompts::QueueAnswer(PromptAnswer::Yes);
    dialog.OnProtect();
    QVERIFY(uitest::WaitUntilIdle(dialog));

    const std::vector<ShownMessage>& shown = UserPrompts::Messages();
    QCOMPARE(shown.size(), std::size_t(folderInTheWay ? 2 : 1));
    QVERIFY(shown.front().text.endsWith(QString::fromUtf8(kSaveReportQuestion).arg(report) +
                                        QStringLiteral("\n") + QString::fromUtf8(kReportReplaced)));
    // Nothing is left beside the files: no temporary file, no half report.
    QCOMPARE(uitest::FolderEntries(m_dir.path()),
             QStringList({"gaps.report.json", "gaps.tmx", "gaps.txt"}));
    if (folderInTheWay) {
      QCOMPARE(shown.back().icon, PromptIcon::Exclamation);
      const QString failure = QString::fromUtf8(kReportNotWritten);
      QVERIFY2(shown.back().text.startsWith(failure.left(failure.indexOf(QLatin1Char('%'))) +
                                            report + QLatin1Char(':')),
               qPrintable(shown.back().text));
      QVERIFY(QFileInfo(report).isDir());
    } else {
      QFile file(report);
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray written = file.readAll();
      QVERIFY(!nlohmann::json::parse(written.toStdString(), nullptr, false).is_discarded());
    }
  }

  void reportIsNeverOfferedUnderTheTxtName() {
    // A TMX name chosen by hand whose report name is the TXT file's.
    const QString txt = m_dir.filePath(QStringLiteral("gaps.report.json"));
    uitest::WriteTxtUnits(txt, {{"EN-US", "DE"}, {"EN-US"}});
    QFile input(txt);
    QVERIFY(input.open(QIODevice::ReadOnly));
    const QByteArray before = input.readAll();
    input.close();
    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    Control<QLineEdit>(dialog, "tmxPathEdit")->setText(m_dir.filePath("gaps.tmx"));
    UserPrompts::SetDefaultQuestionAnswer(PromptAnswer::Yes);
    dialog.OnProtect();
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QCOMPARE(UserPrompts::Messages().front().buttons, PromptButtons::Ok);
    QVERIFY(UserPrompts::Messages().front().text.endsWith(
        QStringLiteral("1 unit skipped (no target segment: 1)")));
    QVERIFY(input.open(QIODevice::ReadOnly));
    QCOMPARE(input.readAll(), before);
  }

  void pastedPathsAreCleanedUp_data() {
    QTest::addColumn<QString>("form");  // %1 stands for the path
    QTest::newRow("blanks around") << "  %1 \t";
    QTest::newRow("double quotes") << "\"%1\"";
    QTest::newRow("single quotes") << "'%1'";
    QTest::newRow("quotes and blanks") << " \"%1\"\n";
    QTest::newRow("file URL") << "file://%1";
    QTest::newRow("quoted file URL") << "\"file://%1\"";
  }

  void pastedPathsAreCleanedUp() {
    QFETCH(QString, form);
    const QString txt = m_dir.filePath(QStringLiteral("pasted.txt"));
    const QString tmx = m_dir.filePath(QStringLiteral("pasted.tmx"));
    uitest::WriteTxt(txt, 2, {"EN-US", "NL"});
    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(form.arg(txt));
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(Control<QLineEdit>(dialog, "tmxPathEdit")->text(), tmx);
    QCOMPARE(dialog.TargetLanguageCode(), std::string("NL"));
    // Protect takes both fields cleaned up.
    Control<QLineEdit>(dialog, "tmxPathEdit")->setText(form.arg(tmx));
    dialog.OnProtect();
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QVERIFY(UserPrompts::Messages().front().text.contains(QStringLiteral(": 2\n")));
    VERIFY_VALID_TMX(tmx);
  }

  void analyseAppliesTheChosenPair_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("sourceCode");
    QTest::addColumn<QString>("targetCode");
    QTest::newRow("names") << Name("DE") << Name("EN-US") << int(QDialog::Accepted) << "DE"
                           << "EN-US";
    QTest::newRow("catalogue codes") << "IT"
                                     << "EN-US" << int(QDialog::Accepted) << "IT"
                                     << "EN-US";
    QTest::newRow("lower-case name")
        << Name("DE").toLower() << "IT" << int(QDialog::Accepted) << "DE"
        << "IT";
    // Every code form and letter case the command line takes.
    QTest::newRow("lower-case codes") << "it"
                                      << "en-us" << int(QDialog::Accepted) << "IT"
                                      << "EN-US";
    QTest::newRow("underscore code") << "de_de"
                                     << "En_Us" << int(QDialog::Accepted) << "DE"
                                     << "EN-US";
    QTest::newRow("unknown text") << "Klingon"
                                  << "DE" << int(QDialog::Accepted) << ""
                                  << "DE";
    QTest::newRow("one field empty") << "DE"
                                     << "" << int(QDialog::Accepted) << "EN-US"
                                     << "IT";
    QTest::newRow("cancelled") << "DE"
                               << "EN-US" << int(QDialog::Rejected) << "EN-US"
                               << "IT";
  }

  void analyseAppliesTheChosenPair() {
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(int, result);
    QFETCH(QString, sourceCode);
    QFETCH(QString, targetCode);
    const QString txt = m_dir.filePath(QStringLiteral("three.txt"));
    uitest::WriteTxt(txt, 2, {"EN-US", "IT", "DE"});
    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);  // preselects EN-US and IT
    QVERIFY(uitest::WaitUntilIdle(dialog));

    QStringList offered;
    dialog.SetLanguageDialogRunner([&](CLanguageDlg& chooser) {
      for (int i = 0; i < chooser.LanguageListBox()->count(); ++i) {
        offered << chooser.LanguageListBox()->item(i)->text();
      }
      chooser.SourceEdit()->setText(source);
      chooser.TargetEdit()->setText(target);
      if (result == QDialog::Accepted) chooser.accept();
      return result;
    });
    QTest::mouseClick(Control<QPushButton>(dialog, "analyseButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));

    QCOMPARE(offered, QStringList({Name("EN-US"), Name("IT"), Name("DE")}));
    QCOMPARE(QString::fromStdString(dialog.SourceLanguageCode()), sourceCode);
    QCOMPARE(QString::fromStdString(dialog.TargetLanguageCode()), targetCode);
    if (sourceCode.isEmpty()) {
      QCOMPARE(dialog.SourceCodePage(), 0);
      QCOMPARE(Control<QComboBox>(dialog, "sourceLanguageList")->currentIndex(), -1);
    }
    QVERIFY(!dialog.IsBusy());
    QVERIFY(UserPrompts::Messages().empty());
  }

  void analyseWithoutPathAsksForOne() {
    CMainDlg dialog;
    bool ran = false;
    dialog.SetLanguageDialogRunner([&](CLanguageDlg&) {
      ran = true;
      return int(QDialog::Rejected);
    });
    dialog.OnAnalyse();
    QVERIFY(!ran);
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QCOMPARE(UserPrompts::Messages().front().text, Text(IDS_NEED_TXT));
  }

  void analyseThatFailsOpensNoDialog_data() {
    QTest::addColumn<int>("setup");
    QTest::addColumn<QString>("message");  // %1 is the TXT path
    const QString unreadable = QStringLiteral("The TXT file %1 cannot be read: ");
    QTest::newRow("missing") << int(Setup::TxtMissing) << unreadable + "no such file or directory.";
    QTest::newRow("folder") << int(Setup::TxtFolder) << unreadable + "it is a folder.";
    // A file without any language opens no empty list.
    QTest::newRow("no language at all")
        << int(Setup::NoUnits)
        << "No language was found in %1: it is not a Velmar Vovuzaduz TXT export.";
  }

  void analyseThatFailsOpensNoDialog() {
    QFETCH(int, setup);
    QFETCH(QString, message);
    const QString txt = m_dir.filePath(QStringLiteral("absent.txt"));
    if (Setup(setup) == Setup::TxtFolder) QVERIFY(QDir().mkdir(txt));
    if (Setup(setup) == Setup::NoUnits) uitest::WriteTxt(txt, 0, {"EN-US"});
    CMainDlg dialog;
    bool ran = false;
    dialog.SetLanguageDialogRunner([&](CLanguageDlg&) {
      ran = true;
      return int(QDialog::Rejected);
    });
    Control<QLineEdit>(dialog, "txtPathEdit")->blockSignals(true);
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    dialog.OnAnalyse();
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QVERIFY(!ran);
    // Said why, with a warning.
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QCOMPARE(UserPrompts::Messages().front().text, message.arg(txt));
    QCOMPARE(UserPrompts::Messages().front().icon, PromptIcon::Exclamation);
  }

  void browsingForTheTxtFile() {
    const QString txt = m_dir.filePath(QStringLiteral("chosen.txt"));
    uitest::WriteTxt(txt, 1, {"EN-US", "FI"});
    CMainDlg dialog;
    UserPrompts::QueueFile(txt);
    QTest::mouseClick(Control<QPushButton>(dialog, "browseTxtButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(UserPrompts::FileRequests().size(), std::size_t(1));
    const FileRequest request = UserPrompts::FileRequests().front();
    QVERIFY(!request.save);
    QCOMPARE(request.filter, QStringLiteral("VELMAR\u00AE export files (*.txt);;All files (*.*)"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(Control<QLineEdit>(dialog, "txtPathEdit")->text(), txt);
    QCOMPARE(Control<QLineEdit>(dialog, "tmxPathEdit")->text(), m_dir.filePath("chosen.tmx"));
    QCOMPARE(dialog.TargetLanguageCode(), std::string("FI"));

    // Cancelling writes the same path back, which analyses the file again.
    dialog.StatusBar()->SetPaneText(1, QStringLiteral("marker"));
    UserPrompts::QueueFile(std::nullopt);
    QTest::mouseClick(Control<QPushButton>(dialog, "browseTxtButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(Control<QLineEdit>(dialog, "txtPathEdit")->text(), txt);
    QCOMPARE(dialog.StatusBar()->PaneText(1), QString());
  }

  void fileDialogsOpenBesideTheChosenFile() {
    const QString txt = m_dir.filePath(QStringLiteral("beside.txt"));
    uitest::WriteTxt(txt, 1, {"EN-US", "FI"});
    CMainDlg dialog;
    Control<QLineEdit>(dialog, "txtPathEdit")->setText(txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    Control<QLineEdit>(dialog, "tmxPathEdit")->clear();
    UserPrompts::QueueFile(std::nullopt);
    QTest::mouseClick(Control<QPushButton>(dialog, "browseTmxButton"), Qt::LeftButton);
    UserPrompts::QueueFile(std::nullopt);
    QTest::mouseClick(Control<QPushButton>(dialog, "browseTxtButton"), Qt::LeftButton);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(UserPrompts::FileRequests().size(), std::size_t(2));
    // The TMX dialog in the TXT file's folder, the TXT dialog on the file itself.
    QCOMPARE(UserPrompts::FileRequests().front().selected, m_dir.absolutePath());
    QCOMPARE(UserPrompts::FileRequests().back().selected, txt);
    QVERIFY(UserPrompts::FileRequests().back().multiple);
    // A new window starts where the last file was.
    CMainDlg next;
    UserPrompts::QueueFile(std::nullopt);
    QTest::mouseClick(Control<QPushButton>(next, "browseTxtButton"), Qt::LeftButton);
    QCOMPARE(UserPrompts::FileRequests().back().selected, txt);
  }

  void recentFilesAreOffered() {
    const QString first = m_dir.filePath(QStringLiteral("first.txt"));
    const QString second = m_dir.filePath(QStringLiteral("second.txt"));
    uitest::WriteTxt(first, 1, {"EN-US", "FI"});
    uitest::WriteTxt(second, 1, {"EN-US", "SV"});
    CMainDlg dialog;
    for (const QString& path : {first, second, first}) {
      Control<QLineEdit>(dialog, "txtPathEdit")->setText(path);
      QVERIFY(uitest::WaitUntilIdle(dialog));
    }
    QCOMPARE(dialog.RecentFiles(), QStringList({first, second}));
    std::unique_ptr<QMenu> menu(dialog.CreateSystemMenu(&dialog));
    auto* recent = menu->findChild<QMenu*>(QStringLiteral("recentFilesMenu"));
    QVERIFY(recent);
    QCOMPARE(recent->actions().size(), 2);
    QCOMPARE(recent->actions().at(1)->text(), second);
    recent->actions().at(1)->trigger();
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(Control<QLineEdit>(dialog, "txtPathEdit")->text(), second);
    QCOMPARE(dialog.TargetLanguageCode(), std::string("SV"));
  }

  void severalFilesAtOnce_data() {
    QTest::addColumn<bool>("dropped");  // else chosen in the file dialog
    QTest::newRow("chosen") << false;
    QTest::newRow("dropped") << true;
  }

  void severalFilesAtOnce() {
    QFETCH(bool, dropped);
    QStringList files;
    for (int i = 1; i <= 3; ++i) {
      files << m_dir.filePath(QStringLiteral("part%1.txt").arg(i));
      uitest::WriteTxt(files.last(), 10 * i, {"EN-US", "DE"});
    }
    // The third TMX exists already: the user keeps it.
    const QString kept = m_dir.filePath(QStringLiteral("part3.tmx"));
    {
      QFile old(kept);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("old content");
    }
    CMainDlg dialog;
    dialog.show();
    Control<QComboBox>(dialog, "sourceLanguageList")->setCurrentText(Name("EN-US"));
    Control<QComboBox>(dialog, "targetLanguageList")->setCurrentText(Name("DE"));
    UserPrompts::QueueAnswer(PromptAnswer::No);
    if (dropped) {
      QMimeData mime;
      QList<QUrl> urls;
      for (const QString& file : files) urls << QUrl::fromLocalFile(file);
      mime.setUrls(urls);
      QDragEnterEvent enter(dialog.rect().center(), Qt::CopyAction, &mime, Qt::LeftButton,
                            Qt::NoModifier);
      QApplication::sendEvent(&dialog, &enter);
      QVERIFY(enter.isAccepted());
      QDropEvent drop(QPointF(dialog.rect().center()), Qt::CopyAction, &mime, Qt::LeftButton,
                      Qt::NoModifier);
      QApplication::sendEvent(&dialog, &drop);
      QTRY_VERIFY(Control<QTreeWidget>(dialog, "batchResults")->isVisible());
    } else {
      UserPrompts::QueueFiles(files);
      QTest::mouseClick(Control<QPushButton>(dialog, "browseTxtButton"), Qt::LeftButton);
    }
    QVERIFY(uitest::WaitUntilIdle(dialog));
    // One question for the existing file, no result boxes: the list holds the results.
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    QVERIFY(UserPrompts::Messages().front().text.startsWith(QStringLiteral("1 of the TMX files")));
    auto* results = Control<QTreeWidget>(dialog, "batchResults");
    QVERIFY(results->isVisible());
    QCOMPARE(results->topLevelItemCount(), 3);
    QStringList rows;
    for (int i = 0; i < 3; ++i) {
      const QTreeWidgetItem* row = results->topLevelItem(i);
      rows << row->text(0) + "|" + row->text(1) + "|" + row->text(2);
    }
    rows.sort();
    QCOMPARE(rows, QStringList({"part1.txt|10|0", "part2.txt|20|0", "part3.txt||kept"}));
    VERIFY_VALID_TMX(m_dir.filePath("part1.tmx"));
    VERIFY_VALID_TMX(m_dir.filePath("part2.tmx"));
    QFile old(kept);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old content"));
    // The single-file fields are as they were.
    QVERIFY(Control<QLineEdit>(dialog, "txtPathEdit")->text().isEmpty());

    QStringList opened;
    CHyperLink::SetOpener([&](const QString& target) {
      opened << target;
      return 33;
    });
    QTest::mouseClick(Control<QPushButton>(dialog, "openFolderButton"), Qt::LeftButton);
    CHyperLink::SetOpener(nullptr);
    QCOMPARE(opened, QStringList({QUrl::fromLocalFile(m_dir.absolutePath()).toString()}));
  }

  void browsingForTheTmxFile() {
    CMainDlg dialog;
    auto* tmxEdit = Control<QLineEdit>(dialog, "tmxPathEdit");
    tmxEdit->setText(QStringLiteral("/before.tmx"));
    UserPrompts::QueueFile(std::nullopt);
    QTest::mouseClick(Control<QPushButton>(dialog, "browseTmxButton"), Qt::LeftButton);
    QCOMPARE(tmxEdit->text(), QStringLiteral("/before.tmx"));
    UserPrompts::QueueFile(m_dir.filePath("after.tmx"));
    QTest::mouseClick(Control<QPushButton>(dialog, "browseTmxButton"), Qt::LeftButton);
    QCOMPARE(tmxEdit->text(), m_dir.filePath("after.tmx"));
    QCOMPARE(UserPrompts::FileRequests().size(), std::size_t(2));
    QVERIFY(UserPrompts::FileRequests().back().save);
    QCOMPARE(UserPrompts::FileRequests().back().filter,
             QStringLiteral("TMX files (*.tmx);;All files (*.*)"));
    QCOMPARE(UserPrompts::FileRequests().back().defaultSuffix, QStringLiteral("tmx"));
  }

  void droppingATxtFileSetsThePath() {
    const QString txt = m_dir.filePath(QStringLiteral("dropped.txt"));
    uitest::WriteTxt(txt, 1, {"EN-US", "SV"});
    CMainDlg dialog;
    dialog.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(txt)});
    const QPoint at = dialog.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &drop);
    QTRY_COMPARE(Control<QLineEdit>(dialog, "txtPathEdit")->text(), txt);
    QVERIFY(uitest::WaitUntilIdle(dialog));
    QCOMPARE(Control<QLineEdit>(dialog, "tmxPathEdit")->text(), m_dir.filePath("dropped.tmx"));
    QCOMPARE(dialog.TargetLanguageCode(), std::string("SV"));

    // Anything but a local file is refused.
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://www.norvane.example/x.txt"))});
    QDragEnterEvent refused(at, Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(&dialog, &refused);
    QVERIFY(!refused.isAccepted());
  }

  void contextHelpShowsTheControlsText_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("textId");
    QTest::newRow("Analyse") << "analyseButton" << 1015;
    QTest::newRow("TXT path") << "txtPathEdit" << 1002;
    QTest::newRow("Exit") << "exitButton" << 1;
    QTest::newRow("source language field") << "sourceLanguageList" << 1010;
  }

  void contextHelpShowsTheControlsText() {
    QFETCH(QString, control);
    QFETCH(int, textId);
    CMainDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* widget = dialog.findChild<QWidget*>(control);
    QVERIFY(widget);
    // F1 on the focused control (inside an editable list the field has the focus).
    widget->setFocus();
    QCursor::setPos(dialog.mapToGlobal(QPoint(40, 30)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    CHelpPopup* popup = dialog.Help()->Popup();
    QVERIFY(popup);
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->text(), Text(textId));
    QCOMPARE(popup->palette().color(QPalette::Window), QColor(255, 255, 208));
    // At the control, not at the mouse pointer.
    const QWidget* focus = QApplication::focusWidget();
    QCOMPARE(popup->pos(), focus->mapToGlobal(QPoint(0, focus->height())));
    QVERIFY(popup->pos() != QCursor::pos());
    QTest::keyClick(popup, Qt::Key_Escape);
    QTRY_VERIFY(!dialog.Help()->Popup());
  }

  void whatsThisShowsHelpOnlyForControlsWithText() {
    CMainDlg dialog;
    dialog.show();
    auto* protect = Control<QPushButton>(dialog, "protectButton");
    const QPoint global = protect->mapToGlobal(QPoint(5, 5));
    QHelpEvent onButton(QEvent::WhatsThis, QPoint(5, 5), global);
    QApplication::sendEvent(protect, &onButton);
    QVERIFY(dialog.Help()->Popup());
    QCOMPARE(dialog.Help()->Popup()->text(), Text(1006));
    QCOMPARE(dialog.Help()->Popup()->pos(), global);
    dialog.Help()->Popup()->close();
    QTRY_VERIFY(!dialog.Help()->Popup());

    // A label and the notice line have no help text: nothing appears.
    for (const char* id : {"trademarkNotice", "certificationLink"}) {
      auto* label = Control<QLabel>(dialog, id);
      QHelpEvent onLabel(QEvent::WhatsThis, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(label, &onLabel);
      QVERIFY(onLabel.isAccepted());
      QVERIFY(!dialog.Help()->Popup());
    }
  }

  void aboutEntryEndsTheContextMenu() {
    CMainDlg dialog;
    std::unique_ptr<QMenu> menu(dialog.CreateSystemMenu(&dialog));
    const QList<QAction*> actions = menu->actions();
    QVERIFY(actions.size() >= 2);
    QCOMPARE(actions.last()->text(), QStringLiteral("&About VELMAR\u00AE 2 TMX..."));
    QVERIFY(actions[actions.size() - 2]->isSeparator());
  }

 private:
  std::unique_ptr<QTemporaryDir> m_temp;  // a fresh folder for every test
  QDir m_dir;
};

QTEST_MAIN(MainDialogTest)
#include "main_dialog_test.moc"
