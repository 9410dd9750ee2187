// SPDX-License-Identifier: MIT
// The controls of the main dialog and their layout: banner and notices at the top, the two path
// rows, the two language rows, the button row, the status bar at the bottom.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/accessibility.h"
#include "ui/dialog_look.h"
#include "ui/hyperlink.h"
#include "ui/main_dialog.h"
#include "ui/model_combo_box.h"
#include "ui/status_bar.h"
#include "ui/string_table_texts.h"
#include "ui/ui_strings.h"

namespace {

QLabel* CentredText(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setWordWrap(true);
  return label;
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QLineEdit* PathEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  // A file dropped on the field goes to the dialog, which takes it as the TXT file.
  edit->setAcceptDrops(false);
  return edit;
}

}  // namespace

// The path rows: their frame, and what the language frame lines up with.
struct CMainDlg::FileFrame {
  QGroupBox* box = nullptr;
  QGridLayout* rows = nullptr;
  QPushButton* browseTxt = nullptr;
  QPushButton* browseTmx = nullptr;
  int labelWidth = 0;
  int browseWidth = 0;
};

void CMainDlg::BuildControls() {
  setObjectName(QStringLiteral("mainDialog"));
  setWindowTitle(QString::fromUtf8(LoadUiText(IDS_APP_TITLE)));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowContextHelpButtonHint | Qt::WindowCloseButtonHint);
  setFont(DialogFont());
  setAcceptDrops(true);
  setSizeGripEnabled(false);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(10, 8, 10, 8);
  QLabel* compliantLines = AddNotices(body);
  const FileFrame files = BuildFileFrame();
  body->addWidget(files.box);
  body->addWidget(BuildLanguageFrame(files));
  body->addWidget(BuildResultsBox());
  body->addStretch(1);
  QPushButton* about = nullptr;
  body->addLayout(BuildButtonRow(about));

  // The encodings that travel with the languages: kept, never shown.
  m_sourceEncodings = new ModelComboBox(false, this);
  m_sourceEncodings->setObjectName(QStringLiteral("sourceEncodingList"));
  m_sourceEncodings->hide();
  m_targetEncodings = new ModelComboBox(false, this);
  m_targetEncodings->setObjectName(QStringLiteral("targetEncodingList"));
  m_targetEncodings->hide();

  m_statusBar = new CStatusBar(this);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  outer->addLayout(body);
  outer->addWidget(m_statusBar);
  ConnectControls(files, about);
  NameControls();

  // The template's size in dialog units of its font, or more if the texts need it.
  const QSize templateSize = DialogUnitsToPixels(font(), 319, 284);
  m_notice->setMinimumWidth(templateSize.width() - 40);
  compliantLines->setMinimumWidth(templateSize.width() - 40);
  setFixedSize(templateSize.expandedTo(sizeHint()));
}

QLabel* CMainDlg::AddNotices(QVBoxLayout* body) {
  // Top: banner, the three notices, the link and the trademark notice.
  auto* banner = new QLabel(this);
  banner->setPixmap(BannerPixmap(devicePixelRatioF()));
  banner->setAlignment(Qt::AlignHCenter);
  auto* protectLine =
      CentredText(tr("Protect your VELMAR\u00AE translation memories in certified TMX "), this);
  auto* compliantLines =
      CentredText(tr("Translation memory tools \"Compliant with TMX level 2\" are not supporting "
                     "the TMX standard and are not independently certified"),
                  this);
  auto* insistLine = CentredText(tr("Safeguard your future and insist on:"), this);
  m_link = new CHyperLink(tr("TMX Certification"), this);
  m_link->setObjectName(QStringLiteral("certificationLink"));
  m_link->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_notice =
      CentredText(tr("VELMAR\u00AE is a trademark of its owner. This converter is an independent "
                     "tool and writes the open TMX 1.4 format of the translation memory."),
                  this);
  m_notice->setObjectName(QStringLiteral("trademarkNotice"));

  body->addWidget(banner, 0, Qt::AlignHCenter);
  body->addSpacing(4);
  body->addWidget(protectLine);
  body->addWidget(compliantLines);
  body->addWidget(insistLine);
  body->addWidget(m_link, 0, Qt::AlignHCenter);
  body->addSpacing(2);
  body->addWidget(m_notice);
  body->addSpacing(4);
  return compliantLines;
}

CMainDlg::FileFrame CMainDlg::BuildFileFrame() {
  FileFrame frame;
  frame.box = new QGroupBox(tr("&Files"), this);
  auto* txtLabel = new QLabel(tr("V&ELMAR\u00AE file"), frame.box);
  m_txtEdit = PathEdit("txtPathEdit", frame.box);
  txtLabel->setBuddy(m_txtEdit);
  frame.browseTxt = Button(QStringLiteral("..."), "browseTxtButton", frame.box);
  auto* tmxLabel = new QLabel(tr("T&MX file"), frame.box);
  m_tmxEdit = PathEdit("tmxPathEdit", frame.box);
  tmxLabel->setBuddy(m_tmxEdit);
  frame.browseTmx = Button(QStringLiteral("..."), "browseTmxButton", frame.box);
  frame.browseWidth = fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16;
  frame.browseTxt->setFixedWidth(frame.browseWidth);
  frame.browseTmx->setFixedWidth(frame.browseWidth);
  frame.rows = new QGridLayout(frame.box);
  frame.rows->addWidget(txtLabel, 0, 0);
  frame.rows->addWidget(m_txtEdit, 0, 1);
  frame.rows->addWidget(frame.browseTxt, 0, 2);
  frame.rows->addWidget(tmxLabel, 1, 0);
  frame.rows->addWidget(m_tmxEdit, 1, 1);
  frame.rows->addWidget(frame.browseTmx, 1, 2);
  frame.rows->setColumnStretch(1, 1);
  frame.labelWidth = qMax(txtLabel->sizeHint().width(), tmxLabel->sizeHint().width());
  return frame;
}

QGroupBox* CMainDlg::BuildLanguageFrame(const FileFrame& files) {
  auto* languages = new QGroupBox(tr("&Languages"), this);
  auto* sourceLabel = new QLabel(tr("&Source"), languages);
  m_sourceLanguages = new ModelComboBox(true, languages);
  m_sourceLanguages->setObjectName(QStringLiteral("sourceLanguageList"));
  sourceLabel->setBuddy(m_sourceLanguages);
  auto* targetLabel = new QLabel(tr("&Target"), languages);
  m_targetLanguages = new ModelComboBox(true, languages);
  m_targetLanguages->setObjectName(QStringLiteral("targetLanguageList"));
  targetLabel->setBuddy(m_targetLanguages);
  auto* languageRows = new QGridLayout(languages);
  languageRows->addWidget(sourceLabel, 0, 0);
  languageRows->addWidget(m_sourceLanguages, 0, 1);
  languageRows->addWidget(targetLabel, 1, 0);
  languageRows->addWidget(m_targetLanguages, 1, 1);
  languageRows->setColumnStretch(1, 1);
  // The labels of both frames share one width, so that the fields line up.
  files.rows->setColumnMinimumWidth(0, files.labelWidth);
  languageRows->setColumnMinimumWidth(0, files.labelWidth);
  languageRows->setColumnMinimumWidth(2, files.browseWidth);
  return languages;
}

QHBoxLayout* CMainDlg::BuildButtonRow(QPushButton*& about) {
  about = Button(tr("&About..."), "aboutButton", this);
  m_analyse = Button(tr("A&nalyse"), "analyseButton", this);
  m_protect = Button(tr("&Protect"), "protectButton", this);
  m_exit = Button(tr("E&xit"), "exitButton", this);
  m_exit->setDefault(true);
  // Shown while a conversion runs, in the place of Protect.
  m_cancel = Button(tr("Cancel"), "cancelButton", this);
  m_cancel->hide();
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(about);
  buttonRow->addWidget(m_analyse);
  buttonRow->addStretch(1);
  buttonRow->addWidget(m_protect);
  buttonRow->addWidget(m_cancel);
  buttonRow->addWidget(m_exit);
  return buttonRow;
}

void CMainDlg::ConnectControls(const FileFrame& files, QPushButton* about) {
  setTabOrder(m_txtEdit, files.browseTxt);
  setTabOrder(files.browseTxt, m_tmxEdit);
  setTabOrder(m_tmxEdit, files.browseTmx);
  setTabOrder(files.browseTmx, m_sourceLanguages);
  setTabOrder(m_sourceLanguages, m_targetLanguages);
  setTabOrder(m_targetLanguages, about);
  setTabOrder(about, m_analyse);
  setTabOrder(m_analyse, m_protect);
  setTabOrder(m_protect, m_cancel);
  setTabOrder(m_cancel, m_exit);

  m_pathTimer = new QTimer(this);
  m_pathTimer->setSingleShot(true);
  m_pathTimer->setInterval(kPathPauseMs);
  connect(m_pathTimer, &QTimer::timeout, this, &CMainDlg::OnTxtPathChanged);
  connect(m_txtEdit, &QLineEdit::textChanged, m_pathTimer, qOverload<>(&QTimer::start));
  // Enter or leaving the field takes a path still waiting for its pause.
  connect(m_txtEdit, &QLineEdit::editingFinished, this, [this] {
    if (m_pathTimer->isActive()) OnTxtPathChanged();
  });
  for (ModelComboBox* list : {m_sourceLanguages, m_targetLanguages}) {
    connect(list, &QComboBox::activated, this, &CMainDlg::OnLanguageChosen);
    connect(list->lineEdit(), &QLineEdit::editingFinished, this, &CMainDlg::OnLanguageChosen);
    // The list hands its keys to its field directly: both are watched.
    list->installEventFilter(this);
    list->lineEdit()->installEventFilter(this);
  }
  m_txtEdit->installEventFilter(this);
  m_tmxEdit->installEventFilter(this);
  connect(m_cancel, &QPushButton::clicked, this, &CMainDlg::OnCancel);
  connect(files.browseTxt, &QPushButton::clicked, this, &CMainDlg::OnBrowseTxt);
  connect(files.browseTmx, &QPushButton::clicked, this, &CMainDlg::OnBrowseTmx);
  connect(about, &QPushButton::clicked, this, &CMainDlg::OnAbout);
  connect(m_analyse, &QPushButton::clicked, this, &CMainDlg::OnAnalyse);
  connect(m_protect, &QPushButton::clicked, this, &CMainDlg::OnProtect);
  connect(m_exit, &QPushButton::clicked, this, &CMainDlg::OnOK);
}

void CMainDlg::NameControls() {
  // What a screen reader says for each control: its name and, as the description, its help text.
  struct Naming {
    const char* objectName;
    QString name;
    int helpId;  // 0: no help text
  };
  const Naming namings[] = {
      {"txtPathEdit", tr("VELMAR\u00AE file"), 1002},
      {"browseTxtButton", tr("Choose the TXT file"), 1003},
      {"tmxPathEdit", tr("TMX file"), 1004},
      {"browseTmxButton", tr("Choose the TMX file"), 1005},
      {"sourceLanguageList", tr("Source language"), 1010},
      {"targetLanguageList", tr("Target language"), 1011},
      {"aboutButton", tr("About"), 1008},
      {"analyseButton", tr("Analyse"), 1015},
      {"protectButton", tr("Protect"), 1006},
      {"cancelButton", tr("Cancel the conversion"), 0},
      {"exitButton", tr("Exit"), 1},
      {"certificationLink", tr("TMX Certification"), 0},
  };
  for (const Naming& naming : namings) {
    auto* control = findChild<QWidget*>(QString::fromLatin1(naming.objectName));
    if (!control) continue;
    NameControl(control, naming.name, naming.helpId ? UiText(naming.helpId) : QString());
  }
  // The field inside an editable list is a control of its own for a screen reader.
  for (ModelComboBox* list : {m_sourceLanguages, m_targetLanguages}) {
    NameControl(list->lineEdit(), list->accessibleName(), list->accessibleDescription());
  }
  m_cancel->setAccessibleDescription(
      tr("Stops the conversion; nothing is written and an existing TMX file stays as it was"));
  NameControl(m_statusBar, tr("Status"), tr("What the tool is doing, and its progress"));
}
